#include "StepText.h"

#include <QFileInfo>

namespace pellwerk {

namespace {
QString kindName(PartKindId kind)
{
    switch (kind) {
    case PartKindId::Foot:
        return QStringLiteral("Fuß");
    case PartKindId::RightArm:
        return QStringLiteral("rechter Arm");
    case PartKindId::LeftArm:
        return QStringLiteral("linker Arm");
    case PartKindId::Tattoo:
        return QStringLiteral("Tattoo");
    case PartKindId::Chain:
        return QStringLiteral("Kette");
    case PartKindId::Face:
        return QStringLiteral("Gesicht");
    case PartKindId::Pants:
        return QStringLiteral("Hose");
    case PartKindId::Shirt:
        return QStringLiteral("Hemd");
    case PartKindId::Glasses:
        return QStringLiteral("Brille");
    case PartKindId::Beard:
        return QStringLiteral("Bart");
    case PartKindId::User:
        break;
    }
    return QStringLiteral("Benutzer-Teil");
}

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}
} // namespace

QString stepText(const HistoryStep &step)
{
    switch (step.type) {
    case HistoryStep::Type::Paste:
        return step.paste.part.isEmpty() ? kindName(step.paste.kind) + QStringLiteral(" Vorschaubild")
                                         : kindName(step.paste.kind) + QLatin1Char(' ') + fileName(step.paste.part);
    case HistoryStep::Type::Base:
        return step.base.kind == CompositionBase::Kind::New ? QStringLiteral("neu")
                                                            : QStringLiteral("öffnen ") + fileName(step.base.file);
    case HistoryStep::Type::Recipe:
        break;
    }
    return QStringLiteral("Rezept ") + fileName(step.recipeFile);
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
