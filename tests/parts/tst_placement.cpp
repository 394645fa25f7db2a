#include "core/FileListing.h"
#include "parts/PlacementTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellwerk;

namespace {

QStringList listsOffering(const QString &fileName)
{
    QStringList lists;
    for (const PartKind &row : partKinds()) {
        if (fileNameMatches(fileName, row.pattern))
            lists.append(row.listName);
    }
    return lists;
}

} // namespace

class PlacementTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void patternMatching_data();
    void patternMatching();
    void listsOfferingAFile_data();
    void listsOfferingAFile();
    void placesOfTheKinds_data();
    void placesOfTheKinds();
    void userListRow();
    void unknownListName();
    void listingOfAFolder_data();
    void listingOfAFolder();
    void folderWithoutFiles_data();
    void folderWithoutFiles();
    void unreadableFolder();

private:
    QTemporaryDir m_folder;
};

void PlacementTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
    const QStringList files{"face02.BMP", "Face01.bmp",  "face01.bmp", "foot01.bmp", "foot_01.bmp", "Foot_02.BMP",
                            "RightArm01.bmp", "LeftArm01.bmp", "LeftArm_01.bmp", "hair1.bmp", "HAIR2.bmp",
                            "readme.txt", ".hidden.bmp", "b.bmp", "A.bmp", "c.bmp.txt"};
    for (const QString &name : files) {
        QFile file(m_folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(m_folder.path()).mkdir("folder.bmp"));
}

void PlacementTest::patternMatching_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");

    QTest::newRow("letter case of the name") << "Face*.bmp" << "face02.BMP" << true;
    QTest::newRow("letter case of the pattern") << "foot_*.bmp" << "FOOT_01.bmp" << true;
    QTest::newRow("left arm needs the underscore") << "LeftArm_*.bmp" << "LeftArm01.bmp" << false;
    QTest::newRow("star matches nothing") << "Face*.bmp" << "Face.bmp" << true;
    QTest::newRow("extension must end the name") << "*.bmp" << "part.bmpx" << false;
    QTest::newRow("extension in the middle") << "*.bmp" << "part.bmp.txt" << false;
    QTest::newRow("question mark is one character") << "?.bmp" << "a.bmp" << true;
    QTest::newRow("question mark is not two") << "?.bmp" << "ab.bmp" << false;
    QTest::newRow("question mark is not none") << "a?.bmp" << "a.bmp" << false;
    QTest::newRow("two stars") << "a*b*c" << "aXXbYbc" << true;
    QTest::newRow("two stars, trailing rest") << "a*b*c" << "aXbYcZ" << false;
    QTest::newRow("brackets are plain") << "[ab].bmp" << "a.bmp" << false;
    QTest::newRow("brackets match themselves") << "[ab].bmp" << "[AB].bmp" << true;
    QTest::newRow("non-ASCII letter case") << "Ärmel*.bmp" << "ärmel1.BMP" << true;
    QTest::newRow("star dot star takes names without dot") << "*.*" << "README" << true;
    QTest::newRow("name dot star takes the bare name") << "part.*" << "part" << true;
    QTest::newRow("name dot star is still a prefix") << "part.*" << "parts" << false;
    QTest::newRow("many stars do not blow up") << "*a*a*a*a*a*a*a*a*b" << QString(200, u'a') << false;
    QTest::newRow("empty pattern") << "" << "a.bmp" << false;
}

void PlacementTest::patternMatching()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(fileNameMatches(name, pattern), matches);
}

void PlacementTest::listsOfferingAFile_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("lists");

    QTest::newRow("foot") << "foot_01.bmp" << QStringList{"FootFile", "UserFile"};
    QTest::newRow("foot without underscore") << "foot01.bmp" << QStringList{"UserFile"};
    QTest::newRow("right arm") << "RightArm01.bmp" << QStringList{"RightArmFile", "UserFile"};
    QTest::newRow("left arm without underscore") << "LeftArm01.bmp" << QStringList{"UserFile"};
    QTest::newRow("left arm") << "leftarm_2.BMP" << QStringList{"LeftArmFile", "UserFile"};
    QTest::newRow("tattoo") << "Tatu_rose.bmp" << QStringList{"TatuFile", "UserFile"};
    QTest::newRow("chain") << "chain3.bmp" << QStringList{"SchmuckFile", "UserFile"};
    QTest::newRow("face") << "face02.BMP" << QStringList{"FaceFile", "UserFile"};
    QTest::newRow("pants") << "pants_blue.bmp" << QStringList{"PantsFile", "UserFile"};
    QTest::newRow("shirt") << "SHIRT.bmp" << QStringList{"ShirtFile", "UserFile"};
    QTest::newRow("glasses") << "glasses.bmp" << QStringList{"GlassesFile", "UserFile"};
    QTest::newRow("beard") << "beard1.bmp" << QStringList{"BartFile", "UserFile"};
    QTest::newRow("not a bitmap") << "face.txt" << QStringList{};
}

void PlacementTest::listsOfferingAFile()
{
    QFETCH(QString, fileName);
    QFETCH(QStringList, lists);
    QCOMPARE(listsOffering(fileName), lists);
}

