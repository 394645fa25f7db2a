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
    using enum HistoryStep::Type;
    const QString part = step.paste.part.isEmpty()
                             ? kindName(step.paste.kind) + QStringLiteral(" Vorschaubild")
                             : kindName(step.paste.kind) + QLatin1Char(' ') + fileName(step.paste.part);
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
        // The list shows the step painted last at the top: a later place is higher up.
        return (step.index > step.from ? QStringLiteral("nach oben ") : QStringLiteral("nach unten ")) + part;
    case Removal:
        return QStringLiteral("entfernen ") + part;
    case PartSwap:
        break;
    }
    return QStringLiteral("Teil tauschen ") + part;
}

QString stepMenuText(const QString &word, const HistoryStep *step)
{
    return step ? word + QStringLiteral(": ") + stepText(*step) : word;
}

} // namespace pellwerk
