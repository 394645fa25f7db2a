#pragma once

#include "core/Colour.h"
#include "core/Rect32.h"

#include <QImage>
#include <QRect>
#include <QtGlobal>

namespace pellwerk {

class PictureBoxModel;

// Copies the rectangle `sourceRect` (left, top, right, bottom) of `source` to (x, y) of
// `destination`, except the pixels whose red, green and blue equal `transparentColour` exactly:
// there the pixel of `background` at the same place (x + i, y + j) is written instead.
//
// - Width is right - left and height bottom - top; zero or negative draws nothing, and so does a
//   width or height beyond the signed 32-bit range. No argument can overflow the arithmetic.
// - Only pixels that lie inside all three pictures are written; everything else of the
//   rectangle is dropped, so (x, y) may be negative or lie beyond any edge.
// - `destination` must be Format_RGB32; any other destination (a null image included) is left
//   untouched. `source` and `background` of another format are read through an RGB32 copy.
// - `background` may be the very image passed as `destination` (the canvas keeps its own pixels
//   under transparent ones), and `source` may be too: the source is read as it was before the
//   call. Images wrapping caller-owned memory that overlaps another's are not supported.
// Returns the rectangle of `destination` that was written (transparent pixels included); empty
// when nothing was.
QRect TransparentBlit(QImage &destination, const QImage &background, const QImage &source, Rect32 sourceRect, qint32 x,
                      qint32 y, Colour transparentColour);

// Pastes the `partRect` area of what the preview shows onto the canvas's persistent image at
// (x, y), keeping the canvas's own pixels where the preview shows `transparentColour`, then
// refreshes the canvas (it emits changed()). A canvas without a persistent image gets nothing
// drawn but is still refreshed. Returns the canvas pixels the paste wrote, as TransparentBlit.
QRect pastePart(PictureBoxModel &canvas, const PictureBoxModel &preview, Rect32 partRect, qint32 x, qint32 y,
                Colour transparentColour);

} // namespace pellwerk
