// The editing road through the parts window: picking parts in the lists pastes them at their
// places (or waits for "copy" in manual mode), user files go where the coordinate boxes say,
// and bad files or bad numbers never reach the skin.

#include "TestSupport.h"

#include "core/BitmapDecoder.h"
#include "ui/App.h"
#include "ui/FileListBox.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"
#include "ui/TeileFrm.h"
#include "ui_TeileFrm.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

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

// What the skin must look like after pasting `part` at (x, y) onto `skin` with black left out.
QImage pasted(QImage skin, const QImage &part, int x, int y)
{
    for (int j = 0; j < qMin(part.height(), 191); ++j)
        for (int i = 0; i < qMin(part.width(), 148); ++i) {
            const QRgb s = part.pixel(i, j);
            if ((s & 0xFFFFFF) != 0 && QRect(0, 0, 256, 256).contains(x + i, y + j))
                skin.setPixel(x + i, y + j, s);
        }
    return skin;
}

void clickName(FileListBox *list, const QString &name)
{
    const auto items = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(name));
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
}

QStringList names(const FileListBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
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
    void coordinateClamp_data();
    void coordinateClamp();
    void userFileGoesToTypedPlace_data();
    void userFileGoesToTypedPlace();
    void canvasPressChoosesUserPlace();
    void nonNumericCoordinatesPasteNothing();
    void unreadablePartChangesNothing_data();
    void unreadablePartChangesNothing();
    void pastedPartsAreSavedAndGoneAfterNew();
};

void PartsTransferTest::automaticPasteAtKindPlace_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("face") << "FaceFile" << "Face01.bmp" << QPoint(128, 0);
    QTest::newRow("foot") << "FootFile" << "foot_01.bmp" << QPoint(0, 0);
    QTest::newRow("right arm") << "RightArmFile" << "RightArm01.bmp" << QPoint(56, 0);
    QTest::newRow("left arm") << "LeftArmFile" << "LeftArm_01.bmp" << QPoint(95, 0);
    QTest::newRow("tattoo") << "TatuFile" << "tatu1.bmp" << QPoint(95, 0);
    QTest::newRow("chain") << "SchmuckFile" << "chain1.bmp" << QPoint(216, 139);
    QTest::newRow("pants") << "PantsFile" << "Pants1.bmp" << QPoint(0, 85);
    QTest::newRow("shirt") << "ShirtFile" << "shirt1.bmp" << QPoint(87, 128);
    QTest::newRow("glasses") << "GlassesFile" << "glass1.bmp" << QPoint(184, 32);
    QTest::newRow("beard") << "BartFile" << "beard1.bmp" << QPoint(188, 71);
}

void PartsTransferTest::automaticPasteAtKindPlace()
{
    QFETCH(QString, list);
    QFETCH(QString, file);
    QFETCH(QPoint, place);
    TestProgram p;
    const QImage part = partWithBlackCross(60, 50, 7);
    p.addPart(file, part);
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    parts.show();
    const QImage before = p.canvas();

    clickName(parts.window()->findChild<FileListBox *>(list), file);
    QCOMPARE(parts.TeilPic().model().picture().image, part);
    QCOMPARE(parts.TeilPic().model().backColour(), Colours::Black);
    QCOMPARE(p.canvas(), pasted(before, part, place.x(), place.y()));
    QCOMPARE(QPoint(parts.LastTargetX, parts.LastTargetY), place);
    QVERIFY(p.messages.messages.isEmpty());
}

