// Saving under faults: a full disk, folders and files the user may not write, a folder under the
// chosen name and a symbolic link. Every failure gives one clear message and leaves the old file
// byte for byte as it was, with no half-written file beside it; a save that works reads back
// bit for bit.

#include "TestProgram.h"

#include "core/BitmapDecoder.h"
#include "core/PictureBoxModel.h"
#include "core/SkinDocument.h"
#include "ui/App.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"
#include "ui_Form1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <grp.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace pellwerk;
using namespace testsupport;

namespace {

constexpr qint64 SkinFileSize = 196'662;
constexpr uid_t Nobody = 65534;
const char ChildFlag[] = "--save-skin-as-child";
// Exit codes of the child; a sanitizer report ends it with 1, which is neither.
constexpr int Refused = 20;
constexpr int CouldNotSwitch = 21;
const QString WriteFailed = QStringLiteral("Die Datei konnte nicht vollständig geschrieben werden (");

// A skin whose pixels depend on `seed`, so the old and the new skin differ everywhere.
QImage skinPattern(int seed)
{
    QImage img(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            img.setPixel(x, y, qRgb((x + seed * 37) % 256, (y * 3 + seed) % 256, (x ^ y ^ seed) % 256));
    return img;
}


QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A program with skinPattern(2) on its canvas, and what a failed save must leave as it was.
struct Saving
{
    TestProgram p;
    QString folder, target;
    QByteArray old;
    QStringList before;

    // `target` in `folder` (made if missing); with `oldSkin`, skinPattern(1) is already saved there.
    Saving(const QString &subfolder, const QString &name, bool oldSkin = true)
        : folder(p.folder() + subfolder), target(folder + name)
    {
        QDir().mkpath(folder);
        PictureBoxModel &canvas = p.app().form1().SkinPicture().model();
        canvas.drawingImage() = skinPattern(2);
        canvas.refresh();
        if (oldSkin)
            writeBmp(target, skinPattern(1));
    }
    // Takes the picture of the folder as it is now.
    void snapshot()
    {
        old = fileBytes(target);
        before = listing(folder);
    }
    // "speichern" with the dialog answering `path`.
    void save(const QString &path)
    {
        p.dialogs->answer(path);
        p.app().form1().ui().speichern->trigger();
    }
    // One message naming the file with `reason` (a system text may follow it in brackets), the old
    // file byte for byte, no file beside it and the skin's name as before.
    void checkRefused(const QString &reason, bool readOld = true)
    {
        QCOMPARE(p.messages.messages.size(), 1);
        const QStringList lines = p.messages.messages.first().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(
            lines.first(),
            QStringLiteral("Der Skin konnte nicht als „%1“ gespeichert werden.").arg(QDir::toNativeSeparators(target)));
        QVERIFY2(lines.last() == reason || (reason.endsWith('(') && lines.last().startsWith(reason)),
                 qPrintable(lines.last()));
        qInfo("message | %s", qPrintable(lines.last()));
        if (readOld) // a pipe would block the read
            QCOMPARE(fileBytes(target), old);
        QCOMPARE(listing(folder), before);
        QCOMPARE(p.app().state.SkinName, QStringLiteral("NeuerSkin"));
    }
};

// Lowers the file-size limit of this process for its lifetime (writes past it fail with EFBIG,
// the signal is ignored in initTestCase).
struct FileSizeLimit
{
    explicit FileSizeLimit(rlim_t bytes)
    {
        ok = getrlimit(RLIMIT_FSIZE, &old) == 0;
        const rlimit lowered{bytes, old.rlim_max};
        ok = ok && setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    rlimit old{};
    bool ok = false;
};

// A small tmpfs at `folder` for its lifetime, when this process may mount one.
struct SmallTmpfs
{
    SmallTmpfs(const QString &folder, const char *options) : path(QFile::encodeName(folder))
    {
        ok = ::mount("tmpfs", path.constData(), "tmpfs", 0, options) == 0;
        why = ok ? QString() : QString::fromLocal8Bit(std::strerror(errno));
    }
    ~SmallTmpfs()
    {
        if (ok)
            ::umount2(path.constData(), MNT_DETACH);
    }
    QByteArray path;
    bool ok = false;
    QString why;
};

// Runs this test program again as a plain user (nobody when started as root), saving
// skinPattern(2) through SkinDocument::save to `target`. Returns the exit code (0 saved, Refused
// with the message in `message`), or -1 when the child could not run.
int saveAsPlainUser(const QString &target, QString &message)
{
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QString::fromLatin1(ChildFlag), target});
    if (geteuid() == 0) {
        child.setChildProcessModifier([] {
            // Never go on as root: a failed switch would make every permission check pass.
            if (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0)
                _exit(CouldNotSwitch);
        });
    }
    child.start();
    if (!child.waitForFinished(60'000) || child.exitStatus() != QProcess::NormalExit) {
        qWarning("child: %s", child.readAllStandardError().constData());
        return -1;
    }
    message = QString::fromUtf8(child.readAllStandardOutput());
    if (const QByteArray errors = child.readAllStandardError(); !errors.isEmpty())
        qWarning("child said: %s", errors.constData());
    return child.exitCode();
}

// The plain user's side.
int saveSkinAsChild(const QString &target)
{
    PictureBoxModel canvas(QSize(256, 256), Colours::Black, true);
    canvas.setPicture(Picture::make(skinPattern(2)));
    const Result<void> saved = SkinDocument::save(canvas, target);
    if (saved)
        return 0;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 2;
    out.write(ErrorText::saveSkinFailed(target, saved.error()).toUtf8());
    return Refused;
}

mode_t modeOf(const QString &path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : mode_t(-1);
}

void chmodTo(const QString &path, mode_t mode)
{
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

enum class Target { Folder, LinkToFolder, MissingFolder, Fifo, Device };

} // namespace

Q_DECLARE_METATYPE(Target)

class SaveFaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void fileSizeLimit_data();
    void fileSizeLimit();
    void fullTmpfs_data();
    void fullTmpfs();
    void notWritableForUser_data();
    void notWritableForUser();
    void refusedTarget_data();
    void refusedTarget();
    void symbolicLinkStaysLink_data();
    void symbolicLinkStaysLink();
    void savedSkinReloadsBitForBit();
};

void SaveFaultsTest::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    // A write past the file-size limit then fails with EFBIG instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
}

