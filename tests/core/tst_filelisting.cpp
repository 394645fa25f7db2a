#include "core/FileListing.h"
#include "parts/PlacementTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellwerk;

class FileListingTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        const QString files(
            "face02.BMP Face01.bmp face01.bmp foot01.bmp foot_01.bmp Foot_02.BMP RightArm01.bmp "
            "LeftArm01.bmp LeftArm_01.bmp hair1.bmp HAIR2.bmp readme.txt .hidden.bmp b.bmp A.bmp c.bmp.txt");
        for (const QString &name : files.split(u' ')) {
            QFile file(m_folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(m_folder.path()).mkdir("folder.bmp"));
    }

    void patternMatching_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        const auto row = [](const char *name, const QString &pattern, const QString &fileName, bool matches) {
            QTest::newRow(name) << pattern << fileName << matches;
        };
        row("letter case of the name", "Face*.bmp", "face02.BMP", true);
        row("letter case of the pattern", "foot_*.bmp", "FOOT_01.bmp", true);
        row("non-ASCII letter case", "Ärmel*.bmp", "ärmel1.BMP", true);
        row("star matches nothing", "Face*.bmp", "Face.bmp", true);
        row("extension must end the name", "*.bmp", "part.bmp.txt", false);
        row("question mark is one character", "?.bmp", "a.bmp", true);
        row("question mark is not two", "?.bmp", "ab.bmp", false);
        row("two stars, trailing rest", "a*b*c", "aXbYcZ", false);
        row("brackets match themselves", "[ab].bmp", "[AB].bmp", true);
        row("star dot star takes names without dot", "*.*", "README", true);
        row("name dot star is still a prefix", "part.*", "parts", false);
        row("many stars do not blow up", "*a*a*a*a*a*a*a*a*b", QString(200, u'a'), false);
        row("empty pattern", "", "a.bmp", false);
        row("foot list needs the underscore", partKind(PartKindId::Foot).pattern, "foot01.bmp", false);
        row("left arm list needs the underscore", partKind(PartKindId::LeftArm).pattern, "LeftArm01.bmp", false);
        row("right arm list takes it", partKind(PartKindId::RightArm).pattern, "RightArm_1.bmp", true);
        row("user list takes bitmaps only", partKind(PartKindId::User).pattern, "face.txt", false);
    }

    void patternMatching()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(fileNameMatches(name, pattern), matches);
    }

    void listingOfAFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("names");
        const auto row = [](const char *name, const QString &folder, const QString &pattern, const QString &names) {
            QTest::newRow(name) << folder << pattern << names.split(u' ', Qt::SkipEmptyParts);
        };
        const QString f = m_folder.path();
        row("face, any letter case, sorted", f, "Face*.bmp", "Face01.bmp face01.bmp face02.BMP");
        row("user prefix HAIR", f, userListPattern("HAIR"), "hair1.bmp HAIR2.bmp");
        row("user prefix deleted: every bitmap, no folder, no hidden file", f, userListPattern(""),
            "A.bmp b.bmp Face01.bmp face01.bmp face02.BMP foot01.bmp foot_01.bmp Foot_02.BMP hair1.bmp HAIR2.bmp "
            "LeftArm01.bmp LeftArm_01.bmp RightArm01.bmp");
        row("wildcard typed into the prefix", f, userListPattern("?ace"), "Face01.bmp face01.bmp face02.BMP");
        row("no folder name", QString(), "*.*", "");
        row("missing folder", f + "/missing", "*.bmp", "");
        row("a file, not a folder", f + "/A.bmp", "*.*", "");
        row("empty folder", f + "/folder.bmp", "*.*", "");
    }

    void listingOfAFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, pattern);
        QFETCH(QStringList, names);
        QCOMPARE(listMatchingFiles(folder, pattern), names);
        if (!folder.isEmpty())
            QCOMPARE(listMatchingFiles(folder + "/", pattern), names);
    }
};

QTEST_GUILESS_MAIN(FileListingTest)
#include "tst_filelisting.moc"
