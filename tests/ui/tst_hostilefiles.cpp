// Hostile files through the real windows: every damaged, lying, huge or strange file is offered
// three ways ("öffnen", "neu", a part list) and must either load as the decoder promises or give
// exactly one clear German message while the canvas, the preview and the program state stay as
// they were.

#include "TestSupport.h"

#include "core/AppState.h"
#include "ui/App.h"
#include "ui/FileListBox.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"
#include "ui/TeileFrm.h"
#include "ui_Form1.h"
#include "ui_TeileFrm.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

using namespace pellwerk;
using namespace testsupport;

namespace {

// ---- A small bitmap builder: every field can be set to any value, true or not. ----

void put16(QByteArray &b, qsizetype at, quint16 v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

void put32(QByteArray &b, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

struct BmpBuilder
{
    quint32 headerSize = 40;
    qint32 width = 1;
    qint32 height = 1;
    quint16 planes = 1;
    quint16 bits = 24;
    quint32 compression = 0;
    quint32 imageSizeField = 0;
    quint32 coloursUsed = 0;
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
        put32(b, 10, pixelOffsetField.value_or(quint32(offset)));
        put32(b, 14, headerSize);
        if (headerSize == 12) {
            put16(b, 18, quint16(width));
            put16(b, 20, quint16(height));
            put16(b, 22, planes);
            put16(b, 24, bits);
        } else if (headerSize >= 40) {
            put32(b, 18, quint32(width));
            put32(b, 22, quint32(height));
            put16(b, 26, planes);
            put16(b, 28, bits);
            put32(b, 30, compression);
            put32(b, 34, imageSizeField);
            put32(b, 46, coloursUsed);
            for (qsizetype i = 0; i < masks.size(); ++i)
                put32(b, 54 + 4 * i, masks[i]);
        }
        qsizetype at = offset - palette.size() * 4;
        for (QRgb c : palette) {
            b[at] = char(qBlue(c));
            b[at + 1] = char(qGreen(c));
            b[at + 2] = char(qRed(c));
            at += 4;
        }
        b += pixels;
        put32(b, 2, fileSizeField.value_or(quint32(b.size())));
        return b;
    }
};

// Rows bottom-up, blue-green-red, padded to four bytes.
QByteArray pixels24(const QImage &img)
{
    QByteArray out;
    const int pad = (4 - (img.width() * 3) % 4) % 4;
    for (int y = img.height() - 1; y >= 0; --y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            out += char(qBlue(p));
            out += char(qGreen(p));
            out += char(qRed(p));
        }
        out += QByteArray(pad, '\0');
    }
    return out;
}

// A picture whose every pixel differs from its neighbours and from black.
QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 7 + 1) % 256, (y * 13 + 2) % 256, ((x + y) * 3 + 3) % 256));
    return img;
}

BmpBuilder skin()
{
    BmpBuilder b;
    b.width = 256;
    b.height = 256;
    b.pixels = pixels24(pattern(256, 256));
    return b;
}

QByteArray skinBytes()
{
    return skin().bytes();
}

QByteArray pngBytes()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    pattern(16, 16).save(&buffer, "PNG");
    return png;
}

constexpr QRgb Red = 0xFFFF0000u;
constexpr QRgb Green = 0xFF00FF00u;
constexpr QRgb Black = 0xFF000000u;

// 8-bit RLE, 4 x 2: the given codes, palette black, red, green.
BmpBuilder rle8(const QByteArray &codes, qint32 height = 2)
{
    BmpBuilder b;
    b.width = 4;
    b.height = height;
    b.bits = 8;
    b.compression = 1;
    b.palette = {Black, Red, Green};
    b.pixels = codes;
    return b;
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

int scaled(int v, int max)
{
    return int(std::lround(v * 255.0 / max));
}

// ---- What a row is and what it must do. ----

enum class Outcome {
    Load,
    NotBitmap,
    Incomplete,
    Damaged,
    TooLarge,
    Unsupported,
    FileTooLarge,
    Missing,
    Folder,
    NotRegular,
    NotListed
};

// The reason line each refusal must end with.
QString reasonText(Outcome o)
{
    switch (o) {
    case Outcome::NotBitmap:
        return QStringLiteral("Die Datei ist keine Bitmap-Datei.");
    case Outcome::Incomplete:
        return QStringLiteral("Die Bitmap-Datei ist unvollständig.");
    case Outcome::Damaged:
        return QStringLiteral("Die Bitmap-Datei ist fehlerhaft.");
    case Outcome::TooLarge:
        return QStringLiteral("Das Bild ist zu groß.");
    case Outcome::Unsupported:
        return QStringLiteral("Dieses Bitmap-Format wird nicht unterstützt.");
    case Outcome::FileTooLarge:
        return QStringLiteral("Die Datei ist zu groß.");
    case Outcome::Missing:
        return QStringLiteral("Die Datei ist nicht vorhanden.");
    case Outcome::Folder:
        return QStringLiteral("Das ist ein Ordner, keine Datei.");
    case Outcome::NotRegular:
        return QStringLiteral("Das ist keine gewöhnliche Datei.");
    case Outcome::Load:
    case Outcome::NotListed:
        break;
    }
    return {};
}

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
    QByteArray name;
    Kind kind;
    QByteArray bytes;
    Outcome outcome;
    QImage expected; // for Load: the picture the file holds
};

