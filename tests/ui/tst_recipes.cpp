// Recipes in the editor: what a session made, written down, is what the command-line composer
// makes of it, byte for byte; a recipe opened rebuilds the canvas as one step.

#include "TestProgram.h"

#include "core/BitmapWriter.h"
#include "ui/App.h"
#include "ui/FileListBox.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"
#include "ui/RGB_Frm.h"
#include "ui/TeileFrm.h"
#include "ui_Form1.h"
#include "ui_RGB_Frm.h"
#include "ui_TeileFrm.h"

#include <QDial>
#include <QDir>
#include <QProcess>
#include <QTest>

using namespace pellwerk;
using namespace testsupport;

namespace {
// A part of distinct colours with a black (left out) cross; with `nearKey`, one pixel close to
// black beside the cross.
QImage part(int w, int h, int seed, bool nearKey = false)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y,
                         (x == w / 2 || y == h / 2) ? qRgb(0, 0, 0) : qRgb(40 + x * 3 + seed, 30 + y * 2, seed * 7));
    if (nearKey)
        img.setPixel(w / 2 + 1, 1, qRgb(3, 2, 1));
    return img;
}

struct Session
{
    TestProgram p;
    App &app = p.app();
    TeileFrm &parts = app.teileFrm();
    explicit Session(bool nearKey = false)
    {
        p.addPart("Face01.bmp", part(60, 50, 1, nearKey));
        p.addPart("shirt02.bmp", part(100, 90, 2));
        p.addPart("userScar.bmp", part(30, 20, 3));
        p.addPart("beard01.bmp", part(40, 30, 4));
        parts.pointListsAtImageFolder();
        parts.show();
    }
};
} // namespace

class RecipesTest : public QObject
{
    Q_OBJECT
private slots:
    void sessionReplaysBitForBit()
    {
        Session s;
        Ui::TeileFrm &u = s.parts.ui();
        clickName(u.FaceFile, "Face01.bmp");
        // A tinted shirt, pasted by "copy" in manual mode.
        QTest::mouseClick(u.TranspCheck, Qt::LeftButton);
        clickName(u.ShirtFile, "shirt02.bmp");
        QTest::mouseClick(u.Command1, Qt::LeftButton);
        QDial *red = s.app.rgbFrm().KnobR();
        red->setValue(40);
        QTest::mouseClick(u.TranspBtn, Qt::LeftButton);
        QTest::mouseClick(u.TranspCheck, Qt::LeftButton);
        // A user file where a press on the canvas put the place, partly off the skin.
        PictureBox &canvas = s.app.form1().SkinPicture();
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, canvas.contentsRect().topLeft() + QPoint(240, 60));
        clickName(u.UserFile, "userScar.bmp");
        // A beard, taken back.
        clickName(u.BartFile, "beard01.bmp");
        s.app.form1().ui().MUndo->trigger();

        s.p.dialogs->answer(s.p.folder() + "/skin.bmp");
        s.app.form1().ui().speichern->trigger();
        // Kept beside the parts, so that the composer finds them there as the editor did.
        const QString recipe = s.p.imagePath("session.json");
        s.p.dialogs->answer(recipe);
        s.app.form1().ui().RezeptSpeichern->trigger();
        QCOMPARE(s.p.messages.messages, QStringList{});

        QProcess compose;
        compose.start(PELLWERK_COMPOSE, {recipe, "-o", s.p.folder() + "/composed.bmp"});
        QVERIFY(compose.waitForFinished(60000));
        QCOMPARE(compose.exitCode(), 0);
        const QByteArray saved = fileBytes(s.p.folder() + "/skin.bmp");
        QCOMPARE(saved.size(), 196662);
        QVERIFY(fileBytes(s.p.folder() + "/composed.bmp") == saved);
        const QByteArray written = fileBytes(recipe);
        QVERIFY2(written.contains("\"tint\": [40, 0, 0]") && written.contains("\"x\": 240"), written.constData());
        QVERIFY(!written.contains("beard01"));
    }

    void openedRecipeIsOneStep()
    {
        Session s;
        clickName(s.parts.ui().FaceFile, "Face01.bmp");
        const QImage before = s.p.canvas();
        const QString recipe = s.p.imagePath("r.json");
        QVERIFY(writeFile(recipe, R"({"pellwerk-recipe": 1, "base": "new", "transparent": [0, 0, 0],
            "steps": [{"kind": "beard", "part": "beard01.bmp"}]})"));
        s.p.dialogs->answer(recipe);
        s.app.form1().ui().RezeptOeffnen->trigger();
        // Unsaved work was asked about first; SkinNEW.bmp with the beard now.
        QCOMPARE(s.p.messages.questions.size(), 1);
        QCOMPARE(s.p.canvas(), pasted(filled(256, 256, qRgb(10, 20, 30)), part(40, 30, 4), 188, 71));
        QCOMPARE(s.app.form1().ui().MUndo->text(), QStringLiteral("rückgängig: Rezept r.json"));
        s.app.form1().ui().MUndo->trigger();
        QCOMPARE(s.p.canvas(), before);
    }

    void badRecipeNamesStepAndFieldAndChangesNothing()
    {
        Session s;
        const QImage before = s.p.canvas();
        const QString recipe = s.p.folder() + "/bad.json";
        QVERIFY(writeFile(recipe, R"({"pellwerk-recipe": 1, "base": "default", "transparent": [0, 0, 0],
            "steps": [{"kind": "face", "part": "Face01.bmp"}, {"kind": "hat", "part": "Face01.bmp"}]})"));
        s.p.dialogs->answer(recipe);
        s.app.form1().ui().RezeptOeffnen->trigger();
        QCOMPARE(s.p.messages.messages.size(), 1);
        QVERIFY2(s.p.messages.messages[0].contains("Schritt 2") && s.p.messages.messages[0].contains("kind"),
                 qPrintable(s.p.messages.messages[0]));
        QCOMPARE(s.p.canvas(), before);
        QVERIFY(!s.app.form1().ui().MUndo->isEnabled());
    }

    void savingWarnsAboutNearKeyPixels()
    {
        Session s(true);
        clickName(s.parts.ui().FaceFile, "Face01.bmp");
        const QString recipe = s.p.folder() + "/near.json";
        s.p.dialogs->answer(recipe);
        s.app.form1().ui().RezeptSpeichern->trigger();
        QVERIFY(QFile::exists(recipe));
        QCOMPARE(s.p.messages.messages.size(), 1);
        QVERIFY2(
            s.p.messages.messages[0].contains("Schritt 1 (Face01.bmp): 1 nahe an der Transparenzfarbe, davon 1 Rand"),
            qPrintable(s.p.messages.messages[0]));
    }
};

QTEST_MAIN(RecipesTest)
#include "tst_recipes.moc"
