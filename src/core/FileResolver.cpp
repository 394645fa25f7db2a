#include "FileResolver.h"

#include "PartFolders.h"

#include <QDir>
#include <QFileInfo>

namespace pellwerk {

FileResolver::FileResolver(const QStringList &folders)
{
    for (const QString &folder : folders) {
        if (!folder.isEmpty())
            m_folders << folder;
    }
}

FileResolver FileResolver::forKind(const QString &sub, const QString &programSubFolder, const QString &first)
{
    return FileResolver({first, userFolder(sub), programSubFolder});
}

QStringList FileResolver::places(const QString &written) const
{
    if (QDir::isAbsolutePath(written) || m_folders.isEmpty())
        return {QDir::cleanPath(written)};
    QStringList out;
    for (const QString &folder : m_folders)
        out << QDir::cleanPath(folder + QLatin1Char('/') + written);
    return out;
}

Result<QString> FileResolver::find(const QString &written) const
{
    const QStringList candidates = places(written);
    if (QDir::isAbsolutePath(written))
        return candidates.first();
    for (const QString &place : candidates) {
        const QFileInfo info(place);
        if (info.exists() && !info.isDir())
            return place;
        // The same name spelt otherwise counts as the lists count it; only a file whose exact
        // name is missing costs a read of its folder.
        if (const QString name = info.fileName(); !name.isEmpty()) {
            const FolderIndex folder = FolderIndex::read(info.path());
            if (const qsizetype i = folder.positionOf(name); i >= 0)
                return QDir::cleanPath(folder.pathAt(i));
        }
    }
    return makeError(ErrorKind::FileMissing, written, candidates.join(QLatin1Char('\n')));
}

QStringList FileResolver::matching(const QString &pattern) const
{
    const qsizetype slash = pattern.lastIndexOf(QLatin1Char('/'));
    const QString folderPart = pattern.left(std::max<qsizetype>(slash, 0));
    QStringList folders;
    if (QDir::isAbsolutePath(pattern)) {
        folders << (folderPart.isEmpty() ? QStringLiteral("/") : folderPart);
    } else {
        for (const QString &folder : m_folders)
            folders << (folderPart.isEmpty() ? folder : folder + QLatin1Char('/') + folderPart);
    }
    const FolderIndex index = FolderIndex::read(folders);
    QStringList files;
    for (const int i : index.matching(FileNamePattern(pattern.mid(slash + 1))))
        files << QDir::cleanPath(index.pathAt(i));
    return files;
}

QString fileIdentity(const QString &path)
{
    const QFileInfo info(path);
    if (const QString canonical = info.canonicalFilePath(); !canonical.isEmpty())
        return canonical;
    if (const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath(); !folder.isEmpty())
        return QDir::cleanPath(folder + QLatin1Char('/') + info.fileName());
    return QDir::cleanPath(info.absoluteFilePath());
}

} // namespace pellwerk
