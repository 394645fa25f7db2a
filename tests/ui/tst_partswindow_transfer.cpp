// The editing road through the parts window: picking parts in the lists pastes them at their
// places (or waits for "copy" in manual mode), user files go where the coordinate boxes say,
// and bad files or bad numbers never reach the skin.

#include "TestProgram.h"

#include "ui/App.h"
#include "ui/FileListBox.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"
#include "ui/TeileFrm.h"
#include "ui_TeileFrm.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <array>

using namespace pellwerk;
using namespace testsupport;

namespace {

// A part whose pixels are all distinct and never exactly black, except a black cross through it.
QImage partWithBlackCross(int w, int h, int seed)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 5 + seed) % 250 + 1, (y * 3 + seed) % 250 + 1, (seed * 11) % 250 + 1));
    for (int i = 0; i < w; ++i)
        img.setPixel(i, h / 2, qRgb(0, 0, 0));
    for (int j = 0; j < h; ++j)
        img.setPixel(w / 2, j, qRgb(0, 0, 0));
    return img;
}

// A program whose parts window lists `files` (written with their pictures) and is shown.
struct PartsProgram
{
    TestProgram p;
    TeileFrm &parts;
    QImage before;
    PartsProgram(std::initializer_list<std::pair<QString, QImage>> files, bool show = true) : parts(p.app().teileFrm())
    {
        for (const auto &[name, image] : files)
            p.addPart(name, image);
        parts.pointListsAtImageFolder();
        if (show)
            parts.show();
        before = p.canvas();
    }
    QPoint last() const { return {parts.LastTargetX, parts.LastTargetY}; }
};

QStringList names(const FileListBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->name(i);
    return out;
}

} // namespace

class PartsTransferTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void automaticPasteAtKindPlace_data();
    void automaticPasteAtKindPlace();
    void manualModeWaitsForCopy();
    void laterPartWinsWhereOpaque();
    void arrowKeysPasteEveryPartPassed();
    void listsFilterByPattern();
    void userPrefixFiltersUserList();
    void userPartFolderJoinsTheLists();
    void userFileGoesToTypedPlace_data();
    void userFileGoesToTypedPlace();
    void canvasPressChoosesUserPlace();
    void nonNumericCoordinatesPasteNothing();
    void pastedPartsAreGoneAfterNew();
};

void PartsTransferTest::automaticPasteAtKindPlace_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QPoint>("place");
    const auto row = [](const char *name, const char *list, const char *file, QPoint place) {
        QTest::newRow(name) << QString(list) << QString(file) << place;
    };
    row("face", "FaceFile", "Face01.bmp", {128, 0});
    row("foot", "FootFile", "foot_01.bmp", {0, 0});
    row("right arm", "RightArmFile", "RightArm01.bmp", {56, 0});
    row("left arm", "LeftArmFile", "LeftArm_01.bmp", {95, 0});
    row("tattoo", "TatuFile", "tatu1.bmp", {95, 0});
    row("chain", "SchmuckFile", "chain1.bmp", {216, 139});
    row("pants", "PantsFile", "Pants1.bmp", {0, 85});
    row("shirt", "ShirtFile", "shirt1.bmp", {87, 128});
    row("glasses", "GlassesFile", "glass1.bmp", {184, 32});
    row("beard", "BartFile", "beard1.bmp", {188, 71});
}

void PartsTransferTest::automaticPasteAtKindPlace()
{
    QFETCH(QString, list);
    QFETCH(QString, file);
    QFETCH(QPoint, place);
    const QImage part = partWithBlackCross(60, 50, 7);
    PartsProgram w({{file, part}});
    clickName(w.parts.window()->findChild<FileListBox *>(list), file);
    QCOMPARE(w.parts.TeilPic().model().picture().image, part);
    QCOMPARE(w.p.canvas(), pasted(w.before, part, place.x(), place.y()));
    QCOMPARE(w.last(), place);
    QVERIFY(w.p.messages.messages.isEmpty());
}

