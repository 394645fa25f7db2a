#pragma once

#include <QColor>
#include <QRgb>
#include <QtGlobal>

namespace pellwerk {

// A colour value of this system: 0x00BBGGRR, red in the low byte (0 black, 0xFFFFFF white,
// 0xFF0000 blue). Qt's QRgb is 0xAARRGGBB, the other way round: convert only through the
// explicit functions below, never by passing the raw number along.
class Colour
{
public:
    constexpr Colour() = default;
    constexpr explicit Colour(quint32 value) : m_value(value) {}

    static constexpr Colour fromRgb(int red, int green, int blue)
    {
        return Colour(quint32(red & 0xFF) | (quint32(green & 0xFF) << 8) | (quint32(blue & 0xFF) << 16));
    }
    static constexpr Colour fromQRgb(QRgb rgb) { return fromRgb(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

    constexpr quint32 value() const { return m_value; }
    constexpr int red() const { return int(m_value & 0xFF); }
    constexpr int green() const { return int((m_value >> 8) & 0xFF); }
    constexpr int blue() const { return int((m_value >> 16) & 0xFF); }

    // Opaque Qt pixel value with the same red, green and blue.
    constexpr QRgb toQRgb() const { return qRgb(red(), green(), blue()); }
    QColor toQColor() const { return QColor(red(), green(), blue()); }

    friend constexpr bool operator==(Colour a, Colour b) { return a.m_value == b.m_value; }

private:
    quint32 m_value = 0;
};

namespace Colours {
inline constexpr Colour Black{0x000000};
inline constexpr Colour White{0xFFFFFF};
inline constexpr Colour Blue{0xFF0000};
} // namespace Colours

} // namespace pellwerk
