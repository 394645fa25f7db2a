// Recipes in the editor: what a session made, written down, is what the command-line composer
// makes of it, byte for byte; a recipe opened rebuilds the canvas as one step.

#include "TestProgram.h"
#include "core/PngWriter.h"

#include <QDir>
#include <QProcess>

using namespace pellwerk;
using namespace testsupport;

namespace {
struct Session : TestProgram
{
    Session()
    {
        QImage face = crossedPart(60, 50, 1);
        face.setPixel(31, 1, qRgb(3, 2, 1)); // close to black, beside the cross
        listParts({{"Face01.bmp", face},
                   {"shirt02.bmp", crossedPart(100, 90, 2)},
                   {"userScar.bmp", crossedPart(30, 20, 3)},
                   {"beard01.bmp", crossedPart(40, 30, 4)}});
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
        Ui::PartsWindow &u = s.partsUi();
        clickName(u.faceList, "Face01.bmp");
        // A tinted shirt, pasted by "copy" in manual mode.
        QTest::mouseClick(u.autoPaste, Qt::LeftButton);
        clickName(u.shirtList, "shirt02.bmp");
        s.openTint().redKnob()->setValue(40);
        const QImage beforeShirt = s.canvas();
        QTest::mouseClick(u.pasteNow, Qt::LeftButton);
        // The canvas shows the shirt as the preview showed it, tinted by the knob.
        QCOMPARE(s.canvas(), pasted(beforeShirt, s.shownPreview().copy(0, 0, 100, 90), 87, 128));
        QTest::mouseClick(u.autoPaste, Qt::LeftButton);
        // A user file where a press on the canvas put the place, partly off the skin.
        PictureBox &canvas = s.app().mainWindow().canvas();
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, canvas.contentsRect().topLeft() + QPoint(240, 60));
        clickName(u.userList, "userScar.bmp");
        // A beard, taken back.
        clickName(u.beardList, "beard01.bmp");
        s.main().undoAction->trigger();

        s.dialogs->answer(s.folder() + "/skin.bmp");
        s.main().saveAction->trigger();
        // Kept beside the parts, so that the composer finds them there as the editor did.
        const QString recipe = s.imagePath("session.json");
        s.dialogs->answer(recipe);
        s.main().saveRecipeAction->trigger();
        // The face's pixel close to the transparent colour is worth a warning; the recipe is written all the same.
        QCOMPARE(s.messages.messages.size(), 1);
        QVERIFY2(
            s.messages.messages[0].contains("Schritt 1 (Face01.bmp): 1 nahe an der Transparenzfarbe, davon 1 Rand"),
            qPrintable(s.messages.messages[0]));

        QProcess compose;
        compose.start(PELLWERK_COMPOSE, {recipe, "-o", s.folder() + "/composed.bmp"});
        QVERIFY(compose.waitForFinished(60000));
        QCOMPARE(compose.exitCode(), 0);
        QVERIFY(fileBytes(s.folder() + "/composed.bmp") == fileBytes(s.folder() + "/skin.bmp"));
    }

    // A recipe beside its own base and parts, opened from a working directory that holds none of
    // them and saved into another folder, still names those files: the composer makes of it what
    // "speichern" wrote. A part gone by the time of saving is written all the same, and said.
    void openSaveElsewhereCompose()
    {
        TestProgram s(true, TestProgram::WorkingDirectory::Elsewhere);
        const QString kept = s.folder() + "/kept";
        QVERIFY(QDir().mkpath(kept + "/parts"));
        QVERIFY(writeBmp(kept + "/base.bmp", randomImage(256, 256, 7)));
        QVERIFY(writeBmp(kept + "/parts/Face07.bmp", crossedPart(60, 50, 5)));
        QVERIFY(writeFile(kept + "/r.json", R"({"pellwerk-recipe": 1, "base": "base.bmp", "transparent": [0, 0, 0],
            "steps": [{"kind": "face", "part": "parts/Face07.bmp"}]})"));
        s.dialogs->answer(kept + "/r.json");
        s.main().openRecipeAction->trigger();
        s.dialogs->answer(s.folder() + "/skin.bmp");
        s.main().saveAction->trigger();
        s.dialogs->answer(s.folder() + "/again.json");
        s.main().saveRecipeAction->trigger();
        QCOMPARE(s.messages.messages, QStringList());

        QProcess compose;
        compose.start(PELLWERK_COMPOSE, {s.folder() + "/again.json", "-o", s.folder() + "/composed.bmp"});
        QVERIFY(compose.waitForFinished(60000));
        QCOMPARE(compose.exitCode(), 0);
        QVERIFY(fileBytes(s.folder() + "/composed.bmp") == fileBytes(s.folder() + "/skin.bmp"));

        QVERIFY(QFile::remove(kept + "/parts/Face07.bmp"));
        s.dialogs->answer(s.folder() + "/gone.json");
        s.main().saveRecipeAction->trigger();
        QCOMPARE(s.messages.messages.size(), 1);
        QVERIFY2(s.messages.messages[0].contains("Schritt 1, Feld „part“ (" + kept
                                                 + "/parts/Face07.bmp): Die Datei ist nicht"),
                 qPrintable(s.messages.messages[0]));
        QVERIFY(fileBytes(s.folder() + "/gone.json").contains(R"("part": "kept/parts/Face07.bmp")"));
    }

