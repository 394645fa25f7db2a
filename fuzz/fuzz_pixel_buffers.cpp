// The colour window's pixel routines with bounds and sizes nobody would pick on purpose: the
// 0..1 placeholders, buffers re-dimensioned to another's bounds, source and target that do not
// match, empty and reversed bounds, offsets outside 0..255, and descriptors that claim more rows
// or wider rows than the memory behind them. A plain model of each buffer (its bounds and bytes)
// runs alongside; after every step the real buffers must equal it.
//
// Input: a sequence of steps, each drawn from the bytes by FuzzedDataProvider.

#include "FuzzSupport.h"

#include "colour/ColourCorrection.h"
#include "colour/PictureBits.h"
#include "colour/PixelBuffer.h"
#include "colour/PixelBufferInfo.h"
#include "core/MessageSink.h"
#include "core/Picture.h"
#include "core/PictureBoxModel.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

using namespace pellwerk;

namespace {

constexpr qint32 Min32 = std::numeric_limits<qint32>::min();
constexpr qint32 Max32 = std::numeric_limits<qint32>::max();
// Larger buffers are legal but would only make the run slow; sizes the buffer must refuse
// (beyond MaxBytes) are tried, since refusing allocates nothing.
constexpr qint64 LargestTried = qint64(1) << 16;


qint64 extentOf(qint64 lower, qint64 upper)
{
    return upper < lower ? 0 : upper - lower + 1;
}

// A buffer as its contract describes it: bounds per dimension and the bytes row after row, the
// first index varying fastest.
struct BufferModel
{
    qint32 lower1 = 1, upper1 = 0, lower2 = 1, upper2 = 0;
    std::vector<quint8> bytes;

    qint64 extent1() const { return extentOf(lower1, upper1); }
    qint64 extent2() const { return extentOf(lower2, upper2); }
    FUZZ_MODEL bool contains(qint64 i, qint64 j) const
    {
        return i >= lower1 && i <= upper1 && j >= lower2 && j <= upper2;
    }
    FUZZ_MODEL quint8 &at(qint64 i, qint64 j) { return bytes[size_t((j - lower2) * extent1() + (i - lower1))]; }
    FUZZ_MODEL quint8 at(qint64 i, qint64 j) const { return bytes[size_t((j - lower2) * extent1() + (i - lower1))]; }
};

FUZZ_MODEL void checkSame(const PixelBuffer &buffer, const BufferModel &model)
{
    FUZZ_CHECK(buffer.lowerBound(1) == model.lower1 && buffer.upperBound(1) == model.upper1);
    FUZZ_CHECK(buffer.lowerBound(2) == model.lower2 && buffer.upperBound(2) == model.upper2);
    FUZZ_CHECK(buffer.extent(1) == model.extent1() && buffer.extent(2) == model.extent2());
    FUZZ_CHECK(buffer.byteCount() == qint64(model.bytes.size()));
    FUZZ_CHECK(buffer.isEmpty() == model.bytes.empty());
    FUZZ_CHECK((buffer.data() == nullptr) == model.bytes.empty());
    if (!model.bytes.empty())
        FUZZ_CHECK(std::memcmp(buffer.data(), model.bytes.data(), model.bytes.size()) == 0);
}

// A bound: mostly near the indexes pictures use, sometimes at or near the ends of 32 bits.
qint32 bound(FuzzedDataProvider &in)
{
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return in.ConsumeIntegralInRange<qint32>(-8, 70);
    case 1:
        return in.PickValueInArray<qint32>({Min32, Min32 + 1, -1, 0, 1, 2, 4, Max32 - 1, Max32});
    case 2:
        return in.ConsumeIntegral<qint32>();
    default:
        return in.ConsumeBool() ? Max32 - in.ConsumeIntegralInRange<qint32>(0, 70)
                                : Min32 + in.ConsumeIntegralInRange<qint32>(0, 70);
    }
}

std::array<qint32, 2> boundPair(FuzzedDataProvider &in)
{
    const qint32 lower = bound(in);
    if (in.ConsumeBool())
        return {lower, bound(in)};
    // A small extent anywhere, also next to the ends of 32 bits.
    const qint64 upper = qint64(lower) + in.ConsumeIntegralInRange<qint64>(-2, 70);
    return {lower, qint32(std::clamp<qint64>(upper, Min32, Max32))};
}