void PlacementTest::placesOfTheKinds_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QPoint>("place");

    // In the order the parts window lists them.
    QTest::newRow("foot") << 0 << "FootFile" << "Foot file" << QPoint(0, 0);
    QTest::newRow("right arm") << 1 << "RightArmFile" << "right arm file" << QPoint(56, 0);
    QTest::newRow("left arm") << 2 << "LeftArmFile" << "left arm file" << QPoint(95, 0);
    QTest::newRow("tattoo, on the left arm") << 3 << "TatuFile" << "Tatu" << QPoint(95, 0);
    QTest::newRow("chain") << 4 << "SchmuckFile" << "Kette, Schmuck" << QPoint(216, 139);
    QTest::newRow("face") << 5 << "FaceFile" << "face file" << QPoint(128, 0);
    QTest::newRow("pants") << 6 << "PantsFile" << "pants" << QPoint(0, 85);
    QTest::newRow("shirt") << 7 << "ShirtFile" << "shirt" << QPoint(87, 128);
    QTest::newRow("glasses") << 8 << "GlassesFile" << "Brille" << QPoint(184, 32);
    QTest::newRow("beard") << 9 << "BartFile" << "Bart" << QPoint(188, 71);
}

void PlacementTest::placesOfTheKinds()
{
    QFETCH(int, position);
    QFETCH(QString, listName);
    QFETCH(QString, toolTip);
    QFETCH(QPoint, place);

    const PartKind *row = findPartKind(listName);
    QVERIFY(row);
    QCOMPARE(row->toolTip, toolTip);
    QVERIFY(row->place.has_value());
    QCOMPARE(*row->place, place);
    QCOMPARE(&partKind(row->kind), row);
    QCOMPARE(int(row - partKinds().data()), position);
}

void PlacementTest::userListRow()
{
    const PartKind &user = partKinds().back();
    QCOMPARE(partKinds().size(), size_t(11));
    QCOMPARE(user.listName, QStringLiteral("UserFile"));
    QCOMPARE(user.pattern, QStringLiteral("*.bmp"));
    QCOMPARE(user.toolTip, QStringLiteral("Benutzer Dateien"));
    QVERIFY(!user.place.has_value());
    QCOMPARE(&partKind(PartKindId::User), &user);
}

void PlacementTest::unknownListName()
{
    QVERIFY(!findPartKind(u"File1"));
    QVERIFY(!findPartKind(u"facefile"));
}

void PlacementTest::listingOfAFolder_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("face, any letter case, sorted")
        << "Face*.bmp" << QStringList{"Face01.bmp", "face01.bmp", "face02.BMP"};
    QTest::newRow("foot") << "foot_*.bmp" << QStringList{"foot_01.bmp", "Foot_02.BMP"};
    QTest::newRow("right arm") << "RightArm*.bmp" << QStringList{"RightArm01.bmp"};
    QTest::newRow("left arm") << "LeftArm_*.bmp" << QStringList{"LeftArm_01.bmp"};
    QTest::newRow("user prefix hair") << userListPattern("hair") << QStringList{"hair1.bmp", "HAIR2.bmp"};
    QTest::newRow("user prefix HAIR") << userListPattern("HAIR") << QStringList{"hair1.bmp", "HAIR2.bmp"};
    QTest::newRow("user prefix deleted: every bitmap, no folder, no hidden file")
        << userListPattern("") << QStringList{"A.bmp",       "b.bmp",          "Face01.bmp",     "face01.bmp",
                                              "face02.BMP",  "foot01.bmp",     "foot_01.bmp",    "Foot_02.BMP",
                                              "hair1.bmp",   "HAIR2.bmp",      "LeftArm01.bmp",  "LeftArm_01.bmp",
                                              "RightArm01.bmp"};
    QTest::newRow("no match") << "beard*.bmp" << QStringList{};
    QTest::newRow("wildcard typed into the prefix") << userListPattern("?ace") << QStringList{
        "Face01.bmp", "face01.bmp", "face02.BMP"};
}

void PlacementTest::listingOfAFolder()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, names);
    QCOMPARE(listMatchingFiles(m_folder.path(), pattern), names);
    QCOMPARE(listMatchingFiles(m_folder.path() + "/", pattern), names);
}

void PlacementTest::folderWithoutFiles_data()
{
    QTest::addColumn<QString>("folder");

    QTest::newRow("no folder name") << QString();
    QTest::newRow("missing folder") << m_folder.filePath("missing/");
    QTest::newRow("a file, not a folder") << m_folder.filePath("A.bmp");
    QTest::newRow("empty folder") << m_folder.filePath("folder.bmp");
}

void PlacementTest::folderWithoutFiles()
{
    QFETCH(QString, folder);
    QVERIFY(listMatchingFiles(folder, "*.bmp").isEmpty());
    QVERIFY(listMatchingFiles(folder, "*.*").isEmpty());
}

void PlacementTest::unreadableFolder()
{
    const QString folder = m_folder.filePath("locked");
    QVERIFY(QDir(m_folder.path()).mkdir("locked"));
    QFile part(folder + "/face1.bmp");
    QVERIFY(part.open(QIODevice::WriteOnly));
    part.close();
    QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions{}));
    const bool stillReadable = !QDir(folder).entryList(QDir::Files).isEmpty();
    const QStringList names = listMatchingFiles(folder, "*.bmp");
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (stillReadable)
        QSKIP("running with rights that read any folder");
    QVERIFY(names.isEmpty());
}

QTEST_GUILESS_MAIN(PlacementTest)
#include "tst_placement.moc"
