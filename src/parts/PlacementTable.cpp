#include "PlacementTable.h"

namespace pellwerk {

namespace {
PartKind row(PartKindId kind, std::optional<QPoint> place)
{
    return {kind, partKindKey(kind), place};
}
} // namespace

const std::vector<PartKind> &partKinds()
{
    // The tattoo shares the left arm's place on purpose: both are drawn onto the arm's area.
    using enum PartKindId;
    static const std::vector<PartKind> table{
        row(Foot, QPoint(0, 0)),     row(RightArm, QPoint(56, 0)), row(LeftArm, QPoint(95, 0)),
        row(Tattoo, QPoint(95, 0)),  row(Chain, QPoint(216, 139)), row(Face, QPoint(128, 0)),
        row(Pants, QPoint(0, 85)),   row(Shirt, QPoint(87, 128)),  row(Glasses, QPoint(184, 32)),
        row(Beard, QPoint(188, 71)), row(User, std::nullopt),
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
