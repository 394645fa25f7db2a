#pragma once

#include "Drawing.h"

#include <optional>

// Feet, seen from above: heel at the top, toe at the bottom. Every function returns a
// transparent ARGB32 layer of the given size.
namespace pellwerk::assets {

struct ShoeStyle
{
    Ramp upper;
    Ramp sole;
    Ramp trim; // tongue, heel tab and toe cap
    QColor lace;
    QColor stitch;
    QColor lining;
    bool stripes = false; // a trainer's side stripes rather than a boot's brogue punching
    bool boot = false;
    quint32 seed = 1;
};

QImage drawShoe(QSize size, const ShoeStyle &s);
// Ribbed socks between the shoes and the trousers, with an optional band of `band` near the top.
QImage drawSocks(QSize size, Ramp ramp, std::optional<Ramp> band, quint32 seed);
// The template's bare feet: toes at the bottom, soft shading, pale nails.
QImage drawBareFoot(QSize size, const Ramp &skin);

} // namespace pellwerk::assets
