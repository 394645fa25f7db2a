// The colour window's pixel routines with bounds and sizes nobody would pick on purpose: buffers
// of any bounds, source and target that do not match, offsets outside 0..255, and descriptors
// that claim more than the memory behind them. The checks are the contracts: a buffer holds
// exactly its bounds, the correction changes only the colour bytes both buffers share, a picture
// is read bottom row first, and a descriptor reaching beyond its memory is refused.
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
#include <stdexcept>
#include <vector>

using namespace pellwerk;

namespace {

constexpr qint32 Min32 = std::numeric_limits<qint32>::min();
constexpr qint32 Max32 = std::numeric_limits<qint32>::max();

using Bounds = std::array<qint64, 4>; // lower and upper of the first index, then of the second

Bounds boundsOf(const PixelBuffer &b)
{
    return {b.lowerBound(1), b.upperBound(1), b.lowerBound(2), b.upperBound(2)};
}

FUZZ_MODEL bool inside(const Bounds &b, qint64 i, qint64 j)
{
    return i >= b[0] && i <= b[1] && j >= b[2] && j <= b[3];
}

std::vector<quint8> bytesOf(const PixelBuffer &b)
{
    return std::vector<quint8>(b.data(), b.data() + b.byteCount());
}

// A bound: mostly near the indexes pictures use, sometimes at or near the ends of 32 bits.
qint32 bound(FuzzedDataProvider &in)
{
    if (in.ConsumeBool())
        return in.ConsumeIntegralInRange<qint32>(-8, 70);
    return in.ConsumeBool() ? in.PickValueInArray<qint32>({Min32, Min32 + 1, -1, 0, 1, Max32 - 1, Max32})
                            : in.ConsumeIntegral<qint32>();
}

// Any upper bound, or a small extent past the lower one, so buffers with bytes lie anywhere.
qint32 upperBound(FuzzedDataProvider &in, qint32 lower)
{
    return in.ConsumeBool() ? bound(in)
                            : qint32(std::min<qint64>(qint64(lower) + in.ConsumeIntegralInRange(-2, 70), Max32));
}

void redimension(FuzzedDataProvider &in, PixelBuffer &buffer)
{
    const qint32 l1 = bound(in), u1 = upperBound(in, l1), l2 = bound(in), u2 = upperBound(in, l2);
    const qint64 row = u1 < l1 ? 0 : qint64(u1) - l1 + 1, rows = u2 < l2 ? 0 : qint64(u2) - l2 + 1;
    // Each extent can reach 2^32: the product is compared by division, never formed.
    const bool tooLarge = row > 0 && rows > PixelBuffer::MaxBytes / row;
    if (!tooLarge && row * rows > (1 << 16))
        return; // legal, only slow
    const Bounds before = boundsOf(buffer);
    const bool done = buffer.redimension(l1, u1, l2, u2);
    FUZZ_CHECK(done == !tooLarge);
    FUZZ_CHECK(boundsOf(buffer) == (done ? Bounds{l1, u1, l2, u2} : before));
    if (done) {
        FUZZ_CHECK(buffer.byteCount() == row * rows && (buffer.data() == nullptr) == buffer.isEmpty());
        const std::vector<quint8> bytes = bytesOf(buffer);
        FUZZ_CHECK(std::all_of(bytes.begin(), bytes.end(), [](quint8 b) { return b == 0; }));
    }
}

void fill(FuzzedDataProvider &in, PixelBuffer &buffer)
{
    const quint8 seed = in.ConsumeIntegral<quint8>(), step = in.ConsumeIntegral<quint8>();
    for (qint64 k = 0; k < buffer.byteCount(); ++k)
        buffer.data()[k] = quint8(seed + k * step + (k >> 7));
}

// One byte written and read back through its indexes; outside the bounds both throw.
void touch(FuzzedDataProvider &in, PixelBuffer &buffer)
{
    const qint64 i = in.ConsumeBool() ? qint64(bound(in)) : in.ConsumeIntegral<qint64>();
    const qint64 j = in.ConsumeBool() ? qint64(bound(in)) : in.ConsumeIntegral<qint64>();
    const quint8 value = in.ConsumeIntegral<quint8>();
    const Bounds b = boundsOf(buffer);
    FUZZ_CHECK(buffer.contains(i, j) == inside(b, i, j));
    try {
        buffer.at(i, j) = value;
        // The storage runs row after row, the first index fastest.
        FUZZ_CHECK(inside(b, i, j) && buffer.data()[(j - b[2]) * buffer.extent(1) + (i - b[0])] == value);
        FUZZ_CHECK(std::as_const(buffer).at(i, j) == value);
    } catch (const std::out_of_range &) {
        FUZZ_CHECK(!inside(b, i, j));
    }
}

qint32 offset(FuzzedDataProvider &in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<qint32>(-300, 600) : in.ConsumeIntegral<qint32>();
}

// Byte by byte: a target byte (i, j) with i, j >= 1 that the source also holds and that is not a
// pixel's fourth becomes the source byte plus its offset, kept within 0..255; all others stay.
FUZZ_MODEL void correct(FuzzedDataProvider &in, const PixelBuffer &source, PixelBuffer &target)
{
    const qint64 offsets[4] = {offset(in), offset(in), offset(in), 0}; // blue, green, red
    const std::vector<quint8> sourceBefore = bytesOf(source), targetBefore = bytesOf(target);
    const Bounds s = boundsOf(source), t = boundsOf(target);
    CorrectColours(source, target, qint32(offsets[2]), qint32(offsets[1]), qint32(offsets[0]));
    for (qint64 n = 0; n < qint64(targetBefore.size()); ++n) {
        const qint64 i = t[0] + n % target.extent(1), j = t[2] + n / target.extent(1);
        quint8 expected = targetBefore[size_t(n)];
        if (i >= 1 && j >= 1 && (i - 1) % 4 != 3 && inside(s, i, j)) {
            const quint8 was = sourceBefore[size_t((j - s[2]) * source.extent(1) + (i - s[0]))];
            expected = quint8(std::clamp<qint64>(was + offsets[(i - 1) % 4], 0, 255));
        }
        FUZZ_CHECK(target.data()[n] == expected);
    }
    if (&source != &target)
        FUZZ_CHECK(bytesOf(source) == sourceBefore);
}

// Reading any picture fills both buffers alike with its rows.
void readPicture(FuzzedDataProvider &in, PixelBufferInfo &info, PixelBuffer &source, PixelBuffer &target)
{
    const int w = in.ConsumeIntegralInRange(0, 24), h = in.ConsumeIntegralInRange(0, 24);
    Picture picture; // not made: make() would convert the pixels, which is the routine's own job
    picture.image =
        QImage(w, h, in.PickValueInArray({QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_RGB16}));
    picture.image.fill(in.ConsumeIntegral<uint>());
    const Result<void> done = ReadPictureBits(picture, info, source, target);
    FUZZ_CHECK(done.ok() == !picture.isNull());
    if (done)
        FUZZ_CHECK(source == target && boundsOf(source) == (Bounds{1, 4 * w, 1, h})
                   && info.Target.bmBits == target.data());
}

// A descriptor that lies about the memory behind it is refused, and the box keeps its picture.
void writePicture(FuzzedDataProvider &in, const PixelBuffer &buffer, PictureBoxModel &box)
{
    BITMAP d;
    const auto size = [&](qint64 honest) {
        return in.ConsumeBool() ? qint32(std::clamp<qint64>(honest + in.ConsumeIntegralInRange(-3, 3), Min32, Max32))
                                : bound(in);
    };
    d.bmWidthBytes = size(buffer.extent(1));
    d.bmWidth = size(buffer.extent(1) / 4);
    d.bmHeight = size(buffer.extent(2));
    d.bmBitsPixel = in.ConsumeBool() ? 32 : in.ConsumeIntegral<quint16>();
    pointAt(d, buffer);
    if (in.ConsumeBool())
        d.bmBytesAvailable = in.ConsumeIntegralInRange<qint64>(0, d.bmBytesAvailable);
    if (in.ConsumeIntegralInRange(0, 15) == 0)
        d.bmBits = nullptr;
    const quint64 serialBefore = box.picture().serial;
    const Result<void> done = WritePictureBits(box, d);
    const qint64 rowPixels = 4 * qint64(d.bmWidth);
    if (!d.bmBits || d.bmWidth < 1 || d.bmHeight < 1 || d.bmWidthBytes < rowPixels
        || (qint64(d.bmHeight) - 1) * d.bmWidthBytes + rowPixels > d.bmBytesAvailable)
        FUZZ_CHECK(!done && box.picture().serial == serialBefore);
    if (done)
        FUZZ_CHECK(box.picture().image.size() == QSize(d.bmWidth, d.bmHeight) && box.picture().directPixels);
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
        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
            redimension(in, a);
            break;
        case 1:
            fill(in, a);
            break;
        case 2:
            touch(in, a);
            break;
        case 3: // the target may be the source itself
            correct(in, a, buffers[in.ConsumeIntegralInRange(0, 1)]);
            break;
        case 4:
            readPicture(in, info, buffers[0], buffers[1]);
            break;
        default:
            writePicture(in, a, boxes[in.ConsumeIntegralInRange(0, 1)]);
            break;
        }
    }
    return 0;
}
