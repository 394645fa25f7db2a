// Hostile files through the real windows: every damaged, lying, huge or strange file is offered
// three ways ("öffnen", "neu", a part list) and must either load as the decoder promises or give
// exactly one clear German message while the canvas, the preview and the program state stay as
// they were.

#include "TestProgram.h"

#include "core/AppState.h"
#include "ui/App.h"
#include "ui/FileListBox.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"
#include "ui/TeileFrm.h"
#include "ui_Form1.h"
#include "ui_TeileFrm.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTest>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

using namespace pellwerk;
using namespace testsupport;

namespace {

// ---- A small bitmap builder: every field can be set to any value, true or not. ----

void put(QByteArray &b, qsizetype at, quint32 v, int bytes = 4)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

struct BmpBuilder
{
    quint32 headerSize = 40;
    qint32 width = 1, height = 1;
    quint16 planes = 1, bits = 24;
    quint32 compression = 0, imageSizeField = 0, coloursUsed = 0;
    std::optional<quint32> fileSizeField;    // the true size when unset
    std::optional<quint32> pixelOffsetField; // where the pixels really start when unset
    QList<quint32> masks;                    // stored behind a 40-byte header, inside a larger one
    QList<QRgb> palette;
    QByteArray pixels;

    QByteArray bytes() const
    {
        const bool masksBehind = headerSize == 40 && !masks.isEmpty();
        const qsizetype offset = 14 + headerSize + (masksBehind ? masks.size() * 4 : 0) + palette.size() * 4;
        QByteArray b(offset, '\0');
        b[0] = 'B';
        b[1] = 'M';
        put(b, 10, pixelOffsetField.value_or(quint32(offset)));
        put(b, 14, headerSize);
        if (headerSize >= 40) {
            put(b, 18, quint32(width));
            put(b, 22, quint32(height));
            put(b, 26, planes, 2);
            put(b, 28, bits, 2);
            put(b, 30, compression);
            put(b, 34, imageSizeField);
            put(b, 46, coloursUsed);
            for (qsizetype i = 0; i < masks.size(); ++i)
                put(b, 54 + 4 * i, masks[i]);
        }
        for (qsizetype i = 0; i < palette.size(); ++i) // blue, green, red, unused
            put(b, offset - palette.size() * 4 + 4 * i, palette[i] & 0xFFFFFF);
        b += pixels;
        put(b, 2, fileSizeField.value_or(quint32(b.size())));
        return b;
    }
};

// A picture whose every pixel differs from its neighbours and from black.
QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 7 + 1) % 256, (y * 13 + 2) % 256, ((x + y) * 3 + 3) % 256));
    return img;
}

// A 256 x 256 skin of pattern(): rows bottom-up, blue-green-red (no padding at this width).
BmpBuilder skin()
{
    BmpBuilder b;
    b.width = b.height = 256;
    const QImage img = pattern(256, 256);
    for (int y = 255; y >= 0; --y)
        for (int x = 0; x < 256; ++x)
            b.pixels += QByteArray::fromRawData(reinterpret_cast<const char *>(img.constScanLine(y)) + 4 * x, 3);
    return b;
}

// The bytes of `base` after `change`.
QByteArray with(BmpBuilder base, const std::function<void(BmpBuilder &)> &change)
{
    change(base);
    return base.bytes();
}

QByteArray pngBytes()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    pattern(16, 16).save(&buffer, "PNG");
    return png;
}

constexpr QRgb Red = 0xFFFF0000u, Green = 0xFF00FF00u, Black = 0xFF000000u;

// 8-bit RLE, 4 x 2: the given codes, palette black, red, green.
QByteArray rle8(const char *codes, int size, qint32 height = 2)
{
    BmpBuilder b;
    b.width = 4;
    b.height = height;
    b.bits = 8;
    b.compression = 1;
    b.palette = {Black, Red, Green};
    b.pixels = QByteArray(codes, size);
    return b.bytes();
}

QImage image(int w, int h, std::initializer_list<QRgb> rowsTopDown)
{
    QImage img(w, h, QImage::Format_RGB32);
    auto it = rowsTopDown.begin();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, *it++);
    return img;
}

// ---- What a row is and what it must do: the reason line of its message, or Loads. ----

