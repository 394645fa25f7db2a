#include "ColourCorrection.h"

#include <algorithm>
#include <cstring>

namespace pellwerk {

namespace {

// Four pixels: the offset pattern repeats every 4 bytes, and 16 bytes fill one vector register
// on every target that has them.
constexpr int Lane = 16;

quint8 capped(qint64 value)
{
    return quint8(std::clamp<qint64>(value, 0, 255));
}

// The common case: both buffers as a picture is read, bytes 1..4·W of rows 1..H. Then every
// byte of the storage belongs to a whole pixel and the pattern continues across rows, so the
// storage is one run. The block is written with the compiler's vector types: as a plain or
// staged byte loop, whether it became vector code depended on the optimisation level (at -O3 the
// byte loop was unrolled and left scalar, at -Os it was never vectorised), ten to forty times
// slower. Loading both blocks before storing lets source and target be the same buffer.
void correctWholePixels(const quint8 *source, quint8 *target, qint64 count, const quint8 (&add)[Lane],
                        const quint8 (&keep)[Lane])
{
    qint64 i = 0;
#if defined(__GNUC__)
    using Block = quint8 __attribute__((vector_size(Lane)));
    Block addBlock;
    Block keepBlock;
    std::memcpy(&addBlock, add, Lane);
    std::memcpy(&keepBlock, keep, Lane);
    for (; i + Lane <= count; i += Lane) {
        Block s;
        Block t;
        std::memcpy(&s, source + i, Lane);
        std::memcpy(&t, target + i, Lane);
        // Adding at most the room left below 255 saturates without leaving 8 bits.
        const Block room = ~s;
        const Block value = s + (addBlock < room ? addBlock : room);
        t = (t & keepBlock) | (value & ~keepBlock);
        std::memcpy(target + i, &t, Lane);
    }
#endif
    for (; i < count; ++i) {
        const int k = int(i % Lane);
        if (!keep[k])
            target[i] = quint8(std::min(unsigned(source[i]) + add[k], 255u));
    }
}

} // namespace

void CorrectColours(const PixelBuffer &source, PixelBuffer &target, const qint32 &red, const qint32 &green,
                    const qint32 &blue)
{
    const qint64 lastByte = source.upperBound(1);
    if (lastByte < 1)
        return;

    const qint64 offsets[3] = {blue, green, red};
    const bool offsetsAdd = blue >= 0 && green >= 0 && red >= 0;
    if (offsetsAdd && source.sameBounds(target) && source.lowerBound(1) == 1 && source.lowerBound(2) == 1
        && lastByte % 4 == 0) {
        quint8 add[Lane];
        quint8 keep[Lane];
        for (int k = 0; k < Lane; ++k) {
            // Any offset above 255 caps every sum, just as 255 does.
            add[k] = k % 4 == 3 ? 0 : quint8(std::min<qint64>(offsets[k % 4], 255));
            keep[k] = k % 4 == 3 ? 0xFF : 0x00;
        }
        correctWholePixels(source.data(), target.data(), source.byteCount(), add, keep);
        return;
    }

    // Any other bounds: byte by byte, over the indexes both buffers have. The walk is confined to
    // that overlap because a few bytes can lie two billion indexes away from 1, where counting up
    // from 1 would take minutes.
    const qint64 firstByte = std::max<qint64>({1, source.lowerBound(1), target.lowerBound(1)});
    const qint64 lastCommonByte = std::min<qint64>(lastByte, target.upperBound(1));
    const qint64 firstRow = std::max<qint64>({1, source.lowerBound(2), target.lowerBound(2)});
    const qint64 lastRow = std::min<qint64>(source.upperBound(2), target.upperBound(2));
    // Buffers without bytes may still span two billion rows: nothing to walk then.
    if (firstByte > lastCommonByte)
        return;
    for (qint64 y = firstRow; y <= lastRow; ++y) {
        for (qint64 i = firstByte; i <= lastCommonByte; ++i) {
            const qint64 k = (i - 1) % 4;
            if (k != 3)
                target.at(i, y) = capped(source.at(i, y) + offsets[k]);
        }
    }
}

} // namespace pellwerk
