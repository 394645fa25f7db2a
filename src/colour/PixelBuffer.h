#pragma once

#include <QtGlobal>

#include <cstdlib>
#include <memory>

namespace pellwerk {

// A picture as plain bytes: a two-dimensional byte array whose first index (the byte within a
// row) varies fastest and whose second index is the row. As a picture is read into it, both
// indexes start at 1, a row holds 4·W bytes (blue, green, red, reserved per pixel, left to
// right) and row 1 is the bottom row of the picture.
//
// The bounds are the caller's: the colour window also keeps 0..1 × 0..1 placeholders and
// re-dimensions one buffer to another's bounds, so the bounds are stored per dimension and the
// bytes lie contiguously, row after row, with no gap. A dimension whose upper bound is below its
// lower bound is empty. A buffer that was never dimensioned is empty in both (bounds 1..0).
class PixelBuffer
{
public:
    // More bytes than this are never allocated: sizes of a picture row and of a whole picture
    // are 32-bit signed quantities throughout the pixel routines.
    static constexpr qint64 MaxBytes = 0x7FFFFFFF;

    PixelBuffer() = default;
    PixelBuffer(PixelBuffer &&) noexcept = default;
    PixelBuffer &operator=(PixelBuffer &&) noexcept = default;
    // Buffers are large and descriptors point into them: no silent copies.
    PixelBuffer(const PixelBuffer &) = delete;
    PixelBuffer &operator=(const PixelBuffer &) = delete;

    // Discards the contents and gives the buffer new bounds and new, zeroed storage, so every
    // pointer into the old storage is stale afterwards. Returns false, leaving the buffer exactly
    // as it was, when the size exceeds MaxBytes or the memory cannot be had.
    bool redimension(qint32 firstLower, qint32 firstUpper, qint32 secondLower, qint32 secondUpper);
    // The form a picture is read into: bytes 1..rowBytes of rows 1..rows.
    bool redimension(qint32 rowBytes, qint32 rows) { return redimension(1, rowBytes, 1, rows); }

    // dimension is 1 (byte within a row) or 2 (row).
    qint32 lowerBound(int dimension) const { return dimension == 1 ? m_lower1 : m_lower2; }
    qint32 upperBound(int dimension) const { return dimension == 1 ? m_upper1 : m_upper2; }
    // Number of indexes of a dimension, 0 when it is empty.
    qint64 extent(int dimension) const;
    qint64 byteCount() const { return extent(1) * extent(2); }
    bool isEmpty() const { return byteCount() == 0; }

    bool contains(qint64 i, qint64 j) const { return i >= m_lower1 && i <= m_upper1 && j >= m_lower2 && j <= m_upper2; }
    // Byte (i, j); throws std::out_of_range outside the bounds.
    quint8 &at(qint64 i, qint64 j);
    quint8 at(qint64 i, qint64 j) const;

    // The byte at the lower bounds of both dimensions, where the contiguous storage begins;
    // nullptr for an empty buffer.
    quint8 *data() { return m_bytes.get(); }
    const quint8 *data() const { return m_bytes.get(); }

    bool sameBounds(const PixelBuffer &other) const
    {
        return m_lower1 == other.m_lower1 && m_upper1 == other.m_upper1 && m_lower2 == other.m_lower2 &&
               m_upper2 == other.m_upper2;
    }
    // Same bounds and the same bytes.
    friend bool operator==(const PixelBuffer &a, const PixelBuffer &b);

private:
    struct FreeBytes
    {
        void operator()(quint8 *p) const { std::free(p); }
    };

    qint64 offset(qint64 i, qint64 j) const { return (j - m_lower2) * extent(1) + (i - m_lower1); }

    qint32 m_lower1 = 1;
    qint32 m_upper1 = 0;
    qint32 m_lower2 = 1;
    qint32 m_upper2 = 0;
    std::unique_ptr<quint8, FreeBytes> m_bytes;
};

} // namespace pellwerk
