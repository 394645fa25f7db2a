#include "BitmapDecoder.h"

#include "BitmapFormat.h"
#include "FileBytes.h"

#include <algorithm>
#include <array>
#include <bit>

namespace pellwerk {

namespace {

Error notBitmap()
{
    return makeError(ErrorKind::NotBitmap);
}
Error incomplete()
{
    return makeError(ErrorKind::BitmapIncomplete);
}
Error damaged()
{
    return makeError(ErrorKind::BitmapDamaged);
}
Error tooLarge()
{
    return makeError(ErrorKind::ImageTooLarge);
}
Error unsupported()
{
    return makeError(ErrorKind::BitmapUnsupported);
}

using BitmapFormat::CoreHeaderSize;
using BitmapFormat::FileHeaderSize;
using BitmapFormat::InfoHeaderSize;

enum Compression : quint32 { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };

constexpr QRgb Black = 0xFF000000u;

// Unused palette slots stay black, so any index a file can hold maps to a defined colour.
using Palette = std::array<QRgb, 256>;

quint16 le16(const uchar *p)
{
    return quint16(p[0] | (p[1] << 8));
}

quint32 le32(const uchar *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

// One colour channel of a bit-field pixel, scaled to 8 bits with rounding; 5- and 6-bit
// channels then come out as the usual viewers show them (5-bit 3 is 25, not 24).
struct Channel
{
    quint32 mask = 0;
    int shift = 0;
    quint32 max = 0; // the channel's largest value; 0 for a missing channel

    static Channel fromMask(quint32 mask)
    {
        if (mask == 0)
            return {};
        const int shift = std::countr_zero(mask);
        return {mask, shift, mask >> shift};
    }
    bool contiguous() const { return (quint64(max) & (quint64(max) + 1)) == 0; }
    quint32 value(quint32 pixel) const
    {
        if (max == 0)
            return 0;
        const quint64 v = (pixel & mask) >> shift;
        return quint32((v * 255 + max / 2) / max);
    }
};

// What the headers say, after every field has been checked against the bytes present.
struct Layout
{
    qint64 headerSize = 0;
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    quint32 compression = Rgb;
    qint64 paletteStart = 0;
    qint64 paletteEntrySize = 4;
    qint64 paletteCount = 0;
    qint64 pixelOffset = 0;
    std::array<Channel, 3> channels; // red, green, blue
};

bool knownHeaderSize(qint64 size)
{
    return size == CoreHeaderSize || size == InfoHeaderSize || size == 52 || size == 56 || size == 108 || size == 124;
}

bool supportedDepth(int bits, quint32 compression)
{
    switch (compression) {
    case Rgb:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case Rle8:
        return bits == 8;
    case Rle4:
        return bits == 4;
    case BitFields:
    case AlphaBitFields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// Bytes of one stored row of pixels, padded to four bytes.
qint64 rowStride(qint64 width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

// Reads and checks the headers, the bit masks and the palette's place.
Result<Layout> readLayout(const uchar *data, qint64 size, const DecodeLimits &limits)
{
    Layout out;
    if (size < 2 || data[0] != 'B' || data[1] != 'M')
        return notBitmap();
    if (size < FileHeaderSize + 4)
        return incomplete();
    const qint64 headerSize = le32(data + FileHeaderSize);
    if (!knownHeaderSize(headerSize))
        return unsupported();
    if (size < FileHeaderSize + headerSize)
        return incomplete();

    const uchar *h = data + FileHeaderSize;
    qint64 width, height;
    int planes;
    qint64 coloursUsed = 0;
    if (headerSize == CoreHeaderSize) {
        width = le16(h + 4);
        height = le16(h + 6);
        planes = le16(h + 8);
        out.bitCount = le16(h + 10);
        out.compression = Rgb;
        out.paletteEntrySize = 3;
    } else {
        width = qint32(le32(h + 4));
        height = qint32(le32(h + 8));
        planes = le16(h + 12);
        out.bitCount = le16(h + 14);
        out.compression = le32(h + 16);
        coloursUsed = le32(h + 32);
        out.paletteEntrySize = 4;
    }
    out.headerSize = headerSize;

    if (planes != 1 || width <= 0 || height == 0)
        return damaged();
    out.topDown = height < 0;
    height = qAbs(height); // 64-bit: even INT_MIN has a magnitude here
    if (!supportedDepth(out.bitCount, out.compression))
        return unsupported();
    const bool rle = out.compression == Rle8 || out.compression == Rle4;
    if (rle && out.topDown)
        return damaged();
    if (width > limits.maxDimension || height > limits.maxDimension || width * height > limits.maxPixels)
        return tooLarge();
    out.width = int(width);
    out.height = int(height);

    out.paletteStart = FileHeaderSize + headerSize;
    std::array<quint32, 3> masks{};
    if (out.compression == BitFields || out.compression == AlphaBitFields) {
        const uchar *m = data + FileHeaderSize + InfoHeaderSize;
        if (headerSize == InfoHeaderSize) {
            // The short header keeps its masks just behind it, before the palette.
            out.paletteStart += out.compression == AlphaBitFields ? 16 : 12;
            if (size < out.paletteStart)
                return incomplete();
        }
        masks = {le32(m), le32(m + 4), le32(m + 8)};
    } else if (out.bitCount == 16) {
        masks = {0x7C00, 0x03E0, 0x001F};
    } else if (out.bitCount == 32) {
        masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }
    if (out.bitCount >= 16 && out.bitCount != 24) {
        const quint32 pixelBits = out.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        for (int i = 0; i < 3; ++i) {
            out.channels[i] = Channel::fromMask(masks[i]);
            if ((masks[i] & ~pixelBits) != 0 || !out.channels[i].contiguous())
                return unsupported();
        }
        if ((masks[0] & masks[1]) != 0 || (masks[0] & masks[2]) != 0 || (masks[1] & masks[2]) != 0)
            return unsupported();
    }

    // Deeper pixels carry their colours themselves; a palette there is only a display hint.
    const qint64 fullPalette = out.bitCount <= 8 ? qint64(1) << out.bitCount : 0;
    if (out.bitCount > 8)
        coloursUsed = 0;
    if (coloursUsed > fullPalette)
        return damaged();

    out.pixelOffset = le32(data + 10);
    if (out.pixelOffset < out.paletteStart)
        return damaged();
    if (out.pixelOffset >= size)
        return incomplete();

    const qint64 paletteRoom = (out.pixelOffset - out.paletteStart) / out.paletteEntrySize;
    if (coloursUsed > 0) {
        if (coloursUsed > paletteRoom)
            return damaged();
        out.paletteCount = coloursUsed;
    } else {
        out.paletteCount = std::min(fullPalette, paletteRoom);
    }

    if (!rle) {
        // Divided rather than multiplied, so that no limit a caller sets can overflow it.
        const qint64 present = size - out.pixelOffset;
        const qint64 lastRow = (width * out.bitCount + 7) / 8;
        if (lastRow > present || height - 1 > (present - lastRow) / rowStride(width, out.bitCount))
            return incomplete();
    }
    return out;
}

Palette readPalette(const uchar *data, const Layout &layout)
{
    Palette palette;
    palette.fill(Black);
    const uchar *p = data + layout.paletteStart;
    for (qint64 i = 0; i < layout.paletteCount; ++i, p += layout.paletteEntrySize)
        palette[size_t(i)] = qRgb(p[2], p[1], p[0]);
    return palette;
}

void decodeRow(const uchar *src, QRgb *dst, const Layout &layout, const Palette &palette)
{
    const int w = layout.width;
    switch (layout.bitCount) {
    case 1:
        for (int x = 0; x < w; ++x)
            dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
        break;
    case 4:
        for (int x = 0; x < w; ++x)
            dst[x] = palette[(x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4)];
        break;
    case 8:
        for (int x = 0; x < w; ++x)
            dst[x] = palette[src[x]];
        break;
    case 16: {
        const auto &[r, g, b] = layout.channels;
        for (int x = 0; x < w; ++x, src += 2) {
            const quint32 v = le16(src);
            dst[x] = qRgb(int(r.value(v)), int(g.value(v)), int(b.value(v)));
        }
        break;
    }
    case 24:
        for (int x = 0; x < w; ++x, src += 3)
            dst[x] = Black | (quint32(src[2]) << 16) | (quint32(src[1]) << 8) | src[0];
        break;
    case 32:
        if (layout.compression == Rgb) {
            for (int x = 0; x < w; ++x, src += 4)
                dst[x] = Black | (quint32(src[2]) << 16) | (quint32(src[1]) << 8) | src[0];
        } else {
            const auto &[r, g, b] = layout.channels;
            for (int x = 0; x < w; ++x, src += 4) {
                const quint32 v = le32(src);
                dst[x] = qRgb(int(r.value(v)), int(g.value(v)), int(b.value(v)));
            }
        }
        break;
    }
}

void decodeUncompressed(const uchar *data, const Layout &layout, const Palette &palette, QImage &image)
{
    const qint64 stride = rowStride(layout.width, layout.bitCount);
    for (int row = 0; row < layout.height; ++row) {
        const int line = layout.topDown ? row : layout.height - 1 - row;
        decodeRow(data + layout.pixelOffset + stride * row, reinterpret_cast<QRgb *>(image.scanLine(line)), layout,
                  palette);
    }
}

// Run-length data is a stream of two-byte codes; a file may end anywhere in it, so every
// read is checked against `size` and whatever the stream does not reach stays black.
void decodeRle(const uchar *data, qint64 size, const Layout &layout, const Palette &palette, QImage &image)
{
    const bool nibbles = layout.compression == Rle4;
    const qint64 w = layout.width;
    const qint64 h = layout.height;
    uchar *bits = image.bits();
    const qint64 bytesPerLine = image.bytesPerLine();
    qint64 pos = layout.pixelOffset;
    qint64 x = 0;
    qint64 y = 0; // stored row, counted from the bottom of the picture

    while (y < h && pos + 2 <= size) {
        const int count = data[pos];
        const int code = data[pos + 1];
        pos += 2;
        QRgb *line = reinterpret_cast<QRgb *>(bits + (h - 1 - y) * bytesPerLine);
        if (count > 0) {
            const qint64 shown = std::clamp<qint64>(w - x, 0, count);
            for (qint64 i = 0; i < shown; ++i)
                line[x + i] = palette[nibbles ? ((i & 1) ? (code & 0x0F) : (code >> 4)) : code];
            x += count;
        } else if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            if (pos + 2 > size)
                break;
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
        } else {
            const qint64 length = code;
            const qint64 stored = nibbles ? (length + 1) / 2 : length;
            const qint64 present = std::min(stored, size - pos);
            const qint64 pixels = nibbles ? std::min(length, present * 2) : present;
            const qint64 shown = std::clamp<qint64>(w - x, 0, pixels);
            for (qint64 i = 0; i < shown; ++i) {
                const uchar byte = data[pos + (nibbles ? i / 2 : i)];
                line[x + i] = palette[nibbles ? ((i & 1) ? (byte & 0x0F) : (byte >> 4)) : byte];
            }
            if (present < stored)
                break;
            x += length;
            pos += stored + (stored & 1); // absolute runs end on a two-byte boundary
        }
    }
}

} // namespace

Result<QImage> decodeBitmap(QByteArrayView bytes, const DecodeLimits &limits)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const qint64 size = bytes.size();
    const Result<Layout> read = readLayout(data, size, limits);
    if (!read)
        return read.error();
    const Layout &layout = read.value();

    QImage image(layout.width, layout.height, QImage::Format_RGB32);
    if (image.isNull())
        return tooLarge();
    const Palette palette = readPalette(data, layout);
    if (layout.compression == Rle8 || layout.compression == Rle4) {
        image.fill(Black);
        decodeRle(data, size, layout, palette, image);
    } else {
        decodeUncompressed(data, layout, palette, image);
    }
    return image;
}

Result<QImage> readBitmapFile(const QString &path, const DecodeLimits &limits)
{
    Result<QByteArray> bytes = readFileBytes(path, limits.maxFileBytes);
    if (!bytes)
        return bytes.error();
    Result<QImage> decoded = decodeBitmap(bytes.value(), limits);
    if (!decoded)
        return makeError(decoded.error().kind, path, decoded.error().detail);
    return decoded;
}

} // namespace pellwerk
