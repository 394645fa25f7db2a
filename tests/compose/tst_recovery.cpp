// Recovery copies: each editor keeps its own, a running editor's copy is never offered, a killed
// one's is, newest first; unreadable files are moved aside; a folder that cannot be made or a write
// cut short by a full disk keeps the previous copy whole, and the next change writes again. A copy
// of a document restores it whole without the files it was made from; one that does not describe
// its project is refused.

#include "TestFiles.h"
#include "compose/OpenRasterWriter.h"
#include "compose/RecoveryProject.h"
#include "compose/RecoveryStore.h"
#include "core/SkinDocument.h"
#include "parts/PlacementTable.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <semaphore>
#include <string_view>
#include <sys/resource.h>

using namespace pellwerk;
using namespace testsupport;

namespace {

const auto anyBytes = [](const QByteArray &) { return true; };

// A store whose snapshot is whatever `*bytes` holds when the copy is due.
std::unique_ptr<RecoveryStore> storeOf(const QString &folder, const QByteArray *bytes, int delayMs = 0)
{
    return std::make_unique<RecoveryStore>(
        folder, "ora", [bytes] { return [copy = *bytes]() -> Result<QByteArray> { return copy; }; },
        std::chrono::milliseconds(delayMs));
}

bool writeNow(RecoveryStore &store)
{
    QSignalSpy written(&store, &RecoveryStore::written);
    store.markUnsaved();
    return written.wait(5000);
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The child editor: one store with a copy of "child's work", one whose work was saved; then it
// waits to be killed.
int holdCopies(const QString &folder)
{
    const QByteArray work = "child's work";
    auto kept = storeOf(folder, &work), saved = storeOf(folder, &work);
    if (!writeNow(*kept) || !writeNow(*saved))
        return 1;
    saved->settle();
    saved->waitForIdle();
    std::puts("ready");
    std::fflush(stdout);
    return std::getchar();
}

PasteStep stepOf(PartKindId kind, const QString &part, QPoint userPlace = {})
{
    const PartKind &fixed = partKind(kind);
    return {kind, part, fixed.place.value_or(userPlace), Colour::fromRgb(0, 0, 0), {}};
}

} // namespace

Q_DECLARE_METATYPE(pellwerk::Document)

class RecoveryTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }
    void editorsKeepTheirOwn();
    void unreadableMovedAside();
    void failedWritesKeepPrevious_data();
    void failedWritesKeepPrevious();
    void newerSnapshotSupersedes();
    void documentRestored_data();
    void documentRestored();
    void foreignCopiesRefused();

private:
    QTemporaryDir m_dir;
};

void RecoveryTest::editorsKeepTheirOwn()
{
    const QString folder = m_dir.filePath("editors");
    const QByteArray mine = "first editor", none;
    auto a = storeOf(folder, &mine, 10), c = storeOf(folder, &none);
    a->markUnsaved();
    QVERIFY(!QFileInfo::exists(folder)); // made on the first write only
    QVERIFY(writeNow(*a));
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--hold-copies", folder});
    QVERIFY(child.waitForReadyRead(30'000) && child.readAll() == "ready\n");
    QCOMPARE(entries(folder).size(), 5); // a copy and a lock each, the saved editor's lock
    QVERIFY(c->claimLeftovers(anyBytes).empty());
    a->settle();
    a->waitForIdle();
    QVERIFY(!QFileInfo::exists(a->copyPath()));
    a.reset(); // ended normally: its lock goes too
    child.kill();
    QVERIFY(child.waitForFinished());
    std::vector<RecoveryCopy> found = c->claimLeftovers(anyBytes);
    QCOMPARE(found.size(), size_t(1));
    QCOMPARE(found[0].bytes, QByteArray("child's work"));
    QVERIFY(c->adopt(found[0]));
    QCOMPARE(fileBytes(c->copyPath()), QByteArray("child's work"));
    const QString own = QFileInfo(c->copyPath()).fileName();
    QCOMPARE(entries(folder), QStringList({own, own + ".lock"}));
}

void RecoveryTest::unreadableMovedAside()
{
    const QString folder = m_dir.filePath("aside"), aside = folder + "/defekt/";
    QVERIFY(makeFiles(aside, "bad.ora") && QDir(folder).mkdir("folder.ora"));
    QVERIFY(writeFile(folder + "/old.ora", "old") && writeFile(folder + "/new.ora", "new")
            && writeFile(folder + "/bad.ora", "not a copy") && writeFile(folder + "/notes.txt", "kept"));
    QFile huge(folder + "/huge.ora"), old(folder + "/old.ora");
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(RecoveryStore::MaxCopyBytes + 1));
    QVERIFY(old.open(QIODevice::ReadWrite)
            && old.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    auto store = storeOf(folder, nullptr);
    const std::vector<RecoveryCopy> found =
        store->claimLeftovers([](const QByteArray &b) { return b != "not a copy"; });
    QCOMPARE(found.size(), size_t(2));
    QCOMPARE(found[0].bytes + found[1].bytes, QByteArray("newold"));
    QVERIFY(store->discard(found[1]));
    QCOMPARE(entries(folder), QStringList({"defekt", "new.ora", "new.ora.lock", "notes.txt"}));
    QCOMPARE(entries(aside), QStringList({"bad.ora", "bad.ora.1", "folder.ora", "huge.ora"}));
    QCOMPARE(fileBytes(aside + "bad.ora.1"), QByteArray("not a copy"));
}

void RecoveryTest::failedWritesKeepPrevious_data()
{
    QTest::addColumn<qint64>("limit"); // the file-size limit while the second copy is written
    QTest::newRow("no byte may be written") << qint64(0);
    QTest::newRow("4 KiB") << qint64(4096);
    QTest::newRow("one byte short") << qint64(65535);
}

void RecoveryTest::failedWritesKeepPrevious()
{
    QFETCH(qint64, limit);
    const QString folder = m_dir.filePath(QString::number(limit));
    QByteArray bytes = "previous copy";
    const QByteArray previous = bytes;
    auto store = storeOf(folder, &bytes);
    QSignalSpy failed(store.get(), &RecoveryStore::writeFailed);
    QVERIFY(writeFile(folder, "a file where the folder goes"));
    store->markUnsaved();
    QVERIFY(failed.wait(5000));
    QVERIFY(QFile::remove(folder) && writeNow(*store));
    const QStringList before = entries(folder);
    bytes = QByteArray(65536, 'n');
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const rlimit lowered{rlim_t(limit), old.rlim_max};
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &lowered), 0);
    store->markUnsaved();
    const bool reported = failed.wait(5000);
    setrlimit(RLIMIT_FSIZE, &old);
    QVERIFY(reported);
    QCOMPARE(failed.last().at(0).value<Error>().kind, ErrorKind::WriteIncomplete);
    QCOMPARE(entries(folder), before);
    QCOMPARE(fileBytes(store->copyPath()), previous);
    QVERIFY(writeNow(*store));
    QCOMPARE(fileBytes(store->copyPath()), bytes);
}

