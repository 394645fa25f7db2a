#include "RampMap.h"

#include <bit>

namespace pellwerk {

namespace {

// No 24-bit colour has bits above the low 24.
constexpr quint32 EmptyKey = 0xFFFFFFFFu;
constexpr quint32 ColourBits = 0x00FFFFFFu;
// Evictions one insertion may cause before the table is taken to be too crowded.
constexpr int MaxKicks = 64;
constexpr quint64 HashFactor = 0x9E3779B97F4A7C15ull; // 2^64 divided by the golden ratio

} // namespace

std::pair<quint32, quint32> RampMap::slotsOf(quint32 key) const
{
    // Two slices of one 64-bit product: the high bits mix all of the key, the middle bits too.
    // apply() computes the same inline.
    const quint64 product = quint64(key) * HashFactor;
    const quint32 mask = (1u << m_bits) - 1;
    return {quint32(product >> (64 - m_bits)), quint32(product >> 24) & mask};
}

bool RampMap::insert(quint32 key, QRgb value)
{
    quint32 slot = slotsOf(key).first;
    for (int kick = 0; kick < MaxKicks; ++kick) {
        std::swap(key, m_keys[slot]);
        std::swap(value, m_values[slot]);
        if (key == EmptyKey)
            return true;
        // The key pushed out moves to its other slot.
        const auto [first, second] = slotsOf(key);
        slot = slot == first ? second : first;
    }
    return false;
}

Result<RampMap> RampMap::make(const Palette &from, const Palette &to)
{
    const size_t count = from.colours.size();
    if (to.colours.size() != count)
        return makeError(ErrorKind::RampSizesDiffer, {}, QStringLiteral("%1/%2").arg(count).arg(to.colours.size()));
    RampMap map;
    if (count == 0)
        return map;
    for (map.m_bits = std::countr_zero(std::bit_ceil(std::max<size_t>(16, count * 4)));; ++map.m_bits) {
        map.m_keys.assign(size_t(1) << map.m_bits, EmptyKey);
        map.m_values.assign(size_t(1) << map.m_bits, 0);
        bool placed = true;
        for (size_t i = 0; i < count && placed; ++i) {
            const quint32 key = from.colours[i].toQRgb() & ColourBits;
            const auto [first, second] = map.slotsOf(key);
            if (map.m_keys[first] == key || map.m_keys[second] == key)
                continue; // listed before: its first place counts
            placed = map.insert(key, to.colours[i].toQRgb());
        }
        if (placed)
            return map;
    }
}

QImage RampMap::apply(const QImage &part) const
{
    const QImage source = part.convertToFormat(QImage::Format_RGB32);
    if (isIdentity())
        return source;
    QImage result(source.size(), QImage::Format_RGB32);
    // In locals: the stores to the result could otherwise alias the members, reloaded per pixel.
    const quint32 *const keys = m_keys.data();
    const QRgb *const values = m_values.data();
    const int high = 64 - m_bits;
    const quint32 mask = (1u << m_bits) - 1;
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = in[x];
            const quint32 key = pixel & ColourBits;
            const quint64 product = quint64(key) * HashFactor;
            const quint32 first = quint32(product >> high), second = quint32(product >> 24) & mask;
            const QRgb once = keys[first] == key ? values[first] : pixel;
            out[x] = keys[second] == key ? values[second] : once;
        }
    }
    return result;
}

} // namespace pellwerk
