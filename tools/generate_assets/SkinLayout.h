#pragma once

#include "parts/PlacementTable.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the pictures sit on the 256 x 256 skin. A region starts at the place the parts window
// pastes its kind to, so a sample part covers exactly what the default skin draws there.
namespace pellwerk::assets {

// The place of a fixed part kind (not PartKindId::User, which has none).
inline QPoint placeOf(PartKindId kind)
{
    return partKind(kind).place.value();
}

inline constexpr QSize kFootSize{56, 85}; // the shoe and the strip of sock below it
inline constexpr QSize kShoeSize{56, 72};
inline constexpr QSize kRightArmSize{39, 85};
inline constexpr QSize kLeftArmSize{33, 85};
inline constexpr QSize kHeadSize{128, 128};
inline constexpr QSize kPantsSize{87, 171};
inline constexpr QSize kShirtSize{129, 128};
// The bare side of the torso beside the shirt; the chain hangs over its upper part.
inline constexpr QRect kChestArea{216, 128, 40, 128};

} // namespace pellwerk::assets
