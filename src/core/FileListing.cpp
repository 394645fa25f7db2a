#include "FileListing.h"

#include "FileNamePattern.h"
#include "FolderIndex.h"

namespace pellwerk {

bool fileNameMatches(const QString &name, const QString &pattern)
{
    return FileNamePattern(pattern).matches(name);
}

QStringList listMatchingFiles(const QString &folder, const QString &pattern)
{
    return FolderIndex::read(folder).names(FileNamePattern(pattern));
}

QString userListPattern(const QString &prefix)
{
    return prefix + QStringLiteral("*.bmp");
}

} // namespace pellwerk
