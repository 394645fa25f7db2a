// Saving under faults: a full disk, folders and files the user may not write, a folder under the
// chosen name and a symbolic link. Every failure gives one clear message and leaves the old file
// byte for byte as it was, with no half-written file beside it; a save that works reads back
// bit for bit.

#include "TestSupport.h"

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

// A skin whose pixels depend on `seed`, so the old and the new skin differ everywhere.
QImage skinPattern(int seed)
{
    QImage img(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            img.setPixel(x, y, qRgb((x + seed * 37) % 256, (y * 3 + seed) % 256, (x ^ y ^ seed) % 256));
    return img;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void paintCanvas(TestProgram &p, const QImage &img)
{
    PictureBoxModel &canvas = p.app().form1().SkinPicture().model();
    canvas.drawingImage() = img.copy();
    canvas.refresh();
}

// "speichern" with the dialog answering `path`.
void saveVia(TestProgram &p, const QString &path)
{
    p.dialogs->answer(path);
    p.app().form1().ui().speichern->trigger();
}

// The one message a failed save must give: it names the file and says why in German.
void checkSaveMessage(const QStringList &messages, const QString &path)
{
    QCOMPARE(messages.size(), 1);
    const QStringList lines = messages.first().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.first(),
             QStringLiteral("Der Skin konnte nicht als „%1“ gespeichert werden.").arg(QDir::toNativeSeparators(path)));
    // The reason is a whole German sentence (a system text may follow in brackets).
    QVERIFY2(lines.last().startsWith(QLatin1String("D")) || lines.last().startsWith(QLatin1String("Unter ")),
             qPrintable(lines.last()));
    QVERIFY2(lines.last().endsWith(QLatin1Char('.')), qPrintable(lines.last()));
    qInfo("message | %s", qPrintable(lines.last()));
}

// Lowers the file-size limit of this process for its lifetime (writes past it fail with EFBIG,
// the signal is ignored in initTestCase).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_ok = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        rlimit lowered = m_old;
        lowered.rlim_cur = bytes;
        m_ok = m_ok && setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    bool m_ok = false;
};

// A small tmpfs at `folder` for its lifetime, when this process may mount one.
class SmallTmpfs
{
public:
    SmallTmpfs(const QString &folder, const char *options) : m_folder(QFile::encodeName(folder))
    {
        m_ok = ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, options) == 0;
        m_error = m_ok ? 0 : errno;
    }
    ~SmallTmpfs()
    {
        if (m_ok)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool ok() const { return m_ok; }
    QString why() const { return QString::fromLocal8Bit(std::strerror(m_error)); }

private:
    QByteArray m_folder;
    bool m_ok = false;
    int m_error = 0;
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
    const QByteArray errors = child.readAllStandardError();
    if (!errors.isEmpty())
        qWarning("child said: %s", errors.constData());
    return child.exitCode();
}

// The plain user's side.
int saveSkinAsChild(const QString &target)
{
    PictureBoxModel canvas(QSize(256, 256), Colours::Black, true);
    canvas.setPicture(Picture::make(skinPattern(2)));
    const auto error = SkinDocument::save(canvas, target);
    if (!error)
        return 0;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 2;
    out.write(error->toUtf8());
    return Refused;
}

// What a symbolic link says, exactly as written.
QString linkContents(const QString &link)
{
    char buffer[4096];
    const ssize_t n = ::readlink(QFile::encodeName(link).constData(), buffer, sizeof buffer);
    return n < 0 ? QString() : QFile::decodeName(QByteArray(buffer, n));
}

mode_t modeOf(const QString &path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : mode_t(-1);
}

void chownTo(const QString &path, uid_t uid)
{
    if (geteuid() == 0)
        QCOMPARE(::chown(QFile::encodeName(path).constData(), uid, uid), 0);
}