const QString Loads, NotBitmap = "Die Datei ist keine Bitmap-Datei.",
                     Incomplete = "Die Bitmap-Datei ist unvollständig.", Damaged = "Die Bitmap-Datei ist fehlerhaft.",
                     TooLarge = "Das Bild ist zu groß.", Unsupported = "Dieses Bitmap-Format wird nicht unterstützt.",
                     FileTooLarge = "Die Datei ist zu groß.", Missing = "Die Datei ist nicht vorhanden.",
                     Folder = "Das ist ein Ordner, keine Datei.", NotRegular = "Das ist keine gewöhnliche Datei.",
                     NotListed = "not listed";

// How the hostile thing is put on disk.
enum class Kind {
    Bytes,       // a file with these bytes
    Folder,      // a folder under the name
    Fifo,        // a named pipe under the name
    DevZero,     // the device itself ("öffnen" only)
    Deleted,     // a good file that is gone before it is read
    FolderLater, // a good file, listed, then replaced by a folder (part list only)
    FifoLater,   // a good file, listed, then replaced by a pipe (part list only)
    Sparse,      // a valid header in front of 600 MiB of holes
    LinkLoop,    // a symbolic link that points at itself
};

enum class Road { Open, New, List };

struct Case
{
    Case(const char *n, const QByteArray &b, const QString &r, const QImage &e = {}, Kind k = Kind::Bytes)
        : name(n), bytes(b), reason(r), expected(e), kind(k)
    {}
    QByteArray name, bytes;
    QString reason;
    QImage expected; // when it loads: the picture the file holds
    Kind kind;
};