void SaveFaultsTest::fileSizeLimit_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::newRow("no byte may be written") << qint64(0);
    QTest::newRow("4 KiB") << qint64(4096);
    // The whole skin goes in one large write that stops one byte short.
    QTest::newRow("one byte short") << SkinFileSize - 1;
}

void SaveFaultsTest::fileSizeLimit()
{
    QFETCH(qint64, limit);
    Saving s("/skins", "/old.bmp");
    s.snapshot();
    {
        FileSizeLimit guard{rlim_t(limit)};
        QVERIFY(guard.ok);
        s.save(s.target);
    }
    s.checkRefused(WriteFailed);
    QCOMPARE(s.p.canvas(), skinPattern(2));

    // With the limit gone the same save works.
    s.save(s.target);
    QCOMPARE(s.p.messages.messages.size(), 1);
    QCOMPARE(imageOf(decodeBitmap(fileBytes(s.target))), skinPattern(2));
}

void SaveFaultsTest::fullTmpfs_data()
{
    QTest::addColumn<bool>("filled");
    // 256 KiB hold the old skin but not a second copy beside it: the write fails part-way.
    QTest::newRow("room for part of the new file") << false;
    // Nothing left at all: the first byte fails.
    QTest::newRow("no room left") << true;
}

void SaveFaultsTest::fullTmpfs()
{
    QFETCH(bool, filled);
    Saving s("/small", "/old.bmp", false);
    SmallTmpfs disk(s.folder, "size=256k");
    if (!disk.ok)
        QSKIP(qPrintable("a tmpfs cannot be mounted here (" + disk.why
                         + "); the file-size limit rows cover a full disk"));
    QVERIFY(writeBmp(s.target, skinPattern(1)));
    QFile filler(s.folder + "/filler");
    if (filled) {
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    s.snapshot();
    QCOMPARE(s.old.size(), SkinFileSize);
    s.save(s.target);
    s.checkRefused(WriteFailed);
}

void SaveFaultsTest::notWritableForUser_data()
{
    QTest::addColumn<bool>("folderReadOnly");
    QTest::addColumn<bool>("fileReadOnly");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only folder") << true << false << "Der Ordner ist schreibgeschützt.";
    QTest::newRow("read-only file") << false << true << "Die Datei ist schreibgeschützt.";
    QTest::newRow("read-only file in a read-only folder") << true << true << "Die Datei ist schreibgeschützt.";
}

// Permissions bind only a plain user; started as root the save runs in a child that has switched
// to nobody. It goes through SkinDocument::save, which is all "speichern" does with the path.
void SaveFaultsTest::notWritableForUser()
{
    QFETCH(bool, folderReadOnly);
    QFETCH(bool, fileReadOnly);
    QFETCH(QString, reason);
    Saving s("/skins", "/old.bmp");
    chmodTo(s.p.folder(), 0755);
    for (const QString &path : {s.folder, s.target})
        if (geteuid() == 0)
            QCOMPARE(::chown(QFile::encodeName(path).constData(), Nobody, Nobody), 0);
    chmodTo(s.target, fileReadOnly ? 0444 : 0644);
    chmodTo(s.folder, folderReadOnly ? 0555 : 0755);
    s.snapshot();

    QString message;
    const int code = saveAsPlainUser(s.target, message);
    chmodTo(s.folder, 0755);
    if (code == CouldNotSwitch)
        QSKIP("running as root, but the child could not switch to the user nobody");
    QCOMPARE(code, Refused);
    s.p.messages.messages = {message};
    s.checkRefused(reason);
    QCOMPARE(modeOf(s.target), mode_t(fileReadOnly ? 0444 : 0644));

    // The same user may save there once the folder and the file allow it.
    chmodTo(s.target, 0644);
    QCOMPARE(saveAsPlainUser(s.target, message), 0);
    QCOMPARE(imageOf(decodeBitmap(fileBytes(s.target))), skinPattern(2));
}

void SaveFaultsTest::refusedTarget_data()
{
    QTest::addColumn<Target>("what");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder") << Target::Folder << "Unter diesem Namen gibt es schon einen Ordner.";
    QTest::newRow("link to a folder") << Target::LinkToFolder << "Unter diesem Namen gibt es schon einen Ordner.";
    QTest::newRow("folder does not exist") << Target::MissingFolder << "Der Ordner ist nicht vorhanden.";
    // Saving onto a pipe or a device must not swap it for a plain file (the save dialog offers
    // /dev as readily as any folder).
    QTest::newRow("pipe") << Target::Fifo << "Das ist keine gewöhnliche Datei.";
    QTest::newRow("device node") << Target::Device << "Das ist keine gewöhnliche Datei.";
}

void SaveFaultsTest::refusedTarget()
{
    QFETCH(Target, what);
    QFETCH(QString, reason);
    Saving s("/skins", what == Target::MissingFolder ? "/no such folder/skin.bmp" : "/skin.bmp", false);
    const QByteArray name = QFile::encodeName(s.target);
    if (what == Target::Folder || what == Target::LinkToFolder) {
        const QString real = s.folder + (what == Target::Folder ? "/skin.bmp" : "/elsewhere");
        QVERIFY(QDir().mkpath(real));
        QVERIFY(what == Target::Folder || QFile::link("elsewhere", s.target));
        QVERIFY(writeBmp(real + "/inside.bmp", skinPattern(1)));
    } else if (what == Target::Fifo) {
        QCOMPARE(::mkfifo(name.constData(), 0644), 0);
    } else if (what == Target::Device && ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        // The null device's numbers, made here so that no real device is ever at stake.
        QSKIP(qPrintable("a device node cannot be made here (" + QString::fromLocal8Bit(std::strerror(errno)) + ")"));
    }
    s.before = listing(s.folder);
    const QByteArray inside = fileBytes(s.target + "/inside.bmp");
    s.save(s.target);
    s.checkRefused(reason, false);
    struct stat st
    {
    };
    const bool there = ::lstat(name.constData(), &st) == 0;
    switch (what) {
    case Target::Folder:
    case Target::LinkToFolder:
        QVERIFY(QFileInfo(s.target).isDir());
        QCOMPARE(QFileInfo(s.target).isSymLink(), what == Target::LinkToFolder);
        QCOMPARE(listing(s.target), QStringList{"inside.bmp"});
        QCOMPARE(fileBytes(s.target + "/inside.bmp"), inside);
        break;
    case Target::MissingFolder:
        QVERIFY(!QFileInfo::exists(s.folder + "/no such folder"));
        break;
    case Target::Fifo:
        QVERIFY(there && S_ISFIFO(st.st_mode));
        break;
    case Target::Device:
        QVERIFY(there && S_ISCHR(st.st_mode));
        break;
    }
}

void SaveFaultsTest::symbolicLinkStaysLink_data()
{
    QTest::addColumn<QString>("linkText"); // what the link says, relative to the skins folder
    QTest::addColumn<QString>("realFile"); // where the skin really lies, relative to the same
    QTest::addColumn<bool>("oldFileExists");
    const auto row = [](const char *name, const char *linkText, const char *realFile, bool oldFileExists) {
        QTest::newRow(name) << QString(linkText) << QString(realFile) << oldFileExists;
    };
    row("relative link", "real/skin.bmp", "real/skin.bmp", true);
    row("absolute link", "@/real/skin.bmp", "real/skin.bmp", true);
    row("link to a link", "hop.bmp", "real/skin.bmp", true);
    row("link to a file not yet there", "real/new.bmp", "real/new.bmp", false);
}

void SaveFaultsTest::symbolicLinkStaysLink()
{
    QFETCH(QString, linkText);
    QFETCH(QString, realFile);
    QFETCH(bool, oldFileExists);
    Saving s("/skins", "/link.bmp", false);
    const QString real = s.folder + "/" + realFile;
    QVERIFY(QDir().mkpath(s.folder + "/real"));
    linkText.replace("@", s.folder);
    if (linkText == QLatin1String("hop.bmp"))
        QVERIFY(QFile::link("real/skin.bmp", s.folder + "/hop.bmp"));
    if (oldFileExists) {
        QVERIFY(writeBmp(real, skinPattern(1)));
        chmodTo(real, 0640);
    }
    QVERIFY(QFile::link(linkText, s.target));
    const QByteArray name = QFile::encodeName(s.target);
    s.snapshot();

    s.save(s.target);
    QVERIFY2(s.p.messages.messages.isEmpty(), qPrintable(s.p.messages.messages.join(" / ")));
    char text[4096];
    const ssize_t n = ::readlink(name.constData(), text, sizeof text);
    QCOMPARE(QFile::decodeName(QByteArray(text, qMax<ssize_t>(n, 0))), linkText);
    QCOMPARE(listing(s.folder), s.before);
    QCOMPARE(listing(s.folder + "/real"), QStringList{QFileInfo(realFile).fileName()});
    const QByteArray saved = fileBytes(real);
    QCOMPARE(saved.size(), SkinFileSize);
    QCOMPARE(imageOf(decodeBitmap(saved)), skinPattern(2));
    if (oldFileExists)
        QCOMPARE(modeOf(real), mode_t(0640));
    QCOMPARE(s.p.app().state.SkinName, s.target);
}

void SaveFaultsTest::savedSkinReloadsBitForBit()
{
    Saving s("", "/saved.bmp", false);
    s.save(s.target);
    QVERIFY(s.p.messages.messages.isEmpty());
    const QByteArray bytes = fileBytes(s.target);
    QCOMPARE(bytes.size(), SkinFileSize);
    QCOMPARE(imageOf(decodeBitmap(bytes)), skinPattern(2));
    QCOMPARE(s.p.app().state.SkinName, s.target);

    s.p.app().form1().ui().dneu->trigger();
    QVERIFY(s.p.canvas() != skinPattern(2));
    s.p.dialogs->answer(s.target);
    s.p.app().form1().ui().dopen->trigger();
    QVERIFY(s.p.messages.messages.isEmpty());
    QCOMPARE(s.p.canvas(), skinPattern(2));
    // Saving what was opened writes the very same bytes again.
    s.save(s.target);
    QCOMPARE(fileBytes(s.target), bytes);
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], ChildFlag) == 0)
        return saveSkinAsChild(QString::fromLocal8Bit(argv[2]));
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    SaveFaultsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savefaults.moc"
