#pragma once

#include "core/Colour.h"
#include "core/Result.h"

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace pellwerk {

// A GIMP palette: the colours of a .gpl file in the order the file lists them, repeats kept (a
// ramp swap gives a repeated colour its first place; the palette itself does not judge).
struct Palette
{
    QString name;                // the "Name:" line's text; empty without one
    int columns = 0;             // the "Columns:" line's number (a display hint); 0 without one
    std::vector<Colour> colours; // as listed

    friend bool operator==(const Palette &, const Palette &) = default;
};

// What a palette may cost. No hand-made ramp or artist's palette comes near either bound: the
// largest palette Debian's gimp-data ships has 448 colours in 17 KB. 65,536 colours keep the
// swap's lookup table (four slots per colour, 8 bytes a slot) at 2 MiB; one mebibyte of text
// holds that many colours written as "255 255 255" lines, so the two bounds fit each other.
namespace PaletteLimits {
inline constexpr qint64 MaxFileBytes = 1 << 20;
inline constexpr int MaxColours = 65536;
} // namespace PaletteLimits

// Reads the text of a GIMP palette. Accepted:
// - line 1 "GIMP Palette" (spaces or tabs may follow);
// - before the first colour, "Name: text" and "Columns: n" (n from 0 to 256); a repeated one
//   replaces the earlier;
// - lines whose first non-blank character is '#' (comments) and blank lines, anywhere;
// - colour lines: three whole numbers 0..255 (red, green, blue; leading zeros allowed) separated
//   and optionally preceded by spaces or tabs; whatever follows the third number after a space
//   or tab is the colour's name and is not kept;
// - lines ending in LF or CRLF; the last line may lack its end.
// Refused, each error carrying `file` and the line counted from 1: PaletteHeader (line 1 is not
// the header, an empty text included), PaletteMissingValue (fewer than three numbers),
// PaletteBadValue (a value that is not a whole number 0..255, with that text as detail, e.g.
// "300", "-1", "12.5", "0black"), PaletteBadColumns, PaletteTooManyColours (more than
// MaxColours). Memory stays within the text's size and MaxColours colours.
Result<Palette> parsePalette(QByteArrayView text, const QString &file);

// Reads the palette file at `path` (at most MaxFileBytes; FileTooLarge beyond, and the errors of
// readFileBytes), then parses it as above, errors naming `path`.
Result<Palette> readPaletteFile(const QString &path);

// The palette as GIMP palette text that parsePalette reads back equal: the header, its name and
// columns where it has them, one "R G B" line per colour (the colours' names are not kept).
QByteArray writePalette(const Palette &palette);

} // namespace pellwerk
