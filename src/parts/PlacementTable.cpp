#include "PlacementTable.h"

namespace pellwerk {

namespace {
PartKind row(PartKindId kind, const QString &pattern, std::optional<QPoint> place)
{
    return {kind, partKindKey(kind), pattern, place};
}
} // namespace

const std::vector<PartKind> &partKinds()
{
    // The tattoo shares the left arm's place on purpose: both are drawn onto the arm's area.
    using enum PartKindId;
    static const std::vector<PartKind> table{
        row(Foot, QStringLiteral("foot_*.bmp"), QPoint(0, 0)),
        row(RightArm, QStringLiteral("RightArm*.bmp"), QPoint(56, 0)),
        row(LeftArm, QStringLiteral("LeftArm_*.bmp"), QPoint(95, 0)),
        row(Tattoo, QStringLiteral("tatu*.bmp"), QPoint(95, 0)),
        row(Chain, QStringLiteral("chain*.bmp"), QPoint(216, 139)),
        row(Face, QStringLiteral("Face*.bmp"), QPoint(128, 0)),
        row(Pants, QStringLiteral("Pants*.bmp"), QPoint(0, 85)),
        row(Shirt, QStringLiteral("shirt*.bmp"), QPoint(87, 128)),
        row(Glasses, QStringLiteral("glass*.bmp"), QPoint(184, 32)),
        row(Beard, QStringLiteral("beard*.bmp"), QPoint(188, 71)),
        row(User, QStringLiteral("*.bmp"), std::nullopt),
    };
    return table;
}

const PartKind *findPartKindByKey(QStringView key)
{
    const std::optional<PartKindId> kind = partKindFromKey(key);
    return kind ? &partKind(*kind) : nullptr;
}

const PartKind &partKind(PartKindId kind)
{
    // The table lists every kind once, in the enumeration's order.
    return partKinds()[size_t(kind)];
}

} // namespace pellwerk
