#pragma once

#include "PixelBuffer.h"
#include "PixelBufferInfo.h"
#include "core/MessageSink.h"
#include "core/Picture.h"
#include "core/PictureBoxModel.h"

namespace pellwerk {

// Reads a picture into both buffers as rows of 32-bit blue, green, red, 0 pixels, the bottom
// row first (bytes 1..4·W of rows 1..H), and describes them in info: bmType 0, the picture's
// width and height, bmWidthBytes 4·W, one plane, 32 bits per pixel, Source.bmBits and
// Target.bmBits at the first byte of source and target. Returns true when both buffers hold the
// picture.
//
// Failures, each reported only when showMessages is true:
// - no picture: "Bildinformationen konnten nicht gelesen werden"; nothing changes;
// - a picture whose row or whole size in bytes does not fit 32 bits signed:
//   "Bilddaten konnten nicht gelesen werden"; nothing changes;
// - the pixels cannot be converted or the buffers cannot be allocated: "Bilddaten konnten nicht
//   gelesen werden"; target is re-dimensioned to 1..upper bound of source in both dimensions
//   (zeroed), while source and info stay as they were, so info.Target is stale then.
bool ReadPictureBits(const Picture &picture, PixelBufferInfo &info, PixelBuffer &source, PixelBuffer &target,
                     bool showMessages, MessageSink &messages);

// Shows the pixels a descriptor refers to in a picture box. When the box already shows a
// directly writable 32-bit picture of the same width and height (one this function made), its
// pixels are rewritten in place: the picture keeps its serial and the box repaints. Otherwise
// the box gets a new 32-bit picture with directPixels set.
//
// Rows are bmWidthBytes apart, and the first 4·bmWidth bytes of each are read as blue, green,
// red, reserved pixels. A descriptor without pixels (null bmBits, width or height below 1), with
// rows shorter than 4·bmWidth bytes, with sizes beyond 32 bits signed or reaching beyond
// bmBytesAvailable is refused: the message "Bildkopie konnte nicht erstellt werden" is shown
// (always), the box keeps its picture and the result is false. The same happens when the
// memory for a new picture cannot be had.
bool WritePictureBits(PictureBoxModel &pictureBox, const BITMAP &descriptor, MessageSink &messages);

} // namespace pellwerk
