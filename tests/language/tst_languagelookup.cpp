#include "TestFiles.h"
#include "language/LanguageLookup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellwerk;

class tst_LanguageLookup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    AppState m_state;

    bool write(const QString &name, const QByteArray &bytes)
    {
        return testsupport::writeFile(m_dir.filePath(name), bytes);
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_state = AppState{};
        m_state.ProgramFolder = m_dir.path();
        m_state.LanguageFile = QStringLiteral("test.zlf");
    }

    void lookup_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("line"); // null: no line matches
        const auto row = [](const char *name, const QByteArray &bytes, const char *key, const QString &line) {
            QTest::newRow(name) << bytes << QString(key) << line;
        };
        row("own line after substring line", "save#Save file\r\nfile#File\r\n", "file", "file#File");
        row("substring line after own line wins", "file#File\r\nsave#Save file\r\n", "file", "save#Save file");
        row("comment mark in the text hides the line", "file#Datei ##\r\n", "file", {});
        row("later comment does not override", "file#Datei\r\nfile#Akte ##\r\n", "file", "file#Datei");
        row("any letter case, last wins", "file#Datei\r\nFILE#Akte\r\n", "FiLe", "FILE#Akte");
        row("only the first mark separates", "setup#Setup#1\r\n", "setup", "setup#Setup#1");
        row("spaces around the text are kept", "about# Info \r\n", "about", "about# Info ");
        row("name line after language line", "language#Sprache\r\nLANGUAGE=deutsch\r\n", "language",
            "LANGUAGE=deutsch");
        row("LF-only file is one line", "file#Datei\nsave#speichern\nend#beenden\n", "end",
            "file#Datei\nsave#speichern\nend#beenden\n");
        row("LF-only file with a comment anywhere", "## Kommentar\nfile#Datei\n", "file", {});
        row("lone CR does not end a line", "file#A\rsave#B\r\n", "save", "file#A\rsave#B");
        row("empty file", "", "file", {});
        row("line without mark gives the whole line", "Velmora dir ist hier\r\n", "velmora dir",
            "Velmora dir ist hier");
        row("absent key", "file#Datei\r\nsave#speichern\r\n", "open", {});
        row("Windows-1252 umlaut", "about#\374ber\r\n", "about", QString::fromUtf8("about#über"));
        row("Windows-1252 euro sign", "price#\200 5\r\n", "price", QString::fromUtf8("price#€ 5"));
        row("each byte one character, unassigned ones too", "k#\201\212\235\337\377", "k",
            QString::fromUtf8("k#\u0081Š\u009Dßÿ"));
    }

    void lookup()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, key);
        QFETCH(QString, line);
        QVERIFY(write("test.zlf", bytes));

        m_state.LanguageLine = QStringLiteral("left over from before");
        QCOMPARE(FindLanguageLine(m_state, key, QStringLiteral("test.zlf")), !line.isNull());
        QCOMPARE(m_state.LanguageLine, line);
        // The text is everything behind the first mark, or the whole line without one.
        m_state.LanguageLine = QStringLiteral("left over from before");
        QCOMPARE(LanguageText(m_state, key), line.mid(line.indexOf(u'#') + 1));
        QCOMPARE(m_state.LanguageLine, line);
    }

    // LanguageText reads the active file afresh each time, FindLanguageLine the one it is given;
    // a file that cannot be read has no lines.
    void whichFileIsRead()
    {
        QVERIFY(write("a.zlf", "file#Datei\r\n") && write("test.zlf", "file#File\r\n"));
        QCOMPARE(LanguageText(m_state, QStringLiteral("file")), QStringLiteral("File"));
        QVERIFY(FindLanguageLine(m_state, QStringLiteral("file"), QStringLiteral("a.zlf")));
        QCOMPARE(m_state.LanguageLine, QStringLiteral("file#Datei"));
        QCOMPARE(m_state.LanguageFile, QStringLiteral("test.zlf"));

        QVERIFY(write("test.zlf", "file#Akte\r\n"));
        QCOMPARE(LanguageText(m_state, QStringLiteral("file")), QStringLiteral("Akte"));
        QVERIFY(QFile::remove(m_dir.filePath(QStringLiteral("test.zlf"))));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("ordner.zlf")));
        for (const char *name : {"test.zlf", "ordner.zlf", "gibt-es-nicht/test.zlf"}) {
            m_state.LanguageFile = name;
            m_state.LanguageLine = QStringLiteral("left over from before");
            QCOMPARE(LanguageText(m_state, QStringLiteral("file")), QString());
            QVERIFY(m_state.LanguageLine.isEmpty());
            QVERIFY(!FindLanguageLine(m_state, QStringLiteral("file"), name));
        }
    }
};

QTEST_GUILESS_MAIN(tst_LanguageLookup)
#include "tst_languagelookup.moc"