QList<Case> cases()
{
    const QByteArray good = skin().bytes();
    const QImage skinImage = pattern(256, 256);
    using B = BmpBuilder &;
    BmpBuilder pal; // 8 bits, 2 x 1, indices 0 and 1
    pal.width = 2;
    pal.bits = 8;
    pal.palette = {Red, Green};
    pal.pixels = QByteArray("\x00\x01\x00\x00", 4);
    BmpBuilder bf; // bit fields, 16 bits, 2 x 1: 0xFFFF and 0x0841 (red 1, green 2, blue 1 in 5-6-5)
    bf.width = 2;
    bf.bits = 16;
    bf.compression = 3;
    bf.pixels = QByteArray("\xFF\xFF\x41\x08", 4);
    const auto scaled = [](int v, int max) { return int(std::lround(v * 255.0 / max)); };

    // Run-length rows are 4 x 2, stored bottom row first.
    return {
        {"empty file", {}, NotBitmap},
        {"1 byte", "B", NotBitmap},
        {"only BM", "BM", Incomplete},
        {"PNG named .bmp", pngBytes(), NotBitmap},
        {"header cut at 13", good.left(13), Incomplete},
        {"header cut at 14", good.left(14), Incomplete},
        {"header cut at 20", good.left(20), Incomplete},
        {"header cut at 53", good.left(53), Incomplete},
        {"unknown header size 41", with(skin(), [](B b) { b.headerSize = 41; }), Unsupported},
        {"OS/2 2.x header size 64", with(skin(), [](B b) { b.headerSize = 64; }), Unsupported},
        {"planes 2", with(skin(), [](B b) { b.planes = 2; }), Damaged},
        {"planes 0", with(skin(), [](B b) { b.planes = 0; }), Damaged},
        {"bit depth 0", with(skin(), [](B b) { b.bits = 0; }), Unsupported},
        {"bit depth 2", with(skin(), [](B b) { b.bits = 2; }), Unsupported},
        {"bit depth 64", with(skin(), [](B b) { b.bits = 64; }), Unsupported},
        {"width 0", with(skin(), [](B b) { b.width = 0; }), Damaged},
        {"width negative", with(skin(), [](B b) { b.width = -256; }), Damaged},
        {"height 0", with(skin(), [](B b) { b.height = 0; }), Damaged},
        {"height -2^31", with(skin(), [](B b) { b.height = std::numeric_limits<qint32>::min(); }), TooLarge},
        {"3000000 x 2000000", with(skin(), [](B b) { b.width = 3'000'000, b.height = 2'000'000; }), TooLarge},
        {"32768 x 32769", with(skin(), [](B b) { b.width = 32'768, b.height = 32'769; }), TooLarge},
        {"skin cut at 55 bytes", good.left(55), Incomplete},
        {"skin cut at half", good.left(good.size() / 2), Incomplete},
        {"pixel offset past the end", with(skin(), [&](B b) { b.pixelOffsetField = good.size() + 10; }), Incomplete},
        {"pixel offset inside the header", with(skin(), [](B b) { b.pixelOffsetField = 20; }), Damaged},
        {"file-size field too small", with(skin(), [](B b) { b.fileSizeField = 10; }), Loads, skinImage},
        {"file-size field huge", with(skin(), [](B b) { b.fileSizeField = 0xFFFFFFFFu; }), Loads, skinImage},
        {"image-size field too small", with(skin(), [](B b) { b.imageSizeField = 7; }), Loads, skinImage},
        {"image-size field huge", with(skin(), [](B b) { b.imageSizeField = 0xFFFFFFFFu; }), Loads, skinImage},
        {"colours used huge", with(pal, [](B b) { b.coloursUsed = 0xFFFFFFFFu; }), Damaged},
        // Only two entries lie before the pixels.
        {"palette past the pixel offset", with(pal, [](B b) { b.coloursUsed = 256; }), Damaged},
        {"palette index out of range",
         with(pal, [](B b) { b.coloursUsed = 2, b.pixels = QByteArray("\x01\xC8\x00\x00", 4); }), Loads,
         image(2, 1, {Green, Black})},
        {"RLE run past the row end", rle8("\x0A\x01\x00\x00\x04\x02\x00\x01", 8), Loads,
         image(4, 2, {Green, Green, Green, Green, Red, Red, Red, Red})},
        {"RLE delta outside the picture", rle8("\x02\x01\x00\x02\xC8\x00\x03\x02\x00\x02\x00\x64\x04\x02\x00\x01", 16),
         Loads, image(4, 2, {Black, Black, Black, Black, Red, Red, Black, Black})},
        {"RLE file ends inside a run", rle8("\x01\x02\x00\x0A\x01\x01\x02", 7), Loads,
         image(4, 2, {Black, Black, Black, Black, Green, Red, Red, Green})},
        {"RLE negative height", rle8("\x04\x01\x00\x01", 4, -2), Damaged},
        {"bit-field masks all zero",
         with(bf,
              [](B b) {
                  b.masks = {0, 0, 0};
              }),
         Loads, image(2, 1, {Black, Black})},
        {"bit-field masks all ones",
         with(bf,
              [](B b) {
                  b.bits = 32, b.masks = {~0u, ~0u, ~0u}, b.pixels = QByteArray(8, '\x7F');
              }),
         Unsupported},
        {"bit-field masks overlapping",
         with(bf,
              [](B b) {
                  b.masks = {0xFF00, 0x0FF0, 0x000F};
              }),
         Unsupported},
        {"bit-field mask with a gap",
         with(bf,
              [](B b) {
                  b.masks = {0xF0F0, 0x0F00, 0x000F};
              }),
         Unsupported},
        {"bit-field 0-bit blue channel",
         with(bf,
              [](B b) {
                  b.masks = {0xF800, 0x07E0, 0};
              }),
         Loads, image(2, 1, {qRgb(255, 255, 0), qRgb(scaled(1, 31), scaled(2, 63), 0)})},
        {"folder", {}, Folder, {}, Kind::Folder},
        {"FIFO", {}, NotRegular, {}, Kind::Fifo},
        {"/dev/zero", {}, NotRegular, {}, Kind::DevZero},
        {"deleted after it was listed", {}, Missing, {}, Kind::Deleted},
        {"folder after it was listed", {}, Folder, {}, Kind::FolderLater},
        {"FIFO after it was listed", {}, NotRegular, {}, Kind::FifoLater},
        {"600 MiB file", {}, FileTooLarge, {}, Kind::Sparse},
        {"symbolic link to itself", {}, Missing, {}, Kind::LinkLoop},
    };
}

bool applies(Kind kind, Road road)
{
    if (kind == Kind::FolderLater || kind == Kind::FifoLater)
        return road == Road::List;
    return kind == Kind::DevZero ? road == Road::Open : kind != Kind::LinkLoop || road != Road::List;
}

// Every AppState field, as text, so one comparison names any field that moved.
QString fields(const AppState &s)
{
    QString out;
    QDebug(&out) << s.ProgramFolder << s.ImageFolder << s.SkinName << s.SkinFolder << s.TransparentColour.value()
                 << s.TransparentColourName << s.LanguageFile << s.LanguageLine << s.PartRect.Left << s.PartRect.Top
                 << s.PartRect.Right << s.PartRect.Bottom << s.UserColour.red << s.UserColour.green
                 << s.UserColour.blue;
    return out;
}

