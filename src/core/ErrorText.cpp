#include "ErrorText.h"

#include <QDir>

namespace pellwerk::ErrorText {

namespace {
// A system reason in brackets behind a sentence, where the system gave one.
QString withReason(const QString &sentence, const QString &reason)
{
    return reason.isEmpty() ? sentence + QLatin1Char('.') : QStringLiteral("%1 (%2).").arg(sentence, reason);
}
} // namespace

QString describe(const Error &error)
{
    switch (error.kind) {
    case ErrorKind::FileMissing:
        return QStringLiteral("Die Datei ist nicht vorhanden.");
    case ErrorKind::IsFolder:
        return QStringLiteral("Das ist ein Ordner, keine Datei.");
    case ErrorKind::NotRegularFile:
    case ErrorKind::TargetNotRegular:
        return QStringLiteral("Das ist keine gewöhnliche Datei.");
    case ErrorKind::FileTooLarge:
        return QStringLiteral("Die Datei ist zu groß.");
    case ErrorKind::CannotRead:
        return QStringLiteral("Die Datei kann nicht gelesen werden.");
    case ErrorKind::NotBitmap:
        return QStringLiteral("Die Datei ist keine Bitmap-Datei.");
    case ErrorKind::BitmapIncomplete:
        return QStringLiteral("Die Bitmap-Datei ist unvollständig.");
    case ErrorKind::BitmapDamaged:
        return QStringLiteral("Die Bitmap-Datei ist fehlerhaft.");
    case ErrorKind::ImageTooLarge:
        return QStringLiteral("Das Bild ist zu groß.");
    case ErrorKind::BitmapUnsupported:
        return QStringLiteral("Dieses Bitmap-Format wird nicht unterstützt.");
    case ErrorKind::TargetIsFolder:
        return QStringLiteral("Unter diesem Namen gibt es schon einen Ordner.");
    case ErrorKind::TargetReadOnly:
        return QStringLiteral("Die Datei ist schreibgeschützt.");
    case ErrorKind::FolderMissing:
        return QStringLiteral("Der Ordner ist nicht vorhanden.");
    case ErrorKind::FolderReadOnly:
        return QStringLiteral("Der Ordner ist schreibgeschützt.");
    case ErrorKind::CannotCreate:
        return withReason(QStringLiteral("Die Datei kann nicht angelegt werden"), error.detail);
    case ErrorKind::WriteIncomplete:
        return withReason(QStringLiteral("Die Datei konnte nicht vollständig geschrieben werden"), error.detail);
    case ErrorKind::CommitFailed:
        return withReason(QStringLiteral("Die Datei konnte nicht gespeichert werden"), error.detail);
    case ErrorKind::NoPictureInfo:
        return QStringLiteral("Bildinformationen konnten nicht gelesen werden");
    case ErrorKind::NoPictureData:
        return QStringLiteral("Bilddaten konnten nicht gelesen werden");
    case ErrorKind::NoPictureCopy:
        return QStringLiteral("Bildkopie konnte nicht erstellt werden");
    case ErrorKind::RecipeSyntax:
    case ErrorKind::RecipeVersion:
    case ErrorKind::RecipeUnknownField:
    case ErrorKind::RecipeMissingField:
    case ErrorKind::RecipeBadValue:
        break;
    }
    return error.detail;
}

QString openSkinFailed(const QString &path, const Error &error)
{
    return QStringLiteral("Der Skin „%1“ kann nicht geöffnet werden.\n%2")
        .arg(QDir::toNativeSeparators(path), describe(error));
}

QString saveSkinFailed(const QString &path, const Error &error)
{
    return QStringLiteral("Der Skin konnte nicht als „%1“ gespeichert werden.\n%2")
        .arg(QDir::toNativeSeparators(path), describe(error));
}

QString loadPartFailed(const QString &name, const Error &error)
{
    return QStringLiteral("Das Teil „%1“ kann nicht geladen werden.\n%2").arg(name, describe(error));
}

QString imageFolderMissing(const QString &folder)
{
    return QStringLiteral("Der Ordner mit den Teile-Bildern wurde nicht gefunden:\n%1\nDie Teile-Listen bleiben leer.")
        .arg(QDir::toNativeSeparators(folder));
}

QString saveChangesQuestion()
{
    return QStringLiteral("Der Skin wurde geändert. Änderungen speichern?");
}

} // namespace pellwerk::ErrorText
