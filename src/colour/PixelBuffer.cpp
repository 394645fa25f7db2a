#include "PixelBuffer.h"

#include <cstring>
#include <stdexcept>

namespace pellwerk {

namespace {

qint64 extentOf(qint32 lower, qint32 upper)
{
    return upper < lower ? 0 : qint64(upper) - qint64(lower) + 1;
}

} // namespace

qint64 PixelBuffer::extent(int dimension) const
{
    return dimension == 1 ? extentOf(m_lower1, m_upper1) : extentOf(m_lower2, m_upper2);
}

bool PixelBuffer::redimension(qint32 firstLower, qint32 firstUpper, qint32 secondLower, qint32 secondUpper)
{
    const qint64 rowBytes = extentOf(firstLower, firstUpper);
    const qint64 rows = extentOf(secondLower, secondUpper);
    // Each extent can reach 2^32, so their product may not fit 64 bits: it is checked by division
    // before it is formed.
    if (rowBytes > 0 && rows > MaxBytes / rowBytes)
        return false;
    const qint64 bytes = rowBytes * rows;

    std::unique_ptr<quint8, FreeBytes> storage;
    if (bytes > 0) {
        // calloc hands out large blocks as fresh zero pages instead of writing zeros into them.
        storage.reset(static_cast<quint8 *>(std::calloc(size_t(bytes), 1)));
        if (!storage)
            return false;
    }
    m_bytes = std::move(storage);
    m_lower1 = firstLower;
    m_upper1 = firstUpper;
    m_lower2 = secondLower;
    m_upper2 = secondUpper;
    return true;
}

quint8 &PixelBuffer::at(qint64 i, qint64 j)
{
    if (!contains(i, j))
        throw std::out_of_range("pixel buffer index out of range");
    return m_bytes.get()[offset(i, j)];
}

quint8 PixelBuffer::at(qint64 i, qint64 j) const
{
    if (!contains(i, j))
        throw std::out_of_range("pixel buffer index out of range");
    return m_bytes.get()[offset(i, j)];
}

bool operator==(const PixelBuffer &a, const PixelBuffer &b)
{
    if (!a.sameBounds(b))
        return false;
    const qint64 n = a.byteCount();
    return n == 0 || std::memcmp(a.data(), b.data(), size_t(n)) == 0;
}

} // namespace pellwerk
