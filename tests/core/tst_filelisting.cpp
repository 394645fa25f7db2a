#include "TestFiles.h"
#include "core/FileListing.h"
#include "core/FileResolver.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <thread>

using namespace pellwerk;
using testsupport::makeFiles;

namespace {

// The folder's time set back an hour, as if it had been left alone that long.
void settle(const QString &folder)
{
    const std::filesystem::path path(folder.toStdU16String());
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::hours(1));
}

} // namespace

class FileListingTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

private slots:
    void initTestCase()
    {
        QVERIFY(makeFiles(m_folder.path(), "face02.BMP Face01.bmp face01.bmp foot01.bmp foot_01.bmp Foot_02.BMP "
                                           "RightArm01.bmp LeftArm01.bmp LeftArm_01.bmp hair1.bmp HAIR2.bmp readme.txt "
                                           ".hidden.bmp b.bmp A.bmp c.bmp.txt"));
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
        row("prefix and suffix do not share letters", "ab*ba", "aba", false);
        row("extension must end the name", "*.bmp", "part.bmp.txt", false);
        row("question mark is one character", "?.bmp", "a.bmp", true);
        row("two stars, trailing rest", "a*b*c", "aXbYcZ", false);
        row("brackets match themselves", "[ab].bmp", "[AB].bmp", true);
        row("star dot star takes names without dot", "*.*", "README", true);
        row("name dot star is still a prefix", "part.*", "parts", false);
        row("question mark is one code point", "?.bmp", QString::fromUtf8("\xF0\x9F\x98\x80.bmp"), true);
        row("many stars do not blow up", "*a*a*a*a*a*a*a*a*b", QString(200, u'a'), false);
        row("empty pattern", "", "a.bmp", false);
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
        row("a NUL cuts no folder name short", f + QChar(0) + "/folder.bmp", "*.*", "");
        const QString sorting = f + "/sorting";
        const QString names = QString::fromUtf8("Z.bmp \xEE\x80\x80.bmp \xC3\xA9.bmp \xF0\x9F\x98\x80.bmp E.bmp");
        QVERIFY(makeFiles(sorting, names));
        row("sorted as the text compares without letter case", sorting, "*.bmp",
            QString::fromUtf8("E.bmp Z.bmp \xC3\xA9.bmp \xF0\x9F\x98\x80.bmp \xEE\x80\x80.bmp"));
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

    // Where files are found: a recipe's folder (r), the user's own (u), the program's (p). On names
    // equal without regard to letter case the earlier folder's files are taken; the lists and a
    // pattern give the same merged list, and a name is found where the list would load it.
    void resolverOrderAndMerge_data()
    {
        QTest::addColumn<QStringList>("files"); // of r, u and p; "-": the folder is missing
        QTest::addColumn<QString>("listed");    // "*.bmp", each name with the folder it comes from
        QTest::addColumn<QString>("found");     // written=folder/name, or written=- when missing
        const auto row = [](const char *name, const char *r, const char *u, const char *p, const char *listed,
                            const char *found) {
            QTest::newRow(name) << QStringList{r, u, p} << listed << found;
        };
        row("name in both: the user's file", "-", "Face1.bmp", "Face1.bmp shirt1.bmp", "u/Face1.bmp p/shirt1.bmp",
            "Face1.bmp=u/Face1.bmp shirt1.bmp=p/shirt1.bmp e.bmp=-");
        row("letter case differs", "-", "FACE1.BMP Shirt1.bmp", "face1.bmp Face1.bmp shirt1.bmp",
            "u/FACE1.BMP u/Shirt1.bmp", "face1.bmp=u/FACE1.BMP shirt1.bmp=u/Shirt1.bmp");
        row("recipe folder over both", "fACE1.bmp c.bmp", "FACE1.BMP a.bmp", "Face1.bmp B.bmp",
            "u/a.bmp p/B.bmp r/c.bmp r/fACE1.bmp", "Face1.bmp=r/fACE1.bmp b.bmp=p/B.bmp");
        row("own face joins the program's, exact spelling first", "", "FaceMine.bmp A.bmp a.bmp", "Face1.bmp",
            "u/A.bmp u/a.bmp p/Face1.bmp u/FaceMine.bmp", "a.bmp=u/a.bmp A.BMP=u/A.bmp");
    }

    void resolverOrderAndMerge()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, listed);
        QFETCH(QString, found);
        QTemporaryDir dir;
        const QStringList folders{dir.path() + "/r", dir.path() + "/u", dir.path() + "/p"};
        for (int i = 0; i < 3; ++i)
            QVERIFY(files[i] == "-" || makeFiles(folders[i], files[i]));
        const FileResolver resolver(folders);
        const auto tagged = [&](const QString &path) { return path.mid(dir.path().size() + 1); };
        QStringList fromPattern, fromList;
        const FolderIndex index = resolver.listing();
        for (const QString &name : index.names(FileNamePattern("*.bmp")))
            fromList << tagged(index.pathOf(name));
        for (const QString &path : resolver.matching("*.bmp"))
            fromPattern << tagged(path);
        QCOMPARE(fromList.join(u' '), listed);
        QCOMPARE(fromPattern, fromList);
        for (const QString &pair : found.split(u' ')) {
            const QString written = pair.section(u'=', 0, 0);
            const Result<QString> file = resolver.find(written);
            QCOMPARE(file ? tagged(file.value()) : QString("-"), pair.section(u'=', 1));
            // A missing file names every place it was looked for.
            QVERIFY(file || file.error().detail == folders.join("/" + written + "\n") + "/" + written);
        }
    }

    void laterFilesAppearWhenReadAgain()
    {
        QTemporaryDir dir;
        const QString program = dir.path() + "/Image/", user = dir.path() + "/own/";
        const FileNamePattern bitmaps("*.bmp");
        QVERIFY(makeFiles(program, "Face1.bmp"));
        settle(program);
        const FolderIndex index = FolderIndex::read(QStringList{user, program});
        QVERIFY(index.isCurrent());

        QVERIFY(makeFiles(program, "Face2.bmp"));
        QCOMPARE(index.names(bitmaps), QStringList{"Face1.bmp"});
        QVERIFY(!index.isCurrent());
        settle(program);
        const FolderIndex again = index.reread();
        QCOMPARE(again.names(bitmaps), (QStringList{"Face1.bmp", "Face2.bmp"}));

        // The user folder made later counts as a change too; its file is then taken.
        QVERIFY(again.isCurrent());
        QVERIFY(makeFiles(user, "face2.BMP"));
        QVERIFY(!again.isCurrent());
        QCOMPARE(again.reread().names(bitmaps), (QStringList{"Face1.bmp", "face2.BMP"}));
    }

    void namesReadAheadCountOnlyForTheirFoldersUnchanged()
    {
        QTemporaryDir dir;
        const QString one = dir.path() + "/one/", other = dir.path() + "/other/";
        const FileNamePattern bitmaps("*.bmp");
        QVERIFY(makeFiles(one, "a.bmp"));
        QVERIFY(makeFiles(other, "b.bmp"));
        settle(one);

        // Another folder's read is not taken, nor a read of the same folder in another order.
        FolderIndex::readAhead({one});
        QCOMPARE(FolderIndex::read(QStringList{other}).names(bitmaps), QStringList{"b.bmp"});
        QCOMPARE(FolderIndex::read(QStringList{other, one}).names(bitmaps), (QStringList{"a.bmp", "b.bmp"}));

        // A file added after the read ahead is seen. The pause gives the other thread time to
        // finish its read first; should it not have, it sees the file itself.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        QVERIFY(makeFiles(one, "c.bmp"));
        QCOMPARE(FolderIndex::read(QStringList{one}).names(bitmaps), (QStringList{"a.bmp", "c.bmp"}));
    }
};

QTEST_GUILESS_MAIN(FileListingTest)
#include "tst_filelisting.moc"
