#include "TestFiles.h"
#include "core/BitmapDecoder.h"
#include "core/BitmapWriter.h"

#include <QColorSpace>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>

#include <sys/stat.h>

using namespace pellwerk;
using namespace testsupport;

Q_DECLARE_METATYPE(DecodeLimits)

namespace {

const QString NotBitmap = QStringLiteral("Die Datei ist keine Bitmap-Datei.");
const QString Incomplete = QStringLiteral("Die Bitmap-Datei ist unvollständig.");
const QString Damaged = QStringLiteral("Die Bitmap-Datei ist fehlerhaft.");
const QString TooLarge = QStringLiteral("Das Bild ist zu groß.");
const QString Unsupported = QStringLiteral("Dieses Bitmap-Format wird nicht unterstützt.");

constexpr QRgb K = 0xFF000000u, R = 0xFFFF0000u, G = 0xFF00FF00u, B = 0xFF0000FFu, W = 0xFFFFFFFFu;

void put32(QByteArray &b, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A bitmap file put together field by field, so that each case can break exactly one thing: header
// size, width, height, planes, bits per pixel, compression, colours used, bit masks (inside the
// header from 52 bytes on, else just behind it), palette (three bytes an entry for the 12-byte
// header), pixels as hex text, and the pixel offset (-1: right behind header, masks and palette).
struct Bmp
{
    quint32 hdr = 40;
    qint32 w = 1, h = 1;
    quint16 planes = 1, bits = 24;
    quint32 comp = 0, used = 0;
    QList<quint32> masks = {};
    QList<QRgb> pal = {};
    QByteArray px = "00000000";
    qint64 offset = -1;

    QByteArray bytes() const
    {
        QByteArray info;
        {
            QDataStream s(&info, QIODevice::WriteOnly);
            s.setByteOrder(QDataStream::LittleEndian);
            if (hdr == 12)
                s << hdr << quint16(w) << quint16(h) << planes << bits;
            else
                s << hdr << w << h << planes << bits << comp << quint32(0) << quint64(0) << used << quint32(0);
            for (quint32 mask : masks)
                s << mask;
        }
        info.resize(std::max(info.size(), qsizetype(hdr)));
        for (QRgb c : pal)
            info.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append(hdr == 12 ? 0 : 1, 0);
        const QByteArray pixels = QByteArray::fromHex(px);
        QByteArray file("BM" + QByteArray(12, 0));
        put32(file, 2, quint32(file.size() + info.size() + pixels.size()));
        put32(file, 10, quint32(offset >= 0 ? offset : file.size() + info.size()));
        return file + info + pixels;
    }
};

// An image from its pixels, top row first: K black, R red, G green, B blue, W white.
QImage pic(int w, QByteArrayView pixels)
{
    QImage image(w, int(pixels.size()) / w, QImage::Format_RGB32);
    const QHash<char, QRgb> colours{{'K', K}, {'R', R}, {'G', G}, {'B', B}, {'W', W}};
    for (int i = 0; i < pixels.size(); ++i)
        image.setPixel(i % w, i / w, colours.value(pixels[i]));
    return image;
}

const auto one = [](QRgb rgb) { return QImage(reinterpret_cast<uchar *>(&rgb), 1, 1, QImage::Format_RGB32).copy(); };

const QImage skin = randomImage(256, 256, 1);

const auto suite = [](const QString &name) { return QStringLiteral(PELLWERK_TESTDATA "/bmpsuite/") + name; };

} // namespace

class TestBitmapDecoder : public QObject
{
    Q_OBJECT

private slots:
    void corpus_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reference"); // empty for the bad files
        QTest::addColumn<QString>("error");
        // Good files that store the picture of another one in another way.
        QHash<QString, QString> sameAs;
        for (const QString &pair : QStringLiteral("pal1wb:pal1 pal4rle:pal4 pal8-0:pal8 pal8rle:pal8 pal8topdown:pal8 "
                                                  "pal8os2:pal8 pal8v4:pal8 pal8v5:pal8 pal8nonsquare:pal8nonsquare-e "
                                                  "rgb16bfdef:rgb16 rgb16-565pal:rgb16-565 rgb24pal:rgb24 rgb32:rgb24 "
                                                  "rgb32bf:rgb24 rgb32bfdef:rgb24")
                                       .split(u' '))
            sameAs.insert(pair.section(u':', 0, 0), pair.section(u':', 1));
        const QFileInfoList good = QDir(suite("good")).entryInfoList({"*.bmp"}, QDir::Files);
        QCOMPARE(good.size(), 27);
        for (const QFileInfo &f : good) {
            const QString reference = sameAs.value(f.completeBaseName(), f.completeBaseName());
            QTest::newRow(qPrintable(f.fileName()))
                << f.filePath() << suite("reference/" + reference + ".png") << QString();
        }
        // Every bad file not named here decodes: size fields that lie are ignored, runs are clipped,
        // indices past the palette give black and a zero mask gives no channel.
        const QHash<QString, QString> refused{{"badbitcount", Unsupported}, {"badheadersize", Unsupported},
                                              {"badpalettesize", Damaged},  {"badplanes", Damaged},
                                              {"badwidth", Damaged},        {"rletopdown", Damaged},
                                              {"reallybig", TooLarge},      {"shortfile", Incomplete}};
        const QFileInfoList bad = QDir(suite("bad")).entryInfoList({"*.bmp"}, QDir::Files);
        QCOMPARE(bad.size(), 20);
        for (const QFileInfo &f : bad)
            QTest::newRow(qPrintable(f.fileName())) << f.filePath() << QString() << refused.value(f.completeBaseName());
    }

