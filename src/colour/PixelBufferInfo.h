#pragma once

#include "PixelBuffer.h"

#include <QtGlobal>

namespace pellwerk {

// Describes pixels lying in memory as rows of bmWidthBytes bytes, the bottom row first.
//
// bmBits only refers to the pixels; it does not own them. A raw address says nothing about how
// far it may be read, so the descriptor also carries bmBytesAvailable, the number of bytes that
// may be read from bmBits. Whoever points bmBits somewhere sets both together (pointAt() does),
// and the pixel routines refuse a descriptor whose rows would reach beyond it.
struct BITMAP
{
    qint32 bmType = 0;
    qint32 bmWidth = 0;
    qint32 bmHeight = 0;
    qint32 bmWidthBytes = 0;
    quint16 bmPlanes = 0;
    quint16 bmBitsPixel = 0;
    const quint8 *bmBits = nullptr;
    qint64 bmBytesAvailable = 0;
};

// The descriptors of the colour window's two buffers: the untouched copy of the picture as read,
// and the buffer that receives corrected pixels and is written back to the preview.
struct PixelBufferInfo
{
    BITMAP Source;
    BITMAP Target;
};

// Points a descriptor at the first byte of a buffer. A re-dimensioned buffer has new storage,
// so its descriptor has to be pointed at it again.
inline void pointAt(BITMAP &descriptor, const PixelBuffer &buffer)
{
    descriptor.bmBits = buffer.data();
    descriptor.bmBytesAvailable = buffer.byteCount();
}

} // namespace pellwerk
