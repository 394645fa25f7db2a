#pragma once

#include "compose/KeyColourLint.h"

#include <QColor>
#include <QRect>
#include <vector>

class QPainter;

namespace pellwerk {

// How the zoom window marks what the pixels of a part will do when it is pasted, shared by the
// view and the legend. Every mark pairs a dark and a light part so that it reads on light and dark
// skins alike, and the three differ in shape as well as in colour: a left-out pixel is hatched, a
// near-key pixel gets a dot, a fringe pixel a frame around the dot.
namespace ZoomMarks {

// Draws `mark` (LeftOut, Near or Fringe; Kept draws nothing) over each of `squares`, in the
// painter's logical pixels. Each square is one skin pixel of `zoom` x `zoom`, except that a
// hatched square may span a run of pixels of one row.
void paint(QPainter &painter, KeyMark mark, const std::vector<QRect> &squares, int zoom);

// The outline of where a part lands and the cross of the user place.
inline const QColor OutlineColour{0, 224, 255};
inline const QColor CrossColour{255, 255, 255};
inline const QColor DarkEdge{0, 0, 0};

} // namespace ZoomMarks

} // namespace pellwerk
