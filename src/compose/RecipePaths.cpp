#include "RecipePaths.h"

#include "core/FileListing.h"

#include <QDir>
#include <QFileInfo>

namespace pellwerk {

namespace {

QStringList searchOrder(const RecipeFolders &folders)
{
    QStringList order;
    if (!folders.recipeFolder.isEmpty())
        order << folders.recipeFolder;
    for (const QString &folder : folders.partFolders)
        if (!folder.isEmpty())
            order << folder;
    return order;
}

// `file` relative to `folder` when it lies beneath it; empty otherwise.
QString beneath(const QString &folder, const QString &file)
{
    const QString relative = QDir(folder).relativeFilePath(file);
    if (relative.isEmpty() || relative == QLatin1String("..") || relative.startsWith(QLatin1String("../"))
        || QDir::isAbsolutePath(relative))
        return {};
    return relative;
}

bool sameFile(const QString &a, const QString &b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return canonicalA.isEmpty()
               ? QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath())
               : canonicalA == QFileInfo(b).canonicalFilePath();
}

} // namespace

QString resolveRecipePath(const QString &written, const RecipeFolders &folders)
{
    if (QDir::isAbsolutePath(written))
        return QDir::cleanPath(written);
    const QStringList order = searchOrder(folders);
    for (const QString &folder : order) {
        const QString candidate = QDir::cleanPath(folder + QLatin1Char('/') + written);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return QDir::cleanPath(order.isEmpty() ? written : order.first() + QLatin1Char('/') + written);
}

QString recipePathFor(const QString &file, const RecipeFolders &folders)
{
    const QString absolute = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    QStringList spellings;
    for (const QString &folder : folders.partFolders)
        if (!folder.isEmpty())
            spellings << beneath(folder, absolute);
    if (!folders.recipeFolder.isEmpty())
        spellings << beneath(folders.recipeFolder, absolute);
    for (const QString &spelling : spellings)
        if (!spelling.isEmpty() && sameFile(resolveRecipePath(spelling, folders), absolute))
            return spelling;
    return absolute;
}

QStringList matchingRecipeFiles(const QString &pattern, const RecipeFolders &folders)
{
    const qsizetype slash = pattern.lastIndexOf(QLatin1Char('/'));
    const QString folderPart = pattern.left(std::max<qsizetype>(slash, 0));
    const QString namePattern = pattern.mid(slash + 1);
    QStringList candidates;
    if (QDir::isAbsolutePath(pattern))
        candidates << (folderPart.isEmpty() ? QStringLiteral("/") : folderPart);
    else
        for (const QString &folder : searchOrder(folders))
            candidates << (folderPart.isEmpty() ? folder : folder + QLatin1Char('/') + folderPart);
    for (const QString &folder : candidates) {
        QStringList names = listMatchingFiles(folder, namePattern);
        if (names.isEmpty())
            continue;
        for (QString &name : names)
            name = QDir::cleanPath(folder + QLatin1Char('/') + name);
        return names;
    }
    return {};
}

} // namespace pellwerk
