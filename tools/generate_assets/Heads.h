#pragma once

#include "Drawing.h"

// The head and what is worn on the face. Every function returns a transparent ARGB32 layer:
// the head at the size of the face place's region, glasses and beards at the size of their
// own parts, drawn to meet the eyes and the mouth of that head.
namespace pellwerk::assets {

enum class HairStyle { None, Short, Curly, Long };

struct HeadStyle
{
    Ramp skin = kSkinWarm;
    Ramp hair{{36, 20, 12}, {104, 62, 32}, {184, 130, 74}};
    HairStyle hairStyle = HairStyle::Short;
    QColor iris{70, 120, 170};
    QColor lips{196, 104, 98};
    bool freckles = false;
    bool guidesOnly = false; // the template: features hinted in skin tones only
    quint32 seed = 21;
};

// Back and sides of the head on the left, the face on the right.
QImage drawHead(const HeadStyle &s);
// Thin round frames, clear lenses with a glint (the eyes show through).
QImage drawRoundGlasses();
// Dark aviator sunglasses.
QImage drawSunglasses();
// A full beard (the mouth stays open so the lips show) or a moustache with a pointed goatee.
QImage drawBeard(const Ramp &hair, bool full, quint32 seed);

} // namespace pellwerk::assets
