// Nothing done is lost: undo and redo from every window, menu entries that name the step, and the
// question before unsaved work goes.

#include "TestProgram.h"

#include "ui/App.h"
#include "ui/FileListBox.h"
#include "ui/Form1.h"
#include "ui/RGB_Frm.h"
#include "ui/SetupDlg.h"
#include "ui/TeileFrm.h"
#include "ui_Form1.h"
#include "ui_SetupDlg.h"
#include "ui_TeileFrm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

using namespace pellwerk;
using namespace testsupport;

namespace {
const QString Question = QStringLiteral("Der Skin wurde geändert. Änderungen speichern?");

// A program with a face part in its lists and the parts window shown.
struct EditingProgram
{
    TestProgram p;
    App &app = p.app();
    EditingProgram()
    {
        p.addPart("Face01.bmp", filled(40, 30, qRgb(200, 90, 10)));
        app.teileFrm().pointListsAtImageFolder();
        app.teileFrm().show();
    }
    void pasteFace() { clickName(app.teileFrm().ui().FaceFile, "Face01.bmp"); }
    QAction *undo() { return app.form1().ui().MUndo; }
    QAction *redo() { return app.form1().ui().MRedo; }
};

void pressInActiveWindow(QWidget *window, QKeyCombination keys)
{
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, keys.key(), keys.keyboardModifiers());
}
} // namespace

class UndoTest : public QObject
{
    Q_OBJECT
private slots:
    void undoAndRedoRestoreEveryPixel()
    {
        EditingProgram e;
        const QImage start = e.p.canvas();
        e.pasteFace();
        const QImage pasted = e.p.canvas();
        QVERIFY(pasted != start);
        e.app.form1().dneu_Click();
        const QImage fresh = e.p.canvas();
        // Undo after "neu" brings the pasted face back, then the start; redo goes forward again.
        e.undo()->trigger();
        QCOMPARE(e.p.canvas(), pasted);
        e.undo()->trigger();
        QCOMPARE(e.p.canvas(), start);
        QVERIFY(!e.undo()->isEnabled());
        e.redo()->trigger();
        e.redo()->trigger();
        QCOMPARE(e.p.canvas(), fresh);
        QVERIFY(!e.redo()->isEnabled());
        QCOMPARE(e.app.state.SkinName, QStringLiteral("NeuerSkin"));
    }

    void shortcutsWorkFromEveryWindow()
    {
        EditingProgram e;
        const QImage start = e.p.canvas();
        e.pasteFace();
        const QImage pasted = e.p.canvas();
        const QList<QWidget *> windows{e.app.form1().window(), e.app.teileFrm().window(), e.app.rgbFrm().window()};
        for (QWidget *window : windows) {
            pressInActiveWindow(window, Qt::CTRL | Qt::Key_Z);
            QCOMPARE(e.p.canvas(), start);
            pressInActiveWindow(window, Qt::CTRL | Qt::Key_Y);
            QCOMPARE(e.p.canvas(), pasted);
            e.undo()->trigger();
            pressInActiveWindow(window, Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
            QCOMPARE(e.p.canvas(), pasted);
        }
    }

    void menuNamesTheStepInTheActiveLanguage()
    {
        EditingProgram e;
        QVERIFY(!e.undo()->isEnabled() && !e.redo()->isEnabled());
        e.pasteFace();
        QCOMPARE(e.undo()->text(), QStringLiteral("rückgängig: Gesicht Face01.bmp"));
        e.undo()->trigger();
        QCOMPARE(e.undo()->text(), QStringLiteral("rückgängig"));
        QCOMPARE(e.redo()->text(), QStringLiteral("wiederholen: Gesicht Face01.bmp"));

        QVERIFY(QFile::copy(PELLWERK_ASSETS "/lang/english.zlf", e.p.folder() + "/english.zlf"));
        SetupDlg &setup = e.app.setupDlg();
        clickName(setup.ui().File1, "english.zlf");
        QCOMPARE(e.app.form1().ui().Bearbeiten->title(), QStringLiteral("Edit"));
        QCOMPARE(e.undo()->text(), QStringLiteral("Undo"));
        QCOMPARE(e.redo()->text(), QStringLiteral("Redo: Gesicht Face01.bmp"));
    }

    void questionBeforeUnsavedWorkGoes_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("before"); // what the user did first
        QTest::addColumn<int>("answer");     // SaveChoice
        QTest::addColumn<QString>("saveTo"); // the save dialog's answer: a path, "cancel", or "broken"
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("goesOn");
        const int save = int(SaveChoice::Save), discard = int(SaveChoice::Discard), cancel = int(SaveChoice::Cancel);
        for (const char *action : {"beenden", "close box", "neu", "öffnen"}) {
            const auto row = [action](const char *name) -> QTestData & {
                return QTest::addRow("%s: %s", action, name);
            };
            row("nothing changed") << action << "" << cancel << "" << false << true;
            row("pasted, discard") << action << "paste" << discard << "" << true << true;
            row("pasted, cancel") << action << "paste" << cancel << "" << true << false;
            row("pasted, save") << action << "paste" << save << "saved.bmp" << true << true;
            row("pasted, save cancelled") << action << "paste" << save << "cancel" << true << false;
            row("pasted, save failed") << action << "paste" << save << "broken" << true << false;
            row("saved after the paste") << action << "paste save" << cancel << "" << false << true;
            row("undone back to the save") << action << "save paste undo" << cancel << "" << false << true;
            row("undone past the save") << action << "paste save undo" << cancel << "" << true << false;
        }
    }

