#include "CanvasDelta.h"

#include <algorithm>
#include <limits>

namespace pellwerk {

namespace {

constexpr quint32 RgbBits = 0xFFFFFFu;

// A run header costs as much as about three pixels of XOR bytes, so shorter gaps stay inside.
constexpr qint64 MaxGap = 2;

QImage asRgb32(const QImage &image)
{
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

const quint32 *constRow(const QImage &image, int y)
{
    return reinterpret_cast<const quint32 *>(image.constScanLine(y));
}

} // namespace

CanvasDelta CanvasDelta::between(const QImage &before, const QImage &after, QRect area)
{
    CanvasDelta delta;
    if (before.isNull() || before.size() != after.size())
        return delta;
    const qint64 width = before.width();
    if (width * before.height() > qint64(std::numeric_limits<quint32>::max()))
        return delta;
    const QRect cut = area.intersected(before.rect());
    if (cut.isEmpty())
        return delta;

    const QImage from = asRgb32(before);
    const QImage to = asRgb32(after);
    // A run may go on into the next row only where the next row's first compared pixel directly
    // follows the last one; otherwise pixels outside the area would fall into it.
    const bool wholeRows = cut.width() == width;

    qint64 runStart = -1, runEnd = -1;
    const auto closeRun = [&] {
        if (runStart >= 0)
            delta.m_runs.push_back(Run{quint32(runStart), quint32(runEnd - runStart)});
        runStart = -1;
    };
    for (int y = cut.top(); y <= cut.bottom(); ++y) {
        const quint32 *a = constRow(from, y);
        const quint32 *b = constRow(to, y);
        const qint64 rowStart = y * width;
        for (int x = cut.left(); x <= cut.right(); ++x) {
            if (((a[x] ^ b[x]) & RgbBits) == 0)
                continue;
            const qint64 index = rowStart + x;
            if (runStart < 0 || index - runEnd > MaxGap) {
                closeRun();
                runStart = index;
            }
            runEnd = index + 1;
        }
        if (!wholeRows)
            closeRun();
    }
    closeRun();
    if (delta.m_runs.empty())
        return delta;
    delta.m_runs.shrink_to_fit();
    delta.m_size = before.size();

    qint64 total = 0;
    for (const Run &run : delta.m_runs)
        total += run.length;
    delta.m_xor.resize(size_t(total) * 3);
    quint8 *out = delta.m_xor.data();
    for (const Run &run : delta.m_runs) {
        qint64 index = run.start, left = run.length;
        while (left > 0) {
            const int y = int(index / width), x = int(index % width);
            const qint64 count = std::min(left, width - x);
            const quint32 *a = constRow(from, y) + x;
            const quint32 *b = constRow(to, y) + x;
            for (qint64 i = 0; i < count; ++i) {
                const quint32 change = a[i] ^ b[i];
                *out++ = quint8(change);
                *out++ = quint8(change >> 8);
                *out++ = quint8(change >> 16);
            }
            index += count;
            left -= count;
        }
    }
    return delta;
}

bool CanvasDelta::apply(QImage &canvas) const
{
    if (m_runs.empty())
        return true;
    if (canvas.format() != QImage::Format_RGB32 || canvas.size() != m_size)
        return false;
    const qint64 width = m_size.width();
    const quint8 *in = m_xor.data();
    for (const Run &run : m_runs) {
        qint64 index = run.start, left = run.length;
        while (left > 0) {
            const int y = int(index / width), x = int(index % width);
            const qint64 count = std::min(left, width - x);
            auto *pixel = reinterpret_cast<quint32 *>(canvas.scanLine(y)) + x;
            for (qint64 i = 0; i < count; ++i, in += 3)
                pixel[i] ^= quint32(in[0]) | (quint32(in[1]) << 8) | (quint32(in[2]) << 16);
            index += count;
            left -= count;
        }
    }
    return true;
}

qint64 CanvasDelta::bytes() const
{
    return qint64(sizeof(CanvasDelta)) + qint64(m_runs.capacity() * sizeof(Run)) + qint64(m_xor.capacity());
}

} // namespace pellwerk
