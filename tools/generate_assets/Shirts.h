#pragma once

#include "Drawing.h"

// The torso, seen from the front. Every function returns a transparent ARGB32 layer of the
// given size.
namespace pellwerk::assets {

// Bare is the template's naked torso.
enum class ShirtCut { Tee, Polo, Flannel, Bare };

struct ShirtStyle
{
    ShirtCut cut = ShirtCut::Tee;
    Fabric fabric{};
    Ramp trim{}; // collar, placket
    QColor stitch{};
    Ramp skin = kSkinWarm;
    quint32 seed = 41;
};

// The front of a shirt, neckline at the top middle.
QImage drawShirt(QSize size, const ShirtStyle &s);
// The bare side of the torso that shirts leave free.
QImage drawChest(QSize size, const Ramp &skin, quint32 seed);

} // namespace pellwerk::assets
