#include "Tint.h"

#include <algorithm>

namespace pellwerk {

namespace {

// Four pixels: the pattern of a pixel's bytes repeats every 4 bytes, and 16 bytes fill one vector
// register.
constexpr int Lane = 16;

// Per byte of four pixels: what is added (0..255) and what is taken away (only one of the two is
// not 0). The alpha byte gets neither: an RGB32 picture is opaque, and stays so.
struct BytePattern
{
    quint8 add[Lane];
    quint8 sub[Lane];
};

BytePattern patternOf(const UserRgb &tint)
{
    // An RGB32 pixel is the word 0xAARRGGBB, whose bytes lie in memory in the machine's order.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const qint64 components[4] = {tint.blue, tint.green, tint.red, 0};
    constexpr int Alpha = 3;
#else
    const qint64 components[4] = {0, tint.red, tint.green, tint.blue};
    constexpr int Alpha = 0;
#endif
    BytePattern p{};
    for (int k = 0; k < Lane; ++k) {
        const int channel = k % 4;
        if (channel == Alpha)
            continue;
        p.add[k] = quint8(std::clamp<qint64>(components[channel], 0, 255));
        p.sub[k] = quint8(std::clamp<qint64>(-components[channel], 0, 255));
    }
    return p;
}

// Adding at most the room left below 255, then taking at most what is there: saturating
// arithmetic that never leaves the byte, without branches, so that the fixed-length inner loop
// becomes vector code at -O2.
inline quint8 tintByte(quint8 value, int k, const BytePattern &p)
{
    const quint8 up = quint8(value + std::min(p.add[k], quint8(255 - value)));
    return quint8(up - std::min(p.sub[k], up));
}

void tintRow(const quint8 *__restrict in, quint8 *__restrict out, qsizetype bytes, const BytePattern &p)
{
    qsizetype i = 0;
    for (; i + Lane <= bytes; i += Lane)
        for (int k = 0; k < Lane; ++k)
            out[i + k] = tintByte(in[i + k], k, p);
    for (; i < bytes; ++i)
        out[i] = tintByte(in[i], int(i % Lane), p);
}

} // namespace

QImage tinted(const QImage &image, const UserRgb &tint)
{
    if (image.isNull())
        return {};
    const QImage source = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    if (tint == UserRgb{} || source.isNull())
        return source;
    QImage out(source.size(), QImage::Format_RGB32);
    if (out.isNull())
        return out;
    const BytePattern pattern = patternOf(tint);
    const qsizetype rowBytes = qsizetype(source.width()) * 4;
    for (int y = 0; y < source.height(); ++y)
        tintRow(source.constScanLine(y), out.scanLine(y), rowBytes, pattern);
    return out;
}

} // namespace pellwerk
