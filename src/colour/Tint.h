#pragma once

#include "core/UserRgb.h"

#include <QImage>

namespace pellwerk {

// The knobs' colour correction as an image effect: every pixel's red, green and blue raised by
// the tint's three components, each sum capped at 255 (and a sum below 0, from a negative
// component, at 0). The result is an opaque Format_RGB32 image of the same size, bit for bit what
// the colour window's buffers make of the same picture; the input is read through an RGB32 copy
// when it has another format and is never changed. A zero tint gives the picture as RGB32 (the
// same image data when it already is). A null image, or one whose copy cannot be allocated,
// gives a null image.
QImage tinted(const QImage &image, const UserRgb &tint);

} // namespace pellwerk
