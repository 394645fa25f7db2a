#include "StepName.h"

#include <QFileInfo>

namespace pellwerk {

QString partKindName(PartKindId kind)
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

QString stepName(const PasteStep &step)
{
    return partKindName(step.kind) + QLatin1Char(' ')
           + (step.part.isEmpty() ? QStringLiteral("Vorschaubild") : QFileInfo(step.part).fileName());
}

QString baseName(const CompositionBase &base)
{
    switch (base.kind) {
    case CompositionBase::Kind::Default:
        break;
    case CompositionBase::Kind::New:
        return QStringLiteral("Grundlage: SkinNEW.bmp");
    case CompositionBase::Kind::File:
        return QStringLiteral("Grundlage: ") + QFileInfo(base.file).fileName();
    }
    return QStringLiteral("Grundlage: Standard-Skin");
}

} // namespace pellwerk
