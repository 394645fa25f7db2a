#pragma once

#include <cmath>

namespace pellwerk {

// Window places and sizes of the designs are in twips, 1/1440 inch: 15 to a pixel at 96 dots per
// inch. Qt's own high-DPI scaling takes it from there.
inline constexpr int TwipsPerPixel = 15;

// The nearest whole pixel (15 is odd, so no twip count lies halfway).
inline int twipsToPixels(int twips)
{
    return int(std::lround(double(twips) / TwipsPerPixel));
}

} // namespace pellwerk
