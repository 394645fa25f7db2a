#include "KeyColourLint.h"

#include "PasteStep.h"

#include <QtEndian>

#include <algorithm>

namespace pellwerk {

namespace {

constexpr quint8 LeftOutBit = 1;
constexpr quint8 NearBit = 2;

// Four pixels: the channel pattern (blue, green, red, alpha in memory) repeats every 4 bytes,
// and 16 bytes fill one vector register.
constexpr int Lane = 16;

// Per byte of a pixel: the tint as a saturating add and a saturating subtract (only one of them
// is not 0) and the key's byte. The alpha byte gets zeros; its class is never looked at.
struct BytePattern
{
    quint8 add[Lane];
    quint8 sub[Lane];
    quint8 key[Lane];
    quint8 limit;
};

BytePattern bytePattern(const UserRgb &tint, Colour key, int limit)
{
    BytePattern p{};
    const int offsets[3] = {tint.blue, tint.green, tint.red};
    const int keys[3] = {key.blue(), key.green(), key.red()};
    for (int k = 0; k < Lane; ++k) {
        const int channel = k % 4;
        if (channel == 3)
            continue;
        p.add[k] = quint8(std::clamp(offsets[channel], 0, 255));
        p.sub[k] = quint8(std::clamp(-offsets[channel], 0, 255));
        p.key[k] = quint8(keys[channel]);
    }
    p.limit = quint8(limit);
    return p;
}

// One byte: bit 0 when the tinted byte is the key's, bit 1 when it is at most K away.
inline quint8 byteClass(quint8 value, int k, const BytePattern &p)
{
    // Adding at most the room left below 255, then taking at most what is there: saturating
    // arithmetic without leaving 8 bits, which vectorises.
    const quint8 up = quint8(value + std::min(p.add[k], quint8(255 - value)));
    const quint8 tinted = quint8(up - std::min(p.sub[k], up));
    const quint8 distance = tinted > p.key[k] ? quint8(tinted - p.key[k]) : quint8(p.key[k] - tinted);
    return quint8(quint8(distance == 0) | quint8(quint8(distance <= p.limit) << 1));
}

// A pixel's class from its byte classes, read as one word: blue, green and red in its low three
// bytes.
inline quint8 pixelClass(quint32 word)
{
    const quint32 bytes = qFromLittleEndian(word);
    const quint32 all = bytes & (bytes >> 8) & (bytes >> 16);
    return quint8((all & LeftOutBit) | (all & ~(all << 1) & NearBit));
}

// One row into classes (LeftOutBit or NearBit) per pixel: first every byte on its own, in blocks
// of a fixed count so that GCC at -O2 vectorises them, then the bytes of each pixel together.
void classifyRow(const uchar *__restrict pixels, int width, quint32 *__restrict scratch, quint8 *__restrict classes,
                 const BytePattern &p)
{
    auto *bytes = reinterpret_cast<quint8 *>(scratch);
    const int count = 4 * width;
    int i = 0;
    for (; i + Lane <= count; i += Lane)
        for (int k = 0; k < Lane; ++k)
            bytes[i + k] = byteClass(pixels[i + k], k, p);
    for (; i < count; ++i)
        bytes[i] = byteClass(pixels[i], i % Lane, p);
    int x = 0;
    for (; x + Lane <= width; x += Lane)
        for (int k = 0; k < Lane; ++k)
            classes[x + k] = pixelClass(scratch[x + k]);
    for (; x < width; ++x)
        classes[x] = pixelClass(scratch[x]);
}

struct RowCounts
{
    int leftOut = 0;
    int near = 0;
    int fringe = 0;
};

// Marks of one row from the classes of it and its neighbours (each with a margin pixel on either
// side). Blocks of a fixed count, so that GCC at -O2 vectorises them.
constexpr int Block = 16;

// The body of markRow, written out where it is used: a lambda or a helper function would lose
// the restrict qualifiers, and GCC would not vectorise.
#define PELLWERK_MARK_PIXEL(x)                                                                                         \
    do {                                                                                                               \
        const int c = current[(x) + 1];                                                                                \
        const int f = (c >> 1) & (current[(x)] | current[(x) + 2] | above[(x) + 1] | below[(x) + 1]) & LeftOutBit;     \
        leftOut += c & LeftOutBit;                                                                                     \
        near += c >> 1;                                                                                                \
        fringe += f;                                                                                                   \
        marks[(x)] = quint8(c | f);                                                                                    \
    } while (false)

RowCounts markRow(const quint8 *__restrict above, const quint8 *__restrict current, const quint8 *__restrict below,
                  quint8 *__restrict marks, int width)
{
    // Local sums: a store through a byte pointer could otherwise alias them.
    int leftOut = 0;
    int near = 0;
    int fringe = 0;
    int x = 0;
    for (; x + Block <= width; x += Block)
        for (int k = 0; k < Block; ++k)
            PELLWERK_MARK_PIXEL(x + k);
    for (; x < width; ++x)
        PELLWERK_MARK_PIXEL(x);
    return RowCounts{leftOut, near, fringe};
}

#undef PELLWERK_MARK_PIXEL

} // namespace

std::vector<QPoint> KeyColourLint::positions(KeyMark which) const
{
    std::vector<QPoint> found;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (mark(x, y) == which)
                found.emplace_back(x, y);
    return found;
}

KeyColourLint lintKeyColour(const QImage &part, Colour transparent, const UserRgb &tint, int nearLimit, KeyMarks keep)
{
    KeyColourLint lint;
    if (part.isNull())
        return lint;
    const QImage image = part.format() == QImage::Format_RGB32 ? part : part.convertToFormat(QImage::Format_RGB32);
    const int width = std::min(image.width(), PartAreaSize.width());
    const int height = std::min(image.height(), PartAreaSize.height());
    lint.width = width;
    lint.height = height;
    // Without keeping them, each row's marks are made into one row that the next overwrites.
    lint.marks.resize(keep == KeyMarks::Keep ? size_t(width) * size_t(height) : size_t(width));

    const auto offset = [](qint32 v) { return int(std::clamp<qint32>(v, -255, 255)); };
    const int limit = std::clamp(nearLimit, 0, 255);
    const BytePattern pattern =
        bytePattern(UserRgb{offset(tint.red), offset(tint.green), offset(tint.blue)}, transparent, limit);
    std::vector<quint32> bytes(static_cast<size_t>(width));

    // Three rows of classes, each with one pixel of margin on either side: what lies left of the
    // part is outside the preview, what lies right of it is preview background (left out) unless
    // the part reaches the 148-pixel cut. The same holds for the rows above and below.
    const quint8 rightMargin = width < PartAreaSize.width() ? LeftOutBit : 0;
    const size_t stride = size_t(width) + 2;
    std::vector<quint8> rows(3 * stride, 0);
    quint8 *above = rows.data();
    quint8 *current = above + stride;
    quint8 *below = current + stride;
    current[stride - 1] = rightMargin;
    classifyRow(image.constScanLine(0), width, bytes.data(), current + 1, pattern);

    for (int y = 0; y < height; ++y) {
        if (y + 1 < height) {
            below[0] = 0;
            below[stride - 1] = rightMargin;
            classifyRow(image.constScanLine(y + 1), width, bytes.data(), below + 1, pattern);
        } else {
            std::fill(below, below + stride, height < PartAreaSize.height() ? LeftOutBit : quint8(0));
        }

        quint8 *marks = lint.marks.data() + (keep == KeyMarks::Keep ? size_t(y) * size_t(width) : 0);
        const RowCounts counts = markRow(above, current, below, marks, width);
        lint.leftOut += counts.leftOut;
        lint.near += counts.near;
        lint.fringe += counts.fringe;
        if (counts.near > 0 && !lint.firstNear) {
            const int x = int(std::find_if(current + 1, current + 1 + width, [](quint8 c) { return c & NearBit; })
                              - (current + 1));
            lint.firstNear = QPoint(x, y);
        }

        // The row above is done with; it becomes the next row below.
        std::swap(above, current);
        std::swap(current, below);
    }
    if (keep == KeyMarks::CountOnly)
        lint.marks = {};
    return lint;
}

} // namespace pellwerk
