// Saving under faults: a full disk, folders and files the user may not write, targets that are no
// plain file, symbolic links. Every failure gives one clear message and leaves everything in the
// folder as it was (the old file byte for byte, no half-written file beside it); a save that works
// reads back bit for bit, keeps the old file's mode, and leaves a link a link.

#include "TestProgram.h"

#include <QProcess>
#include <QScopeGuard>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace pellwerk;
using namespace testsupport;

namespace {

constexpr uid_t Nobody = 65534;
const QString WriteFailed = "Die Datei konnte nicht vollständig geschrieben werden (",
              IsFolder = "Unter diesem Namen gibt es schon einen Ordner.",
              NotRegular = "Das ist keine gewöhnliche Datei.";

// Runs `script` with sh in `folder` and returns its exit code (-1 when it did not end), with what
// it printed in `out`; what it complains about goes to the test's own error output.
int sh(const QString &folder, const QString &script, QString *out = nullptr)
{
    QProcess run;
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.setWorkingDirectory(folder);
    run.start("sh", {"-c", script});
    const bool ended = run.waitForFinished(60'000) && run.exitStatus() == QProcess::NormalExit;
    if (out)
        *out = QString::fromUtf8(run.readAllStandardOutput());
    return ended ? run.exitCode() : -1;
}

// Everything under skins/ but `except`: names, kinds, modes, link texts and the bytes of plain
// files, so that one comparison shows any change.
QString snapshot(const QString &programFolder, const QString &except)
{
    QString out;
    sh(programFolder,
       "find skins ! -path '" + except + "' -printf '%p %y %m %l\\n' -type f -exec md5sum {} + 2>/dev/null | sort",
       &out);
    return out;
}

} // namespace

class SaveFaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the file-size limit then fails with EFBIG
    }
    void save_data();
    void save();
};

void SaveFaultsTest::save_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("asPlainUser");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("reason");
    const auto row = [](const char *name, const QString &setup, const QString &reason, const char *saved = "",
                        qint64 limit = -1, bool asPlainUser = false) {
        QTest::newRow(name) << setup << limit << asPlainUser << QString(saved) << reason;
    };
    // Each setup runs in the skins folder, where skin.bmp is an old skin of mode 0640; an exit with
    // 77 means that the fault cannot be made here. `saved` is where the new skin lands, if it may;
    // `limit` is the file-size limit during the save. Permissions bind no root, so as root the plain
    // user's rows save as nobody, keeping root as the saved user to come back to.
    const QString plain = "chmod o+x .. && { [ $(id -u) != 0 ] || chown -R 65534:65534 .; }";
    const QString tmpfs =
        "cd .. && { mount -t tmpfs -o size=256k tmpfs skins || exit 77; } && cp old.bmp skins/skin.bmp";
    const QString moved = "mkdir real && mv skin.bmp real/ && ";
    row("plain file", "true", {}, "skin.bmp");
    row("full disk: no byte may be written", "true", WriteFailed, "", 0);
    row("full disk: 4 KiB", "true", WriteFailed, "", 4096);
    // The whole skin goes in one large write that stops one byte short.
    row("full disk: one large write one byte short", "true", WriteFailed, "", 196'661);
    // 256 KiB hold the old skin but not a second copy beside it: the write fails part-way.
    row("full tmpfs: room for part of the new file", tmpfs, WriteFailed);
    row("full tmpfs: no room left", tmpfs + " && { cat /dev/zero > skins/filler 2>/dev/null; true; }", WriteFailed);
    row("as a plain user", plain, {}, "skin.bmp", -1, true);
    row("read-only folder", plain + " && chmod 555 .", "Der Ordner ist schreibgeschützt.", "", -1, true);
    row("read-only file", plain + " && chmod 444 skin.bmp", "Die Datei ist schreibgeschützt.", "", -1, true);
    row("read-only file in a read-only folder", plain + " && chmod 444 skin.bmp && chmod 555 .",
        "Die Datei ist schreibgeschützt.", "", -1, true);
    row("target is a folder", "rm skin.bmp && mkdir skin.bmp && cp ../old.bmp skin.bmp/inside.bmp", IsFolder);
    row("target is a link to a folder", "mkdir x && mv skin.bmp x/inside.bmp && ln -s x skin.bmp", IsFolder);
    row("folder does not exist", "cd .. && rm -r skins", "Der Ordner ist nicht vorhanden.");
    // The save dialog offers /dev as readily as any folder: a pipe or device must stay what it is.
    row("target is a FIFO", "rm skin.bmp && mkfifo skin.bmp", NotRegular);
    // The null device's numbers, made here so that no real device is ever at stake.
    row("target is a device node", "rm skin.bmp && { mknod skin.bmp c 1 3 || exit 77; }", NotRegular);
    row("relative link", moved + "ln -s real/skin.bmp skin.bmp", {}, "real/skin.bmp");
    row("absolute link", moved + "ln -s \"$PWD/real/skin.bmp\" skin.bmp", {}, "real/skin.bmp");
    row("link to a link", moved + "ln -s real/skin.bmp hop.bmp && ln -s hop.bmp skin.bmp", {}, "real/skin.bmp");
    row("link to a file not yet there", "rm skin.bmp && mkdir real && ln -s real/new.bmp skin.bmp", {}, "real/new.bmp");
}

