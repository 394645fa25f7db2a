// Nothing done is lost: undo and redo from every window, menu entries that name the step, and the
// question before unsaved work goes.

#include "TestProgram.h"

using namespace pellwerk;
using namespace testsupport;

namespace {
const QString Question = QStringLiteral("Der Skin wurde geändert. Änderungen speichern?");

// What the user did before the action ("paste", "save", "undo"), the answer to the question, the
// save dialog's answer (a file name, "cancel", or "broken"), whether the question came and whether
// the action went on.
struct Case
{
    QString before;
    SaveChoice answer;
    QString saveTo;
    bool asked, goesOn;
};

struct EditingProgram : TestProgram
{
    EditingProgram() { listParts({{"Face01.bmp", filled(40, 30, qRgb(200, 90, 10))}}); }
    void pasteFace() { clickName(partsUi().faceList, "Face01.bmp"); }
};
} // namespace

class UndoTest : public QObject
{
    Q_OBJECT
private slots:
    // The menu entries name the step, in the active language; the shortcuts work from every window.
    void undoAndRedoRestoreEveryPixel()
    {
        EditingProgram e;
        QVERIFY(!e.main().undoAction->isEnabled() && !e.main().redoAction->isEnabled());
        const QImage start = e.canvas();
        e.pasteFace();
        const QImage pasted = e.canvas();
        QVERIFY(pasted != start);
        QCOMPARE(e.main().undoAction->text(), QStringLiteral("rückgängig: Gesicht Face01.bmp"));
        e.main().newAction->trigger();
        const QImage fresh = e.canvas();
        // Undo after "neu" brings the pasted face back, then the start; redo goes forward again.
        e.main().undoAction->trigger();
        QCOMPARE(e.canvas(), pasted);
        e.main().undoAction->trigger();
        QCOMPARE(e.canvas(), start);
        QVERIFY(!e.main().undoAction->isEnabled());
        QCOMPARE(e.main().undoAction->text(), QStringLiteral("rückgängig"));
        QCOMPARE(e.main().redoAction->text(), QStringLiteral("wiederholen: Gesicht Face01.bmp"));
        QVERIFY(QFile::copy(PELLWERK_ASSETS "/lang/english.zlf", e.folder() + "/english.zlf"));
        clickName(e.app().settingsDialog().ui().languageList, "english.zlf");
        QCOMPARE(e.main().editMenu->title(), QStringLiteral("Edit"));
        QCOMPARE(e.main().undoAction->text(), QStringLiteral("Undo"));
        QCOMPARE(e.main().redoAction->text(), QStringLiteral("Redo: Gesicht Face01.bmp"));
        e.main().redoAction->trigger();
        e.main().redoAction->trigger();
        QCOMPARE(e.canvas(), fresh);
        QVERIFY(!e.main().redoAction->isEnabled());

        using Press = std::pair<QKeyCombination, QImage>; // and the canvas after it
        for (QWidget *window : {e.app().mainWindow().window(), e.parts().window(), e.app().tintWindow().window()}) {
            for (const auto &[keys, expected] :
                 {Press{Qt::CTRL | Qt::Key_Z, pasted}, Press{Qt::CTRL | Qt::Key_Y, fresh},
                  Press{Qt::CTRL | Qt::Key_Z, pasted}, Press{Qt::CTRL | Qt::SHIFT | Qt::Key_Z, fresh}}) {
                window->activateWindow();
                QApplication::setActiveWindow(window);
                QTest::keyClick(window, keys.key(), keys.keyboardModifiers());
                QCOMPARE(e.canvas(), expected);
            }
        }
    }

