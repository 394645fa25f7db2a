#include "PlacementTable.h"

#include <algorithm>

namespace pellwerk {

const std::vector<PartKind> &partKinds()
{
    // The tattoo shares the left arm's place on purpose: both are drawn onto the arm's area.
    static const std::vector<PartKind> table{
        {PartKindId::Foot, QStringLiteral("foot"), QStringLiteral("footList"), QStringLiteral("foot_*.bmp"),
         QStringLiteral("Foot file"), QPoint(0, 0)},
        {PartKindId::RightArm, QStringLiteral("rightarm"), QStringLiteral("rightArmList"),
         QStringLiteral("RightArm*.bmp"), QStringLiteral("right arm file"), QPoint(56, 0)},
        {PartKindId::LeftArm, QStringLiteral("leftarm"), QStringLiteral("leftArmList"), QStringLiteral("LeftArm_*.bmp"),
         QStringLiteral("left arm file"), QPoint(95, 0)},
        {PartKindId::Tattoo, QStringLiteral("tattoo"), QStringLiteral("tattooList"), QStringLiteral("tatu*.bmp"),
         QStringLiteral("Tatu"), QPoint(95, 0)},
        {PartKindId::Chain, QStringLiteral("chain"), QStringLiteral("chainList"), QStringLiteral("chain*.bmp"),
         QStringLiteral("Kette, Schmuck"), QPoint(216, 139)},
        {PartKindId::Face, QStringLiteral("face"), QStringLiteral("faceList"), QStringLiteral("Face*.bmp"),
         QStringLiteral("face file"), QPoint(128, 0)},
        {PartKindId::Pants, QStringLiteral("pants"), QStringLiteral("pantsList"), QStringLiteral("Pants*.bmp"),
         QStringLiteral("pants"), QPoint(0, 85)},
        {PartKindId::Shirt, QStringLiteral("shirt"), QStringLiteral("shirtList"), QStringLiteral("shirt*.bmp"),
         QStringLiteral("shirt"), QPoint(87, 128)},
        {PartKindId::Glasses, QStringLiteral("glasses"), QStringLiteral("glassesList"), QStringLiteral("glass*.bmp"),
         QStringLiteral("Brille"), QPoint(184, 32)},
        {PartKindId::Beard, QStringLiteral("beard"), QStringLiteral("beardList"), QStringLiteral("beard*.bmp"),
         QStringLiteral("Bart"), QPoint(188, 71)},
        {PartKindId::User, QStringLiteral("user"), QStringLiteral("userList"), QStringLiteral("*.bmp"),
         QStringLiteral("Benutzer Dateien"), std::nullopt},
    };
    return table;
}

const PartKind *findPartKind(QStringView listName)
{
    const auto &table = partKinds();
    const auto it =
        std::find_if(table.begin(), table.end(), [listName](const PartKind &row) { return row.listName == listName; });
    return it == table.end() ? nullptr : &*it;
}

const PartKind *findPartKindByKey(QStringView key)
{
    const auto &table = partKinds();
    const auto it = std::find_if(table.begin(), table.end(), [key](const PartKind &row) { return row.key == key; });
    return it == table.end() ? nullptr : &*it;
}

const PartKind &partKind(PartKindId kind)
{
    const auto &table = partKinds();
    // Every id has exactly one row, so the search cannot fail.
    return *std::find_if(table.begin(), table.end(), [kind](const PartKind &row) { return row.kind == kind; });
}

} // namespace pellwerk