QList<Case> cases()
{
    const QByteArray good = skinBytes();
    QList<Case> c;
    auto refuse = [&c](const char *name, const QByteArray &bytes, Outcome o) {
        c.append({name, Kind::Bytes, bytes, o, {}});
    };
    auto load = [&c](const char *name, const QByteArray &bytes, const QImage &img) {
        c.append({name, Kind::Bytes, bytes, Outcome::Load, img});
    };

    refuse("empty file", QByteArray(), Outcome::NotBitmap);
    refuse("1 byte", QByteArray("B"), Outcome::NotBitmap);
    refuse("only BM", QByteArray("BM"), Outcome::Incomplete);
    refuse("PNG named .bmp", pngBytes(), Outcome::NotBitmap);
    for (int cut : {13, 14, 20, 53})
        c.append({"header cut at " + QByteArray::number(cut), Kind::Bytes, good.left(cut), Outcome::Incomplete, {}});

    BmpBuilder b = skin();
    b.headerSize = 41;
    refuse("unknown header size 41", b.bytes(), Outcome::Unsupported);
    b.headerSize = 64;
    refuse("OS/2 2.x header size 64", b.bytes(), Outcome::Unsupported);
    b = skin();
    b.planes = 2;
    refuse("planes 2", b.bytes(), Outcome::Damaged);
    b.planes = 0;
    refuse("planes 0", b.bytes(), Outcome::Damaged);
    for (int depth : {0, 2, 64}) {
        b = skin();
        b.bits = quint16(depth);
        c.append({"bit depth " + QByteArray::number(depth), Kind::Bytes, b.bytes(), Outcome::Unsupported, {}});
    }
    b = skin();
    b.width = 0;
    refuse("width 0", b.bytes(), Outcome::Damaged);
    b.width = -256;
    refuse("width negative", b.bytes(), Outcome::Damaged);
    b = skin();
    b.height = 0;
    refuse("height 0", b.bytes(), Outcome::Damaged);
    b.height = std::numeric_limits<qint32>::min();
    refuse("height -2^31", b.bytes(), Outcome::TooLarge);
    b = skin();
    b.width = 3'000'000;
    b.height = 2'000'000;
    refuse("3000000 x 2000000", b.bytes(), Outcome::TooLarge);
    b.width = 32'768;
    b.height = 32'769;
    refuse("32768 x 32769", b.bytes(), Outcome::TooLarge);

    refuse("skin cut at 55 bytes", good.left(55), Outcome::Incomplete);
    refuse("skin cut at half", good.left(good.size() / 2), Outcome::Incomplete);
    b = skin();
    b.pixelOffsetField = quint32(good.size() + 10);
    refuse("pixel offset past the end", b.bytes(), Outcome::Incomplete);
    b.pixelOffsetField = 20;
    refuse("pixel offset inside the header", b.bytes(), Outcome::Damaged);

    b = skin();
    b.fileSizeField = 10;
    load("file-size field too small", b.bytes(), pattern(256, 256));
    b.fileSizeField = 0xFFFFFFFFu;
    load("file-size field huge", b.bytes(), pattern(256, 256));
    b = skin();
    b.imageSizeField = 7;
    load("image-size field too small", b.bytes(), pattern(256, 256));
    b.imageSizeField = 0xFFFFFFFFu;
    load("image-size field huge", b.bytes(), pattern(256, 256));

    // 8 bits, 2 x 1, indices 0 and 1.
    BmpBuilder pal;
    pal.width = 2;
    pal.bits = 8;
    pal.palette = {Red, Green};
    pal.pixels = QByteArray("\x00\x01\x00\x00", 4);
    b = pal;
    b.coloursUsed = 0xFFFFFFFFu;
    refuse("colours used huge", b.bytes(), Outcome::Damaged);
    b = pal;
    b.coloursUsed = 256; // only two entries lie before the pixels
    refuse("palette past the pixel offset", b.bytes(), Outcome::Damaged);
    b = pal;
    b.coloursUsed = 2;
    b.pixels = QByteArray("\x01\xC8\x00\x00", 4); // index 200 of a two-colour palette
    load("palette index out of range", b.bytes(), image(2, 1, {Green, Black}));

    // Run-length data: 4 x 2, stored bottom row first.
    load("RLE run past the row end", rle8(QByteArray("\x0A\x01\x00\x00\x04\x02\x00\x01", 8)).bytes(),
         image(4, 2, {Green, Green, Green, Green, Red, Red, Red, Red}));
    load("RLE delta outside the picture",
         rle8(QByteArray("\x02\x01\x00\x02\xC8\x00\x03\x02\x00\x02\x00\x64\x04\x02\x00\x01", 16)).bytes(),
         image(4, 2, {Black, Black, Black, Black, Red, Red, Black, Black}));
    load("RLE file ends inside a run", rle8(QByteArray("\x01\x02\x00\x0A\x01\x01\x02", 7)).bytes(),
         image(4, 2, {Black, Black, Black, Black, Green, Red, Red, Green}));
    refuse("RLE negative height", rle8(QByteArray("\x04\x01\x00\x01", 4), -2).bytes(), Outcome::Damaged);

    // Bit fields, 16 bits, 2 x 1: pixel values 0xFFFF and 0x0841 (red 1, green 2, blue 1 in 5-6-5).
    BmpBuilder bf;
    bf.width = 2;
    bf.bits = 16;
    bf.compression = 3;
    bf.pixels = QByteArray("\xFF\xFF\x41\x08", 4);
    b = bf;
    b.masks = {0, 0, 0};
    load("bit-field masks all zero", b.bytes(), image(2, 1, {Black, Black}));
    b = bf;
    b.bits = 32;
    b.masks = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    b.pixels = QByteArray(8, '\x7F');
    refuse("bit-field masks all ones", b.bytes(), Outcome::Unsupported);
    b = bf;
    b.masks = {0xFF00, 0x0FF0, 0x000F};
    refuse("bit-field masks overlapping", b.bytes(), Outcome::Unsupported);
    b = bf;
    b.masks = {0xF0F0, 0x0F00, 0x000F};
    refuse("bit-field mask with a gap", b.bytes(), Outcome::Unsupported);
    b = bf;
    b.masks = {0xF800, 0x07E0, 0};
    load("bit-field 0-bit blue channel", b.bytes(),
         image(2, 1, {qRgb(255, 255, 0), qRgb(scaled(1, 31), scaled(2, 63), 0)}));

    c.append({"folder", Kind::Folder, {}, Outcome::Folder, {}});
    c.append({"FIFO", Kind::Fifo, {}, Outcome::NotRegular, {}});
    c.append({"/dev/zero", Kind::DevZero, {}, Outcome::NotRegular, {}});
    c.append({"deleted after it was listed", Kind::Deleted, {}, Outcome::Missing, {}});
    c.append({"folder after it was listed", Kind::FolderLater, {}, Outcome::Folder, {}});
    c.append({"FIFO after it was listed", Kind::FifoLater, {}, Outcome::NotRegular, {}});
    c.append({"600 MiB file", Kind::Sparse, {}, Outcome::FileTooLarge, {}});
    c.append({"symbolic link to itself", Kind::LinkLoop, {}, Outcome::Missing, {}});
    return c;
}