void redimension(FuzzedDataProvider &in, PixelBuffer &buffer, BufferModel &model)
{
    const bool pictureForm = in.ConsumeBool();
    std::array<qint32, 2> first = boundPair(in);
    std::array<qint32, 2> second = boundPair(in);
    if (pictureForm) {
        first[0] = 1;
        second[0] = 1;
    }
    // Each extent can reach 2^32, so their product is compared by division, never formed.
    const qint64 rowBytes = extentOf(first[0], first[1]);
    const qint64 rows = extentOf(second[0], second[1]);
    const bool tooLarge = rowBytes > 0 && rows > PixelBuffer::MaxBytes / rowBytes;
    const qint64 bytes = tooLarge ? 0 : rowBytes * rows;
    if (bytes > LargestTried)
        return;
    const bool done = pictureForm ? buffer.redimension(first[1], second[1])
                                  : buffer.redimension(first[0], first[1], second[0], second[1]);
    FUZZ_CHECK(done == !tooLarge);
    if (done)
        model = BufferModel{first[0], first[1], second[0], second[1], std::vector<quint8>(size_t(bytes), 0)};
}

void fill(FuzzedDataProvider &in, PixelBuffer &buffer, BufferModel &model)
{
    const quint8 seed = in.ConsumeIntegral<quint8>();
    const quint8 step = in.ConsumeIntegral<quint8>();
    for (size_t k = 0; k < model.bytes.size(); ++k) {
        model.bytes[k] = quint8(seed + k * step + (k >> 7));
        buffer.data()[k] = model.bytes[k];
    }
}

void touch(FuzzedDataProvider &in, PixelBuffer &buffer, BufferModel &model)
{
    const qint64 i = in.ConsumeBool() ? qint64(bound(in)) : in.ConsumeIntegral<qint64>();
    const qint64 j = in.ConsumeBool() ? qint64(bound(in)) : in.ConsumeIntegral<qint64>();
    const quint8 value = in.ConsumeIntegral<quint8>();
    FUZZ_CHECK(buffer.contains(i, j) == model.contains(i, j));
    bool thrown = false;
    try {
        buffer.at(i, j) = value;
    } catch (const std::out_of_range &) {
        thrown = true;
    }
    FUZZ_CHECK(thrown == !model.contains(i, j));
    if (!thrown) {
        model.at(i, j) = value;
        const PixelBuffer &readOnly = buffer;
        FUZZ_CHECK(readOnly.at(i, j) == value);
    }
}

qint32 offset(FuzzedDataProvider &in)
{
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return in.ConsumeIntegralInRange<qint32>(0, 255);
    case 1:
        return in.ConsumeIntegralInRange<qint32>(-300, 600);
    default:
        return in.ConsumeIntegral<qint32>();
    }
}

// The correction read plainly: bytes 1, 2, 3 of every four, counted from first index 1 up to the
// source's upper bound, in rows 1 up to the source's upper bound, wherever both buffers have them.
FUZZ_MODEL void correctModel(const BufferModel &source, BufferModel &target, qint32 red, qint32 green, qint32 blue)
{
    const BufferModel before = source;
    const qint64 offsets[3] = {blue, green, red};
    const qint64 firstI = std::max<qint64>({1, before.lower1, target.lower1});
    const qint64 lastI = std::min<qint64>(before.upper1, target.upper1);
    const qint64 firstJ = std::max<qint64>({1, before.lower2, target.lower2});
    const qint64 lastJ = std::min<qint64>(before.upper2, target.upper2);
    // Buffers without bytes may span two billion rows; walking them would only waste the run.
    if (firstI > lastI)
        return;
    for (qint64 j = firstJ; j <= lastJ; ++j)
        for (qint64 i = firstI; i <= lastI; ++i)
            if ((i - 1) % 4 != 3)
                target.at(i, j) = quint8(std::clamp<qint64>(before.at(i, j) + offsets[(i - 1) % 4], 0, 255));
}

// A small picture in a format a picture box may hold; its colours come from the input.
QImage smallPicture(FuzzedDataProvider &in)
{
    const int width = in.ConsumeIntegralInRange(0, 24);
    const int height = in.ConsumeIntegralInRange(0, 24);
    const QImage::Format format =
        in.PickValueInArray({QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_RGB16,
                             QImage::Format_Grayscale8, QImage::Format_Indexed8});
    QImage image(width, height, format);
    if (image.isNull())
        return image;
    if (format == QImage::Format_Indexed8) {
        QList<QRgb> table;
        for (int k = 0; k < 256; ++k)
            table.append(qRgb(k, 255 - k, (k * 37) & 0xFF));
        image.setColorTable(table);
    }
    const quint8 seed = in.ConsumeIntegral<quint8>();
    for (int y = 0; y < height; ++y) {
        uchar *line = image.scanLine(y);
        for (qsizetype k = 0; k < image.bytesPerLine(); ++k)
            line[k] = uchar(seed * (y + 1) + k * 13 + (k >> 3));
    }
    return image;
}