void chmodTo(const QString &path, mode_t mode)
{
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

} // namespace

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
    void targetIsFolder_data();
    void targetIsFolder();
    void missingFolder();
    void specialFileStays_data();
    void specialFileStays();
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
    TestProgram p;
    const QString folder = p.folder() + "/skins";
    QVERIFY(QDir().mkpath(folder));
    const QString target = folder + "/old.bmp";
    QVERIFY(writeBmp(target, skinPattern(1)));
    const QByteArray old = readAll(target);
    const QStringList before = listing(folder);
    paintCanvas(p, skinPattern(2));
    const QString skinName = p.app().state.SkinName;
    {
        FileSizeLimit guard{rlim_t(limit)};
        QVERIFY(guard.ok());
        saveVia(p, target);
    }
    checkSaveMessage(p.messages.messages, target);
    QCOMPARE(readAll(target), old);
    QCOMPARE(listing(folder), before);
    QCOMPARE(p.app().state.SkinName, skinName);
    QCOMPARE(p.canvas(), skinPattern(2));

    // With the limit gone the same save works.
    saveVia(p, target);
    QCOMPARE(p.messages.messages.size(), 1);
    QCOMPARE(decodeBitmap(readAll(target)).image, skinPattern(2));
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
    TestProgram p;
    const QString folder = p.folder() + "/small";
    QVERIFY(QDir().mkpath(folder));
    SmallTmpfs disk(folder, "size=256k");
    if (!disk.ok())
        QSKIP(qPrintable("a tmpfs cannot be mounted here (" + disk.why()
                         + "); the file-size limit rows cover a full disk"));
    const QString target = folder + "/old.bmp";
    QVERIFY(writeBmp(target, skinPattern(1)));
    if (filled) {
        QFile filler(folder + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    const QByteArray old = readAll(target);
    QCOMPARE(old.size(), SkinFileSize);
    const QStringList before = listing(folder);
    paintCanvas(p, skinPattern(2));

    saveVia(p, target);
    checkSaveMessage(p.messages.messages, target);
    QCOMPARE(readAll(target), old);
    QCOMPARE(listing(folder), before);
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
    QTemporaryDir root;
    QVERIFY(root.isValid());
    chmodTo(root.path(), 0755);
    const QString folder = root.path() + "/skins";
    QVERIFY(QDir().mkpath(folder));
    const QString target = folder + "/old.bmp";
    QVERIFY(writeBmp(target, skinPattern(1)));
    chownTo(folder, Nobody);
    chownTo(target, Nobody);
    chmodTo(target, fileReadOnly ? 0444 : 0644);
    chmodTo(folder, folderReadOnly ? 0555 : 0755);
    const QByteArray old = readAll(target);
    const QStringList before = listing(folder);

    QString message;
    const int code = saveAsPlainUser(target, message);
    chmodTo(folder, 0755);
    if (code == CouldNotSwitch)
        QSKIP("running as root, but the child could not switch to the user nobody");
    QVERIFY2(code != 0, "the save went through");
    QCOMPARE(code, Refused);
    checkSaveMessage({message}, target);
    QCOMPARE(message.section('\n', 1), reason);
    QCOMPARE(readAll(target), old);
    QCOMPARE(listing(folder), before);
    QCOMPARE(modeOf(target), mode_t(fileReadOnly ? 0444 : 0644));

    // The same user may save beside it once the folder and the file allow it.
    chmodTo(target, 0644);
    QCOMPARE(saveAsPlainUser(target, message), 0);
    QCOMPARE(decodeBitmap(readAll(target)).image, skinPattern(2));
}

void SaveFaultsTest::targetIsFolder_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("folder") << false;
    QTest::newRow("link to a folder") << true;
}

void SaveFaultsTest::targetIsFolder()
{
    QFETCH(bool, throughLink);
    TestProgram p;
    const QString folder = p.folder() + "/skins";
    const QString target = folder + "/skin.bmp";
    QVERIFY(QDir().mkpath(throughLink ? folder + "/elsewhere" : target));
    if (throughLink)
        QVERIFY(QFile::link("elsewhere", target));
    QVERIFY(writeBmp(folder + (throughLink ? "/elsewhere" : "/skin.bmp") + "/inside.bmp", skinPattern(1)));
    const QStringList before = listing(folder);
    const QByteArray inside = readAll(target + "/inside.bmp");
    paintCanvas(p, skinPattern(2));

    saveVia(p, target);
    checkSaveMessage(p.messages.messages, target);
    QCOMPARE(p.messages.messages.first().section('\n', 1),
             QStringLiteral("Unter diesem Namen gibt es schon einen Ordner."));
    QVERIFY(QFileInfo(target).isDir());
    QCOMPARE(QFileInfo(target).isSymLink(), throughLink);
    QCOMPARE(listing(folder), before);
    QCOMPARE(listing(target), QStringList{"inside.bmp"});
    QCOMPARE(readAll(target + "/inside.bmp"), inside);
}

void SaveFaultsTest::missingFolder()
{
    TestProgram p;
    const QString target = p.folder() + "/no such folder/skin.bmp";
    paintCanvas(p, skinPattern(2));
    saveVia(p, target);
    checkSaveMessage(p.messages.messages, target);
    QCOMPARE(p.messages.messages.first().section('\n', 1), QStringLiteral("Der Ordner ist nicht vorhanden."));
    QVERIFY(!QFileInfo::exists(p.folder() + "/no such folder"));
}

