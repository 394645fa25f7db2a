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

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(m_dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
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
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("text");

        const QString none;

        QTest::newRow("own line after substring line")
            << QByteArray("save#Save file\r\nfile#File\r\n") << "file" << true << "file#File"
            << "File";
        QTest::newRow("substring line after own line wins")
            << QByteArray("file#File\r\nsave#Save file\r\n") << "file" << true << "save#Save file"
            << "Save file";
        QTest::newRow("key inside a longer word")
            << QByteArray("end#Ende\r\nquit#beenden\r\n") << "end" << true << "quit#beenden"
            << "beenden";
        QTest::newRow("comment mark in text hides the line")
            << QByteArray("file#Datei ##\r\n") << "file" << false << none << none;
        QTest::newRow("later comment does not override")
            << QByteArray("file#Datei\r\nfile#Akte ##\r\n") << "file" << true << "file#Datei"
            << "Datei";
        QTest::newRow("single marks apart are no comment")
            << QByteArray("file#a # b\r\n") << "file" << true << "file#a # b"
            << "a # b";
        QTest::newRow("case-insensitive, last wins")
            << QByteArray("file#Datei\r\nFILE#Akte\r\n") << "file" << true << "FILE#Akte"
            << "Akte";
        QTest::newRow("key in other case") << QByteArray("file#Datei\r\n") << "FiLe" << true << "file#Datei"
                                           << "Datei";
        QTest::newRow("only the first mark separates")
            << QByteArray("setup#Setup#1\r\n") << "setup" << true << "setup#Setup#1"
            << "Setup#1";
        QTest::newRow("spaces around the text are kept")
            << QByteArray("about# Info \r\n") << "about" << true << "about# Info "
            << " Info ";
        QTest::newRow("name line before language line")
            << QByteArray("LANGUAGE=deutsch\r\nlanguage#Sprache\r\n") << "language" << true << "language#Sprache"
            << "Sprache";
        QTest::newRow("name line after language line gives the whole name line")
            << QByteArray("language#Sprache\r\nLANGUAGE=deutsch\r\n") << "language" << true << "LANGUAGE=deutsch"
            << "LANGUAGE=deutsch";
        QTest::newRow("name line found by its prefix")
            << QByteArray("## LANGUAGE=x\r\nLANGUAGE=english\r\nlanguage#Language\r\n") << "LANGUAGE=" << true
            << "LANGUAGE=english"
            << "LANGUAGE=english";
        QTest::newRow("LF-only file is one line") << QByteArray("file#Datei\nsave#speichern\nend#beenden\n") << "end"
                                                  << true << "file#Datei\nsave#speichern\nend#beenden\n"
                                                  << "Datei\nsave#speichern\nend#beenden\n";
        QTest::newRow("LF-only file, other key, same text")
            << QByteArray("file#Datei\nsave#speichern\nend#beenden\n") << "save" << true
            << "file#Datei\nsave#speichern\nend#beenden\n"
            << "Datei\nsave#speichern\nend#beenden\n";
        QTest::newRow("LF-only file, absent key")
            << QByteArray("file#Datei\nsave#speichern\n") << "new" << false << none << none;
        QTest::newRow("LF-only file with a comment anywhere")
            << QByteArray("## Kommentar\nfile#Datei\nsave#speichern\n") << "save" << false << none << none;
        QTest::newRow("lone CR does not end a line")
            << QByteArray("file#A\rsave#B\r\n") << "save" << true << "file#A\rsave#B"
            << "A\rsave#B";
        QTest::newRow("empty file") << QByteArray() << "file" << false << none << none;
        QTest::newRow("comment-only file")
            << QByteArray("## file#Datei\r\n## LANGUAGE=deutsch\r\n") << "file" << false << none << none;
        QTest::newRow("trailing CR LF is not part of the line")
            << QByteArray("file#Datei\r\n") << "file" << true << "file#Datei"
            << "Datei";
        QTest::newRow("no trailing CR LF") << QByteArray("file#Datei") << "file" << true << "file#Datei"
                                           << "Datei";
        QTest::newRow("matching line without mark gives the whole line")
            << QByteArray("Velmora dir ist hier\r\n") << "velmora dir" << true << "Velmora dir ist hier"
            << "Velmora dir ist hier";
        QTest::newRow("absent key") << QByteArray("file#Datei\r\nsave#speichern\r\n") << "open" << false << none
                                    << none;
        QTest::newRow("Windows-1252 umlaut") << QByteArray("about#\374ber\r\n") << "about" << true
                                             << QString::fromUtf8("about#über") << QString::fromUtf8("über");
        QTest::newRow("Windows-1252 euro sign") << QByteArray("price#\200 5\r\n") << "price" << true
                                                << QString::fromUtf8("price#€ 5") << QString::fromUtf8("€ 5");
        QTest::newRow("byte-order mark is ordinary text") << QByteArray("\357\273\277file#Datei\r\n") << "file" << true
                                                          << QString::fromUtf8("ï»¿file#Datei") << "Datei";
    }

    void lookup()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, key);
        QFETCH(bool, found);
        QFETCH(QString, line);
        QFETCH(QString, text);

        writeFile(QStringLiteral("test.zlf"), bytes);

        m_state.LanguageLine = QStringLiteral("left over from before");
        QCOMPARE(FindLanguageLine(m_state, key, QStringLiteral("test.zlf")), found);
        QCOMPARE(m_state.LanguageLine, line);

        m_state.LanguageLine = QStringLiteral("left over from before");
        QCOMPARE(LanguageText(m_state, key), text);
        QCOMPARE(m_state.LanguageLine, line);
    }

    void unreadableFile_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("missing file") << "fehlt.zlf";
        QTest::newRow("folder instead of file") << "ordner.zlf";
    }

    void unreadableFile()
    {
        QFETCH(QString, fileName);
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("ordner.zlf")));
        m_state.LanguageFile = fileName;
        m_state.LanguageLine = QStringLiteral("left over from before");

        QVERIFY(!FindLanguageLine(m_state, QStringLiteral("file"), fileName));
        QVERIFY(m_state.LanguageLine.isEmpty());
        QCOMPARE(LanguageText(m_state, QStringLiteral("file")), QString());
    }

    void missingProgramFolder()
    {
        m_state.ProgramFolder = m_dir.filePath(QStringLiteral("gibt-es-nicht"));
        QVERIFY(!FindLanguageLine(m_state, QStringLiteral("file"), QStringLiteral("test.zlf")));
        QCOMPARE(LanguageText(m_state, QStringLiteral("file")), QString());
    }

    // Every byte is one character, including those the code page leaves unassigned.
    void everyHighByteIsOneCharacter()
    {
        QByteArray bytes("k#");
        for (int b = 0x80; b <= 0xFF; ++b)
            bytes.append(char(b));
        writeFile(QStringLiteral("test.zlf"), bytes);

        const QString text = LanguageText(m_state, QStringLiteral("k"));
        QCOMPARE(text.size(), 128);
        QCOMPARE(text.at(0x80 - 0x80), QChar(0x20AC)); // euro sign
        QCOMPARE(text.at(0x8A - 0x80), QChar(0x0160)); // S with caron
        QCOMPARE(text.at(0x9F - 0x80), QChar(0x0178)); // Y with diaeresis
        QCOMPARE(text.at(0xA0 - 0x80), QChar(0x00A0));
        QCOMPARE(text.at(0xDF - 0x80), QChar(0x00DF)); // sharp s
        QCOMPARE(text.at(0xFF - 0x80), QChar(0x00FF));
    }

    // LanguageText reads the active file, FindLanguageLine the one it is given.
    void activeFileIsUsed()
    {
        writeFile(QStringLiteral("a.zlf"), "file#Datei\r\n");
        writeFile(QStringLiteral("b.zlf"), "file#File\r\n");

        m_state.LanguageFile = QStringLiteral("b.zlf");
        QCOMPARE(LanguageText(m_state, QStringLiteral("file")), QStringLiteral("File"));
        QVERIFY(FindLanguageLine(m_state, QStringLiteral("file"), QStringLiteral("a.zlf")));
        QCOMPARE(m_state.LanguageLine, QStringLiteral("file#Datei"));
        QCOMPARE(m_state.LanguageFile, QStringLiteral("b.zlf"));
    }

    void fileIsReadAfreshOnEveryLookup()
    {
        writeFile(QStringLiteral("test.zlf"), "file#Datei\r\n");
        QCOMPARE(LanguageText(m_state, QStringLiteral("file")), QStringLiteral("Datei"));
        writeFile(QStringLiteral("test.zlf"), "file#Akte\r\n");
        QCOMPARE(LanguageText(m_state, QStringLiteral("file")), QStringLiteral("Akte"));
        QVERIFY(QFile::remove(m_dir.filePath(QStringLiteral("test.zlf"))));
        QCOMPARE(LanguageText(m_state, QStringLiteral("file")), QString());
    }
};

QTEST_GUILESS_MAIN(tst_LanguageLookup)
#include "tst_languagelookup.moc"
