#pragma once

#include "Drawing.h"

// Small pictures worn over the skin. Every function returns a transparent ARGB32 layer at the
// picture's own size.
namespace pellwerk::assets {

// A chain for the chest place, with a dog tag (`tag`) or a round pendant with a red stone.
QImage drawChain(const Ramp &metal, bool tag);
// Free pictures for the user list: a healed scar with stitch marks, a star badge.
QImage drawScar(const Ramp &skin);
QImage drawBadge();

} // namespace pellwerk::assets
