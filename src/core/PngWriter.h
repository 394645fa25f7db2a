#pragma once

#include <QByteArray>
#include <QImage>

namespace pellwerk {

// The bytes of a PNG file of `image`: 8 bits per channel, RGB for an opaque format
// (Format_RGB32), RGBA with straight alpha for Format_ARGB32. Empty for a null image.
QByteArray encodePng(const QImage &image);

} // namespace pellwerk