bool applies(Kind kind, Road road)
{
    switch (kind) {
    case Kind::DevZero:
        return road == Road::Open;
    case Kind::FolderLater:
    case Kind::FifoLater:
        return road == Road::List;
    case Kind::LinkLoop:
        return road != Road::List;
    default:
        return true;
    }
}

void compareState(const AppState &now, const AppState &before)
{
    QCOMPARE(now.ProgramFolder, before.ProgramFolder);
    QCOMPARE(now.ImageFolder, before.ImageFolder);
    QCOMPARE(now.SkinName, before.SkinName);
    QCOMPARE(now.SkinFolder, before.SkinFolder);
    QCOMPARE(now.TransparentColour.value(), before.TransparentColour.value());
    QCOMPARE(now.TransparentColourName, before.TransparentColourName);
    QCOMPARE(now.LanguageFile, before.LanguageFile);
    QCOMPARE(now.LanguageLine, before.LanguageLine);
    QVERIFY(now.PartRect == before.PartRect);
    QVERIFY(now.UserColour == before.UserColour);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Puts the hostile thing at `path` inside the test's own `folder`, as the row says (before the
// program reads the folder). The device row plants nothing: the device is used where it is.
void plant(const QString &folder, const QString &path, Kind kind, const QByteArray &bytes)
{
    if (kind == Kind::DevZero)
        return;
    QVERIFY2(path.startsWith(folder + QLatin1Char('/')), qPrintable(path));
    QFile::remove(path);
    switch (kind) {
    case Kind::Bytes:
        writeFile(path, bytes);
        break;
    case Kind::Folder:
        QVERIFY(QDir().mkpath(path));
        break;
    case Kind::Fifo:
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        break;
    case Kind::Deleted:
    case Kind::FolderLater:
    case Kind::FifoLater:
        writeFile(path, skinBytes());
        break;
    case Kind::Sparse: {
        writeFile(path, skinBytes());
        QFile f(path);
        QVERIFY(f.resize(qint64(600) * 1024 * 1024));
        break;
    }
    case Kind::LinkLoop:
        QVERIFY(QFile::link(path, path));
        break;
    case Kind::DevZero:
        break;
    }
}

// What happens between listing (or choosing) and reading.
void afterListing(const QString &path, Kind kind)
{
    switch (kind) {
    case Kind::Deleted:
        QVERIFY(QFile::remove(path));
        break;
    case Kind::FolderLater:
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path));
        break;
    case Kind::FifoLater:
        QVERIFY(QFile::remove(path));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        break;
    default:
        break;
    }
}

