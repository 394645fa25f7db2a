#pragma once

#include "Drawing.h"

// Trousers, seen from the front: waistband at the top, two legs side by side, hems at the
// bottom. Returns a transparent ARGB32 layer of the given size.
namespace pellwerk::assets {

// Shorts are the template's: plain boxer shorts over bare legs.
enum class TrouserCut { Jeans, Cargo, Joggers, Shorts };

struct TrouserStyle
{
    TrouserCut cut = TrouserCut::Jeans;
    Fabric fabric{};
    QColor stitch{};
    Ramp skin = kSkinNeutral; // legs below shorts
};

QImage drawTrousers(QSize size, const TrouserStyle &s);

} // namespace pellwerk::assets
