#include "BitmapWriter.h"

#include "BitmapFormat.h"
#include "FileBytes.h"

#include <cstring>

namespace pellwerk {

namespace {

void put16(char *p, quint16 v)
{
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}

void put32(char *p, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xFF);
}

} // namespace

QByteArray encodeBitmap24(const QImage &source)
{
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const qint64 stride = (qint64(w) * 3 + 3) / 4 * 4;
    const qint64 total = BitmapFormat::PixelOffset + stride * h;

    // Every byte is written below: the header's unused fields and each row's padding are
    // cleared, the pixels copied, so the buffer need not be cleared first.
    QByteArray out(total, Qt::Uninitialized);
    char *d = out.data();
    std::memset(d, 0, BitmapFormat::PixelOffset);
    d[0] = 'B';
    d[1] = 'M';
    put32(d + 2, quint32(total));
    put32(d + 10, quint32(BitmapFormat::PixelOffset));
    put32(d + BitmapFormat::FileHeaderSize, quint32(BitmapFormat::InfoHeaderSize));
    put32(d + 18, quint32(w));
    put32(d + 22, quint32(h));
    put16(d + 26, 1);
    put16(d + 28, 24);

    for (int row = 0; row < h; ++row) {
        // Rows are stored bottom-up.
        const uchar *src = image.constScanLine(h - 1 - row);
        char *dst = d + BitmapFormat::PixelOffset + stride * row;
        int x = 0;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        // A pixel lies in memory as blue, green, red, alpha: the file's order. Four bytes are
        // copied at a time, each pixel's alpha overwritten by the next pixel's blue; the last
        // pixel of the row is done below, so nothing is written past the row.
        for (; x + 1 < w; ++x)
            std::memcpy(dst + 3 * x, src + 4 * x, 4);
#endif
        for (; x < w; ++x) {
            const QRgb pixel = reinterpret_cast<const QRgb *>(src)[x];
            dst[3 * x] = char(qBlue(pixel));
            dst[3 * x + 1] = char(qGreen(pixel));
            dst[3 * x + 2] = char(qRed(pixel));
        }
        std::memset(dst + 3 * qint64(w), 0, size_t(stride - 3 * qint64(w)));
    }
    return out;
}

Result<void> writeBitmapFile(const QImage &image, const QString &path)
{
    return writeFileBytes(path, encodeBitmap24(image));
}

} // namespace pellwerk
