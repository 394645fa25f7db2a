#include "ErrorText.h"

#include "PartKinds.h"

#include <QDir>
#include <QStringList>

namespace pellwerk::ErrorText {

namespace {
// A system reason in brackets behind a sentence, where the system gave one.
QString withReason(const QString &sentence, const QString &reason)
{
    return reason.isEmpty() ? sentence + QLatin1Char('.') : QStringLiteral("%1 (%2).").arg(sentence, reason);
}

QString quoted(const QString &text)
{
    return QStringLiteral("„%1“").arg(text);
}

// The places a file was looked for, given one a line: each quoted, in the platform's notation.
QString searchedPlaces(const QString &lines)
{
    QStringList places;
    for (const QString &place : lines.split(QLatin1Char('\n')))
        places << quoted(QDir::toNativeSeparators(place));
    return places.join(QStringLiteral(", "));
}

QString expectedValue(const QString &rule)
{
    struct Expected
    {
        const char *rule;
        const char *words;
    };
    static constexpr Expected Table[] = {
        {ValueRule::Object, "ein JSON-Objekt {…}"},
        {ValueRule::List, "eine Liste […]"},
        {ValueRule::Path, "ein nicht leerer Text ohne Steuerzeichen"},
        {ValueRule::Colour, "[r, g, b] mit ganzen Zahlen von 0 bis 255 oder „schwarz“, „weiss“, „blau“"},
        {ValueRule::Tint, "[r, g, b] mit ganzen Zahlen von 0 bis 255"},
        {ValueRule::Int32, "eine ganze Zahl von -2147483648 bis 2147483647"},
        {ValueRule::Boolean, "true oder false"},
        {ValueRule::Ramp, "eine Liste aus zwei Paletten-Dateien [\"von.gpl\", \"nach.gpl\"]"},
        {ValueRule::Version, "eine ganze Zahl, die Version des Formats"},
    };
    if (rule == QLatin1String(ValueRule::Kind))
        return QStringLiteral("eine der Arten ") + partKindKeyList();
    for (const Expected &row : Table)
        if (rule == QLatin1String(row.rule))
            return QString::fromUtf8(row.words);
    return QStringLiteral("ein anderer Wert");
}

// What makes a text that is not JSON not JSON.
QString jsonFault(const QString &fault)
{
    struct Fault
    {
        const char *fault;
        const char *words;
    };
    static constexpr Fault Table[] = {
        {JsonFault::End, "der Text endet mitten im JSON"},
        {JsonFault::Number, "ungültige Zahl (Zahlen werden wie 12, -3, 0.5 oder 1e3 geschrieben)"},
        {JsonFault::Escape, "unbekannte Escape-Folge nach „\\“ (Ordner werden mit „/“ getrennt)"},
        {JsonFault::Unicode, "unvollständige \\u-Folge oder einzelnes Surrogat"},
        {JsonFault::Utf8, "kein gültiges UTF-8"},
        {JsonFault::Control, "Steuerzeichen in einem Text (als \\u-Folge zu schreiben)"},
    };
    for (const Fault &row : Table)
        if (fault == QLatin1String(row.fault))
            return QString::fromUtf8(row.words);
    return QStringLiteral("unerwartetes Zeichen");
}

// Where the error lies. In a recipe, the line and column are the recipe's: "Zeile 4, Spalte 7,
// Schritt 2, Feld „part“ (Image/Face09.bmp)". In a palette, the line is the palette file's:
// "rot.gpl, Zeile 7" for the file alone, "Schritt 1, Feld „ramp“ (rot.gpl, Zeile 7)" in a step.
QString location(const Error &error)
{
    const bool lineOfFile = error.kind >= ErrorKind::PaletteHeader && error.kind <= ErrorKind::PaletteTooManyColours;
    QStringList parts;
    if (error.line > 0 && !lineOfFile)
        parts << QStringLiteral("Zeile %1, Spalte %2").arg(error.line).arg(error.column);
    if (error.step > 0)
        parts << QStringLiteral("Schritt %1").arg(error.step);
    if (!error.field.isEmpty())
        parts << QStringLiteral("Feld ") + quoted(error.field);
    QStringList inFile;
    if (!error.file.isEmpty())
        inFile << QDir::toNativeSeparators(error.file);
    if (error.line > 0 && lineOfFile)
        inFile << QStringLiteral("Zeile %1").arg(error.line);
    if (parts.isEmpty())
        return inFile.join(QStringLiteral(", "));
    QString where = parts.join(QStringLiteral(", "));
    if (!inFile.isEmpty())
        where += QStringLiteral(" (%1)").arg(inFile.join(QStringLiteral(", ")));
    return where;
}

QString sentence(const Error &error)
{
    switch (error.kind) {
    case ErrorKind::RecipeSyntax:
        return error.detail.isEmpty()
                   ? QStringLiteral("Das Rezept ist kein JSON-Objekt.")
                   : QStringLiteral("Das Rezept ist kein gültiges JSON: %1.").arg(jsonFault(error.detail));
    case ErrorKind::RecipeVersion:
        return QStringLiteral("Rezept-Version %1 wird nicht unterstützt; gelesen werden die Versionen 1 und 2.")
            .arg(error.detail);
    case ErrorKind::RecipeDuplicateField:
        return QStringLiteral("Das Feld steht zweimal im selben Objekt.");
    case ErrorKind::RecipeFieldTooNew:
        return QStringLiteral("Dieses Feld gibt es erst ab Rezept-Version 2; das Rezept nennt Version 1.");
    case ErrorKind::RecipeUnknownField:
        return error.detail.isEmpty()
                   ? QStringLiteral("Dieses Feld gibt es nicht.")
                   : QStringLiteral("Dieses Feld gibt es nur bei der Art „%1“; %2 hat einen festen Platz.")
                         .arg(partKindKey(PartKindId::User), quoted(error.detail));
    case ErrorKind::RecipeMissingField:
        return QStringLiteral("Das Feld fehlt.");
    case ErrorKind::RecipeBadValue:
        return QStringLiteral("Erwartet wird %1.").arg(expectedValue(error.detail));
    case ErrorKind::PaletteHeader:
        return QStringLiteral("Das ist keine GIMP-Palette; die erste Zeile muss „GIMP Palette“ lauten.");
    case ErrorKind::PaletteMissingValue:
        return QStringLiteral("Der Farbe fehlen Werte; erwartet werden drei Zahlen für Rot, Grün und Blau.");
    case ErrorKind::PaletteBadValue:
        return QStringLiteral("%1 ist kein Farbwert; erwartet wird eine ganze Zahl von 0 bis 255.")
            .arg(quoted(error.detail));
    case ErrorKind::PaletteBadColumns:
        return QStringLiteral("%1 ist keine Spaltenzahl; erwartet wird eine ganze Zahl von 0 bis 256.")
            .arg(quoted(error.detail));
    case ErrorKind::PaletteTooManyColours:
        return QStringLiteral("Die Palette hat mehr als 65536 Farben."); // PaletteLimits::MaxColours
    case ErrorKind::RampSizesDiffer:
        return QStringLiteral("Die beiden Paletten haben nicht gleich viele Farben (%1 und %2).")
            .arg(error.detail.section(QLatin1Char('/'), 0, 0), error.detail.section(QLatin1Char('/'), 1, 1));
    case ErrorKind::RecipeTooManySteps:
        return QStringLiteral("Das Rezept hat %1 Schritte; mehr als 100000 werden nicht verarbeitet.")
            .arg(error.detail);
    case ErrorKind::ArchiveDamaged:
        return withReason(QStringLiteral("Die Datei ist kein lesbares ZIP-Archiv und damit keine OpenRaster-Datei"),
                          error.detail);
    case ErrorKind::ArchiveTooLarge:
        return QStringLiteral("Die OpenRaster-Datei ist zu groß (mehr als %1, ausgepackt gezählt).").arg(error.detail);
    case ErrorKind::ArchiveTooManyEntries:
        return QStringLiteral("Die OpenRaster-Datei hat zu viele Einträge (%1).").arg(error.detail);
    case ErrorKind::ArchiveBadEntryName:
        return QStringLiteral("Die OpenRaster-Datei enthält den unzulässigen Namen %1 (ein absoluter Pfad, "
                              "„..“ oder „\\“).")
            .arg(quoted(error.detail));
    case ErrorKind::ArchiveDuplicateEntry:
        return QStringLiteral("Die OpenRaster-Datei enthält %1 mehr als einmal.").arg(quoted(error.detail));
    case ErrorKind::ArchiveEntryMissing:
        return QStringLiteral("In der OpenRaster-Datei fehlt %1.").arg(quoted(error.detail));
    case ErrorKind::ArchiveEntryTooLarge:
        return QStringLiteral("%1 in der OpenRaster-Datei ist ausgepackt zu groß.").arg(quoted(error.detail));
    case ErrorKind::ArchiveEntryDamaged:
        return QStringLiteral("%1 in der OpenRaster-Datei ist beschädigt.").arg(quoted(error.detail));
    case ErrorKind::ArchiveNotOpenRaster:
        return QStringLiteral("Das ZIP-Archiv ist keine OpenRaster-Datei (der Eintrag „mimetype“ mit "
                              "„image/openraster“ fehlt).");
    case ErrorKind::StackDoctype:
        return QStringLiteral("Die Ebenenliste „stack.xml“ enthält eine Dokumenttyp-Deklaration (DOCTYPE); "
                              "so eine Datei wird nicht gelesen.");
    case ErrorKind::StackSyntax:
        return QStringLiteral("Die Ebenenliste „stack.xml“ ist kein gültiges XML (Fehler in Zeile %1).")
            .arg(error.detail);
    case ErrorKind::StackInvalid:
        return error.detail == QLatin1String("src")
                   ? QStringLiteral("In der Ebenenliste „stack.xml“ fehlt einer Ebene ihre Bilddatei („src“).")
                   : QStringLiteral("Die Ebenenliste „stack.xml“ beginnt nicht mit <image>.");
    case ErrorKind::StackImageSize:
        return QStringLiteral("Die Bildgröße %1 in der Ebenenliste „stack.xml“ ist unzulässig.")
            .arg(quoted(error.detail));
    case ErrorKind::LayerNotPng:
        return QStringLiteral("Die Ebene %1 der OpenRaster-Datei ist kein PNG-Bild.").arg(quoted(error.detail));
    case ErrorKind::MergedImageSize:
        return QStringLiteral("Das Bild der OpenRaster-Datei ist %1 Pixel groß; ein Skin hat 256 × 256 Pixel.")
            .arg(error.detail);
    case ErrorKind::ArchiveNotProject:
        return QStringLiteral("Die OpenRaster-Datei stammt aus einem anderen Programm und enthält kein "
                              "Pellwerk-Rezept.");
    case ErrorKind::ArchiveIsProject:
        return QStringLiteral("Die OpenRaster-Datei ist ein Pellwerk-Projekt; als Grundlage dient nur das Bild "
                              "einer OpenRaster-Datei aus einem anderen Programm.");
    default:
        return {};
    }
}
} // namespace

QString describe(const Error &error)
{
    if ((error.step > 0 || !error.field.isEmpty() || error.line > 0)) {
        Error plain = error;
        plain.step = 0;
        plain.field.clear();
        plain.line = 0;
        return location(error) + QStringLiteral(": ") + describe(plain);
    }
    if (const QString words = sentence(error); !words.isEmpty())
        return words;
    switch (error.kind) {
    case ErrorKind::FileMissing:
        return error.detail.isEmpty() ? QStringLiteral("Die Datei ist nicht vorhanden.")
                                      : QStringLiteral("Die Datei ist nicht vorhanden; gesucht wurde: ")
                                            + searchedPlaces(error.detail) + QLatin1Char('.');
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
    // Worded by sentence() above.
    case ErrorKind::RecipeSyntax:
    case ErrorKind::RecipeVersion:
    case ErrorKind::RecipeUnknownField:
    case ErrorKind::RecipeMissingField:
    case ErrorKind::RecipeBadValue:
    case ErrorKind::RecipeDuplicateField:
    case ErrorKind::RecipeFieldTooNew:
    case ErrorKind::PaletteHeader:
    case ErrorKind::PaletteMissingValue:
    case ErrorKind::PaletteBadValue:
    case ErrorKind::PaletteBadColumns:
    case ErrorKind::PaletteTooManyColours:
    case ErrorKind::RampSizesDiffer:
    case ErrorKind::RecipeTooManySteps:
    case ErrorKind::ArchiveDamaged:
    case ErrorKind::ArchiveTooLarge:
    case ErrorKind::ArchiveTooManyEntries:
    case ErrorKind::ArchiveBadEntryName:
    case ErrorKind::ArchiveDuplicateEntry:
    case ErrorKind::ArchiveEntryMissing:
    case ErrorKind::ArchiveEntryTooLarge:
    case ErrorKind::ArchiveEntryDamaged:
    case ErrorKind::ArchiveNotOpenRaster:
    case ErrorKind::StackDoctype:
    case ErrorKind::StackSyntax:
    case ErrorKind::StackInvalid:
    case ErrorKind::StackImageSize:
    case ErrorKind::LayerNotPng:
    case ErrorKind::MergedImageSize:
    case ErrorKind::ArchiveNotProject:
    case ErrorKind::ArchiveIsProject:
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

QString exportFailed(const QString &path, const Error &error)
{
    return QStringLiteral("Der Skin konnte nicht als „%1“ exportiert werden.\n%2")
        .arg(QDir::toNativeSeparators(path), describe(error));
}

QString loadPartFailed(const QString &name, const Error &error)
{
    return QStringLiteral("Das Teil „%1“ kann nicht geladen werden.\n%2").arg(name, describe(error));
}

QString recipeFailed(const QString &path, const Error &error)
{
    return QStringLiteral("Rezept %1: %2").arg(quoted(QDir::toNativeSeparators(path)), describe(error));
}

QString skinFailed(const QString &path, const Error &error)
{
    return QStringLiteral("Skin %1 nicht geschrieben: %2").arg(quoted(QDir::toNativeSeparators(path)), describe(error));
}

QString userPartFolderNotCreated(const QString &folder)
{
    return QStringLiteral("Der Ordner für eigene Teile kann nicht angelegt werden:\n%1")
        .arg(QDir::toNativeSeparators(folder));
}

QString userPartFolderNotShown(const QString &folder)
{
    return QStringLiteral("Der Ordner für eigene Teile kann nicht im Dateimanager geöffnet werden. "
                          "Eigene Teile gehören in diesen Ordner:\n%1")
        .arg(QDir::toNativeSeparators(folder));
}

QString imageFolderMissing(const QString &folder)
{
    return QStringLiteral("Der Ordner mit den Teile-Bildern wurde nicht gefunden:\n%1\nDie Teile-Listen bleiben leer.")
        .arg(QDir::toNativeSeparators(folder));
}

QString onlyFirstDropped(const QString &opened, int dropped)
{
    return QStringLiteral("%1 Dateien wurden abgelegt; nur die erste ist geöffnet:\n%2")
        .arg(QString::number(dropped), QDir::toNativeSeparators(opened));
}

QString nearKeyWarning(const QString &recipe, const QStringList &stepLines)
{
    return QStringLiteral("Das Rezept %1 ist gespeichert. In diesen Schritten liegen Pixel nahe an der "
                          "Transparenzfarbe; sie werden mitgeklebt und können einen Saum bilden:\n%2")
        .arg(quoted(QDir::toNativeSeparators(recipe)), stepLines.join(QLatin1Char('\n')));
}

QString unreadablePartsWarning(const QString &recipe, const QStringList &stepErrors)
{
    return QStringLiteral("Das Rezept %1 ist gespeichert, aber diese Dateien können jetzt nicht gelesen werden; "
                          "so lässt es sich nicht nachbauen:\n%2")
        .arg(quoted(QDir::toNativeSeparators(recipe)), stepErrors.join(QLatin1Char('\n')));
}

QString nearKeyStep(int step, const QString &what, qint64 near, qint64 fringe, QPoint first)
{
    // One arg() for all: a chained one would take a "%1" in the file name for its own place.
    return QStringLiteral("Schritt %1 (%2): %3 nahe an der Transparenzfarbe, davon %4 Rand, zuerst bei %5,%6")
        .arg(QString::number(step), what, QString::number(near), QString::number(fringe), QString::number(first.x()),
             QString::number(first.y()));
}

QString saveChangesQuestion()
{
    return QStringLiteral("Der Skin wurde geändert. Änderungen speichern?");
}

QString restoreQuestion()
{
    return QStringLiteral("Pellwerk wurde nicht ordnungsgemäß beendet. Ungesicherte Arbeit wiederherstellen?");
}

} // namespace pellwerk::ErrorText
