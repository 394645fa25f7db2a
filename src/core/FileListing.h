#pragma once

#include <QString>
#include <QStringList>

namespace pellwerk {

// Whether a file name matches a file-list pattern, as FileNamePattern says. For many names,
// compile the pattern once with FileNamePattern instead.
bool fileNameMatches(const QString &name, const QString &pattern);

// The names (without folder) of the files in `folder` that match `pattern`, sorted by name
// without regard to letter case, equal names in that sense by their exact spelling. Hidden
// files (names starting with a dot) and folders are left out; symbolic links to files count as
// files. An empty folder name, a missing or unreadable folder gives an empty list. For several
// patterns over one folder, read it once with FolderIndex instead.
QStringList listMatchingFiles(const QString &folder, const QString &pattern);

// The user list's pattern for a file-name prefix: the prefix followed by "*.bmp". Wildcards
// typed into the prefix stay wildcards, as they did when the pattern was set from the text box.
QString userListPattern(const QString &prefix);

} // namespace pellwerk
