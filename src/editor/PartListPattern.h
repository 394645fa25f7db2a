#pragma once

#include "core/PartKinds.h"

#include <QString>

namespace pellwerk {

// Which file names the parts window's list of a kind offers, matched without regard to letter
// case; the steps window offers the same names when a step's part is swapped. The user's list
// starts on every bitmap, until its prefix box narrows it (userListPattern).
QString partListPattern(PartKindId kind);

} // namespace pellwerk