    void corpus()
    {
        QFETCH(QString, path);
        QFETCH(QString, reference);
        QFETCH(QString, error);
        const Result<QImage> decoded = decodeBitmap(fileBytes(path));
        const QImage image = imageOf(decoded);
        QCOMPARE(errorText(decoded), error);
        QCOMPARE(image.isNull(), !error.isEmpty());
        if (image.isNull())
            return;
        QCOMPARE(image.format(), QImage::Format_RGB32);
        if (reference.isEmpty()) {
            QCOMPARE(image.size(), QSize(127, 64));
            return;
        }
        QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!expected.isNull());
        expected.setColorSpace({}); // the decoder states no colour space, whatever the PNG said
        QCOMPARE(image, expected);
    }

    void handMadeFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QImage>("expected"); // checked when error is empty
        QTest::addColumn<DecodeLimits>("limits");
        const auto row = [](const char *name, const Bmp &b, const QString &error, const QImage &expected = {},
                            DecodeLimits limits = {}) {
            QTest::newRow(name) << b.bytes() << error << expected << limits;
        };

        // A skin cut at each header boundary and inside the pixels, and with size fields that lie.
        const QByteArray full = encodeBitmap24(skin);
        for (qsizetype length : {0LL, 1LL, 2LL, 17LL, 18LL, 53LL, 54LL, full.size() - 1})
            QTest::addRow("cut to %lld bytes", length)
                << full.left(length) << (length < 2 ? NotBitmap : Incomplete) << QImage() << DecodeLimits{};
        for (const auto &[at, value] : {std::pair{2, 0u}, {2, 0xFFFFFFFFu}, {34, 1u}, {34, 0xFFFFFFFFu}}) {
            QByteArray lying = full;
            put32(lying, at, value);
            QTest::addRow("size field at %d says %u", at, value) << lying << QString() << skin << DecodeLimits{};
        }

        // Palettes, headers and rows.
        row("4 bit, index past the palette", {.w = 3, .bits = 4, .used = 2, .pal = {W, G}, .px = "0f100000"}, {},
            pic(3, "WKG"));
        row("core header, palette cut to what fits", {.hdr = 12, .w = 2, .bits = 8, .pal = {G, W}, .px = "01000000"},
            {}, pic(2, "WG"));
        row("24 bit, last row unpadded", {.w = 2, .h = 2, .px = "0000ffffffff000000ff00ff0000"}, {}, pic(2, "GBRW"));
        row("24 bit, last pixel cut", {.w = 2, .h = 2, .px = "0000ffffffff000000ff00ff00"}, Incomplete);
        row("colours used beyond the depth", {.bits = 4, .used = 17, .pal = QList<QRgb>(17, W)}, Damaged);
        row("palette runs into the pixels", {.bits = 8, .used = 4, .pal = {R, G}}, Damaged);
        row("pixel offset one byte inside the header", {.offset = 14 + 40 - 1}, Damaged);
        row("pixel offset past the end", {.offset = 1000}, Incomplete);
        row("header size of OS/2 2.x", {.hdr = 64}, Unsupported);
        for (const auto &[name, w, h, error] : {std::tuple{"width -1", -1, 1, Damaged},
                                                {"height 0", 1, 0, Damaged},
                                                {"height 40000", 1, 40000, TooLarge},
                                                {"height INT_MIN", 1, INT_MIN, TooLarge},
                                                {"width 40000", 40000, 1, TooLarge},
                                                {"30000 x 30000", 30000, 30000, TooLarge}})
            row(name, {.w = w, .h = h}, error);
        const Bmp square{.w = 100, .h = 100, .px = QByteArray(100 * 300 * 2, '4')};
        row("more pixels than allowed", square, TooLarge, {}, {9999});
        row("as many pixels as allowed", square, {}, filled(100, 100, qRgb(0x44, 0x44, 0x44)), {10000});
        row("wider than allowed", square, TooLarge, {}, {10000, 99});
        // Limits far beyond the defaults must not make the size arithmetic overflow.
        row("no limits", {.w = INT_MAX, .h = INT_MAX}, Incomplete, {}, {LLONG_MAX, INT_MAX});
        row("RLE8 with 4 bits", {.bits = 4, .comp = 1}, Unsupported);
        row("bit fields with 24 bits", {.comp = 3, .masks = {0xFF0000, 0xFF00, 0xFF}}, Unsupported);

        // Bit fields beyond the bmpsuite's; channels worked out by hand as round(v * 255 / (2^n - 1)).
        row("16 bit 5-6-5 behind a 40-byte header",
            {.bits = 16, .comp = 3, .masks = {0xF800, 0x07E0, 0x001F}, .px = "61f90000"}, {}, one(qRgb(255, 45, 8)));
        row("32 bit 10-10-10 in a V4 header",
            {.hdr = 108, .bits = 32, .comp = 3, .masks = {0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000}, .px = "0100f8ff"},
            {}, one(qRgb(255, 128, 0)));
        row("zero blue mask", {.hdr = 56, .bits = 32, .comp = 3, .masks = {0xFF0000, 0xFF00, 0, 0}, .px = "ccbbaa00"},
            {}, one(qRgb(0xAA, 0xBB, 0)));
        row("alpha bit fields, alpha ignored",
            {.bits = 32, .comp = 6, .masks = {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, .px = "11223344"}, {},
            one(qRgb(0x11, 0x22, 0x33)));
        row("overlapping masks", {.bits = 32, .comp = 3, .masks = {0xFF0000, 0x1FF00, 0xFF}}, Unsupported);
        row("split mask", {.bits = 32, .comp = 3, .masks = {0xFF0000, 0xF0F0, 0x0F}}, Unsupported);
        row("mask outside a 16-bit pixel", {.bits = 16, .comp = 3, .masks = {0x1F0000, 0x07E0, 0x1F}}, Unsupported);
        row("file ends inside the masks", {.bits = 16, .comp = 3, .px = "00f8000000"}, Incomplete);

        // Run-length data: 8-bit 4 x 2 and 4-bit 5 x 1 pictures, palette red, green, blue, white.
        const auto rle8 = [](const char *data) {
            return Bmp{.w = 4, .h = 2, .bits = 8, .comp = 1, .used = 4, .pal = {R, G, B, W}, .px = data};
        };
        const auto rle4 = [](const char *data) {
            return Bmp{.w = 5, .h = 1, .bits = 4, .comp = 2, .used = 4, .pal = {R, G, B, W}, .px = data};
        };
        row("RLE8 run clipped at the row end", rle8("0601 0000 0102 0001"), {}, pic(4, "BKKKGGGG"));
        row("RLE8 absolute run with padding", rle8("0003 000102 00 0000 0203 0001"), {}, pic(4, "WWKKRGBK"));
        row("RLE8 absolute run past the row end", rle8("0006 000102030201 0001"), {}, pic(4, "KKKKRGBW"));
        row("RLE8 delta", rle8("0002 0101 0103 0001"), {}, pic(4, "KWKKKKKK"));
        row("RLE8 delta out of the picture stops", rle8("0101 0002 0005 0102 0001"), {}, pic(4, "KKKKGKKK"));
        row("RLE8 delta far to the right clips", rle8("0002 ff00 0203 0000 0101 0001"), {}, pic(4, "GKKKKKKK"));
        row("RLE8 ends inside an absolute run", rle8("0005 0102"), {}, pic(4, "KKKKGBKK"));
        row("RLE8 ends inside a delta", rle8("0101 0002 01"), {}, pic(4, "KKKKGKKK"));
        row("RLE8 end of line past the top", rle8("0000 0000 0000 0103 0001"), {}, pic(4, "KKKKKKKK"));
        row("RLE8 without data", rle8(""), Incomplete);
        row("RLE4 run alternates nibbles, clipped", rle4("0712 0001"), {}, pic(5, "GBGBG"));
        row("RLE4 absolute, even bytes", rle4("0003 1230 0200 0001"), {}, pic(5, "GBWRR"));
        row("RLE4 absolute, odd bytes padded", rle4("0005 123010 00 0001"), {}, pic(5, "GBWRG"));
        row("RLE4 ends inside an absolute run", rle4("0005 12"), {}, pic(5, "GBKKK"));
        row("RLE4 index past the palette", rle4("02f3 0001"), {}, pic(5, "KWKKK"));
    }

    void handMadeFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QFETCH(QImage, expected);
        QFETCH(DecodeLimits, limits);
        const Result<QImage> decoded = decodeBitmap(bytes, limits);
        QCOMPARE(errorText(decoded), error);
        QCOMPARE(imageOf(decoded).isNull(), !error.isEmpty());
        if (decoded)
            QCOMPARE(decoded.value(), expected);
    }

    void readingFiles()
    {
        QTemporaryDir dir;
        const QByteArray bytes = encodeBitmap24(skin);
        QVERIFY(writeFile(dir.filePath("file"), bytes));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
        const QString file = dir.filePath("file"), notRegular = QStringLiteral("Das ist keine gewöhnliche Datei.");
        // A pipe must be refused, not opened: opening it would wait for a writer.
        for (const auto &[path, limit, error] :
             {std::tuple{file, bytes.size(), QString()},
              {file, bytes.size() - 1, QStringLiteral("Die Datei ist zu groß.")},
              {dir.filePath("missing"), bytes.size(), QStringLiteral("Die Datei ist nicht vorhanden.")},
              {dir.path(), bytes.size(), QStringLiteral("Das ist ein Ordner, keine Datei.")},
              {dir.filePath("pipe"), bytes.size(), notRegular},
              {QStringLiteral("/dev/zero"), bytes.size(), notRegular}}) {
            const Result<QImage> read = readBitmapFile(path, {.maxFileBytes = limit});
            QCOMPARE(errorText(read), error);
            QCOMPARE(imageOf(read), error.isEmpty() ? skin : QImage());
        }
    }
};

QTEST_GUILESS_MAIN(TestBitmapDecoder)
#include "tst_bitmapdecoder.moc"
