#include "RecipePaths.h"

#include <QDir>
#include <QFileInfo>

namespace pellwerk {

namespace {

// `file` relative to `folder` when it lies beneath it; empty otherwise.
QString beneath(const QString &folder, const QString &file)
{
    const QString relative = QDir(folder).relativeFilePath(file);
    if (relative.isEmpty() || relative == QLatin1String("..") || relative.startsWith(QLatin1String("../"))
        || QDir::isAbsolutePath(relative))
        return {};
    return relative;
}

} // namespace

FileResolver RecipeFolders::resolver() const
{
    return FileResolver(QStringList{recipeFolder} + partFolders);
}

RecipeFolders recipeFoldersFor(const QString &recipeFolder, const QString &programFolder, const QString &imageFolder)
{
    const QString palettes =
        programFolder.isEmpty() ? QString() : QDir::cleanPath(programFolder + QStringLiteral("/Paletten"));
    return {recipeFolder, FileResolver::forKind(QStringLiteral("Image"), imageFolder).folders(), programFolder,
            FileResolver::forKind(QStringLiteral("Paletten"), palettes).folders()};
}

QString newSkinFile(const QString &programFolder)
{
    return QDir::cleanPath(programFolder + QStringLiteral("/SkinNEW.bmp"));
}

Result<NewSkin> findNewSkin(const QString &programFolder)
{
    const QString programs = newSkinFile(programFolder);
    const QFileInfo own(QStringLiteral("SkinNEW.bmp"));
    const bool sameFile = fileIdentity(own.absoluteFilePath()) == fileIdentity(programs);
    if (!own.exists() || own.isDir() || sameFile) {
        // Looked for in one place only, reading it tells what is wrong with it.
        if (!sameFile && !QFileInfo::exists(programs))
            return makeError(ErrorKind::FileMissing, programs, own.absoluteFilePath() + QLatin1Char('\n') + programs);
        return NewSkin{programs, {CompositionBase::Kind::New, {}}};
    }
    return NewSkin{own.absoluteFilePath(), {CompositionBase::Kind::File, own.absoluteFilePath()}};
}

Result<QString> findRecipeFile(const QString &written, const RecipeFolders &folders)
{
    return folders.resolver().find(written);
}

QString resolveRecipePath(const QString &written, const RecipeFolders &folders)
{
    const FileResolver resolver = folders.resolver();
    const Result<QString> found = resolver.find(written);
    return found ? found.value() : resolver.places(written).first();
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
    const QString identity = fileIdentity(absolute);
    for (const QString &spelling : spellings)
        if (!spelling.isEmpty() && fileIdentity(resolveRecipePath(spelling, folders)) == identity)
            return spelling;
    return absolute;
}

QStringList matchingRecipeFiles(const QString &pattern, const RecipeFolders &folders)
{
    return folders.resolver().matching(pattern);
}

} // namespace pellwerk
