#pragma once

#include "core/Colour.h"

#include <QPoint>
#include <QString>

namespace pellwerk {

// What the main window's and the zoom window's status lines say, and when.
namespace StatusText {

// The pointer over the canvas, or a press on it: " x=12,  y=40 " (negative numbers with a minus).
QString position(QPoint pixel);
// Every five seconds.
QString productLine();
// The pointer over the user-file list.
QString userFileList();
// A user file was picked: "User File  " followed by its name and one space.
QString userFile(const QString &name);
// A user file was picked while a coordinate box holds no number: it waits in the preview.
QString userFileWithoutPlace(const QString &name, bool xIsNumber, bool yIsNumber);

// The pointer over a skin pixel in the zoom window: its position and its colour,
// " x=12,  y=40   200, 90, 10" (red, green, blue).
QString pixel(QPoint pixel, Colour colour);
// The key-colour check of the previewed part: "812 ausgelassen, 14 nahe an der Transparenzfarbe,
// davon 9 Rand"; `near` counts the fringe pixels too. `words` is that sentence with %1, %2 and %3
// for the three numbers, as a language file gives it; one that lacks any of them gives the
// German sentence, so that no count goes missing.
inline constexpr char16_t KeyColourCountsWords[] = u"%1 ausgelassen, %2 nahe an der Transparenzfarbe, davon %3 Rand";
QString keyColourCounts(qint64 leftOut, qint64 near, qint64 fringe,
                        const QString &words = QString::fromUtf16(KeyColourCountsWords));

} // namespace StatusText

} // namespace pellwerk
