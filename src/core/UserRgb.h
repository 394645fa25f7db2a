#pragma once

#include "Colour.h"

#include <QtGlobal>

namespace pellwerk {

// The three knob values of the colour window, each 0 to 255 when set by a knob.
struct UserRgb
{
    qint32 red = 0;
    qint32 green = 0;
    qint32 blue = 0;
    friend bool operator==(const UserRgb &, const UserRgb &) = default;
    Colour toColour() const { return Colour(quint32(red + 256 * green + 65536 * blue)); }
    // Two corrections one after the other, as one: the knobs' capped additions add up, capped.
    UserRgb followedBy(const UserRgb &next) const
    {
        const auto sum = [](qint32 a, qint32 b) { return qBound(0, a + b, 255); };
        return {sum(red, next.red), sum(green, next.green), sum(blue, next.blue)};
    }
};

} // namespace pellwerk
