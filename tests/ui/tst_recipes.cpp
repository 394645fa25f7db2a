// Recipes in the editor: what a session made, written down, is what the command-line composer
// makes of it, byte for byte; a recipe opened rebuilds the canvas as one step.

#include "TestProgram.h"

#include <QProcess>

using namespace pellwerk;
using namespace testsupport;

namespace {
// A part; with `nearKey`, with one pixel close to black beside its cross.
QImage part(int w, int h, int seed, bool nearKey = false)
{
    QImage img = crossedPart(w, h, seed);
    if (nearKey)
        img.setPixel(w / 2 + 1, 1, qRgb(3, 2, 1));
    return img;
}

struct Session : TestProgram
{
    explicit Session(bool nearKey = false)
    {
        listParts({{"Face01.bmp", part(60, 50, 1, nearKey)},
                   {"shirt02.bmp", part(100, 90, 2)},
                   {"userScar.bmp", part(30, 20, 3)},
                   {"beard01.bmp", part(40, 30, 4)}});
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
        Ui::TeileFrm &u = s.partsUi();
        clickName(u.FaceFile, "Face01.bmp");
        // A tinted shirt, pasted by "copy" in manual mode.
        QTest::mouseClick(u.TranspCheck, Qt::LeftButton);
        clickName(u.ShirtFile, "shirt02.bmp");
        s.openRgb().KnobR()->setValue(40);
        QTest::mouseClick(u.TranspBtn, Qt::LeftButton);
        QTest::mouseClick(u.TranspCheck, Qt::LeftButton);
        // A user file where a press on the canvas put the place, partly off the skin.
        PictureBox &canvas = s.app().form1().SkinPicture();
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, canvas.contentsRect().topLeft() + QPoint(240, 60));
        clickName(u.UserFile, "userScar.bmp");
        // A beard, taken back.
        clickName(u.BartFile, "beard01.bmp");
        s.main().MUndo->trigger();

        s.dialogs->answer(s.folder() + "/skin.bmp");
        s.main().speichern->trigger();
        // Kept beside the parts, so that the composer finds them there as the editor did.
        const QString recipe = s.imagePath("session.json");
        s.dialogs->answer(recipe);
        s.main().RezeptSpeichern->trigger();
        QCOMPARE(s.messages.messages, QStringList{});

        QProcess compose;
        compose.start(PELLWERK_COMPOSE, {recipe, "-o", s.folder() + "/composed.bmp"});
        QVERIFY(compose.waitForFinished(60000));
        QCOMPARE(compose.exitCode(), 0);
        const QByteArray saved = fileBytes(s.folder() + "/skin.bmp");
        QCOMPARE(saved.size(), 196662);
        QVERIFY(fileBytes(s.folder() + "/composed.bmp") == saved);
        const QByteArray written = fileBytes(recipe);
        QVERIFY2(written.contains("\"tint\": [40, 0, 0]") && written.contains("\"x\": 240"), written.constData());
        QVERIFY(!written.contains("beard01"));
    }

    void openedRecipeIsOneStep()
    {
        Session s;
        clickName(s.partsUi().FaceFile, "Face01.bmp");
        const QImage before = s.canvas();
        const QString recipe = s.imagePath("r.json");
        QVERIFY(writeFile(recipe, R"({"pellwerk-recipe": 1, "base": "new", "transparent": [0, 0, 0],
            "steps": [{"kind": "beard", "part": "beard01.bmp"}]})"));
        s.dialogs->answer(recipe);
        s.main().RezeptOeffnen->trigger();
        // Unsaved work was asked about first; SkinNEW.bmp with the beard now.
        QCOMPARE(s.messages.questions.size(), 1);
        QCOMPARE(s.canvas(), pasted(filled(256, 256, qRgb(10, 20, 30)), part(40, 30, 4), 188, 71));
        QCOMPARE(s.main().MUndo->text(), QStringLiteral("rückgängig: Rezept r.json"));
        s.main().MUndo->trigger();
        QCOMPARE(s.canvas(), before);
    }

    void badRecipeNamesStepAndFieldAndChangesNothing()
    {
        Session s;
        const QImage before = s.canvas();
        const QString recipe = s.folder() + "/bad.json";
        QVERIFY(writeFile(recipe, R"({"pellwerk-recipe": 1, "base": "default", "transparent": [0, 0, 0],
            "steps": [{"kind": "face", "part": "Face01.bmp"}, {"kind": "hat", "part": "Face01.bmp"}]})"));
        s.dialogs->answer(recipe);
        s.main().RezeptOeffnen->trigger();
        QCOMPARE(s.messages.messages.size(), 1);
        QVERIFY2(s.messages.messages[0].contains("Schritt 2") && s.messages.messages[0].contains("kind"),
                 qPrintable(s.messages.messages[0]));
        QCOMPARE(s.canvas(), before);
        QVERIFY(!s.main().MUndo->isEnabled());
    }

    void savingWarnsAboutNearKeyPixels()
    {
        Session s(true);
        clickName(s.partsUi().FaceFile, "Face01.bmp");
        const QString recipe = s.folder() + "/near.json";
        s.dialogs->answer(recipe);
        s.main().RezeptSpeichern->trigger();
        QVERIFY(QFile::exists(recipe));
        QCOMPARE(s.messages.messages.size(), 1);
        QVERIFY2(
            s.messages.messages[0].contains("Schritt 1 (Face01.bmp): 1 nahe an der Transparenzfarbe, davon 1 Rand"),
            qPrintable(s.messages.messages[0]));
    }
};

QTEST_MAIN(RecipesTest)
#include "tst_recipes.moc"
