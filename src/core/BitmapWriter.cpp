#include "BitmapWriter.h"

#include "BitmapFormat.h"
#include "FileBytes.h"

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

    QByteArray out(total, '\0');
    char *d = out.data();
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
        const QRgb *src = reinterpret_cast<const QRgb *>(image.constScanLine(h - 1 - row));
        char *dst = d + BitmapFormat::PixelOffset + stride * row;
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = char(qBlue(src[x]));
            dst[3 * x + 1] = char(qGreen(src[x]));
            dst[3 * x + 2] = char(qRed(src[x]));
        }
    }
    return out;
}

Result<void> writeBitmapFile(const QImage &image, const QString &path)
{
    return writeFileBytes(path, encodeBitmap24(image));
}

} // namespace pellwerk
