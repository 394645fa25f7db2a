#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include <vector>

// Parts drawn the way pixel artists draw them: every pixel is one tone of a short ramp, light and
// shade are ordered dithering between neighbouring tones, edges are hard. The painted parts blend
// into a thousand colours and more; these hold their ramps' colours and nothing else, so a palette
// of the same colours (assets/Paletten/) swaps a whole ramp for another: the shirt into every
// team colour, the neck into every skin tone, the beard into every hair colour.
namespace pellwerk::assets {

using PixelRamp = std::vector<QColor>; // darkest first

struct TeamShirtStyle
{
    PixelRamp cloth; // five tones; the darkest also outlines the collar, stripes, number and hem
    PixelRamp trim;  // collar band, shoulder stripes, number, hem band
    PixelRamp skin;  // the neck in the neckline
};

// The front of a team shirt, an ARGB32 layer covered everywhere: a round neckline, shoulder
// stripes down both sides, a number on the chest, a hem band.
QImage drawTeamShirt(QSize size, const TeamShirtStyle &style);
// A full beard around the mouth in strands of hair, an ARGB32 layer of 56 x 40, transparent
// outside the beard and in the mouth.
QImage drawPixelBeard(const PixelRamp &hair, quint32 seed);

} // namespace pellwerk::assets
