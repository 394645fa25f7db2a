#pragma once

#include "PixelBuffer.h"
#include "PixelBufferInfo.h"
#include "core/Picture.h"
#include "core/PictureBoxModel.h"
#include "core/Result.h"

namespace pellwerk {

// Reads a picture into both buffers as rows of 32-bit blue, green, red, 0 pixels, the bottom
// row first (bytes 1..4·W of rows 1..H), and describes them in info: bmType 0, the picture's
// width and height, bmWidthBytes 4·W, one plane, 32 bits per pixel, Source.bmBits and
// Target.bmBits at the first byte of source and target. Succeeds when both buffers hold the
// picture. Whether a failure is shown to the user is the caller's choice.
//
// Failures:
// - no picture: NoPictureInfo; nothing changes;
// - a picture whose row or whole size in bytes does not fit 32 bits signed: NoPictureData;
//   nothing changes;
// - the pixels cannot be converted or the buffers cannot be allocated: NoPictureData; target is
//   re-dimensioned to 1..upper bound of source in both dimensions (zeroed), while source and info
//   stay as they were, so info.Target is stale then.
Result<void> ReadPictureBits(const Picture &picture, PixelBufferInfo &info, PixelBuffer &source, PixelBuffer &target);

// Shows the pixels a descriptor refers to in a picture box. When the box already shows a
// directly writable 32-bit picture of the same width and height (one this function made), its
// pixels are rewritten in place: the picture keeps its serial and the box repaints. Otherwise
// the box gets a new 32-bit picture with directPixels set.
//
// Rows are bmWidthBytes apart, and the first 4·bmWidth bytes of each are read as blue, green,
// red, reserved pixels. A descriptor without pixels (null bmBits, width or height below 1), with
// rows shorter than 4·bmWidth bytes, with sizes beyond 32 bits signed or reaching beyond
// bmBytesAvailable is refused with NoPictureCopy, and the box keeps its picture. The same happens
// when the memory for a new picture cannot be had.
Result<void> WritePictureBits(PictureBoxModel &pictureBox, const BITMAP &descriptor);

} // namespace pellwerk
