#pragma once

#include "core/AppState.h"
#include "core/Colour.h"

#include <QString>

#include <optional>

namespace pellwerk {

// The names of the settings dialog's colour list and what each stands for. "User" is the user
// colour of the knobs, which then follows every turn of a knob.
enum class ColourName { Blau, Schwarz, User, Weiss };

// The name as the list shows it and AppState::TransparentColourName holds it.
QString colourNameText(ColourName name);
// The name for a text, compared exactly (letter case included); nothing for any other text.
std::optional<ColourName> colourNameFromText(const QString &text);
// The transparent colour a name stands for.
Colour colourFor(ColourName name, const UserRgb &userColour);
// Whether the transparent colour is the user colour, so that a knob turn changes it.
bool followsUserColour(const AppState &state);

} // namespace pellwerk
