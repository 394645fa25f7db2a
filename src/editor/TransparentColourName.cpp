#include "TransparentColourName.h"

#include <array>
#include <utility>

namespace pellwerk {

namespace {
const std::array<std::pair<ColourName, const char *>, 4> Names{{
    {ColourName::Blau, "blau"},
    {ColourName::Schwarz, "schwarz"},
    {ColourName::User, "User"},
    {ColourName::Weiss, "weiss"},
}};
} // namespace

QString colourNameText(ColourName name)
{
    for (const auto &[value, text] : Names)
        if (value == name)
            return QString::fromLatin1(text);
    return {};
}

std::optional<ColourName> colourNameFromText(const QString &text)
{
    for (const auto &[value, name] : Names)
        if (text == QLatin1String(name))
            return value;
    return std::nullopt;
}

Colour colourFor(ColourName name, const UserRgb &userColour)
{
    switch (name) {
    case ColourName::Blau:
        return Colours::Blue;
    case ColourName::Schwarz:
        return Colours::Black;
    case ColourName::Weiss:
        return Colours::White;
    case ColourName::User:
        break;
    }
    return userColour.toColour();
}

bool followsUserColour(const AppState &state)
{
    return colourNameFromText(state.TransparentColourName) == ColourName::User;
}

} // namespace pellwerk
