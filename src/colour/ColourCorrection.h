#pragma once

#include "PixelBuffer.h"

#include <QtGlobal>

namespace pellwerk {

// Adds the three offsets to the blue, green and red bytes of the source's pixels and stores the
// sums, capped at 255, at the same indexes of the target; the reserved fourth byte of a target
// pixel is left as it is. Pixels start at first indexes 1, 5, 9, ... up to the upper bound of the
// source's first index, in rows 1 to the upper bound of its second index.
//
// Only bytes that exist in both buffers are read and written, whatever their bounds (a 2 × 2
// placeholder source with a 1 × 1 target touches byte (1, 1) alone). Offsets outside 0..255 are
// accepted; a sum below 0 is stored as 0. It cannot fail.
void CorrectColours(const PixelBuffer &source, PixelBuffer &target, const qint32 &red, const qint32 &green,
                    const qint32 &blue);

} // namespace pellwerk
