#include "CommandLineError.h"

#include "core/ErrorText.h"
#include "core/PartKinds.h"

#include <QDir>

#include <cstring>

namespace pellwerk::CommandLineText {

namespace {
QString quoted(const QString &text)
{
    return QStringLiteral("„%1“").arg(text);
}

QString quotedFile(const QString &path)
{
    return quoted(QDir::toNativeSeparators(path));
}

// What an option of the composer takes, by the option as the user typed it.
QString expectedArgument(const QString &option)
{
    struct Expected
    {
        const char *shortName; // nullptr for an option without one
        const char *longName;
        const char *words;
    };
    static constexpr Expected Table[] = {
        {"-j", "--jobs", "eine ganze Zahl ab 1"},
        {"-o", "--output", "ein Dateiname"},
        {nullptr, "--near", "eine ganze Zahl von 0 bis 255"},
    };
    if (option == QLatin1String("--vary"))
        return QStringLiteral("ART=MUSTER oder ART.ramp=MUSTER mit einer der Arten ") + partKindKeyList();
    for (const Expected &row : Table)
        if (option == QLatin1String(row.longName) || (row.shortName && option == QLatin1String(row.shortName)))
            return QString::fromUtf8(row.words);
    return QStringLiteral("ein anderer Wert");
}
} // namespace

QString describe(const CommandLineError &error)
{
    switch (error.kind) {
    case CommandLineErrorKind::ArgumentUnknown:
        return QStringLiteral("Unbekannte Option %1.").arg(quoted(error.detail));
    case CommandLineErrorKind::ArgumentMissingValue:
        return QStringLiteral("Der Option %1 fehlt ihr Wert.").arg(quoted(error.field));
    case CommandLineErrorKind::ArgumentBadValue:
        return QStringLiteral("%1 ist kein gültiger Wert für %2; erwartet wird %3.")
            .arg(quoted(error.detail), quoted(error.field), expectedArgument(error.field));
    case CommandLineErrorKind::ArgumentMissing:
        return error.detail == QLatin1String("output") ? QStringLiteral("Es fehlt die Ausgabedatei (-o DATEI).")
                                                       : QStringLiteral("Es fehlt das Rezept.");
    case CommandLineErrorKind::ArgumentSurplus:
        return error.field == QLatin1String("skin")
                   ? QStringLiteral("Es geht nur ein Skin auf einmal; %1 ist zu viel.").arg(quoted(error.detail))
                   : QStringLiteral("Es geht nur ein Rezept auf einmal; %1 ist zu viel.").arg(quoted(error.detail));
    case CommandLineErrorKind::ArgumentConflict:
        return error.detail.isEmpty()
                   ? QStringLiteral("%1 gilt nur zusammen mit „--lint“.").arg(quoted(error.field))
                   : QStringLiteral("%1 und %2 schließen einander aus.").arg(quoted(error.field), quoted(error.detail));
    case CommandLineErrorKind::VaryNoStep:
        if (error.field.endsWith(QLatin1String(RampSuffix)))
            return QStringLiteral("Das Rezept hat keinen Schritt der Art %1 mit einem Farbrampen-Tausch, es gibt "
                                  "nichts zu variieren.")
                .arg(quoted(error.field.chopped(int(std::strlen(RampSuffix)))));
        return QStringLiteral("Das Rezept hat keinen Schritt der Art %1, es gibt nichts zu variieren.")
            .arg(quoted(error.field));
    case CommandLineErrorKind::VaryRepeated:
        return QStringLiteral("Die Art %1 wird mehr als einmal variiert.").arg(quoted(error.field));
    case CommandLineErrorKind::VaryNoMatch:
        return QStringLiteral("Für die Art %1 passt keine Datei zum Muster %2.")
            .arg(quoted(error.field), quoted(error.detail));
    case CommandLineErrorKind::VaryTooMany:
        return QStringLiteral("Das ergäbe %1 Skins; mehr als 100000 auf einmal werden nicht gemacht.")
            .arg(error.detail);
    case CommandLineErrorKind::OutputPlaceholderMissing:
        return QStringLiteral("Der Ausgabename braucht den Platzhalter „{%1}“, weil die Art „%1“ variiert wird.")
            .arg(error.field);
    case CommandLineErrorKind::OutputPlaceholderNotVaried:
        return QStringLiteral("Der Platzhalter „{%1}“ im Ausgabenamen gehört zu keiner variierten Art.")
            .arg(error.field);
    case CommandLineErrorKind::OutputCollision:
        return QStringLiteral("Zwei Skins bekämen denselben Namen %1 (%2); es wurde nichts geschrieben.")
            .arg(quotedFile(error.file), error.detail);
    case CommandLineErrorKind::OutputFolderMissing:
        return ErrorText::describe(makeError(ErrorKind::FolderMissing));
    case CommandLineErrorKind::OutputIsInput:
        return QStringLiteral("Der Skin %1 würde %2 überschreiben, eine Datei, die das Rezept liest; "
                              "es wurde nichts geschrieben.")
            .arg(quotedFile(error.file), quotedFile(error.detail));
    }
    return error.detail;
}

QString planFailed(const CommandLineError &error)
{
    const bool named =
        error.kind == CommandLineErrorKind::OutputCollision || error.kind == CommandLineErrorKind::OutputIsInput;
    if (error.file.isEmpty() || named)
        return describe(error);
    return QStringLiteral("%1: %2").arg(quotedFile(error.file), describe(error));
}

} // namespace pellwerk::CommandLineText