void RecoveryTest::newerSnapshotSupersedes()
{
    std::binary_semaphore entered(0), go(0);
    int snapshots = 0, serialized = 0;
    RecoveryStore store(
        m_dir.filePath("newer"), "ora",
        [&] {
            return [&, n = ++snapshots]() -> Result<QByteArray> {
                if (++serialized == 1) { // the worker is busy while the editor goes on
                    entered.release();
                    go.acquire();
                }
                return QByteArray::number(n);
            };
        },
        std::chrono::milliseconds(0));
    for (int i = 0; i < 10; ++i) {
        store.markUnsaved();
        store.flush();
        if (i == 0)
            entered.acquire();
    }
    go.release();
    store.waitForIdle();
    QCOMPARE(serialized, 2);
    QCOMPARE(fileBytes(store.copyPath()), QByteArray("10"));
}

void RecoveryTest::documentRestored_data()
{
    // Part paths name no file: the copy alone must hold every picture.
    QTest::addColumn<Document>("document");
    Document fromNew({CompositionBase::Kind::New, {}}, randomImage(256, 256, 1));
    fromNew.append(stepOf(PartKindId::Face, {}), SkinDocument::builtInPreview().image);
    QTest::newRow("new skin, the preview picture") << fromNew;
    Document edited({CompositionBase::Kind::File, "/kein/Ordner/alt.bmp"}, randomImage(300, 200, 2));
    PasteStep user = stepOf(PartKindId::User, "/kein/a/Teil.bmp", QPoint(-10, 200));
    user.visible = false;
    edited.append(user, randomImage(30, 40, 3));
    PasteStep shirt = stepOf(PartKindId::Shirt, "/kein/b/Teil.bmp"); // a second file of that name
    shirt.transparent = Colour::fromRgb(255, 255, 255);
    // Palettes that are no files either, one of them a repeated colour.
    shirt.ramp = {"/kein/rot.gpl", "/kein/blau.gpl"};
    edited.addPalette(shirt.ramp.from, {"Rot", 2, {Colour::fromRgb(200, 0, 0), Colour::fromRgb(200, 0, 0)}});
    edited.addPalette(shirt.ramp.to, {{}, 0, {Colour::fromRgb(0, 0, 200), Colour::fromRgb(0, 9, 90)}});
    edited.append(shirt, randomImage(160, 200, 4));
    QTest::newRow("a skin file, a hidden user place, two parts of one name, a ramp") << edited;
}

void RecoveryTest::documentRestored()
{
    QFETCH(Document, document);
    const Result<QByteArray> copy = recoverySerializer(document)();
    QVERIFY2(copy, qPrintable(errorText(copy)));
    const Result<Document> restored = readRecoveryProject(copy.value(), m_dir.path());
    QVERIFY2(restored, qPrintable(errorText(restored)));
    QVERIFY(restored.value() == document);
    QVERIFY(sameBits(restored->render(), document.render()));
}

void RecoveryTest::foreignCopiesRefused()
{
    Recipe recipe{{}, {{CompositionBase::Kind::Default, {}}, {stepOf(PartKindId::Face, {})}}}, other = recipe;
    other.composition.steps[0].tint = {1, 0, 0};
    const Composer composer(RecipeFolders{});
    const Result<Document> saved = readRecoveryProject(writeOpenRaster(recipe, composer).value(), {});
    QCOMPARE(saved.error().kind, ErrorKind::ArchiveEntryMissing); // a project the user saved
    const QByteArray notes = writeOpenRaster(recipe, composer, {{"recovery.json", writeRecipe(other)}}).value();
    QCOMPARE(readRecoveryProject(notes, {}).error().kind, ErrorKind::ArchiveEntryDamaged);
}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc == 3 && argv[1] == std::string_view("--hold-copies"))
        return holdCopies(QString::fromLocal8Bit(argv[2]));
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
