#include "StepText.h"

#include "compose/StepNames.h"

namespace pellwerk {

QString stepText(const HistoryStep &step)
{
    return actionName(step);
}

QString stepMenuText(const QString &word, const HistoryStep *step)
{
    return step ? word + QStringLiteral(": ") + stepText(*step) : word;
}

} // namespace pellwerk
