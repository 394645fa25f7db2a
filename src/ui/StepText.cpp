#include "StepText.h"

#include "compose/StepNames.h"

namespace pellwerk {

QString stepText(const HistoryStep &step)
{
    return actionName(step);
}

QString stepMenuText(const QString &word, const HistoryStep *step)
{
    if (!step)
        return word;
    // A menu takes "&" for a keyboard mnemonic: a part named "A&B.bmp" must show as it is.
    QString text = stepText(*step);
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    return word + QStringLiteral(": ") + text;
}

} // namespace pellwerk
