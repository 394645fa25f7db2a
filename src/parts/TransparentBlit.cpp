#include "TransparentBlit.h"

#include "core/PictureBoxModel.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace pellwerk {

namespace {

constexpr quint32 RgbBits = 0xFFFFFFu;

// The pixels of the rectangle that land inside all three pictures along one axis, as offsets
// [first, end) into the rectangle. Everything is 64-bit, so no 32-bit argument can overflow.
struct AxisSpan
{
    qint64 first = 0;
    qint64 end = 0;
    bool isEmpty() const { return first >= end; }
};

AxisSpan clipAxis(qint64 extent, qint64 sourceStart, qint64 sourceSize, qint64 place, qint64 destinationSize,
                  qint64 backgroundSize)
{
    AxisSpan span;
    span.first = std::max({qint64(0), -sourceStart, -place});
    span.end = std::min({extent, sourceSize - sourceStart, destinationSize - place, backgroundSize - place});
    return span;
}

// Branch-free select so that the loops below compile to vector compares and blends.
inline quint32 pick(quint32 sourcePixel, quint32 backgroundPixel, quint32 key)
{
    const quint32 transparent = quint32(0) - quint32((sourcePixel & RgbBits) == key);
    return (backgroundPixel & transparent) | (sourcePixel & ~transparent);
}

// Rows are walked in blocks of a fixed count: GCC at -O2 vectorises only loops whose trip count
// it knows, and the restrict pointers spare it run-time overlap checks.
constexpr std::ptrdiff_t Block = 8;

void blendRow(quint32 *__restrict out, const quint32 *__restrict source, const quint32 *__restrict background,
              std::ptrdiff_t count, quint32 key)
{
    std::ptrdiff_t i = 0;
    for (; i + Block <= count; i += Block)
        for (std::ptrdiff_t k = 0; k < Block; ++k)
            out[i + k] = pick(source[i + k], background[i + k], key);
    for (; i < count; ++i)
        out[i] = pick(source[i], background[i], key);
}

// Destination and background are one image: each pixel is read and written at the same place.
void blendRowInPlace(quint32 *__restrict out, const quint32 *__restrict source, std::ptrdiff_t count, quint32 key)
{
    std::ptrdiff_t i = 0;
    for (; i + Block <= count; i += Block)
        for (std::ptrdiff_t k = 0; k < Block; ++k)
            out[i + k] = pick(source[i + k], out[i + k], key);
    for (; i < count; ++i)
        out[i] = pick(source[i], out[i], key);
}

QImage asRgb32(const QImage &image)
{
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QRect TransparentBlit(QImage &destination, const QImage &background, const QImage &source, Rect32 sourceRect, qint32 x,
                      qint32 y, Colour transparentColour)
{
    const qint64 width = qint64(sourceRect.Right) - sourceRect.Left;
    const qint64 height = qint64(sourceRect.Bottom) - sourceRect.Top;
    constexpr qint64 Max32 = std::numeric_limits<qint32>::max();
    // A size beyond 32 bits is a caller's error, not a paste: leave the picture as it was.
    if (width <= 0 || height <= 0 || width > Max32 || height > Max32)
        return {};
    if (destination.format() != QImage::Format_RGB32)
        return {};

    const AxisSpan columns =
        clipAxis(width, sourceRect.Left, source.width(), x, destination.width(), background.width());
    const AxisSpan rows =
        clipAxis(height, sourceRect.Top, source.height(), y, destination.height(), background.height());
    if (columns.isEmpty() || rows.isEmpty())
        return {};

    // Holding our own reference to the source data makes the write access below detach the
    // destination when both are one image, so the source is read as it was before the call.
    const QImage sourceImage = asRgb32(source);
    QImage convertedBackground;
    const QImage *backgroundImage = &background;
    if (background.format() != QImage::Format_RGB32) {
        convertedBackground = background.convertToFormat(QImage::Format_RGB32);
        backgroundImage = &convertedBackground;
    }

    // Write access first: it may detach the destination, and only afterwards do the background's
    // pixels tell whether they are the destination's own.
    uchar *const destinationBits = destination.bits();
    const uchar *const backgroundBits = backgroundImage->constBits();
    const uchar *const sourceBits = sourceImage.constBits();
    const bool inPlace = destinationBits == backgroundBits;

    const qsizetype destinationStride = destination.bytesPerLine();
    const qsizetype backgroundStride = backgroundImage->bytesPerLine();
    const qsizetype sourceStride = sourceImage.bytesPerLine();
    const qsizetype count = columns.end - columns.first;
    const qsizetype sourceColumn = sourceRect.Left + columns.first;
    const qsizetype placeColumn = x + columns.first;
    const quint32 key = transparentColour.toQRgb() & RgbBits;

    for (qint64 j = rows.first; j < rows.end; ++j) {
        const qsizetype sourceRow = sourceRect.Top + j;
        const qsizetype placeRow = y + j;
        auto *out = reinterpret_cast<quint32 *>(destinationBits + placeRow * destinationStride) + placeColumn;
        const auto *in = reinterpret_cast<const quint32 *>(sourceBits + sourceRow * sourceStride) + sourceColumn;
        if (inPlace) {
            blendRowInPlace(out, in, count, key);
        } else {
            const auto *under =
                reinterpret_cast<const quint32 *>(backgroundBits + placeRow * backgroundStride) + placeColumn;
            blendRow(out, in, under, count, key);
        }
    }
    return QRect(int(placeColumn), int(y + rows.first), int(count), int(rows.end - rows.first));
}

QRect pastePart(PictureBoxModel &canvas, const PictureBoxModel &preview, Rect32 partRect, qint32 x, qint32 y,
                Colour transparentColour)
{
    const QImage source = preview.surface();
    QImage &skin = canvas.drawingImage();
    const QRect written = TransparentBlit(skin, skin, source, partRect, x, y, transparentColour);
    canvas.refresh();
    return written;
}

} // namespace pellwerk
