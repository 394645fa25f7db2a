#pragma once

#include "core/UserRgb.h"
#include "core/Colour.h"

#include <QImage>
#include <QPoint>

#include <optional>
#include <vector>

namespace pellwerk {

// What a pixel of a part will do when the part is pasted.
enum class KeyMark : quint8 {
    Kept,    // pasted, and not close to the transparent colour
    LeftOut, // exactly the transparent colour: the skin shows through
    Near,    // pasted, but every channel within K of the transparent colour
    Fringe,  // near the key and touching a left-out pixel (4-neighbourhood): a halo
};

// The key-colour check of a part as it will be pasted: tinted, cut to the 148 x 191 preview.
//
// Counts and marks cover the part's own pixels (x < min(width, 148), y < min(height, 191)), in
// part pixels with (0, 0) at the top-left. Where the part is smaller than the preview, the preview
// shows the transparent colour: those pixels are not counted but are left out for the fringe
// rule, so a near-key pixel on the part's right or bottom edge is fringe. Pixels beyond the
// 148 x 191 cut and beyond the preview's top and left are never pasted and are not left out.
struct KeyColourLint
{
    int width = 0;
    int height = 0;
    qint64 leftOut = 0;
    qint64 near = 0; // fringe pixels included
    qint64 fringe = 0;
    std::optional<QPoint> firstNear; // the first near-key pixel, rows top to bottom, left to right
    std::vector<quint8> marks;       // width x height KeyMark values, row by row; empty if not kept

    KeyMark mark(int x, int y) const { return KeyMark(marks[size_t(y) * size_t(width) + size_t(x)]); }
    // The positions of one mark, in the order of firstNear.
    std::vector<QPoint> positions(KeyMark which) const;
};

inline constexpr int DefaultNearLimit = 8;

// Whether the marks are kept: the zoom window shows them, a report of counts needs only the
// counts (and then the check holds three rows of the part, not all of it).
enum class KeyMarks : bool { Keep, CountOnly };

// Checks `part` (any format; read as RGB32) against `transparent` after adding `tint` to its
// channels as the colour window does (each sum capped to 0..255). `nearLimit` (K) is clamped to
// 0..255; with 0 no pixel is near. One pass over the pixels; a null part gives an empty result.
KeyColourLint lintKeyColour(const QImage &part, Colour transparent, const UserRgb &tint,
                            int nearLimit = DefaultNearLimit, KeyMarks marks = KeyMarks::Keep);

} // namespace pellwerk
