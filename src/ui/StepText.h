#pragma once

#include "compose/CompositionHistory.h"

#include <QString>

namespace pellwerk {

// How the edit menu names a step: "Gesicht Face01.bmp", "neu", "öffnen skin.bmp".
QString stepText(const HistoryStep &step);
// The menu entry for a step: the entry's own word, and the step after a colon when there is one.
QString stepMenuText(const QString &word, const HistoryStep *step);

} // namespace pellwerk
