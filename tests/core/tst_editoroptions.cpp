// The editor's command line, as a desktop's file manager and a user at a terminal give it.

#include "core/EditorOptions.h"
#include "core/ErrorText.h"

#include <QTest>

using namespace pellwerk;

using Mode = EditorOptions::Mode;
Q_DECLARE_METATYPE(std::optional<QString>)

class EditorOptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void accepted_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<std::optional<QString>>("file");
        const std::optional<QString> none;
        QTest::newRow("nothing") << QStringList{} << Mode::Edit << none;
        QTest::newRow("a file") << QStringList{"/home/a/Mein Skin.bmp"} << Mode::Edit
                                << std::optional<QString>("/home/a/Mein Skin.bmp");
        QTest::newRow("a file after --") << QStringList{"--", "-x.bmp"} << Mode::Edit
                                         << std::optional<QString>("-x.bmp");
        QTest::newRow("-- twice") << QStringList{"--", "--"} << Mode::Edit << std::optional<QString>("--");
        QTest::newRow("a lone dash is a file") << QStringList{"-"} << Mode::Edit << std::optional<QString>("-");
        QTest::newRow("an empty file name") << QStringList{""} << Mode::Edit << std::optional<QString>("");
        QTest::newRow("-h") << QStringList{"-h"} << Mode::Help << none;
        QTest::newRow("--help after a file") << QStringList{"a.bmp", "--help"} << Mode::Help << none;
        QTest::newRow("help wins over errors") << QStringList{"--nonsense", "a", "b", "-help"} << Mode::Help << none;
        QTest::newRow("help wins over version") << QStringList{"--version", "--help"} << Mode::Help << none;
        QTest::newRow("--version") << QStringList{"--version"} << Mode::Version << none;
        QTest::newRow("version wins over errors") << QStringList{"-x", "--version"} << Mode::Version << none;
    }
    void accepted()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Mode, mode);
        QFETCH(std::optional<QString>, file);
        const Result<EditorOptions> parsed = parseEditorOptions(arguments);
        QVERIFY2(parsed.ok(), parsed.ok() ? "" : qPrintable(ErrorText::describe(parsed.error())));
        QCOMPARE(parsed->mode, mode);
        QCOMPARE(parsed->file, file);
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<ErrorKind>("kind");
        QTest::addColumn<QString>("named"); // the argument the message must name
        QTest::newRow("unknown long") << QStringList{"--neu"} << ErrorKind::ArgumentUnknown << "--neu";
        QTest::newRow("unknown short") << QStringList{"-x"} << ErrorKind::ArgumentUnknown << "-x";
        QTest::newRow("short letters together") << QStringList{"-hv"} << ErrorKind::ArgumentUnknown << "-hv";
        QTest::newRow("the first of two") << QStringList{"a.bmp", "--b", "--c"} << ErrorKind::ArgumentUnknown << "--b";
        QTest::newRow("three dashes") << QStringList{"---help"} << ErrorKind::ArgumentUnknown << "---help";
        QTest::newRow("no name") << QStringList{"--=x"} << ErrorKind::ArgumentUnknown << "--=x";
        QTest::newRow("two files") << QStringList{"a.bmp", "b.bmp"} << ErrorKind::ArgumentSurplus << "b.bmp";
        QTest::newRow("two files around --") << QStringList{"a.bmp", "--", "-b"} << ErrorKind::ArgumentSurplus << "-b";
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(ErrorKind, kind);
        QFETCH(QString, named);
        const Result<EditorOptions> parsed = parseEditorOptions(arguments);
        QVERIFY(!parsed.ok());
        QCOMPARE(parsed.error().kind, kind);
        const QString text = ErrorText::describe(parsed.error());
        QVERIFY2(text.contains("„" + named + "“"), qPrintable(text));
        QVERIFY2(!text.contains("Rezept"), qPrintable(text));
    }

    void helpNamesEveryOption()
    {
        const QString help = editorHelpText();
        for (const char *word : {"--help", "-h", "--version", "DATEI"})
            QVERIFY2(help.contains(word), word);
    }
};

QTEST_MAIN(EditorOptionsTest)
#include "tst_editoroptions.moc"
