#pragma once

#include <QString>

namespace pellwerk {

// The user's own folder of one kind of file, $XDG_DATA_HOME/pellwerk/<sub>/ (usually
// ~/.local/share/pellwerk/<sub>/), with a trailing "/": "Image" for parts, "Paletten" for
// palettes. Its files join those of the program folder's <sub>/ wherever files of that kind are
// looked for (FileResolver). It may not exist: nothing is created by asking for it.
QString userFolder(const QString &sub);
// The user's own part folder, userFolder("Image").
QString userPartFolder();
// The program's own part folder in the program folder: "<programFolder>/Image/".
QString programPartFolder(const QString &programFolder);

} // namespace pellwerk
