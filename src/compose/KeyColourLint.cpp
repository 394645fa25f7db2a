#include "KeyColourLint.h"

#include "PasteStep.h"

#include <algorithm>
#include <cstdlib>

namespace pellwerk {

namespace {

constexpr quint8 LeftOutBit = 1;
constexpr quint8 NearBit = 2;

struct Check
{
    int offset[3]; // red, green, blue, each -255..255
    int key[3];
    int limit;
};

inline int tinted(int value, int offset)
{
    const int sum = value + offset;
    return sum < 0 ? 0 : (sum > 255 ? 255 : sum);
}

// One row into bits per pixel, at classes[1..width]. Branch-free so that it vectorises.
void classifyRow(const QRgb *row, int width, quint8 *classes, const Check &c)
{
    for (int x = 0; x < width; ++x) {
        const QRgb pixel = row[x];
        const int dr = std::abs(tinted(int((pixel >> 16) & 0xFF), c.offset[0]) - c.key[0]);
        const int dg = std::abs(tinted(int((pixel >> 8) & 0xFF), c.offset[1]) - c.key[1]);
        const int db = std::abs(tinted(int(pixel & 0xFF), c.offset[2]) - c.key[2]);
        const int most = std::max(dr, std::max(dg, db));
        classes[x + 1] = quint8(int(most == 0) | (int(most != 0 && most <= c.limit) << 1));
    }
}

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

KeyColourLint lintKeyColour(const QImage &part, Colour transparent, const UserRgb &tint, int nearLimit)
{
    KeyColourLint lint;
    if (part.isNull())
        return lint;
    const QImage image = part.format() == QImage::Format_RGB32 ? part : part.convertToFormat(QImage::Format_RGB32);
    const int width = std::min(image.width(), PartAreaSize.width());
    const int height = std::min(image.height(), PartAreaSize.height());
    lint.width = width;
    lint.height = height;
    lint.marks.resize(size_t(width) * size_t(height));

    const auto offset = [](qint32 v) { return int(std::clamp<qint32>(v, -255, 255)); };
    const Check check{{offset(tint.red), offset(tint.green), offset(tint.blue)},
                      {transparent.red(), transparent.green(), transparent.blue()},
                      std::clamp(nearLimit, 0, 255)};

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
    classifyRow(reinterpret_cast<const QRgb *>(image.constScanLine(0)), width, current, check);

    for (int y = 0; y < height; ++y) {
        if (y + 1 < height) {
            below[0] = 0;
            below[stride - 1] = rightMargin;
            classifyRow(reinterpret_cast<const QRgb *>(image.constScanLine(y + 1)), width, below, check);
        } else {
            std::fill(below, below + stride, height < PartAreaSize.height() ? LeftOutBit : quint8(0));
        }

        KeyMark *marks = lint.marks.data() + size_t(y) * size_t(width);
        qint64 leftOut = 0;
        qint64 near = 0;
        qint64 fringe = 0;
        for (int x = 0; x < width; ++x) {
            const int c = current[x + 1];
            const int isNear = c >> 1;
            const int touches = (current[x] | current[x + 2] | above[x + 1] | below[x + 1]) & LeftOutBit;
            const int isFringe = isNear & touches;
            leftOut += c & LeftOutBit;
            near += isNear;
            fringe += isFringe;
            marks[x] = KeyMark((c & LeftOutBit) | (isNear << 1) | isFringe);
        }
        lint.leftOut += leftOut;
        lint.near += near;
        lint.fringe += fringe;
        if (near > 0 && !lint.firstNear) {
            const int x = int(std::find_if(current + 1, current + 1 + width, [](quint8 c) { return c & NearBit; })
                              - (current + 1));
            lint.firstNear = QPoint(x, y);
        }

        // The row above is done with; it becomes the next row below.
        std::swap(above, current);
        std::swap(current, below);
    }
    return lint;
}

} // namespace pellwerk
