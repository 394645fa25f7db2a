#include "Coordinates.h"

#include <cmath>
#include <limits>

namespace pellwerk {

namespace {

constexpr double ClampLimit = 255.0;

// Independent of the floating-point environment's rounding mode, unlike std::nearbyint.
double roundHalfToEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

} // namespace

std::optional<double> readCoordinate(const QString &text, const QLocale &locale)
{
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<QString> clampedText(const QString &text, const QLocale &locale)
{
    static const QString limitText = QStringLiteral("255");
    const std::optional<double> value = readCoordinate(text, locale);
    // Rewriting "255" with itself would be no change, and must not start another clamp.
    if (!value || *value < ClampLimit || text == limitText)
        return std::nullopt;
    return limitText;
}

std::optional<qint32> coordinateToInt(const QString &text, const QLocale &locale)
{
    const std::optional<double> value = readCoordinate(text, locale);
    if (!value)
        return std::nullopt;
    const double rounded = roundHalfToEven(*value);
    if (rounded < double(std::numeric_limits<qint32>::min()) || rounded > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(rounded);
}

} // namespace pellwerk