// The surface a canvas or preview shows for `img`: the picture at the top-left on `back`.
QImage shownOn(const QImage &img, QSize size, Colour back)
{
    QImage out(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            out.setPixel(x, y, img.rect().contains(x, y) ? img.pixel(x, y) : back.toQRgb());
    return out;
}

// The skin after pasting `part` at (x, y) with black left out and the part cut to 148 x 191.
QImage pasted(QImage skin, const QImage &part, int x, int y)
{
    for (int j = 0; j < qMin(part.height(), 191); ++j)
        for (int i = 0; i < qMin(part.width(), 148); ++i) {
            const QRgb s = part.pixel(i, j);
            if ((s & 0xFFFFFF) != 0 && skin.rect().contains(x + i, y + j))
                skin.setPixel(x + i, y + j, s);
        }
    return skin;
}

void clickName(FileListBox *list, const QString &name)
{
    const auto items = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(name + " is not listed"));
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
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

const char *outcomeName(Outcome o)
{
    switch (o) {
    case Outcome::Load:
        return "loads";
    case Outcome::NotListed:
        return "not listed";
    default:
        return "refused";
    }
}

} // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Road)
Q_DECLARE_METATYPE(Outcome)

class HostileFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void hostileFile_data();
    void hostileFile();
    void folderAndPipeAreNotListed_data();
    void folderAndPipeAreNotListed();
    void oddNamesStayLiteral_data();
    void oddNamesStayLiteral();
};

void HostileFilesTest::hostileFile_data()
{
    QTest::addColumn<Road>("road");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QImage>("expected");
    for (Road road : {Road::Open, Road::New, Road::List}) {
        for (const Case &c : cases()) {
            if (!applies(c.kind, road))
                continue;
            // A folder or pipe present when the list is read is not offered at all (tested below).
            if (road == Road::List && (c.kind == Kind::Folder || c.kind == Kind::Fifo))
                continue;
            QTest::addRow("%s: %s", roadName(road), c.name.constData())
                << road << c.kind << c.bytes << c.outcome << c.expected;
        }
    }
}

