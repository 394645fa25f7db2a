// The colour window's pixel routines with bounds and sizes nobody would pick on purpose: buffers
// of any bounds, source and target that do not match, offsets outside 0..255, and descriptors
// that claim more than the memory behind them. The checks are the contracts (the values
// themselves are proven in the unit tests): a buffer holds exactly its bounds, the correction
// changes only colour bytes both buffers share and never its source, reading a picture fills
// both buffers alike, and a descriptor reaching beyond its memory is refused.
//
// Input: a sequence of steps, each drawn from the bytes by FuzzedDataProvider.

#include "FuzzSupport.h"

#include "colour/ColourCorrection.h"
#include "colour/PictureBits.h"
#include "core/PictureBoxModel.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

using namespace pellwerk;

namespace {

using Bounds = std::array<qint64, 4>; // lower and upper of the first index, then of the second

Bounds boundsOf(const PixelBuffer &b)
{
    return {b.lowerBound(1), b.upperBound(1), b.lowerBound(2), b.upperBound(2)};
}

std::vector<quint8> bytesOf(const PixelBuffer &b)
{
    return std::vector<quint8>(b.data(), b.data() + b.byteCount());
}

// A bound: mostly near the indexes pictures use, sometimes at or near the ends of 32 bits.
qint32 bound(FuzzedDataProvider &in)
{
    constexpr qint32 Min = std::numeric_limits<qint32>::min(), Max = std::numeric_limits<qint32>::max();
    if (in.ConsumeBool())
        return in.ConsumeIntegralInRange<qint32>(-8, 70);
    return in.ConsumeBool() ? in.PickValueInArray<qint32>({Min, Min + 1, -1, 0, 1, Max - 1, Max})
                            : in.ConsumeIntegral<qint32>();
}

void redimension(FuzzedDataProvider &in, PixelBuffer &buffer)
{
    const qint32 l1 = bound(in), l2 = bound(in);
    // Any upper bound, or a small extent past the lower one, so buffers with bytes lie anywhere.
    const auto upper = [&](qint32 lower) {
        return in.ConsumeBool()
                   ? bound(in)
                   : qint32(std::min<qint64>(qint64(lower) + in.ConsumeIntegralInRange(-2, 70), 0x7FFFFFFF));
    };
    const qint32 u1 = upper(l1), u2 = upper(l2);
    const qint64 row = std::max<qint64>(0, qint64(u1) - l1 + 1), rows = std::max<qint64>(0, qint64(u2) - l2 + 1);
    // Each extent can reach 2^32: the product is compared by division, never formed.
    const bool tooLarge = row > 0 && rows > PixelBuffer::MaxBytes / row;
    if (!tooLarge && row * rows > (1 << 16))
        return; // legal, only slow
    const Bounds before = boundsOf(buffer);
    const bool done = buffer.redimension(l1, u1, l2, u2);
    FUZZ_CHECK(done == !tooLarge && boundsOf(buffer) == (done ? Bounds{l1, u1, l2, u2} : before));
    const std::vector<quint8> bytes = bytesOf(buffer);
    FUZZ_CHECK(!done
               || (bytes.size() == size_t(row * rows) && std::count(bytes.begin(), bytes.end(), 0) == row * rows));
}

// Only bytes (i, j) with i, j >= 1 that are not a pixel's fourth and that the source holds change.
FUZZ_MODEL void correct(FuzzedDataProvider &in, const PixelBuffer &source, PixelBuffer &target)
{
    const std::vector<quint8> sourceBefore = bytesOf(source), targetBefore = bytesOf(target);
    const auto offset = [&] {
        return in.ConsumeBool() ? in.ConsumeIntegralInRange(-300, 600) : in.ConsumeIntegral<qint32>();
    };
    CorrectColours(source, target, offset(), offset(), offset());
    const Bounds t = boundsOf(target);
    for (qint64 n = 0; n < qint64(targetBefore.size()); ++n) {
        const qint64 i = t[0] + n % target.extent(1), j = t[2] + n / target.extent(1);
        if (target.data()[n] != targetBefore[size_t(n)])
            FUZZ_CHECK(i >= 1 && j >= 1 && (i - 1) % 4 != 3 && source.contains(i, j));
    }
    FUZZ_CHECK(&source == &target || bytesOf(source) == sourceBefore);
}

// A descriptor that lies about the memory behind it is refused, and the box keeps its picture.
void writePicture(FuzzedDataProvider &in, const PixelBuffer &buffer, PictureBoxModel &box)
{
    BITMAP d;
    const auto size = [&](qint64 honest) {
        return in.ConsumeBool() ? qint32(std::clamp<qint64>(honest + in.ConsumeIntegralInRange(-3, 3), 0, 0x7FFFFFFF))
                                : bound(in);
    };
    d.bmWidthBytes = size(buffer.extent(1));
    d.bmWidth = size(buffer.extent(1) / 4);
    d.bmHeight = size(buffer.extent(2));
    d.bmBitsPixel = in.ConsumeBool() ? 32 : in.ConsumeIntegral<quint16>();
    pointAt(d, buffer);
    if (in.ConsumeBool())
        d.bmBytesAvailable = in.ConsumeIntegralInRange<qint64>(0, d.bmBytesAvailable);
    const quint64 serialBefore = box.picture().serial;
    const Result<void> done = WritePictureBits(box, d);
    const qint64 rowPixels = 4 * qint64(d.bmWidth);
    if (!d.bmBits || d.bmWidth < 1 || d.bmHeight < 1 || d.bmWidthBytes < rowPixels
        || (qint64(d.bmHeight) - 1) * d.bmWidthBytes + rowPixels > d.bmBytesAvailable)
        FUZZ_CHECK(!done && box.picture().serial == serialBefore);
    FUZZ_CHECK(!done || box.picture().image.size() == QSize(d.bmWidth, d.bmHeight));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    std::array<PixelBuffer, 2> buffers;
    PixelBufferInfo info;
    const QSize inner(in.ConsumeIntegralInRange(0, 40), in.ConsumeIntegralInRange(0, 40));
    const Colour back(in.ConsumeIntegral<quint32>() & 0xFFFFFFu);
    std::array<PictureBoxModel, 2> boxes{PictureBoxModel(inner, back, true), PictureBoxModel(inner, back, false)};

    for (int step = 0; step < 24 && in.remaining_bytes() > 0; ++step) {
        PixelBuffer &a = buffers[in.ConsumeIntegralInRange(0, 1)];
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            redimension(in, a);
            break;
        case 1: // the target may be the source itself
            std::fill_n(a.data(), a.byteCount(), in.ConsumeIntegral<quint8>());
            correct(in, a, buffers[in.ConsumeIntegralInRange(0, 1)]);
            break;
        case 2: {
            // Reading any picture fills both buffers alike with its rows.
            Picture picture; // not made: make() would convert the pixels, which is the routine's own job
            picture.image =
                QImage(in.ConsumeIntegralInRange(0, 24), in.ConsumeIntegralInRange(0, 24),
                       in.PickValueInArray({QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_RGB16}));
            picture.image.fill(in.ConsumeIntegral<uint>());
            const bool done = ReadPictureBits(picture, info, buffers[0], buffers[1]).ok();
            FUZZ_CHECK(done == !picture.isNull());
            FUZZ_CHECK(
                !done
                || (buffers[0] == buffers[1] && info.Target.bmBits == buffers[1].data()
                    && boundsOf(buffers[0]) == (Bounds{1, 4 * picture.image.width(), 1, picture.image.height()})));
            break;
        }
        default:
            writePicture(in, a, boxes[in.ConsumeIntegralInRange(0, 1)]);
            break;
        }
    }
    return 0;
}
