#pragma once

#include "Composition.h"

#include <QString>

namespace pellwerk {

// A part kind as users read it: "Gesicht", "rechter Arm", "Benutzer-Teil" for a user place.
QString partKindName(PartKindId kind);
// A step as the edit menu and the layers of an exported file name it: the kind and the part's
// file name ("Hemd shirt02.bmp"), "Vorschaubild" for the built-in preview picture.
QString stepName(const PasteStep &step);
// The base as the bottom layer is named: "Grundlage: " and the file's name, "Standard-Skin" for
// the built-in default skin.
QString baseName(const CompositionBase &base);

} // namespace pellwerk