bool sameDescriptor(const BITMAP &a, const BITMAP &b)
{
    return a.bmType == b.bmType && a.bmWidth == b.bmWidth && a.bmHeight == b.bmHeight
           && a.bmWidthBytes == b.bmWidthBytes && a.bmPlanes == b.bmPlanes && a.bmBitsPixel == b.bmBitsPixel
           && a.bmBits == b.bmBits && a.bmBytesAvailable == b.bmBytesAvailable;
}

struct Boxes
{
    PictureBoxModel persistent;
    PictureBoxModel plain;
};

void readPicture(FuzzedDataProvider &in, PixelBufferInfo &info, PixelBuffer &source, PixelBuffer &target,
                 BufferModel &sourceModel, BufferModel &targetModel)
{
    Picture picture;
    picture.image = smallPicture(in);
    const std::array<BITMAP, 2> before{info.Source, info.Target};
    const Result<void> done = ReadPictureBits(picture, info, source, target);

    if (picture.isNull()) {
        FUZZ_CHECK(!done && done.error().kind == ErrorKind::NoPictureInfo);
        FUZZ_CHECK(sameDescriptor(info.Source, before[0]) && sameDescriptor(info.Target, before[1]));
        return;
    }
    FUZZ_CHECK(done.ok());

    const QImage &image = picture.image;
    const qint32 w = image.width();
    const qint32 h = image.height();
    BufferModel read{1, 4 * w, 1, h, std::vector<quint8>(size_t(4 * w) * size_t(h))};
    for (qint32 j = 1; j <= h; ++j) {
        for (qint32 x = 0; x < w; ++x) {
            const QRgb pixel = image.pixel(x, h - j);
            read.at(4 * x + 1, j) = quint8(qBlue(pixel));
            read.at(4 * x + 2, j) = quint8(qGreen(pixel));
            read.at(4 * x + 3, j) = quint8(qRed(pixel));
            read.at(4 * x + 4, j) = 0;
        }
    }
    sourceModel = read;
    targetModel = read;
    for (const BITMAP *d : {&info.Source, &info.Target}) {
        FUZZ_CHECK(d->bmType == 0 && d->bmWidth == w && d->bmHeight == h && d->bmWidthBytes == 4 * w);
        FUZZ_CHECK(d->bmPlanes == 1 && d->bmBitsPixel == 32 && d->bmBytesAvailable == qint64(4) * w * h);
    }
    FUZZ_CHECK(info.Source.bmBits == source.data() && info.Target.bmBits == target.data());
}

qint32 descriptorSize(FuzzedDataProvider &in, qint32 honest)
{
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return honest;
    case 1:
        return qint32(std::clamp<qint64>(qint64(honest) + in.ConsumeIntegralInRange(-3, 3), Min32, Max32));
    case 2:
        return in.PickValueInArray<qint32>({Min32, -1, 0, 1, Max32 / 4, Max32 / 4 + 1, Max32});
    default:
        return in.ConsumeIntegral<qint32>();
    }
}