void PartsTransferTest::manualModeWaitsForCopy()
{
    TestProgram p;
    const QImage shirt = partWithBlackCross(100, 90, 3);
    p.addPart("shirt1.bmp", shirt);
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    parts.show();
    Ui::TeileFrm &u = parts.ui();
    const QImage before = p.canvas();

    // Automatic mode: "copy" is off and a click on the preview does nothing.
    QVERIFY(!u.TranspBtn->isEnabled());
    QTest::mouseClick(u.TeilPic, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(p.canvas(), before);

    QTest::mouseClick(u.TranspCheck, Qt::LeftButton);
    QVERIFY(!u.TranspCheck->isChecked());
    QVERIFY(u.TranspBtn->isEnabled());
    clickName(u.ShirtFile, "shirt1.bmp");
    QCOMPARE(parts.TeilPic().model().picture().image, shirt);
    QCOMPARE(p.canvas(), before);
    QCOMPARE(QPoint(parts.LastTargetX, parts.LastTargetY), QPoint(87, 128));

    QTest::mouseClick(u.TranspBtn, Qt::LeftButton);
    const QImage once = pasted(before, shirt, 87, 128);
    QCOMPARE(p.canvas(), once);
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
    TestProgram p;
    const QImage arm = partWithBlackCross(33, 85, 1);
    const QImage tattoo = partWithBlackCross(33, 85, 90);
    p.addPart("LeftArm_01.bmp", arm);
    p.addPart("tatu1.bmp", tattoo);
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    const QImage before = p.canvas();
    clickName(parts.ui().LeftArmFile, "LeftArm_01.bmp");
    clickName(parts.ui().TatuFile, "tatu1.bmp");
    // Where the tattoo is black, the arm below stays visible.
    QCOMPARE(p.canvas(), pasted(pasted(before, arm, 95, 0), tattoo, 95, 0));
}

void PartsTransferTest::arrowKeysPasteEveryPartPassed()
{
    TestProgram p;
    const QImage a = filled(20, 20, qRgb(200, 0, 0));
    QImage b = filled(30, 10, qRgb(0, 200, 0));
    const QImage c = filled(10, 30, qRgb(0, 0, 200));
    p.addPart("Face1.bmp", a);
    p.addPart("Face2.bmp", b);
    p.addPart("Face3.bmp", c);
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    parts.show();
    FileListBox *list = parts.ui().FaceFile;
    const QImage before = p.canvas();
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

void PartsTransferTest::coordinateClamp_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("300 becomes 255") << "300" << "255";
    QTest::newRow("254 stays") << "254" << "254";
    QTest::newRow("no lower limit") << "-20" << "-20";
    QTest::newRow("junk stays") << "abc" << "abc";
}

void PartsTransferTest::coordinateClamp()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    TestProgram p;
    TeileFrm &parts = p.app().teileFrm();
    parts.show();
    for (QLineEdit *box : {parts.EigBerX(), parts.EigBerY()}) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, typed);
        QCOMPARE(box->text(), shown);
    }
}

void PartsTransferTest::userFileGoesToTypedPlace_data()
{
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("inside") << "40" << "60" << QPoint(40, 60);
    QTest::newRow("left of the skin") << "-20" << "10" << QPoint(-20, 10);
    QTest::newRow("clamped to 255") << "900" << "255" << QPoint(255, 255);
    QTest::newRow("halves to even") << "2.5" << "3.5" << QPoint(2, 4);
}

void PartsTransferTest::userFileGoesToTypedPlace()
{
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QPoint, place);
    TestProgram p;
    const QImage part = partWithBlackCross(40, 30, 44);
    p.addPart("userBadge.bmp", part);
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    parts.show();
    parts.EigBerX()->setText(x);
    parts.EigBerY()->setText(y);
    const QImage before = p.canvas();
    clickName(parts.ui().UserFile, "userBadge.bmp");
    QCOMPARE(p.canvas(), pasted(before, part, place.x(), place.y()));
    QCOMPARE(QPoint(parts.LastTargetX, parts.LastTargetY), place);
    QCOMPARE(p.app().form1().status(), QStringLiteral("User File  userBadge.bmp "));

    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(parts.ui().UserFile->viewport(), &move);
    QCOMPARE(p.app().form1().status(), QStringLiteral("User File-List"));
}

void PartsTransferTest::canvasPressChoosesUserPlace()
{
    TestProgram p;
    const QImage part = partWithBlackCross(40, 30, 12);
    p.addPart("userScar.bmp", part);
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    PictureBox &canvas = p.app().form1().SkinPicture();
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, canvas.contentsRect().topLeft() + QPoint(230, 7));
    const QImage before = p.canvas();
    clickName(parts.ui().UserFile, "userScar.bmp");
    QCOMPARE(p.canvas(), pasted(before, part, 230, 7));
}