void makeFifo(const QString &path)
{
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
}

// Puts the hostile thing at `path` inside the test's own `folder`, as the row says (before the
// program reads the folder). The device row plants nothing: the device is used where it is.
void plant(const QString &folder, const QString &path, Kind kind, const QByteArray &bytes)
{
    if (kind == Kind::DevZero)
        return;
    QVERIFY2(path.startsWith(folder + QLatin1Char('/')), qPrintable(path));
    QFile::remove(path);
    if (kind == Kind::Bytes)
        QVERIFY(writeFile(path, bytes));
    else if (kind == Kind::Folder)
        QVERIFY(QDir().mkpath(path));
    else if (kind == Kind::Fifo)
        makeFifo(path);
    else if (kind == Kind::LinkLoop)
        QVERIFY(QFile::link(path, path));
    else
        QVERIFY(writeFile(path, skin().bytes()));
    if (kind == Kind::Sparse)
        QVERIFY(QFile(path).resize(qint64(600) * 1024 * 1024));
}

// What happens between listing (or choosing) and reading.
void afterListing(const QString &path, Kind kind)
{
    if (kind == Kind::Deleted || kind == Kind::FolderLater || kind == Kind::FifoLater)
        QVERIFY(QFile::remove(path));
    if (kind == Kind::FolderLater)
        QVERIFY(QDir().mkpath(path));
    if (kind == Kind::FifoLater)
        makeFifo(path);
}

// /dev/zero, or where a sandbox leaves it out, another device that reads without end.
QString endlessDevice()
{
    for (const char *device : {"/dev/zero", "/dev/full", "/dev/urandom"})
        if (QFileInfo::exists(QString::fromLatin1(device)))
            return QString::fromLatin1(device);
    return {};
}

const char *roadName(Road r)
{
    return r == Road::Open ? "öffnen" : r == Road::New ? "neu" : "part list";
}

} // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Road)

class HostileFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void hostileFile_data();
    void hostileFile();
    void oddNamesStayLiteral_data();
    void oddNamesStayLiteral();
};

void HostileFilesTest::hostileFile_data()
{
    QTest::addColumn<Road>("road");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QImage>("expected");
    for (Road road : {Road::Open, Road::New, Road::List})
        for (const Case &c : cases())
            if (applies(c.kind, road))
                QTest::addRow("%s: %s", roadName(road), c.name.constData())
                    << road << c.kind
                    << c.bytes
                    // A folder or pipe already there when the part list is read is never offered.
                    << (road == Road::List && (c.kind == Kind::Folder || c.kind == Kind::Fifo) ? NotListed : c.reason)
                    << c.expected;
}