void writePicture(FuzzedDataProvider &in, const PixelBuffer &buffer, const BufferModel &model, Boxes &boxes)
{
    // The honest shape: the buffer's rows as the picture routines lay them out.
    const qint32 honestBytes = qint32(std::min<qint64>(model.extent1(), Max32));
    const qint32 honestHeight = qint32(std::min<qint64>(model.extent2(), Max32));
    BITMAP d;
    d.bmWidthBytes = descriptorSize(in, honestBytes);
    d.bmWidth = descriptorSize(in, honestBytes / 4);
    d.bmHeight = descriptorSize(in, honestHeight);
    d.bmPlanes = 1;
    d.bmBitsPixel = in.ConsumeBool() ? 32 : in.ConsumeIntegral<quint16>();
    pointAt(d, buffer);
    // A descriptor may vouch for less than the buffer holds, never for more.
    if (in.ConsumeBool())
        d.bmBytesAvailable = in.ConsumeIntegralInRange<qint64>(0, d.bmBytesAvailable);
    if (in.ConsumeIntegralInRange(0, 15) == 0)
        d.bmBits = nullptr;

    PictureBoxModel &box = in.ConsumeBool() ? boxes.persistent : boxes.plain;
    // Only what the picture was, not a copy of it: a second reference to its pixels would make
    // the in-place rewrite detach them, which the program never does.
    const quint64 serialBefore = box.picture().serial;
    const bool directBefore = box.picture().directPixels;
    const QSize sizeBefore = box.picture().image.size();
    const Result<void> done = WritePictureBits(box, d);

    const qint64 rowPixels = qint64(4) * d.bmWidth;
    const qint64 wholeRows = qint64(d.bmWidthBytes) * d.bmHeight;
    const bool unreadable = !d.bmBits || d.bmWidth < 1 || d.bmHeight < 1 || d.bmWidthBytes < rowPixels
                            || rowPixels > Max32 || wholeRows > Max32
                            || (qint64(d.bmHeight) - 1) * d.bmWidthBytes + rowPixels > d.bmBytesAvailable;
    if (unreadable)
        FUZZ_CHECK(!done);
    if (!done) {
        FUZZ_CHECK(done.error().kind == ErrorKind::NoPictureCopy);
        FUZZ_CHECK(box.picture().serial == serialBefore);
        return;
    }
    const QImage &shown = box.picture().image;
    FUZZ_CHECK(box.picture().directPixels);
    FUZZ_CHECK(shown.format() == QImage::Format_RGB32 && shown.width() == d.bmWidth && shown.height() == d.bmHeight);
    const bool sameShape = directBefore && sizeBefore == shown.size() && d.bmBitsPixel == 32;
    if (sameShape)
        FUZZ_CHECK(box.picture().serial == serialBefore);
    else
        FUZZ_CHECK(box.picture().serial != serialBefore);
    for (qint32 y = 0; y < d.bmHeight; ++y) {
        const qint64 row = qint64(d.bmHeight - 1 - y) * d.bmWidthBytes;
        for (qint32 x = 0; x < d.bmWidth; ++x) {
            // Byte k of the storage is the model's byte k (first index fastest).
            const size_t k = size_t(row + 4 * x);
            const QRgb expected = qRgb(model.bytes[k + 2], model.bytes[k + 1], model.bytes[k]);
            FUZZ_CHECK(shown.pixel(x, y) == expected);
        }
    }
    if (box.isPersistent()) {
        // The persistent image shows back colour and the new pixels, cut to the inner size.
        const QImage drawn = box.surface();
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                const QRgb expected =
                    x < shown.width() && y < shown.height() ? shown.pixel(x, y) : box.backColour().toQRgb();
                FUZZ_CHECK((drawn.pixel(x, y) & 0xFFFFFFu) == (expected & 0xFFFFFFu));
            }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    std::array<PixelBuffer, 2> buffers;
    std::array<BufferModel, 2> models;
    PixelBufferInfo info;
    const QSize inner(in.ConsumeIntegralInRange(0, 40), in.ConsumeIntegralInRange(0, 40));
    const Colour back(in.ConsumeIntegral<quint32>() & 0xFFFFFFu);
    Boxes boxes{PictureBoxModel(inner, back, true), PictureBoxModel(inner, back, false)};

    for (int step = 0; step < 24 && in.remaining_bytes() > 0; ++step) {
        const size_t a = in.ConsumeIntegralInRange<size_t>(0, 1);
        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
            redimension(in, buffers[a], models[a]);
            break;
        case 1:
            fill(in, buffers[a], models[a]);
            break;
        case 2:
            touch(in, buffers[a], models[a]);
            break;
        case 3: {
            // The target may be the source itself.
            const size_t b = in.ConsumeIntegralInRange<size_t>(0, 1);
            const qint32 red = offset(in);
            const qint32 green = offset(in);
            const qint32 blue = offset(in);
            CorrectColours(buffers[a], buffers[b], red, green, blue);
            correctModel(models[a], models[b], red, green, blue);
            break;
        }
        case 4:
            readPicture(in, info, buffers[0], buffers[1], models[0], models[1]);
            break;
        default:
            writePicture(in, buffers[a], models[a], boxes);
            break;
        }
        checkSame(buffers[0], models[0]);
        checkSame(buffers[1], models[1]);
    }
    return 0;
}
