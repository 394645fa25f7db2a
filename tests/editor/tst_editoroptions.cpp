// The editor's command line, as a desktop's file manager and a user at a terminal give it.

#include "editor/EditorOptions.h"
#include "compose/CommandLineError.h"

#include <QTest>

using namespace pellwerk;

using Mode = EditorOptions::Mode;

class EditorOptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("mode");      // a Mode, or -1 for a refusal
        QTest::addColumn<QString>("named"); // the file read, or the argument the refusal names
        const auto row = [](const char *name, QStringList args, int mode, const char *named) {
            QTest::newRow(name) << args << mode << QString::fromUtf8(named);
        };
        const int Edit = int(Mode::Edit), Help = int(Mode::Help), Version = int(Mode::Version), Refused = -1;
        row("nothing", {}, Edit, "");
        row("a file", {"/home/a/Mein Skin.bmp"}, Edit, "/home/a/Mein Skin.bmp");
        row("a file after --", {"--", "-x.bmp"}, Edit, "-x.bmp");
        row("a lone dash is a file", {"-"}, Edit, "-");
        row("--help after a file", {"a.bmp", "--help"}, Help, "");
        row("help wins over errors and version", {"--nonsense", "a", "b", "--version", "-h"}, Help, "");
        row("version wins over errors", {"-x", "--version"}, Version, "");
        row("unknown option", {"a.bmp", "--neu", "--c"}, Refused, "--neu");
        row("short letters together", {"-hv"}, Refused, "-hv");
        row("a flag with a value", {"--version=2"}, Version, "");
        row("two files", {"a.bmp", "--", "-b"}, Refused, "-b");
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, mode);
        QFETCH(QString, named);
        const CommandLineResult<EditorOptions> parsed = parseEditorOptions(arguments);
        if (mode < 0) {
            QVERIFY(!parsed.ok());
            const QString text = CommandLineText::describe(parsed.error());
            QVERIFY2(text.contains("„" + named + "“") && !text.contains("Rezept"), qPrintable(text));
            return;
        }
        QVERIFY2(parsed.ok(), parsed.ok() ? "" : qPrintable(CommandLineText::describe(parsed.error())));
        QCOMPARE(int(parsed->mode), mode);
        QCOMPARE(parsed->file.value_or(QString()), named);
        QCOMPARE(parsed->file.has_value(), !named.isEmpty());
    }
};

QTEST_MAIN(EditorOptionsTest)
#include "tst_editoroptions.moc"
