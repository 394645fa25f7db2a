#pragma once

#include "Result.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace pellwerk {

// Limits checked before any pixel memory is allocated.
struct DecodeLimits
{
    qint64 maxPixels = qint64(64) * 1024 * 1024; // 256 MiB as 32-bit pixels
    qint32 maxDimension = 32767;
    qint64 maxFileBytes = qint64(512) * 1024 * 1024; // readBitmapFile refuses larger files unread
};

// Decodes a Windows bitmap file held in memory into a Format_RGB32 image with every pixel
// defined, or says why not (NotBitmap, BitmapIncomplete, BitmapDamaged, ImageTooLarge,
// BitmapUnsupported). Core (OS/2 1.x), info, V4 and V5 headers; 1, 4, 8, 16, 24 and 32 bits;
// RLE4, RLE8 and bit fields; bottom-up and top-down rows.
// Every size is checked against the bytes given and against `limits` before allocating.
// Never reads outside `bytes`; pixels a valid file leaves undefined (RLE skips) are black.
//
// What is accepted and what is refused:
// - Header sizes 12, 40, 52, 56, 108 and 124; any other (the 64-byte OS/2 2.x header too) is
//   refused as unsupported. Planes must be 1, width > 0, height != 0; top-down RLE is refused.
// - The file-size and image-size fields are ignored: the real byte count decides. Uncompressed
//   files must hold every row (the last row's padding may be missing), else they are refused.
// - Colours used: 0 means the full palette for the depth; more than the depth allows is refused.
//   An explicit palette must fit between the header and the pixel data; an implied one (core
//   header, colours used 0) is cut to what fits. Indices past the palette give black. Above
//   8 bits the field and any palette are ignored.
// - Bit fields: each mask must be one contiguous run of bits inside the pixel, the red, green
//   and blue masks must not overlap; a zero mask gives 0 for its channel; the alpha mask is
//   ignored. A channel of n bits is scaled to 8 bits as round(v * 255 / (2^n - 1)).
// - RLE: runs past the row end are clipped, a delta past the last stored row ends decoding,
//   and data that ends early (no end-of-bitmap code) decodes what is there; the rest is black.
Result<QImage> decodeBitmap(QByteArrayView bytes, const DecodeLimits &limits = {});

// Reads the file at `path` (a regular file only: folders, pipes and devices are refused
// without blocking; files over limits.maxFileBytes are refused unread) and decodes it. Besides
// the decoder's kinds: FileMissing, IsFolder, NotRegularFile, FileTooLarge, CannotRead (with the
// system's reason). Every error carries `path` as its file.
Result<QImage> readBitmapFile(const QString &path, const DecodeLimits &limits = {});

} // namespace pellwerk
