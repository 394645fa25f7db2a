#include "StepNames.h"

#include "compose/StepName.h"

#include <QFileInfo>

namespace pellwerk {

namespace {

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString mark(const QString &word)
{
    return QStringLiteral(" [") + word + QLatin1Char(']');
}

} // namespace

QString pasteName(const PasteStep &step)
{
    // The exported layers carry the same names: one wording, kept where the core can reach it.
    return stepName(step);
}

QString actionName(const HistoryStep &step)
{
    using enum HistoryStep::Type;
    const QString part = pasteName(step.paste);
    switch (step.type) {
    case Paste:
        return part;
    case Base:
        return step.base.kind == CompositionBase::Kind::New ? QStringLiteral("neu")
                                                            : QStringLiteral("öffnen ") + fileName(step.base.file);
    case Recipe:
        return QStringLiteral("Rezept ") + fileName(step.recipeFile);
    case Tint:
        return QStringLiteral("Tönung ") + part;
    case Place:
        return QStringLiteral("Ort ") + part;
    case Visibility:
        return (step.paste.visible ? QStringLiteral("einblenden ") : QStringLiteral("ausblenden ")) + part;
    case Mirror:
        return (step.paste.mirrored ? QStringLiteral("spiegeln ") : QStringLiteral("Spiegelung aufheben ")) + part;
    case Order:
        // The steps window shows the step painted last at the top: painted later is higher up.
        return (step.index > step.from ? QStringLiteral("nach oben ") : QStringLiteral("nach unten ")) + part;
    case Removal:
        return QStringLiteral("entfernen ") + part;
    case Ramp:
        return (step.paste.ramp.isNone() ? QStringLiteral("Farbrampe entfernen ") : QStringLiteral("Farbrampe "))
               + part;
    case PartSwap:
        break;
    }
    return QStringLiteral("Teil tauschen ") + part;
}

QString actionMenuText(const QString &word, const HistoryStep *step)
{
    if (!step)
        return word;
    // A menu takes "&" for a keyboard mnemonic: a part named "A&B.bmp" must show as it is.
    QString text = actionName(*step);
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    return word + QStringLiteral(": ") + text;
}

std::vector<StepRow> stepRows(const Document &document, const StepRowWords &words)
{
    std::vector<StepRow> rows;
    for (int i = document.stepCount() - 1; i >= 0; --i) {
        const PasteStep &step = document.steps()[size_t(i)];
        QString text = pasteName(step);
        if (!step.visible)
            text += mark(words.hidden);
        if (step.mirrored)
            text += mark(words.mirrored);
        if (step.tint != UserRgb{})
            text += mark(words.tinted);
        if (document.keyColourCheck(i).near > 0)
            text += mark(words.nearKey);
        rows.push_back({i, text});
    }
    const CompositionBase &base = document.base();
    const QString name = base.kind == CompositionBase::Kind::Default ? words.defaultSkin
                         : base.kind == CompositionBase::Kind::New   ? QStringLiteral("SkinNEW.bmp")
                                                                     : fileName(base.file);
    rows.push_back({-1, words.base + name});
    return rows;
}

} // namespace pellwerk
