// The editor's recovery copies: the unsaved work of an editor killed outright (pastes and step
// edits) comes back at the next start bit for bit and still unsaved, or is deleted, as the user
// answers; a running editor's copy is never offered; the copy goes when the work is saved, undone
// to the saved point, given up, or when the editor ends.
//
// The killed editor is this test program in a child process running the editor's App, so that the
// program itself needs no way to be driven from outside.

#include "TestProgram.h"
#include "compose/RecoveryStore.h"
#include "ui_MainWindow.h"

#include <QProcess>
#include <QSignalSpy>

#include <cstdio>
#include <string_view>

using namespace pellwerk;
using namespace testsupport;

namespace {

// Parts that lie in no folder of the editor that restores them.
void makeWork(App &app)
{
    SkinCanvas &skin = app.skin();
    skin.paste({PartKindId::User, "/nirgends/Narbe.bmp", {20, 30}, Colour::fromRgb(0, 0, 0), {}}, crossedPart(40, 50, 1));
    skin.paste({PartKindId::Face, "/nirgends/Gesicht.bmp", *partKind(PartKindId::Face).place, Colour::fromRgb(0, 0, 0), {}},
               crossedPart(60, 70, 2));
    skin.setTint(0, {30, 0, 200});
    skin.setMirrored(1, true);
}

QStringList copies(const QString &folder)
{
    return QDir(folder).entryList({"*.ora"}, QDir::Files);
}

int workUntilKilled(const QString &folder)
{
    RecordingMessageSink messages;
    App app(QCoreApplication::applicationDirPath(), messages, std::make_shared<ScriptedDialogs>());
    app.startRecovery(folder);
    QSignalSpy written(app.recovery(), &RecoveryStore::written);
    makeWork(app);
    if (!written.wait(5000))
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    return std::getchar();
}

} // namespace

class AutosaveTest : public QObject
{
    Q_OBJECT
private slots:
    void killedEditorsWork_data();
    void killedEditorsWork();
    void copyGoes_data();
    void copyGoes();

private:
    QTemporaryDir m_dir;
};

void AutosaveTest::killedEditorsWork_data()
{
    QTest::addColumn<bool>("restore");
    QTest::newRow("Wiederherstellen") << true;
    QTest::newRow("Verwerfen") << false;
}

void AutosaveTest::killedEditorsWork()
{
    QFETCH(bool, restore);
    const QString folder = m_dir.filePath(QTest::currentDataTag());
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--work-until-killed", folder});
    QVERIFY(child.waitForReadyRead(30'000) && child.readAll() == "ready\n");
    TestProgram running;
    running.app().startRecovery(folder);
    QVERIFY(running.messages.questions.isEmpty());
    child.kill(); // SIGKILL: nothing of the child's own ending runs
    QVERIFY(child.waitForFinished());

    TestProgram p, expected;
    makeWork(expected.app());
    p.messages.restoreAnswers = {restore};
    p.app().startRecovery(folder);
    QCOMPARE(p.messages.questions,
             QStringList{"Pellwerk wurde nicht ordnungsgemäß beendet. Ungesicherte Arbeit wiederherstellen?"});
    if (!restore) {
        QVERIFY(!p.app().skin().isModified());
        QCOMPARE(copies(folder), QStringList());
        return;
    }
    QVERIFY(p.app().skin().document() == expected.app().skin().document());
    QVERIFY(sameBits(p.canvas(), expected.canvas()));
    QCOMPARE(copies(folder), QStringList{QFileInfo(p.app().recovery()->copyPath()).fileName()});
    p.messages.answers = {SaveChoice::Cancel};
    QVERIFY(!p.app().confirmDiscard());
}

void AutosaveTest::copyGoes_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : {"speichern", "rückgängig", "neu", "Beenden"})
        QTest::newRow(how) << QString(how);
}

void AutosaveTest::copyGoes()
{
    QFETCH(QString, how);
    TestProgram p;
    Ui::MainWindow &ui = p.main();
    p.app().startRecovery(m_dir.filePath(how));
    QSignalSpy written(p.app().recovery(), &RecoveryStore::written);
    makeWork(p.app());
    QVERIFY(written.wait(5000));
    const QString copy = p.app().recovery()->copyPath();
    QVERIFY(QFileInfo::exists(copy));
    p.messages.answers = {SaveChoice::Discard};
    p.dialogs->answer(p.dir.filePath("gesichert.bmp"));
    QAction *action = how == "speichern" ? ui.saveAction : how == "neu" ? ui.newAction : ui.quitAction;
    if (how == "rückgängig") {
        while (p.app().skin().undo()) { // the copy stays as long as the work differs from the saved
            p.app().recovery()->waitForIdle();
            QCOMPARE(QFileInfo::exists(copy), p.app().skin().isModified());
        }
    } else {
        action->trigger();
    }
    p.app().recovery()->waitForIdle();
    QVERIFY(!QFileInfo::exists(copy));
}

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (argc == 3 && argv[1] == std::string_view("--work-until-killed"))
        return workUntilKilled(QString::fromLocal8Bit(argv[2]));
    AutosaveTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_autosave.moc"
