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

QString actionName(const HistoryStep &step, const ActionWords &words)
{
    using enum HistoryStep::Type;
    const QString part = pasteName(step.paste);
    const auto edit = [&part](const QString &word) { return word + QLatin1Char(' ') + part; };
    switch (step.type) {
    case Paste:
        return part;
    case Base:
        return step.base.kind == CompositionBase::Kind::New ? QStringLiteral("neu")
                                                            : QStringLiteral("öffnen ") + fileName(step.base.file);
    case Recipe:
        return QStringLiteral("Rezept ") + fileName(step.recipeFile);
    case Tint:
        return edit(words.tint);
    case Place:
        return edit(words.place);
    case Visibility:
        return edit(step.paste.visible ? words.show : words.hide);
    case Mirror:
        return edit(step.paste.mirrored ? words.mirror : words.unmirror);
    case Order:
        // The steps window shows the step painted last at the top: painted later is higher up.
        return edit(step.index > step.from ? words.up : words.down);
    case Removal:
        return edit(words.remove);
    case Ramp:
        return edit(step.paste.ramp.isNone() ? words.unramp : words.ramp);
    case PartSwap:
        break;
    }
    return edit(words.swap);
}

QString actionMenuText(const QString &word, const HistoryStep *step, const ActionWords &words)
{
    if (!step)
        return word;
    // A menu takes "&" for a keyboard mnemonic: a part named "A&B.bmp" must show as it is.
    QString text = actionName(*step, words);
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
