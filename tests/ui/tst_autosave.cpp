// The editor's recovery copies: the unsaved work of an editor killed outright (pastes and step
// edits) comes back at the next start bit for bit and still unsaved, or is deleted, as the user
// answers; a running editor's copy is never offered; the restored work's copy goes when it is
// saved, undone to the saved point, given up, or when the editor ends.
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

// Starts keeping copies in `folder` and makes unsaved work of parts that lie in no folder of the
// editor that restores them, one step tinted, one mirrored; true once its copy is written.
bool makeWork(App &app, const QString &folder)
{
    app.startRecovery(folder);
    QSignalSpy written(app.recovery(), &RecoveryStore::written);
    SkinCanvas &skin = app.skin();
    const Colour black = Colour::fromRgb(0, 0, 0);
    skin.paste({PartKindId::User, "/nirgends/Narbe.bmp", {20, 30}, black, {}}, crossedPart(40, 50, 1));
    skin.paste({PartKindId::Face, "/nirgends/Gesicht.bmp", *partKind(PartKindId::Face).place, black, {}},
               crossedPart(60, 70, 2));
    skin.setTint(0, {30, 0, 200});
    skin.setMirrored(1, true);
    return written.wait(5000);
}

int workUntilKilled(const QString &folder)
{
    RecordingMessageSink messages;
    App app(QCoreApplication::applicationDirPath(), messages, std::make_shared<ScriptedDialogs>());
    if (!makeWork(app, folder))
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

private:
    QTemporaryDir m_dir;
};

void AutosaveTest::killedEditorsWork_data()
{
    QTest::addColumn<bool>("restore");
    QTest::addColumn<QString>("then"); // what becomes of the restored work
    QTest::newRow("Verwerfen") << false << QString();
    for (const char *then : {"speichern", "rückgängig", "neu", "Beenden"})
        QTest::newRow(then) << true << QString(then);
}

void AutosaveTest::killedEditorsWork()
{
    QFETCH(bool, restore);
    QFETCH(QString, then);
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
    QVERIFY(makeWork(expected.app(), folder + "-expected"));
    p.messages.restoreAnswers = {restore};
    p.app().startRecovery(folder);
    QCOMPARE(p.messages.questions,
             QStringList{"Pellwerk wurde nicht ordnungsgemäß beendet. Ungesicherte Arbeit wiederherstellen?"});
    const QString copy = p.app().recovery()->copyPath();
    QCOMPARE(QDir(folder).entryList({"*.ora"}), restore ? QStringList{QFileInfo(copy).fileName()} : QStringList());
    QCOMPARE(p.app().skin().isModified(), restore);
    if (!restore)
        return;
    QVERIFY(p.app().skin().document() == expected.app().skin().document());
    QVERIFY(sameBits(p.canvas(), expected.canvas()));
    p.messages.answers = {SaveChoice::Cancel, SaveChoice::Discard};
    QVERIFY(!p.app().confirmDiscard());
    p.dialogs->answer(p.dir.filePath("gesichert.bmp"));
    if (then == "rückgängig")
        QVERIFY(p.app().skin().undo());
    else
        (then == "speichern" ? p.main().saveAction
         : then == "neu"     ? p.main().newAction
                             : p.main().quitAction)
            ->trigger();
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
