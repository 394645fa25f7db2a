#pragma once

#include "Result.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace pellwerk {

// The bytes of a 24-bit, bottom-up bitmap file with a 54-byte header (info header, no
// compression, no palette, image size and resolutions 0), pixels blue, green, red, rows
// padded to four bytes. The skin file format.
QByteArray encodeBitmap24(const QImage &image);

// Writes `image` as encodeBitmap24 to `path` through writeFileBytes: atomically, with its checks
// and errors.
Result<void> writeBitmapFile(const QImage &image, const QString &path);

} // namespace pellwerk