void SaveFaultsTest::specialFileStays_data()
{
    QTest::addColumn<bool>("device");
    QTest::newRow("pipe") << false;
    QTest::newRow("device node") << true;
}

// Saving onto a pipe or a device must not swap it for a plain file (the save dialog offers
// /dev as readily as any folder).
void SaveFaultsTest::specialFileStays()
{
    QFETCH(bool, device);
    TestProgram p;
    const QString target = p.folder() + "/special.bmp";
    const QByteArray name = QFile::encodeName(target);
    if (device) {
        // The null device's numbers, made here so that no real device is ever at stake.
        if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP(
                qPrintable("a device node cannot be made here (" + QString::fromLocal8Bit(std::strerror(errno)) + ")"));
    } else {
        QCOMPARE(::mkfifo(name.constData(), 0644), 0);
    }
    const QStringList before = listing(p.folder());
    paintCanvas(p, skinPattern(2));
    saveVia(p, target);
    checkSaveMessage(p.messages.messages, target);
    QCOMPARE(p.messages.messages.first().section('\n', 1), QStringLiteral("Das ist keine gewöhnliche Datei."));
    struct stat st
    {
    };
    QCOMPARE(::lstat(name.constData(), &st), 0);
    QVERIFY(device ? S_ISCHR(st.st_mode) : S_ISFIFO(st.st_mode));
    QCOMPARE(listing(p.folder()), before);
}

void SaveFaultsTest::symbolicLinkStaysLink_data()
{
    QTest::addColumn<QString>("linkText"); // what the link says, relative to the skins folder
    QTest::addColumn<QString>("realFile"); // where the skin really lies, relative to the same
    QTest::addColumn<bool>("oldFileExists");
    QTest::newRow("relative link") << "real/skin.bmp"
                                   << "real/skin.bmp" << true;
    QTest::newRow("absolute link") << "@/real/skin.bmp"
                                   << "real/skin.bmp" << true;
    QTest::newRow("link to a link") << "hop.bmp"
                                    << "real/skin.bmp" << true;
    QTest::newRow("link to a file not yet there") << "real/new.bmp"
                                                  << "real/new.bmp" << false;
}

void SaveFaultsTest::symbolicLinkStaysLink()
{
    QFETCH(QString, linkText);
    QFETCH(QString, realFile);
    QFETCH(bool, oldFileExists);
    TestProgram p;
    const QString folder = p.folder() + "/skins";
    QVERIFY(QDir().mkpath(folder + "/real"));
    linkText.replace("@", folder);
    if (linkText == QLatin1String("hop.bmp"))
        QVERIFY(QFile::link("real/skin.bmp", folder + "/hop.bmp"));
    if (oldFileExists) {
        QVERIFY(writeBmp(folder + "/" + realFile, skinPattern(1)));
        chmodTo(folder + "/" + realFile, 0640);
    }
    const QString link = folder + "/link.bmp";
    QVERIFY(QFile::link(linkText, link));
    const QStringList before = listing(folder);
    paintCanvas(p, skinPattern(2));

    saveVia(p, link);
    QVERIFY2(p.messages.messages.isEmpty(), qPrintable(p.messages.messages.join(" / ")));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(linkContents(link), linkText);
    QCOMPARE(listing(folder), before);
    QCOMPARE(listing(folder + "/real"), QStringList{QFileInfo(realFile).fileName()});
    const QByteArray saved = readAll(folder + "/" + realFile);
    QCOMPARE(saved.size(), SkinFileSize);
    QCOMPARE(decodeBitmap(saved).image, skinPattern(2));
    if (oldFileExists)
        QCOMPARE(modeOf(folder + "/" + realFile), mode_t(0640));
    QCOMPARE(p.app().state.SkinName, link);
}

void SaveFaultsTest::savedSkinReloadsBitForBit()
{
    TestProgram p;
    const QString target = p.folder() + "/saved.bmp";
    paintCanvas(p, skinPattern(3));
    saveVia(p, target);
    QVERIFY(p.messages.messages.isEmpty());
    const QByteArray bytes = readAll(target);
    QCOMPARE(bytes.size(), SkinFileSize);
    QCOMPARE(decodeBitmap(bytes).image, skinPattern(3));
    QCOMPARE(p.app().state.SkinName, target);

    p.app().form1().ui().dneu->trigger();
    QVERIFY(p.canvas() != skinPattern(3));
    p.dialogs->answer(target);
    p.app().form1().ui().dopen->trigger();
    QVERIFY(p.messages.messages.isEmpty());
    QCOMPARE(p.canvas(), skinPattern(3));
    // Saving what was opened writes the very same bytes again.
    saveVia(p, target);
    QCOMPARE(readAll(target), bytes);
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