void SaveFaultsTest::save()
{
    QFETCH(QString, setup);
    QFETCH(qint64, limit);
    QFETCH(bool, asPlainUser);
    QFETCH(QString, saved);
    QFETCH(QString, reason);
    TestProgram p; // the default skin on its canvas is the new skin; the old one is all one colour
    const QImage shown = p.canvas();
    const QString folder = p.folder() + "/skins", target = folder + "/skin.bmp", real = folder + "/" + saved;
    QVERIFY(writeBmp(p.folder() + "/old.bmp", filled(256, 256, qRgb(1, 2, 3))));
    const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH); });
    const int made =
        sh(p.folder(), "mkdir skins && cd skins && cp ../old.bmp skin.bmp && chmod 640 skin.bmp && " + setup);
    if (made == 77)
        QSKIP("the fault cannot be made here");
    QCOMPARE(made, 0);
    const QString except = reason.isEmpty() ? "skins/" + saved : QString(), before = snapshot(p.folder(), except);
    const bool existed = QFile::exists(real);
    const QFile::Permissions permissions = QFile::permissions(real);

    QStringList &messages = p.messages.messages;
    const auto speichern = [&] {
        p.dialogs->answer(target);
        p.app().mainWindow().ui().saveAction->trigger();
    };
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const rlimit lowered{rlim_t(limit), old.rlim_max};
    QVERIFY(limit < 0 || setrlimit(RLIMIT_FSIZE, &lowered) == 0);
    const bool switching = asPlainUser && geteuid() == 0;
    QVERIFY(!switching || (setresgid(Nobody, Nobody, 0) == 0 && setresuid(Nobody, Nobody, 0) == 0));
    speichern();
    QVERIFY(!switching || (setresuid(0, 0, 0) == 0 && setresgid(0, 0, 0) == 0));
    setrlimit(RLIMIT_FSIZE, &old);

    QCOMPARE(snapshot(p.folder(), except), before);
    if (!reason.isEmpty()) {
        QCOMPARE(messages.size(), 1);
        QCOMPARE(
            messages[0].section('\n', 0, 0),
            QStringLiteral("Der Skin konnte nicht als „%1“ gespeichert werden.").arg(QDir::toNativeSeparators(target)));
        const QString why = messages[0].section('\n', 1);
        QVERIFY2(why == reason || (reason == WriteFailed && why.startsWith(reason)), qPrintable(why));
        QCOMPARE(p.app().state.SkinName, QStringLiteral("NeuerSkin"));
        return;
    }
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(" / ")));
    const QByteArray bytes = fileBytes(real);
    QCOMPARE(bytes.size(), 196'662);
    QCOMPARE(imageOf(decodeBitmap(bytes)), shown);
    if (existed)
        QCOMPARE(QFile::permissions(real), permissions);
    QCOMPARE(p.app().state.SkinName, target);
    // What was saved opens as it was, and saving it again writes the very same bytes.
    p.app().mainWindow().ui().newAction->trigger();
    QVERIFY(p.canvas() != shown);
    p.dialogs->answer(target);
    p.app().mainWindow().ui().openAction->trigger();
    QCOMPARE(p.canvas(), shown);
    speichern();
    QVERIFY(messages.isEmpty());
    QCOMPARE(fileBytes(real), bytes);
}

QTEST_MAIN(SaveFaultsTest)
#include "tst_savefaults.moc"
