#include "PictureBits.h"

#include <QPainter>
#include <QtEndian>

#include <cstring>

namespace pellwerk {

namespace {

constexpr qint64 Max32 = PixelBuffer::MaxBytes;

// One row of an RGB32 image into buffer bytes: blue, green, red and a zero reserved byte.
void imageRowToBytes(const QRgb *pixels, qint32 width, quint8 *bytes)
{
    for (qint32 p = 0; p < width; ++p)
        qToLittleEndian<quint32>(pixels[p] & 0x00FFFFFFu, bytes + 4 * qint64(p));
}

// One row of buffer bytes into an RGB32 image. Whatever the reserved byte holds, the image's
// alpha byte must be 0xFF: Qt takes RGB32 data as opaque and converts it without looking.
void bytesToImageRow(const quint8 *bytes, qint32 width, QRgb *pixels)
{
    qint32 p = 0;
#if defined(__GNUC__) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // Four pixels at a time in the compiler's vector type: as a plain loop it became vector code
    // at -O3 only, three times faster than at -O2 and -Os. The bytes are the pixels' little-endian
    // words already.
    using Pixels = quint32 __attribute__((vector_size(16)));
    const Pixels opaque = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u};
    for (; p + 4 <= width; p += 4) {
        Pixels block;
        std::memcpy(&block, bytes + 4 * qint64(p), sizeof block);
        block |= opaque;
        std::memcpy(pixels + p, &block, sizeof block);
    }
#endif
    for (; p < width; ++p)
        pixels[p] = qFromLittleEndian<quint32>(bytes + 4 * qint64(p)) | 0xFF000000u;
}

// Rows of the buffer go bottom-up, rows of the image top-down.
void bytesToImage(const BITMAP &d, QImage &image)
{
    uchar *top = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (qint32 r = 0; r < d.bmHeight; ++r) {
        const quint8 *row = d.bmBits + qint64(r) * d.bmWidthBytes;
        bytesToImageRow(row, d.bmWidth, reinterpret_cast<QRgb *>(top + qsizetype(d.bmHeight - 1 - r) * stride));
    }
}

// Whether the descriptor's rows can be read without leaving the memory it vouches for.
bool isReadable(const BITMAP &d)
{
    if (!d.bmBits || d.bmWidth <= 0 || d.bmHeight <= 0)
        return false;
    const qint64 pixelBytes = 4 * qint64(d.bmWidth);
    const qint64 allBytes = qint64(d.bmWidthBytes) * d.bmHeight;
    return pixelBytes <= Max32 && d.bmWidthBytes >= pixelBytes && allBytes <= Max32 && allBytes <= d.bmBytesAvailable;
}

} // namespace

Result<void> ReadPictureBits(const Picture &picture, PixelBufferInfo &info, PixelBuffer &source, PixelBuffer &target)
{
    if (picture.isNull())
        return makeError(ErrorKind::NoPictureInfo);

    const qint32 width = picture.image.width();
    const qint32 height = picture.image.height();
    const qint64 rowBytes = 4 * qint64(width);
    const qint64 allBytes = rowBytes * height;
    // A picture this large is refused before any buffer changes.
    if (rowBytes > Max32 || allBytes > Max32)
        return makeError(ErrorKind::NoPictureData);

    // What stands in for a failed conversion into 32-bit rows: the target shrinks to the source's
    // bounds, the source and the descriptors stay as they were.
    auto failConversion = [&]() -> Result<void> {
        target.redimension(1, source.upperBound(1), 1, source.upperBound(2));
        return makeError(ErrorKind::NoPictureData);
    };

    if (!target.redimension(qint32(rowBytes), height))
        return failConversion();

    QImage converted;
    const QImage *image = &picture.image;
    if (image->format() != QImage::Format_RGB32) {
        converted = image->convertToFormat(QImage::Format_RGB32);
        if (converted.isNull())
            return failConversion();
        image = &converted;
    }
    for (qint32 j = 1; j <= height; ++j) {
        const auto *pixels = reinterpret_cast<const QRgb *>(image->constScanLine(height - j));
        imageRowToBytes(pixels, width, target.data() + (j - 1) * rowBytes);
    }

    if (!source.redimension(qint32(rowBytes), height))
        return failConversion();
    std::memcpy(source.data(), target.data(), size_t(allBytes));

    BITMAP d;
    d.bmType = 0;
    d.bmWidth = width;
    d.bmHeight = height;
    d.bmWidthBytes = qint32(rowBytes);
    d.bmPlanes = 1;
    d.bmBitsPixel = 32;
    info.Source = d;
    pointAt(info.Source, source);
    info.Target = d;
    pointAt(info.Target, target);
    return {};
}

Result<void> WritePictureBits(PictureBoxModel &pictureBox, const BITMAP &descriptor)
{
    if (!isReadable(descriptor))
        return makeError(ErrorKind::NoPictureCopy);

    // Once the box shows a picture this function made, a knob step costs one pass over the
    // pixels and no new picture.
    if (QImage *shown = pictureBox.picturePixelsForUpdate();
        shown && descriptor.bmBitsPixel == 32 && shown->format() == QImage::Format_RGB32
        && shown->width() == descriptor.bmWidth && shown->height() == descriptor.bmHeight) {
        // bits() detaches an image that is shared; without memory for that it is left without
        // pixels, and only a new picture can help.
        if (shown->bits()) {
            bytesToImage(descriptor, *shown);
            if (pictureBox.isPersistent() && !pictureBox.drawingImage().isNull()) {
                // A persistent box shows its own image, which took the picture's pixels when the
                // picture was set; it has to take the rewritten ones as well.
                QPainter painter(&pictureBox.drawingImage());
                painter.setCompositionMode(QPainter::CompositionMode_Source);
                painter.drawImage(0, 0, *shown);
            }
            pictureBox.refresh();
            return {};
        }
    }

    QImage image(descriptor.bmWidth, descriptor.bmHeight, QImage::Format_RGB32);
    if (image.isNull())
        return makeError(ErrorKind::NoPictureCopy);
    bytesToImage(descriptor, image);
    pictureBox.setPicture(Picture::make(std::move(image), /*directPixels*/ true));
    return {};
}

} // namespace pellwerk