    // A bad recipe names its step and field and changes nothing; a good one rebuilds the canvas as one step.
    void openRecipe()
    {
        Session s;
        clickName(s.partsUi().faceList, "Face01.bmp");
        const QImage before = s.canvas();
        const QString bad = s.folder() + "/bad.json", good = s.imagePath("r.json");
        QVERIFY(writeFile(bad, R"({"pellwerk-recipe": 1, "base": "default", "transparent": [0, 0, 0],
            "steps": [{"kind": "face", "part": "Face01.bmp"}, {"kind": "hat", "part": "Face01.bmp"}]})"));
        QVERIFY(writeFile(good, R"({"pellwerk-recipe": 1, "base": "new", "transparent": [0, 0, 0],
            "steps": [{"kind": "beard", "part": "beard01.bmp"}]})"));
        s.dialogs->answer(bad);
        s.main().openRecipeAction->trigger();
        QCOMPARE(s.messages.messages.size(), 1);
        QVERIFY2(s.messages.messages[0].contains("Schritt 2") && s.messages.messages[0].contains("kind"),
                 qPrintable(s.messages.messages[0]));
        QCOMPARE(s.canvas(), before);
        QCOMPARE(s.main().undoAction->text(), QStringLiteral("rückgängig: Gesicht Face01.bmp"));

        s.dialogs->answer(good);
        s.main().openRecipeAction->trigger();
        // Unsaved work was asked about before each; SkinNEW.bmp with the beard now.
        QCOMPARE(s.messages.questions.size(), 2);
        QCOMPARE(s.canvas(), pasted(filled(256, 256, qRgb(10, 20, 30)), crossedPart(40, 30, 4), 188, 71));
        QCOMPARE(s.main().undoAction->text(), QStringLiteral("rückgängig: Rezept r.json"));
        s.main().undoAction->trigger();
        QCOMPARE(s.canvas(), before);
    }

    // An exported project opens again where none of its parts is left, as the same document; the
    // PNG is the canvas; a failed export says so and writes nothing.
    void exportsAndProjects()
    {
        Session s;
        Ui::PartsWindow &u = s.partsUi();
        clickName(u.faceList, "Face01.bmp");
        s.openTint().redKnob()->setValue(-30);
        clickName(u.shirtList, "shirt02.bmp");
        const QImage made = s.canvas();
        const std::vector<PasteStep> steps = s.app().skin().document().steps();
        // Exported from the pictures the document holds: the files may be gone already.
        for (const char *part : {"Face01.bmp", "shirt02.bmp"})
            QVERIFY(QFile::remove(s.imagePath(part)));
        s.dialogs->answer(s.folder() + "/p.ora");
        s.main().exportOpenRasterAction->trigger();
        s.dialogs->answer(s.folder() + "/flat");
        s.main().exportPngAction->trigger();
        QCOMPARE(QImage(s.folder() + "/flat.png").convertToFormat(QImage::Format_RGB32), made);
        s.dialogs->answer(s.folder() + "/nowhere/p.ora");
        s.main().exportOpenRasterAction->trigger();
        QCOMPARE(s.messages.messages.size(), 1);
        QVERIFY2(s.messages.messages[0].contains("nowhere/p.ora“ exportiert werden"),
                 qPrintable(s.messages.messages[0]));
        QVERIFY(!QFile::exists(s.folder() + "/nowhere/p.ora"));

        s.main().newAction->trigger();
        s.dialogs->answer(s.folder() + "/p.ora");
        s.main().openRecipeAction->trigger();
        QCOMPARE(s.canvas(), made);
        const Document &opened = s.app().skin().document();
        QCOMPARE(opened.stepCount(), 2);
        QVERIFY(opened.steps()[0].part.endsWith("p.ora/parts/Face01.bmp"));
        for (size_t i = 0; i < steps.size(); ++i) {
            PasteStep same = opened.steps()[i];
            same.part = steps[i].part;
            QVERIFY(same == steps[i]);
        }

        // Another program's picture becomes the base of a new document; one of another size is refused.
        const QImage picture = randomImage(256, 256, 9);
        for (const auto &[name, image] : {std::pair{"other.ora", picture}, {"small.ora", randomImage(20, 10, 1)}})
            QVERIFY(writeFile(s.folder() + "/" + name, zipOf({{"mimetype", "image/openraster"},
                                                              {"stack.xml", "<image w='256' h='256'><stack/></image>"},
                                                              {"mergedimage.png", encodePng(image)}})));
        s.dialogs->answer(s.folder() + "/small.ora");
        s.main().openRecipeAction->trigger();
        QCOMPARE(s.messages.messages.size(), 2);
        QVERIFY2(s.messages.messages[1].contains("20 × 10 Pixel groß"), qPrintable(s.messages.messages[1]));
        QCOMPARE(s.canvas(), made);
        s.dialogs->answer(s.folder() + "/other.ora");
        s.main().openRecipeAction->trigger();
        QCOMPARE(s.canvas(), picture.convertToFormat(QImage::Format_RGB32));
        // It is the base a recipe names: the composer reads the picture from the file as well.
        clickName(u.beardList, "beard01.bmp");
        s.dialogs->answer(s.imagePath("on-other.json"));
        s.main().saveRecipeAction->trigger();
        QProcess compose;
        compose.start(PELLWERK_COMPOSE, {s.imagePath("on-other.json"), "-o", s.folder() + "/composed.bmp"});
        QVERIFY(compose.waitForFinished(60000));
        QCOMPARE(compose.exitCode(), 0);
        QCOMPARE(QImage(s.folder() + "/composed.bmp").convertToFormat(QImage::Format_RGB32), s.canvas());
    }
};

QTEST_MAIN(RecipesTest)
#include "tst_recipes.moc"
