#pragma once

#include <QtGlobal>

namespace pellwerk {

// Sizes of a Windows bitmap file's headers, as the decoder reads them and the writer writes them.
namespace BitmapFormat {
inline constexpr qint64 FileHeaderSize = 14;
inline constexpr qint64 CoreHeaderSize = 12;
inline constexpr qint64 InfoHeaderSize = 40;
// A skin file: file header and info header, no palette, then the pixels.
inline constexpr qint64 PixelOffset = FileHeaderSize + InfoHeaderSize;
} // namespace BitmapFormat

} // namespace pellwerk
