#pragma once

#include "core/UserRgb.h"
#include "core/Colour.h"
#include "parts/PlacementTable.h"

#include <QPoint>
#include <QSize>
#include <QString>

namespace pellwerk {

// The part preview's inner size: the area of it that every paste takes.
inline constexpr QSize PartAreaSize{148, 191};

// One paste as the parts window makes it and as a recipe records it: which part, from which
// file, tinted by how much, pasted where with which colour left out.
//
// The part is pasted the way the preview shows it: the part picture at the top-left of a
// 148 x 191 area whose rest is the transparent colour, every channel raised by `tint` with the
// knobs' saturating correction, then copied to `place` leaving out every pixel equal to
// `transparent`. For the ten fixed kinds `place` is the kind's place; for User it is the place
// the user chose (any 32-bit values: the transfer cuts what falls outside the skin).
// A swap of a part's colour ramp: the i-th colour of the palette file `from` becomes the i-th
// colour of `to`, before the tint. Both empty: no swap.
struct RampSwap
{
    QString from;
    QString to;

    bool isNone() const { return from.isEmpty() && to.isEmpty(); }
    friend bool operator==(const RampSwap &, const RampSwap &) = default;
};

struct PasteStep
{
    PartKindId kind = PartKindId::User;
    QString part; // the part file; empty for the built-in preview picture
    QPoint place;
    Colour transparent;
    UserRgb tint;
    bool visible = true;   // a hidden step is kept but paints nothing
    bool mirrored = false; // the part flipped left to right over its own width
    RampSwap ramp{};

    friend bool operator==(const PasteStep &, const PasteStep &) = default;
};

} // namespace pellwerk