void PartsTransferTest::manualModeWaitsForCopy()
{
    const QImage shirt = partWithBlackCross(100, 90, 3);
    PartsProgram w({{"shirt1.bmp", shirt}});
    TestProgram &p = w.p;
    Ui::TeileFrm &u = w.parts.ui();
    const QImage before = w.before;

    // Automatic mode: "copy" is off and a click on the preview does nothing.
    QVERIFY(!u.TranspBtn->isEnabled());
    QTest::mouseClick(u.TeilPic, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(p.canvas(), before);

    QTest::mouseClick(u.TranspCheck, Qt::LeftButton);
    QVERIFY(!u.TranspCheck->isChecked());
    QVERIFY(u.TranspBtn->isEnabled());
    clickName(u.ShirtFile, "shirt1.bmp");
    QCOMPARE(w.parts.TeilPic().model().picture().image, shirt);
    QCOMPARE(p.canvas(), before);
    QCOMPARE(w.last(), QPoint(87, 128));

    QTest::mouseClick(u.TranspBtn, Qt::LeftButton);
    QCOMPARE(p.canvas(), pasted(before, shirt, 87, 128));
    // Pasting again at the same place, by "copy" or by a click on the preview, changes nothing more.
    p.app().form1().SkinPicture().model().drawingImage().fill(qRgb(5, 5, 5));
    QTest::mouseClick(u.TeilPic, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(p.canvas(), pasted(filled(256, 256, qRgb(5, 5, 5)), shirt, 87, 128));

    // Back to automatic: nothing is pasted by the switch itself.
    const QImage now = p.canvas();
    QTest::mouseClick(u.TranspCheck, Qt::LeftButton);
    QVERIFY(!u.TranspBtn->isEnabled());
    QCOMPARE(p.canvas(), now);
}

void PartsTransferTest::laterPartWinsWhereOpaque()
{
    const QImage arm = partWithBlackCross(33, 85, 1);
    const QImage tattoo = partWithBlackCross(33, 85, 90);
    PartsProgram w({{"LeftArm_01.bmp", arm}, {"tatu1.bmp", tattoo}}, false);
    clickName(w.parts.ui().LeftArmFile, "LeftArm_01.bmp");
    clickName(w.parts.ui().TatuFile, "tatu1.bmp");
    // Where the tattoo is black, the arm below stays visible.
    QCOMPARE(w.p.canvas(), pasted(pasted(w.before, arm, 95, 0), tattoo, 95, 0));
}

void PartsTransferTest::arrowKeysPasteEveryPartPassed()
{
    const QImage a = filled(20, 20, qRgb(200, 0, 0)), b = filled(30, 10, qRgb(0, 200, 0)),
                 c = filled(10, 30, qRgb(0, 0, 200));
    PartsProgram w({{"Face1.bmp", a}, {"Face2.bmp", b}, {"Face3.bmp", c}});
    TestProgram &p = w.p;
    TeileFrm &parts = w.parts;
    FileListBox *list = parts.ui().FaceFile;
    const QImage before = w.before;
    // Reaching the list with the keyboard picks nothing; each arrow key picks and pastes.
    parts.window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(parts.window()));
    parts.ui().RightArmFile->setFocus();
    QTest::keyClick(parts.window(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), list);
    QCOMPARE(p.canvas(), before);
    QVERIFY(list->fileName().isEmpty());
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->fileName(), QStringLiteral("Face1.bmp"));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->fileName(), QStringLiteral("Face3.bmp"));
    QCOMPARE(p.canvas(), pasted(pasted(pasted(before, a, 128, 0), b, 128, 0), c, 128, 0));
}

void PartsTransferTest::listsFilterByPattern()
{
    TestProgram p;
    for (const char *name : {"foot01.bmp", "foot_01.bmp", "FOOT_02.BMP", "RightArm01.bmp", "LeftArm01.bmp",
                             "LeftArm_01.bmp", "face02.BMP", "Face01.bmp", "notes.txt"})
        p.addPart(name, filled(4, 4, qRgb(1, 1, 1)));
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    Ui::TeileFrm &u = parts.ui();
    QCOMPARE(names(u.FootFile), (QStringList{"foot_01.bmp", "FOOT_02.BMP"}));
    QCOMPARE(names(u.RightArmFile), QStringList{"RightArm01.bmp"});
    QCOMPARE(names(u.LeftArmFile), QStringList{"LeftArm_01.bmp"});
    QCOMPARE(names(u.FaceFile), (QStringList{"Face01.bmp", "face02.BMP"}));
    // The user list starts on every bitmap although the prefix box says "user".
    QCOMPARE(u.UserFile->count(), 8);
}

void PartsTransferTest::userPrefixFiltersUserList()
{
    TestProgram p;
    for (const char *name : {"hair1.bmp", "HAIR2.bmp", "userScar.bmp", "chair.bmp", "hair.txt"})
        p.addPart(name, filled(4, 4, qRgb(1, 1, 1)));
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    parts.show();
    QLineEdit *prefix = parts.ui().UserPrefix;
    prefix->selectAll();
    QTest::keyClicks(prefix, "hair");
    QCOMPARE(names(parts.ui().UserFile), (QStringList{"hair1.bmp", "HAIR2.bmp"}));
    prefix->selectAll();
    QTest::keyClick(prefix, Qt::Key_Delete);
    QCOMPARE(names(parts.ui().UserFile), (QStringList{"chair.bmp", "hair1.bmp", "HAIR2.bmp", "userScar.bmp"}));
}

// The user's own part folder joins every list; where a name is in both folders, whatever its
// letter case, the user's file is listed and pasted.
void PartsTransferTest::userPartFolderJoinsTheLists()
{
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    const QImage own = partWithBlackCross(30, 20, 5);
    QVERIFY(QDir().mkpath(dataHome.path() + "/pellwerk/Image"));
    QVERIFY(writeBmp(dataHome.path() + "/pellwerk/Image/face1.BMP", own));
    QVERIFY(writeBmp(dataHome.path() + "/pellwerk/Image/Face2.bmp", own));
    PartsProgram w({{"Face1.bmp", partWithBlackCross(30, 20, 70)}, {"Face3.bmp", own}});
    qunsetenv("XDG_DATA_HOME");
    QCOMPARE(names(w.parts.ui().FaceFile), (QStringList{"face1.BMP", "Face2.bmp", "Face3.bmp"}));
    clickName(w.parts.ui().FaceFile, "face1.BMP");
    QCOMPARE(w.p.canvas(), pasted(w.before, own, 128, 0));
}

