#pragma once

#include <QString>

namespace pellwerk {

// The user's own part folder, $XDG_DATA_HOME/pellwerk/Image/ (usually
// ~/.local/share/pellwerk/Image/), with a trailing "/". Its bitmaps join those of the program's
// Image folder in every part list; where a name is in both, the user's file is taken. It may not
// exist: nothing is created by asking for it.
QString userPartFolder();

} // namespace pellwerk
