#include "EditorOptions.h"

#include <QCommandLineParser>

namespace pellwerk {

namespace {

// The options the editor knows; the help text below names the same.
struct EditorParser
{
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{QStringLiteral("version")};

    EditorParser()
    {
        // "-help" is --help, not -h -e -l -p: every argument is one option, so a wrong one can be named.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(help);
        parser.addOption(version);
        parser.addPositionalArgument(QStringLiteral("DATEI"), {});
    }

    bool isKnown(const QString &name) const { return help.names().contains(name) || version.names().contains(name); }
};

// The argument the parser stumbled over: an option it does not know, or one of its flags given a
// value. The parser only says that something was wrong; the user is told which argument.
QString firstWrongOption(const EditorParser &p, const QStringList &arguments)
{
    for (const QString &arg : arguments) {
        if (arg == QLatin1String("--"))
            break;
        if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-"))
            continue;
        const QString option = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        if (option.contains(QLatin1Char('=')) || !p.isKnown(option))
            return arg;
    }
    return {};
}

} // namespace

CommandLineResult<EditorOptions> parseEditorOptions(const QStringList &arguments)
{
    EditorParser p;
    const bool parsed = p.parser.parse(QStringList{QStringLiteral("pellwerk")} + arguments);
    EditorOptions o;
    if (p.parser.isSet(p.help)) {
        o.mode = EditorOptions::Mode::Help;
        return o;
    }
    if (p.parser.isSet(p.version)) {
        o.mode = EditorOptions::Mode::Version;
        return o;
    }
    if (!parsed)
        return CommandLineError{CommandLineErrorKind::ArgumentUnknown, {}, firstWrongOption(p, arguments), {}};
    const QStringList files = p.parser.positionalArguments();
    if (files.size() > 1)
        return CommandLineError{CommandLineErrorKind::ArgumentSurplus, QStringLiteral("skin"), files[1], {}};
    if (!files.isEmpty())
        o.file = files.first();
    return o;
}

QString editorHelpText()
{
    // Written out rather than Qt's helpText(): that one is English around the German lines and
    // names the program only once an application object exists.
    return QStringLiteral("Aufruf: pellwerk [DATEI]\n"
                          "  oder: pellwerk --help | --version\n"
                          "Pellwerk, der Editor für Velmora-Skins. Ohne DATEI beginnt er mit dem Standard-Skin.\n"
                          "\n"
                          "  DATEI          ein Skin (Bitmap), der geöffnet wird, sobald das Fenster da ist\n"
                          "  -h, --help     diese Hilfe zeigen und beenden\n"
                          "      --version  die Version zeigen und beenden\n"
                          "  --             was folgt, ist eine DATEI, auch wenn sie mit - beginnt\n");
}

} // namespace pellwerk
