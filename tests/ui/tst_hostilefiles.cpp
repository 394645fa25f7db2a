// Hostile files through the real windows: damaged, lying, huge and strange files are offered three
// ways ("öffnen", "neu", a part list) and must either load as the decoder promises or give exactly
// one clear German message while the canvas, the preview and the program state stay as they were.
// Each decoding rule is proved by the decoder's own test; here one row per kind of failure and per
// kind of thing that is no plain file shows that every road reports it the same way.

#include "TestProgram.h"

#include "core/BitmapWriter.h"

#include <sys/stat.h>
#include <tuple>

using namespace pellwerk;
using namespace testsupport;

namespace {

const QString Loads, NotBitmap = "Die Datei ist keine Bitmap-Datei.",
                     Incomplete = "Die Bitmap-Datei ist unvollständig.", Damaged = "Die Bitmap-Datei ist fehlerhaft.",
                     TooLarge = "Das Bild ist zu groß.", Unsupported = "Dieses Bitmap-Format wird nicht unterstützt.",
                     FileTooLarge = "Die Datei ist zu groß.", Missing = "Die Datei ist nicht vorhanden.",
                     Folder = "Das ist ein Ordner, keine Datei.", NotRegular = "Das ist keine gewöhnliche Datei.";

// What lies under the file's name: the row's bytes, something that is no plain file, or nothing.
enum class Kind { Bytes, Folder, Fifo, Device, Sparse, LinkLoop, Gone };
enum class Road { Open, New, List };

// A change to the good skin: `value` as `size` little-endian bytes at `at`; size 0 cuts the file there.
struct Edit
{
    qint64 at, value;
    int size = 4;
};

struct Case
{
    const char *name;
    QList<Edit> edits = {};
    QString reason = Loads;
    QImage loads = {};              // when it loads and is no skin: its picture
    Kind kind = Kind::Bytes;        // when it is listed (or chosen)
    std::optional<Kind> later = {}; // what it has become when it is read
    QString fileName = "Face_bad.bmp";
};

// An 8-bit 2 x 1 picture: two palette entries (red, green) behind the header, then the indices 1 and 200.
const QList<Edit> Pal8{{18, 2}, {22, 1}, {28, 8, 2}, {10, 62}, {54, 0xFF'0000}, {58, 0xFF00}, {62, 0xC801, 2}};
const uchar GreenBlack[] = {0, 0xFF, 0, 0xFF, 0, 0, 0, 0xFF};
const QString LongName = "Face_" + QString(120, QChar(0xE9)) + ".bmp";
const QList<Case> Cases{
    {"empty file", {{0, 0, 0}}, NotBitmap},
    // A damaged file's name is repeated in the message exactly: placeholders, quotes, backslashes are text.
    {.name = "only BM", .edits = {{2, 0, 0}}, .reason = Incomplete, .fileName = "Face_%1%2.bmp"},
    {.name = "header cut at 53", .edits = {{53, 0, 0}}, .reason = Incomplete, .fileName = "Face_„%L1“ 100%.bmp"},
    {.name = "skin cut at half", .edits = {{98'331, 0, 0}}, .reason = Incomplete, .fileName = LongName},
    {.name = "pixel offset past the end", .edits = {{10, 196'672}}, .reason = Incomplete, .fileName = "Face_\\x\\.bmp"},
    {"unknown header size 41", {{14, 41}}, Unsupported},
    {"planes 0", {{26, 0, 2}}, Damaged},
    {"pixel offset inside the header", {{10, 20}}, Damaged},
    {"height -2^31", {{22, -0x8000'0000LL}}, TooLarge},
    {"file-size field huge", {{2, 0xFFFF'FFFF}}},
    {"colours used huge", QList<Edit>(Pal8) << Edit{46, 0xFFFF'FFFF}, Damaged},
    // Index 1 is green; index 200 lies past the palette and shows black.
    {"palette index out of range", Pal8, Loads, QImage(GreenBlack, 2, 1, QImage::Format_RGB32)},
    {"run-length coding, top-down", {{28, 8, 2}, {30, 1}, {22, -256}}, Damaged},
    {"bit-field masks overlapping", {{28, 16, 2}, {30, 3}, {54, 0xFF00}, {58, 0x0FF0}, {62, 0x000F}}, Unsupported},
    {.name = "folder", .reason = Folder, .kind = Kind::Folder},
    {.name = "FIFO", .reason = NotRegular, .kind = Kind::Fifo},
    {.name = "/dev/zero", .reason = NotRegular, .kind = Kind::Device},
    {.name = "deleted after it was listed", .reason = Missing, .later = Kind::Gone},
    {.name = "folder after it was listed", .reason = Folder, .later = Kind::Folder},
    {.name = "FIFO after it was listed", .reason = NotRegular, .later = Kind::Fifo},
    {.name = "600 MiB file", .reason = FileTooLarge, .kind = Kind::Sparse},
    {.name = "symbolic link to itself", .reason = Missing, .kind = Kind::LinkLoop},
};

QByteArray bytesOf(const Case &c)
{
    QByteArray b = encodeBitmap24(crossedPart(256, 256, 0));
    for (const Edit &e : c.edits) {
        if (e.size == 0)
            b.truncate(e.at);
        for (int i = 0; i < e.size; ++i)
            b[e.at + i] = char(e.value >> (8 * i));
    }
    return b;
}

// Every AppState field, so that one comparison sees any field that moved.
auto fields(const AppState &s)
{
    return std::tuple(s.ProgramFolder, s.ImageFolder, s.SkinName, s.SkinFolder, s.TransparentColour,
                      s.TransparentColourName, s.LanguageFile, s.LanguageLine, s.PartRect, s.UserColour);
}

// Puts the thing at `path` in place of what was there. The device is used where it is: nothing
// outside the test's own folder is ever planted or removed.
void plant(const QString &path, Kind kind, const QByteArray &bytes)
{
    if (kind == Kind::Device)
        return;
    QFile::remove(path);
    if (kind == Kind::Folder)
        QVERIFY(QDir().mkpath(path));
    else if (kind == Kind::Fifo)
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    else if (kind == Kind::LinkLoop)
        QVERIFY(QFile::link(path, path));
    else if (kind == Kind::Bytes || kind == Kind::Sparse)
        QVERIFY(writeFile(path, bytes) && (kind == Kind::Bytes || QFile(path).resize(qint64(600) << 20)));
}

const char *const RoadNames[] = {"öffnen", "neu", "part list"};

} // namespace

class HostileFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void hostileFile_data();
    void hostileFile();
};

void HostileFilesTest::hostileFile_data()
{
    QTest::addColumn<Road>("road");
    QTest::addColumn<int>("index");
    for (Road road : {Road::Open, Road::New, Road::List})
        for (int i = 0; i < Cases.size(); ++i) {
            const Case &c = Cases[i];
            // Only the file dialog reaches a device; only a list is read before the file.
            if ((road != Road::Open && c.kind == Kind::Device)
                || (road != Road::List && c.later && c.later != Kind::Gone)
                || (road == Road::List && c.kind == Kind::LinkLoop))
                continue;
            QTest::addRow("%s: %s", RoadNames[int(road)], c.name) << road << i;
        }
}

void HostileFilesTest::hostileFile()
{
    QFETCH(Road, road);
    QFETCH(int, index);
    const Case &c = Cases[index];
    TestProgram p;
    App &app = p.app();
    PartsWindow &parts = app.partsWindow();
    // A part already in the preview and on the skin, so "unchanged" means something.
    p.listParts({{"Face1.bmp", crossedPart(40, 30, 1)}});
    clickName(parts.ui().faceList, "Face1.bmp");

    const QString path = c.kind == Kind::Device ? "/dev/zero"
                         : road == Road::New    ? p.folder() + "/SkinNEW.bmp"
                         : road == Road::List   ? p.imagePath(c.fileName)
                                                : p.folder() + "/" + c.fileName;
    if (c.kind == Kind::Device && !QFile::exists(path))
        QSKIP("no /dev/zero here");
    QVERIFY(c.kind == Kind::Device || path.startsWith(p.folder() + '/'));
    plant(path, c.kind, bytesOf(c));
    if (road == Road::List) {
        parts.pointListsAtImageFolder();
        if (c.kind == Kind::Folder || c.kind == Kind::Fifo) { // one already there is never offered
            QCOMPARE(parts.ui().faceList->count(), 1);
            QCOMPARE(parts.ui().userList->rowOf(c.fileName), -1);
            return;
        }
        parts.ui().faceList->setCurrentRow(-1);
    }
    const QImage canvasBefore = p.canvas();
    const QImage previewBefore = p.shownPreview();
    const auto stateBefore = fields(app.state);

    p.dialogs->answer(path);
    if (c.later)
        plant(path, *c.later, {});
    if (road == Road::List)
        clickName(parts.ui().faceList, c.fileName);
    else
        (road == Road::Open ? app.mainWindow().ui().openAction : app.mainWindow().ui().newAction)->trigger();

    const QStringList &messages = p.messages.messages;
    QVERIFY(fields(app.state) == stateBefore);
    if (c.reason == Loads) {
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(" / ")));
        const QImage expected = c.loads.isNull() ? crossedPart(256, 256, 0) : c.loads;
        // A part goes into the preview and onto the skin; a skin fills the canvas from the top-left.
        QCOMPARE(p.shownPreview(), road == Road::List ? p.previewOf(expected) : previewBefore);
        QCOMPARE(p.canvas(),
                 road == Road::List ? pasted(canvasBefore, expected, 128, 0) : expected.copy(0, 0, 256, 256));
        return;
    }
    QCOMPARE(messages.size(), 1);
    const QString first = messages[0].section('\n', 0, 0);
    QVERIFY2(first.contains(road == Road::Open ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName()),
             qPrintable(first));
    QVERIFY2(first.contains(road == Road::List ? "kann nicht geladen werden" : "kann nicht geöffnet werden"),
             qPrintable(first));
    QCOMPARE(messages[0].section('\n', 1), c.reason);
    QCOMPARE(p.canvas(), canvasBefore);
    QCOMPARE(p.shownPreview(), previewBefore);
    // "copy" still pastes the face where it went: the skin does not change.
    const auto copied = p.pressCopy();
    QVERIFY(copied && copied->place == QPoint(128, 0));
    QCOMPARE(p.canvas(), canvasBefore);
}

QTEST_MAIN(HostileFilesTest)
#include "tst_hostilefiles.moc"