void PartsTransferTest::userFileGoesToTypedPlace_data()
{
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("inside") << "40"
                            << "60" << QPoint(40, 60);
    QTest::newRow("left of the skin") << "-20"
                                      << "10" << QPoint(-20, 10);
    QTest::newRow("clamped to 255") << "900"
                                    << "255" << QPoint(255, 255);
    QTest::newRow("halves to even") << "2.5"
                                    << "3.5" << QPoint(2, 4);
}

void PartsTransferTest::userFileGoesToTypedPlace()
{
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QPoint, place);
    const QImage part = partWithBlackCross(40, 30, 44);
    PartsProgram w({{"userBadge.bmp", part}});
    w.parts.EigBerX()->setText(x);
    w.parts.EigBerY()->setText(y);
    clickName(w.parts.ui().UserFile, "userBadge.bmp");
    QCOMPARE(w.p.canvas(), pasted(w.before, part, place.x(), place.y()));
    QCOMPARE(w.last(), place);
    QCOMPARE(w.parts.EigBerX()->text(), x == "900" ? "255" : x); // the box shows its clamp
    QCOMPARE(w.p.app().form1().status(), QStringLiteral("User File  userBadge.bmp "));

    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.parts.ui().UserFile->viewport(), &move);
    QCOMPARE(w.p.app().form1().status(), QStringLiteral("User File-List"));
}

void PartsTransferTest::canvasPressChoosesUserPlace()
{
    const QImage part = partWithBlackCross(40, 30, 12);
    PartsProgram w({{"userScar.bmp", part}}, false);
    PictureBox &canvas = w.p.app().form1().SkinPicture();
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, canvas.contentsRect().topLeft() + QPoint(230, 7));
    clickName(w.parts.ui().UserFile, "userScar.bmp");
    QCOMPARE(w.p.canvas(), pasted(w.before, part, 230, 7));
}

void PartsTransferTest::nonNumericCoordinatesPasteNothing()
{
    const QImage part = partWithBlackCross(40, 30, 12);
    PartsProgram w({{"userScar.bmp", part}, {"Face1.bmp", partWithBlackCross(20, 20, 1)}}, false);
    clickName(w.parts.ui().FaceFile, "Face1.bmp");
    const QImage before = w.p.canvas();
    // Each pair of boxes, then the status line's complaint; a number beyond 32 bits is no place either.
    const QList<std::array<QString, 3>> rows{{"zehn", "", "X - und Y - Koordinate"},
                                             {"zehn", "3", "X - Koordinate ist keine Zahl"},
                                             {"-99999999999", "3", "X - Koordinate ist keine Zahl"}};
    for (const auto &[x, y, status] : rows) {
        w.parts.EigBerX()->setText(x);
        w.parts.EigBerY()->setText(y);
        w.parts.ui().UserFile->setCurrentRow(-1);
        clickName(w.parts.ui().UserFile, "userScar.bmp");
        QCOMPARE(w.parts.TeilPic().model().picture().image, part);
        QCOMPARE(w.p.canvas(), before);
        QCOMPARE(w.last(), QPoint(128, 0));
        QVERIFY2(w.p.app().form1().status().contains(status), qPrintable(x));
    }
    QVERIFY(w.p.messages.messages.isEmpty());
}

// Saving what was pasted is the save-fault and soak tests' business; here "neu" drops the pasted
// parts and pasting goes on on the new skin.
void PartsTransferTest::pastedPartsAreGoneAfterNew()
{
    const QImage face = partWithBlackCross(128, 128, 9);
    PartsProgram w({{"Face1.bmp", face}}, false);
    clickName(w.parts.ui().FaceFile, "Face1.bmp");
    QCOMPARE(w.p.canvas(), pasted(w.before, face, 128, 0));
    // The face stays selected: a click on it, Enter or Space pick it again and paste it again.
    FileListBox *list = w.parts.ui().FaceFile;
    const QImage fresh = filled(256, 256, qRgb(10, 20, 30));
    for (const int key : {0, int(Qt::Key_Return), int(Qt::Key_Space)}) {
        w.p.app().form1().dneu_Click();
        QCOMPARE(w.p.canvas(), fresh);
        if (key)
            QTest::keyClick(list, Qt::Key(key));
        else
            clickName(list, "Face1.bmp");
        QCOMPARE(w.p.canvas(), pasted(fresh, face, 128, 0));
    }
}

QTEST_MAIN(PartsTransferTest)
#include "tst_partswindow_transfer.moc"
