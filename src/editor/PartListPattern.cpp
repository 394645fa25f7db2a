#include "PartListPattern.h"

#include <array>

namespace pellwerk {

QString partListPattern(PartKindId kind)
{
    // In the enumeration's order. Feet and left arms need the underscore; right arms take names
    // with or without one.
    static const std::array<QString, AllPartKinds.size()> patterns{
        QStringLiteral("foot_*.bmp"), QStringLiteral("RightArm*.bmp"), QStringLiteral("LeftArm_*.bmp"),
        QStringLiteral("tatu*.bmp"),  QStringLiteral("chain*.bmp"),    QStringLiteral("Face*.bmp"),
        QStringLiteral("Pants*.bmp"), QStringLiteral("shirt*.bmp"),    QStringLiteral("glass*.bmp"),
        QStringLiteral("beard*.bmp"), QStringLiteral("*.bmp")};
    return patterns[size_t(kind)];
}

} // namespace pellwerk
