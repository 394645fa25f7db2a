#pragma once

#include "Drawing.h"

#include <optional>

// Arms, seen from the front: sleeve at the top, hand at the bottom. Every function returns a
// transparent ARGB32 layer of the given size.
namespace pellwerk::assets {

enum class Wrist { Bare, Watch, Bracelet };

struct ArmStyle
{
    Ramp skin = kSkinWarm;
    std::optional<Fabric> sleeve{}; // none: a bare arm
    int sleeveEnd = 22;             // first row of bare skin
    bool cuff = false;              // a buttoned shirt cuff at the end of a long sleeve
    QColor stitch{250, 250, 250};
    Wrist wrist = Wrist::Bare;
    bool mirrored = false; // the left arm: thumb and light on the other side
    quint32 seed = 11;
};

QImage drawArm(QSize size, const ArmStyle &s);
// Tattoo ink for the left arm's place: a small dragon winding down the forearm.
QImage drawDragonTattoo(QSize size);

} // namespace pellwerk::assets