    void questionBeforeUnsavedWorkGoes()
    {
        QFETCH(QString, action);
        QFETCH(QString, before);
        QFETCH(int, answer);
        QFETCH(QString, saveTo);
        QFETCH(bool, asked);
        QFETCH(bool, goesOn);
        EditingProgram e;
        for (const QString &step : before.split(' ', Qt::SkipEmptyParts)) {
            if (step == "paste")
                e.pasteFace();
            else if (step == "undo")
                e.undo()->trigger();
            else
                e.p.dialogs->answer(e.p.folder() + "/first.bmp"), e.app.form1().speichern_Click();
        }
        const QImage canvas = e.p.canvas();
        e.p.messages.answers.push_back(SaveChoice(answer));
        if (saveTo == "cancel")
            e.p.dialogs->answer(std::nullopt);
        else if (!saveTo.isEmpty())
            e.p.dialogs->answer(e.p.folder() + (saveTo == "broken" ? "/missing/x.bmp" : "/" + saveTo));
        const QString opened = e.p.folder() + "/opened.bmp";
        QVERIFY(writeBmp(opened, filled(256, 256, qRgb(1, 2, 3))));
        e.p.dialogs->answer(opened);
        const size_t dialogsBefore = e.p.dialogs->requests.size();

        Form1 &main = e.app.form1();
        if (action == "beenden")
            main.ui().MEnde->trigger();
        else if (action == "close box")
            main.window()->close();
        else if (action == "neu")
            main.ui().dneu->trigger();
        else
            main.ui().dopen->trigger();

        QCOMPARE(e.p.messages.questions, asked ? QStringList{Question} : QStringList{});
        const bool ended = e.app.hasEnded();
        QCOMPARE(ended, goesOn && (action == "beenden" || action == "close box"));
        if (action == "neu")
            QCOMPARE(e.p.canvas() == filled(256, 256, qRgb(10, 20, 30)), goesOn);
        if (action == "öffnen")
            QCOMPARE(e.p.canvas() == filled(256, 256, qRgb(1, 2, 3)), goesOn);
        if (!goesOn) {
            QCOMPARE(e.p.canvas(), canvas);
            QVERIFY(main.window()->isVisible());
        }
        if (answer == int(SaveChoice::Save) && asked) {
            const bool saved = saveTo == "saved.bmp";
            QCOMPARE(QFile::exists(e.p.folder() + "/saved.bmp"), saved);
            QCOMPARE(e.p.messages.messages.size(), saveTo == "broken" ? 1 : 0);
            QVERIFY(e.p.dialogs->requests.size() > dialogsBefore);
        }
    }
};

QTEST_MAIN(UndoTest)
#include "tst_undo.moc"
