#pragma once

#include "core/Colour.h"

#include <QString>

#include <optional>
#include <vector>

namespace pellwerk {

// Which property of a control a language text replaces. A control whose screen-reader name is
// not the caption of its label takes that name from a row of its own.
enum class KeyTarget { Caption, Title, ToolTip, AccessibleName };

// One text that a language file can replace: the key searched for, where the text goes, and the
// German text the window designs carry until a language is applied.
struct KeyRow
{
    int row = 0;
    QString key;
    QString window;  // "MainWindow", "SettingsDialog", "PartsWindow", "StepsWindow", "RampDialog", "ZoomWindow"
    QString control; // design name of the control; empty when the window itself is meant
    KeyTarget target = KeyTarget::Caption;
    QString builtInText;
    // Set only for the colour-name rows: the row applies only while the transparent colour has
    // exactly this value, so that at any other colour the label keeps its text.
    std::optional<Colour> onlyWhenColour;

    bool appliesAt(Colour transparentColour) const { return !onlyWhenColour || *onlyWhenColour == transparentColour; }
};

// The line that names a language. Unlike every other row, its caption takes the whole line found
// (the "LANGUAGE=" prefix included) from the file the user picks, not the text behind a "#".
const KeyRow &languageNameRow();

// Rows 1 to 28 in the order a language is applied, then the rows of the menus added since
// (29 on), of the steps window (35 on) and of its colour-ramp dialog (52 on), the words naming
// an edit of a step and the tool-tips of those two windows (60 on), then the view menu and the
// zoom window's texts (92 on), whose keys and texts the shipped files order by the same substring
// and last-match rules. One key may serve several rows: "setup" three, "part" three, "edit swap"
// two, and "file" both the "Datei" menu and the tool-tips of nine part file lists.
//
// The settings dialog's colour name label names the transparent colour and has three rows. Its
// design text is "schwarz"; picking a colour rewrites it as a space and the colour's name, so the
// white and blue rows carry " weiss" and " blau", the only form in which the label names those
// colours by itself.
const std::vector<KeyRow> &languageKeyTable();

} // namespace pellwerk