void HostileFilesTest::hostileFile()
{
    QFETCH(Road, road);
    QFETCH(Kind, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(Outcome, outcome);
    QFETCH(QImage, expected);

    TestProgram p;
    App &app = p.app();
    Form1 &main = app.form1();
    TeileFrm &parts = app.teileFrm();
    // A part already in the preview and on the skin, so "unchanged" means something.
    p.addPart("Face1.bmp", pattern(40, 30));
    parts.pointListsAtImageFolder();
    parts.show();
    clickName(parts.ui().FaceFile, "Face1.bmp");
    QVERIFY(p.messages.messages.isEmpty());

    QString path;
    QString shownName;
    switch (road) {
    case Road::Open:
        QVERIFY(QDir(p.folder()).mkpath("skins"));
        path = kind == Kind::DevZero ? endlessDevice() : p.folder() + "/skins/hostile.bmp";
        QVERIFY2(!path.isEmpty(), "no endless device on this machine");
        shownName = QDir::toNativeSeparators(path);
        break;
    case Road::New:
        path = p.folder() + "/SkinNEW.bmp";
        shownName = QStringLiteral("SkinNEW.bmp");
        break;
    case Road::List:
        path = p.imagePath("Face_bad.bmp");
        shownName = QStringLiteral("Face_bad.bmp");
        break;
    }
    plant(p.folder(), path, kind, bytes);
    if (QTest::currentTestFailed())
        return;
    if (road == Road::List)
        parts.pointListsAtImageFolder();

    const QImage canvasBefore = p.canvas();
    const Picture previewBefore = parts.TeilPic().model().picture();
    const AppState stateBefore = app.state;
    const QPoint lastBefore(parts.LastTargetX, parts.LastTargetY);

    switch (road) {
    case Road::Open:
        p.dialogs->answer(path);
        afterListing(path, kind);
        main.ui().dopen->trigger();
        break;
    case Road::New:
        afterListing(path, kind);
        main.ui().dneu->trigger();
        break;
    case Road::List:
        parts.ui().FaceFile->setCurrentRow(-1);
        QVERIFY(parts.ui().FaceFile->findItems("Face_bad.bmp", Qt::MatchExactly).size() == 1);
        afterListing(path, kind);
        clickName(parts.ui().FaceFile, "Face_bad.bmp");
        break;
    }

    const QStringList &messages = p.messages.messages;
    qInfo("outcome | %s | %s | %s", roadName(road), outcomeName(outcome),
          messages.isEmpty() ? "" : qPrintable(messages.last().section(QLatin1Char('\n'), 1)));
    compareState(app.state, stateBefore);

    if (outcome == Outcome::Load) {
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(" / ")));
        if (road == Road::List) {
            QCOMPARE(parts.TeilPic().model().picture().image, expected);
            QVERIFY(parts.TeilPic().model().picture().serial != previewBefore.serial);
            QCOMPARE(p.canvas(), pasted(canvasBefore, expected, 128, 0));
        } else {
            PictureBoxModel &canvas = main.SkinPicture().model();
            QCOMPARE(p.canvas(), shownOn(expected, QSize(256, 256), canvas.backColour()));
            QCOMPARE(parts.TeilPic().model().picture().serial, previewBefore.serial);
        }
        return;
    }

    QCOMPARE(messages.size(), 1);
    const QStringList lines = messages.first().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.first().contains(shownName), qPrintable(lines.first()));
    QVERIFY2(lines.first().contains(road == Road::List ? "kann nicht geladen werden" : "kann nicht geöffnet werden"),
             qPrintable(lines.first()));
    QCOMPARE(lines.last(), reasonText(outcome));
    QCOMPARE(p.canvas(), canvasBefore);
    QCOMPARE(parts.TeilPic().model().picture().serial, previewBefore.serial);
    QCOMPARE(parts.TeilPic().model().picture().image, previewBefore.image);
    QCOMPARE(QPoint(parts.LastTargetX, parts.LastTargetY), lastBefore);
}

void HostileFilesTest::folderAndPipeAreNotListed_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("folder") << Kind::Folder;
    QTest::newRow("FIFO") << Kind::Fifo;
}

void HostileFilesTest::folderAndPipeAreNotListed()
{
    QFETCH(Kind, kind);
    TestProgram p;
    p.addPart("Face1.bmp", pattern(10, 10));
    plant(p.folder(), p.imagePath("Face_bad.bmp"), kind, {});
    TeileFrm &parts = p.app().teileFrm();
    parts.pointListsAtImageFolder();
    const FileListBox *list = parts.ui().FaceFile;
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Face1.bmp"));
    QCOMPARE(parts.ui().UserFile->findItems("Face_bad.bmp", Qt::MatchExactly).size(), 0);
    qInfo("outcome | part list | not listed |");
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
    writeFile(path, QByteArray("BM\x36\x00", 4));
    if (road == Road::List) {
        TeileFrm &parts = p.app().teileFrm();
        parts.pointListsAtImageFolder();
        clickName(parts.ui().FaceFile, name);
    } else {
        p.dialogs->answer(path);
        p.app().form1().ui().dopen->trigger();
    }
    QCOMPARE(p.messages.messages.size(), 1);
    const QString first = p.messages.messages.first().section(QLatin1Char('\n'), 0, 0);
    QVERIFY2(first.contains(road == Road::List ? name : QDir::toNativeSeparators(path)), qPrintable(first));
    QCOMPARE(p.messages.messages.first().section(QLatin1Char('\n'), 1), reasonText(Outcome::Incomplete));
}

QTEST_MAIN(HostileFilesTest)
#include "tst_hostilefiles.moc"
