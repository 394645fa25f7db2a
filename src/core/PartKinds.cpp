#include "PartKinds.h"

#include <QStringList>

namespace pellwerk {

namespace {
// The one place the words are written; the order is the enumeration's.
const std::array<QString, AllPartKinds.size()> &keys()
{
    static const std::array<QString, AllPartKinds.size()> words{
        QStringLiteral("foot"),    QStringLiteral("rightarm"), QStringLiteral("leftarm"), QStringLiteral("tattoo"),
        QStringLiteral("chain"),   QStringLiteral("face"),     QStringLiteral("pants"),   QStringLiteral("shirt"),
        QStringLiteral("glasses"), QStringLiteral("beard"),    QStringLiteral("user")};
    return words;
}
} // namespace

QString partKindKey(PartKindId kind)
{
    return keys()[size_t(kind)];
}

std::optional<PartKindId> partKindFromKey(QStringView key)
{
    for (const PartKindId kind : AllPartKinds)
        if (keys()[size_t(kind)] == key)
            return kind;
    return std::nullopt;
}

QString partKindKeyList()
{
    return QStringList(keys().begin(), keys().end()).join(QStringLiteral(", "));
}

} // namespace pellwerk