    void questionBeforeUnsavedWorkGoes_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<Case>("c");
        const SaveChoice save = SaveChoice::Save, discard = SaveChoice::Discard, cancel = SaveChoice::Cancel;
        for (const char *action : {"beenden", "close box", "neu", "öffnen"}) {
            const auto row = [action](const char *name) -> QTestData & {
                return QTest::addRow("%s: %s", action, name);
            };
            row("nothing changed") << action << Case{"", cancel, "", false, true};
            row("pasted, discard") << action << Case{"paste", discard, "", true, true};
            row("pasted, cancel") << action << Case{"paste", cancel, "", true, false};
            row("pasted, save") << action << Case{"paste", save, "saved.bmp", true, true};
            row("pasted, save cancelled") << action << Case{"paste", save, "cancel", true, false};
            row("pasted, save failed") << action << Case{"paste", save, "broken", true, false};
            row("saved after the paste") << action << Case{"paste save", cancel, "", false, true};
            row("undone back to the save") << action << Case{"save paste undo", cancel, "", false, true};
            row("undone past the save") << action << Case{"paste save undo", cancel, "", true, false};
        }
    }

    void questionBeforeUnsavedWorkGoes()
    {
        QFETCH(QString, action);
        QFETCH(Case, c);
        EditingProgram e;
        for (const QString &step : c.before.split(' ', Qt::SkipEmptyParts)) {
            if (step == "paste")
                e.pasteFace();
            else if (step == "undo")
                e.main().undoAction->trigger();
            else
                e.dialogs->answer(e.folder() + "/first.bmp"), e.main().saveAction->trigger();
        }
        const QImage canvas = e.canvas();
        e.messages.answers.push_back(c.answer);
        if (c.saveTo == "cancel")
            e.dialogs->answer(std::nullopt);
        else if (!c.saveTo.isEmpty())
            e.dialogs->answer(e.folder() + (c.saveTo == "broken" ? "/missing/x.bmp" : "/" + c.saveTo));
        QVERIFY(writeBmp(e.folder() + "/opened.bmp", filled(256, 256, qRgb(1, 2, 3))));
        e.dialogs->answer(e.folder() + "/opened.bmp");

        if (action == "beenden")
            e.main().quitAction->trigger();
        else if (action == "close box")
            e.app().mainWindow().window()->close();
        else
            (action == "neu" ? e.main().newAction : e.main().openAction)->trigger();

        QCOMPARE(e.messages.questions, c.asked ? QStringList{Question} : QStringList{});
        const bool ends = action == "beenden" || action == "close box";
        QCOMPARE(e.app().hasEnded(), c.goesOn && ends);
        const QRgb replaced = action == "neu" ? qRgb(10, 20, 30) : qRgb(1, 2, 3);
        if (!c.goesOn || !ends)
            QCOMPARE(e.canvas(), c.goesOn ? filled(256, 256, replaced) : canvas);
        QVERIFY(c.goesOn || e.app().mainWindow().window()->isVisible());
        QCOMPARE(QFile::exists(e.folder() + "/saved.bmp"), c.goesOn && c.saveTo == "saved.bmp");
        QCOMPARE(e.messages.messages.size(), c.saveTo == "broken" ? 1 : 0);
    }

    // Names show as they are: "&" is no mnemonic in the menu, "%1" no place for a number in the
    // warning about pixels near the transparent colour.
    void oddNamesShowLiterally()
    {
        const QString name = "Face&%1%2.bmp";
        TestProgram p;
        p.listParts({{name, filled(40, 30, qRgb(3, 2, 1))}});
        clickName(p.partsUi().faceList, name);
        QCOMPARE(p.main().undoAction->iconText(), "rückgängig: Gesicht " + name);
        p.dialogs->answer(p.folder() + "/r.json");
        p.main().saveRecipeAction->trigger();
        QCOMPARE(p.messages.messages.size(), 1);
        QVERIFY2(p.messages.messages[0].contains("Schritt 1 (" + name + "): 1200 nahe an der Transparenzfarbe"),
                 qPrintable(p.messages.messages[0]));
    }
};

QTEST_MAIN(UndoTest)
#include "tst_undo.moc"