void PartsTransferTest::nonNumericCoordinatesPasteNothing()
{
    TestProgram p;
    const QImage part = partWithBlackCross(40, 30, 12);
    p.addPart("userScar.bmp", part);
    p.addPart("Face1.bmp", partWithBlackCross(20, 20, 1));
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    clickName(parts.ui().FaceFile, "Face1.bmp");
    const QImage before = p.canvas();
    parts.EigBerX()->setText("zehn");
    parts.EigBerY()->setText("");
    clickName(parts.ui().UserFile, "userScar.bmp");
    QCOMPARE(parts.TeilPic().model().picture().image, part);
    QCOMPARE(p.canvas(), before);
    QCOMPARE(QPoint(parts.LastTargetX, parts.LastTargetY), QPoint(128, 0));
    QVERIFY(p.app().form1().status().contains("X - und Y - Koordinate"));

    parts.EigBerY()->setText("3");
    parts.ui().UserFile->setCurrentRow(-1);
    clickName(parts.ui().UserFile, "userScar.bmp");
    QCOMPARE(p.canvas(), before);
    QVERIFY(p.app().form1().status().contains("X - Koordinate ist keine Zahl"));
    // A number beyond 32 bits is no place either.
    parts.EigBerX()->setText("-99999999999");
    parts.ui().UserFile->setCurrentRow(-1);
    clickName(parts.ui().UserFile, "userScar.bmp");
    QCOMPARE(p.canvas(), before);
    QVERIFY(p.messages.messages.isEmpty());
}

void PartsTransferTest::unreadablePartChangesNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("vanish");
    QTest::newRow("not a bitmap") << QByteArray("GIF89a not really") << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("cut short") << QByteArray("BM\x36\x00\x03\x00", 6) << false;
    QTest::newRow("deleted after listing") << QByteArray() << true;
}

void PartsTransferTest::unreadablePartChangesNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, vanish);
    TestProgram p;
    p.addPart("Face1.bmp", partWithBlackCross(20, 20, 1));
    QFile bad(p.imagePath("shirt_bad.bmp"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(content);
    bad.close();
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    clickName(parts.ui().FaceFile, "Face1.bmp");
    if (vanish)
        QFile::remove(p.imagePath("shirt_bad.bmp"));
    const QImage canvas = p.canvas();
    const Picture preview = parts.TeilPic().model().picture();

    clickName(parts.ui().ShirtFile, "shirt_bad.bmp");
    QCOMPARE(p.messages.messages.size(), 1);
    QVERIFY(p.messages.messages.first().contains("shirt_bad.bmp"));
    QCOMPARE(p.canvas(), canvas);
    QCOMPARE(parts.TeilPic().model().picture().serial, preview.serial);
    QCOMPARE(QPoint(parts.LastTargetX, parts.LastTargetY), QPoint(128, 0));
}

void PartsTransferTest::pastedPartsAreSavedAndGoneAfterNew()
{
    TestProgram p;
    const QImage face = partWithBlackCross(128, 128, 9);
    p.addPart("Face1.bmp", face);
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    const QImage before = p.canvas();
    clickName(parts.ui().FaceFile, "Face1.bmp");
    const QImage expected = pasted(before, face, 128, 0);

    const QString out = p.folder() + "/with-face.bmp";
    p.dialogs->answer(out);
    p.app().form1().speichern_Click();
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(decodeBitmap(f.readAll()).image, expected);
    // Saving kept the pasted part on the canvas.
    QCOMPARE(p.canvas(), expected);

    p.app().form1().dneu_Click();
    QCOMPARE(p.canvas(), filled(256, 256, qRgb(10, 20, 30)));
    // Pasting continues on the new skin.
    parts.ui().FaceFile->setCurrentRow(-1);
    clickName(parts.ui().FaceFile, "Face1.bmp");
    QCOMPARE(p.canvas(), pasted(filled(256, 256, qRgb(10, 20, 30)), face, 128, 0));

    p.dialogs->answer(out);
    p.app().form1().dopen_Click();
    QCOMPARE(p.canvas(), expected);
}

QTEST_MAIN(PartsTransferTest)
#include "tst_partswindow_transfer.moc"