void HostileFilesTest::hostileFile()
{
    QFETCH(Road, road);
    QFETCH(Kind, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QFETCH(QImage, expected);

    TestProgram p;
    App &app = p.app();
    TeileFrm &parts = app.teileFrm();
    // A part already in the preview and on the skin, so "unchanged" means something.
    p.addPart("Face1.bmp", pattern(40, 30));
    parts.pointListsAtImageFolder();
    parts.show();
    clickName(parts.ui().FaceFile, "Face1.bmp");
    QVERIFY(p.messages.messages.isEmpty());

    QVERIFY(QDir(p.folder()).mkpath("skins"));
    const QString path = road == Road::List      ? p.imagePath("Face_bad.bmp")
                         : road == Road::New     ? p.folder() + "/SkinNEW.bmp"
                         : kind == Kind::DevZero ? endlessDevice()
                                                 : p.folder() + "/skins/hostile.bmp";
    QVERIFY2(!path.isEmpty(), "no endless device on this machine");
    const QString shownName = road == Road::Open ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName();
    plant(p.folder(), path, kind, bytes);
    if (QTest::currentTestFailed())
        return;
    if (road == Road::List)
        parts.pointListsAtImageFolder();
    if (reason == NotListed) {
        QCOMPARE(parts.ui().FaceFile->count(), 1); // Face1.bmp only
        QCOMPARE(parts.ui().UserFile->rowOf("Face_bad.bmp"), -1);
        qInfo("outcome | part list | not listed");
        return;
    }

    const QImage canvasBefore = p.canvas();
    const Picture previewBefore = parts.TeilPic().model().picture();
    const QString stateBefore = fields(app.state);
    const QPoint lastBefore(parts.LastTargetX, parts.LastTargetY);

    if (road == Road::Open)
        p.dialogs->answer(path);
    if (road == Road::List) {
        parts.ui().FaceFile->setCurrentRow(-1);
        QVERIFY(parts.ui().FaceFile->rowOf("Face_bad.bmp") >= 0);
    }
    afterListing(path, kind);
    if (road == Road::List)
        clickName(parts.ui().FaceFile, "Face_bad.bmp");
    else
        (road == Road::Open ? app.form1().ui().dopen : app.form1().ui().dneu)->trigger();

    const QStringList &messages = p.messages.messages;
    qInfo("outcome | %s | %s", roadName(road),
          messages.isEmpty() ? "loads" : qPrintable(messages.last().section(QLatin1Char('\n'), 1)));
    QCOMPARE(fields(app.state), stateBefore);
    const Picture preview = parts.TeilPic().model().picture();

    if (reason.isEmpty()) {
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(" / ")));
        if (road == Road::List) {
            QCOMPARE(preview.image, expected);
            QVERIFY(preview.serial != previewBefore.serial);
            QCOMPARE(p.canvas(), pasted(canvasBefore, expected, 128, 0));
        } else {
            // The picture at the top-left, the rest in the canvas's back colour.
            QImage shown(256, 256, QImage::Format_RGB32);
            shown.fill(app.form1().SkinPicture().model().backColour().toQRgb());
            for (int y = 0; y < qMin(256, expected.height()); ++y)
                for (int x = 0; x < qMin(256, expected.width()); ++x)
                    shown.setPixel(x, y, expected.pixel(x, y));
            QCOMPARE(p.canvas(), shown);
            QCOMPARE(preview.serial, previewBefore.serial);
        }
        return;
    }

    QCOMPARE(messages.size(), 1);
    const QStringList lines = messages.first().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.first().contains(shownName), qPrintable(lines.first()));
    QVERIFY2(lines.first().contains(road == Road::List ? "kann nicht geladen werden" : "kann nicht geöffnet werden"),
             qPrintable(lines.first()));
    QCOMPARE(lines.last(), reason);
    QCOMPARE(p.canvas(), canvasBefore);
    QCOMPARE(preview.serial, previewBefore.serial);
    QCOMPARE(preview.image, previewBefore.image);
    QCOMPARE(QPoint(parts.LastTargetX, parts.LastTargetY), lastBefore);
}

void HostileFilesTest::oddNamesStayLiteral_data()
{
    QTest::addColumn<Road>("road");
    QTest::addColumn<QString>("name");
    const QStringList names{"Face_%1%2.bmp", "Face_„%L1“ 100%.bmp", "Face_" + QString(120, QChar(0x00E9)) + ".bmp",
                            "Face_\\server\\x.bmp"};
    for (Road road : {Road::Open, Road::List})
        for (const QString &name : names)
            QTest::addRow("%s: %s", roadName(road), qPrintable(name.left(24))) << road << name;
}

// A damaged file's name is repeated in the message exactly: placeholders and quotes in it are text.
void HostileFilesTest::oddNamesStayLiteral()
{
    QFETCH(Road, road);
    QFETCH(QString, name);
    TestProgram p;
    const QString path = road == Road::List ? p.imagePath(name) : p.folder() + "/" + name;
    QVERIFY(writeFile(path, QByteArray("BM\x36\x00", 4)));
    if (road == Road::List) {
        p.app().teileFrm().pointListsAtImageFolder();
        clickName(p.app().teileFrm().ui().FaceFile, name);
    } else {
        p.dialogs->answer(path);
        p.app().form1().ui().dopen->trigger();
    }
    QCOMPARE(p.messages.messages.size(), 1);
    const QStringList lines = p.messages.messages.first().split(QLatin1Char('\n'));
    QVERIFY2(lines.first().contains(road == Road::List ? name : QDir::toNativeSeparators(path)), qPrintable(lines[0]));
    QCOMPARE(lines.last(), Incomplete);
}

QTEST_MAIN(HostileFilesTest)
#include "tst_hostilefiles.moc"
