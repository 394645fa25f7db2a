#pragma once

#include "compose/CompositionHistory.h"

#include <QString>

namespace pellwerk {

// How the edit menu names a step: "Gesicht Face01.bmp", "neu", "öffnen skin.bmp".
QString stepText(const HistoryStep &step);
// The menu entry for a step: the entry's own word (its "&" a mnemonic, as the language file gives
// it), and the step after a colon when there is one, shown literally.
QString stepMenuText(const QString &word, const HistoryStep *step);

} // namespace pellwerk
