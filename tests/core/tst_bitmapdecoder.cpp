#include "core/BitmapDecoder.h"
#include "core/BitmapWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <climits>
#include <future>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pellwerk;

namespace {

const QString NotBitmap = QStringLiteral("Die Datei ist keine Bitmap-Datei.");
const QString Incomplete = QStringLiteral("Die Bitmap-Datei ist unvollständig.");
const QString Damaged = QStringLiteral("Die Bitmap-Datei ist fehlerhaft.");
const QString TooLarge = QStringLiteral("Das Bild ist zu groß.");
const QString Unsupported = QStringLiteral("Dieses Bitmap-Format wird nicht unterstützt.");

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb Red = 0xFFFF0000u;
constexpr QRgb Green = 0xFF00FF00u;
constexpr QRgb Blue = 0xFF0000FFu;
constexpr QRgb White = 0xFFFFFFFFu;

void put16(QByteArray &b, qsizetype at, quint32 v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

void put32(QByteArray &b, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A bitmap file put together field by field, so that each test can break exactly one thing.
struct Bmp
{
    quint32 headerSize = 40;
    qint32 width = 1;
    qint32 height = 1;
    quint16 planes = 1;
    quint16 bits = 24;
    quint32 compression = 0;
    quint32 coloursUsed = 0;
    QList<quint32> masks;  // inside the header from 52 bytes on, else just behind it
    QList<QRgb> palette;   // four bytes an entry, three for the 12-byte header
    QByteArray pixels;
    qint64 offset = -1;  // -1: right behind header, masks and palette

    QByteArray bytes() const
    {
        const bool core = headerSize == 12;
        QByteArray b(14 + qsizetype(headerSize), '\0');
        b[0] = 'B';
        b[1] = 'M';
        put32(b, 14, headerSize);
        if (core) {
            put16(b, 18, quint32(width));
            put16(b, 20, quint32(height));
            put16(b, 22, planes);
            put16(b, 24, bits);
        } else {
            put32(b, 18, quint32(width));
            put32(b, 22, quint32(height));
            put16(b, 26, planes);
            put16(b, 28, bits);
            put32(b, 30, compression);
            put32(b, 46, coloursUsed);
        }
        for (qsizetype i = 0; i < masks.size(); ++i) {
            if (headerSize < 52)
                b.resize(b.size() + 4);
            put32(b, 54 + 4 * i, masks[i]);
        }
        for (QRgb c : palette) {
            b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
            if (!core)
                b.append('\0');
        }
        put32(b, 10, quint32(offset >= 0 ? offset : b.size()));
        b.append(pixels);
        put32(b, 2, quint32(b.size()));
        return b;
    }
};

QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

// An image from its pixels, top row first.
QImage picture(int w, int h, const QList<QRgb> &pixels)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int i = 0; i < w * h; ++i)
        image.setPixel(i % w, i / w, pixels[i]);
    return image;
}

// A 256 x 256 skin with every pixel different from its neighbours.
QImage skin()
{
    QImage image(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgb(x, y, (x * 7 + y * 13) & 0xFF));
    return image;
}

QString firstDifference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb a = actual.pixel(x, y) & 0xFFFFFF;
            const QRgb e = expected.pixel(x, y) & 0xFFFFFF;
            if (a != e)
                return QStringLiteral("pixel (%1, %2) is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(a, 6, 16, QLatin1Char('0'))
                    .arg(e, 6, 16, QLatin1Char('0'));
        }
    return {};
}

QString suite(const QString &name) { return QStringLiteral(PELLWERK_TESTDATA "/bmpsuite/") + name; }

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBitmapDecoder : public QObject
{
    Q_OBJECT

private slots:
    void goodFilesMatchTheirReference_data();
    void goodFilesMatchTheirReference();
    void badFilesAreRefusedOrDecoded_data();
    void badFilesAreRefusedOrDecoded();
    void truncatedSkinIsRefused_data();
    void truncatedSkinIsRefused();
    void lyingSizeFieldsAreIgnored_data();
    void lyingSizeFieldsAreIgnored();
    void handMadeFiles_data();
    void handMadeFiles();
    void limitsAreApplied();
    void nonRegularFilesAreRefusedWithoutBlocking_data();
    void nonRegularFilesAreRefusedWithoutBlocking();
    void fifoIsRefusedWithoutBlocking();
    void fileOverTheSizeLimitIsRefused();
    void regularFileIsRead();
};

void TestBitmapDecoder::goodFilesMatchTheirReference_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reference");
    const QList<std::pair<const char *, const char *>> pairs = {
        {"pal1.bmp", "pal1.png"},           {"pal1wb.bmp", "pal1.png"},
        {"pal1bg.bmp", "pal1bg.png"},       {"pal4.bmp", "pal4.png"},
        {"pal4rle.bmp", "pal4.png"},        {"pal4gs.bmp", "pal4gs.png"},
        {"pal8.bmp", "pal8.png"},           {"pal8-0.bmp", "pal8.png"},
        {"pal8rle.bmp", "pal8.png"},        {"pal8topdown.bmp", "pal8.png"},
        {"pal8os2.bmp", "pal8.png"},        {"pal8v4.bmp", "pal8.png"},
        {"pal8v5.bmp", "pal8.png"},         {"pal8gs.bmp", "pal8gs.png"},
        {"pal8w124.bmp", "pal8w124.png"},   {"pal8w125.bmp", "pal8w125.png"},
        {"pal8w126.bmp", "pal8w126.png"},   {"pal8nonsquare.bmp", "pal8nonsquare-e.png"},
        {"rgb16.bmp", "rgb16.png"},         {"rgb16bfdef.bmp", "rgb16.png"},
        {"rgb16-565.bmp", "rgb16-565.png"}, {"rgb16-565pal.bmp", "rgb16-565.png"},
        {"rgb24.bmp", "rgb24.png"},         {"rgb24pal.bmp", "rgb24.png"},
        {"rgb32.bmp", "rgb24.png"},         {"rgb32bf.bmp", "rgb24.png"},
        {"rgb32bfdef.bmp", "rgb24.png"},
    };
    for (const auto &[file, reference] : pairs)
        QTest::newRow(file) << QString::fromLatin1(file) << QString::fromLatin1(reference);
}

void TestBitmapDecoder::goodFilesMatchTheirReference()
{
    QFETCH(QString, file);
    QFETCH(QString, reference);
    const QImage expected(suite(QStringLiteral("reference/") + reference));
    QVERIFY(!expected.isNull());

    const BitmapResult result = decodeBitmap(fileBytes(suite(QStringLiteral("good/") + file)));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image.format(), QImage::Format_RGB32);
    const QString difference = firstDifference(result.image, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestBitmapDecoder::badFilesAreRefusedOrDecoded_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error");  // empty: decodes to a picture of the declared size
    QTest::newRow("badbitcount") << "badbitcount.bmp" << Unsupported;
    QTest::newRow("badbitssize") << "badbitssize.bmp" << QString();  // image-size field ignored
    QTest::newRow("baddens1") << "baddens1.bmp" << QString();        // resolution is no concern
    QTest::newRow("baddens2") << "baddens2.bmp" << QString();
    QTest::newRow("badfilesize") << "badfilesize.bmp" << QString();  // file-size field ignored
    QTest::newRow("badheadersize") << "badheadersize.bmp" << Unsupported;
    QTest::newRow("badpalettesize") << "badpalettesize.bmp" << Damaged;
    QTest::newRow("badplanes") << "badplanes.bmp" << Damaged;
    QTest::newRow("badrle") << "badrle.bmp" << QString();  // runs clipped
    QTest::newRow("badrle4") << "badrle4.bmp" << QString();
    QTest::newRow("badrle4bis") << "badrle4bis.bmp" << QString();
    QTest::newRow("badrle4ter") << "badrle4ter.bmp" << QString();
    QTest::newRow("badrlebis") << "badrlebis.bmp" << QString();
    QTest::newRow("badrleter") << "badrleter.bmp" << QString();
    QTest::newRow("badwidth") << "badwidth.bmp" << Damaged;
    QTest::newRow("pal8badindex") << "pal8badindex.bmp" << QString();  // indices past the palette: black
    QTest::newRow("reallybig") << "reallybig.bmp" << TooLarge;
    QTest::newRow("rgb16-880") << "rgb16-880.bmp" << QString();  // blue mask 0: no blue
    QTest::newRow("rletopdown") << "rletopdown.bmp" << Damaged;
    QTest::newRow("shortfile") << "shortfile.bmp" << Incomplete;
}

void TestBitmapDecoder::badFilesAreRefusedOrDecoded()
{
    QFETCH(QString, file);
    QFETCH(QString, error);
    const QByteArray bytes = fileBytes(suite(QStringLiteral("bad/") + file));
    QVERIFY(!bytes.isEmpty());

    const BitmapResult result = decodeBitmap(bytes);
    QCOMPARE(result.error, error);
    QCOMPARE(result.ok(), error.isEmpty());
    if (result.ok()) {
        QCOMPARE(result.image.format(), QImage::Format_RGB32);
        QCOMPARE(result.image.size(), QSize(127, 64));
    } else {
        QVERIFY(result.image.isNull());
    }
}

void TestBitmapDecoder::truncatedSkinIsRefused_data()
{
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<QString>("error");
    const qsizetype full = encodeBitmap24(skin()).size();
    QTest::newRow("empty") << qsizetype(0) << NotBitmap;
    QTest::newRow("1 byte") << qsizetype(1) << NotBitmap;
    QTest::newRow("magic only") << qsizetype(2) << Incomplete;
    QTest::newRow("13 bytes") << qsizetype(13) << Incomplete;
    QTest::newRow("file header") << qsizetype(14) << Incomplete;
    QTest::newRow("header size field") << qsizetype(18) << Incomplete;
    QTest::newRow("53 bytes") << qsizetype(53) << Incomplete;
    QTest::newRow("headers, no pixels") << qsizetype(54) << Incomplete;
    QTest::newRow("one pixel byte") << qsizetype(55) << Incomplete;
    QTest::newRow("half") << full / 2 << Incomplete;
    QTest::newRow("last byte missing") << full - 1 << Incomplete;
}

void TestBitmapDecoder::truncatedSkinIsRefused()
{
    QFETCH(qsizetype, length);
    QFETCH(QString, error);
    const BitmapResult result = decodeBitmap(encodeBitmap24(skin()).left(length));
    QCOMPARE(result.error, error);
    QVERIFY(result.image.isNull());
}

void TestBitmapDecoder::lyingSizeFieldsAreIgnored_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<quint32>("value");
    QTest::newRow("file size 0") << 2 << 0u;
    QTest::newRow("file size too small") << 2 << 54u;
    QTest::newRow("file size huge") << 2 << 0xFFFFFFFFu;
    QTest::newRow("image size 0") << 34 << 0u;
    QTest::newRow("image size too small") << 34 << 1u;
    QTest::newRow("image size huge") << 34 << 0xFFFFFFFFu;
}

void TestBitmapDecoder::lyingSizeFieldsAreIgnored()
{
    QFETCH(int, field);
    QFETCH(quint32, value);
    QByteArray bytes = encodeBitmap24(skin());
    put32(bytes, field, value);
    const BitmapResult result = decodeBitmap(bytes);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image, skin());
}

void TestBitmapDecoder::handMadeFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QImage>("expected");  // used when error is empty

    const QImage none;
    Bmp b;

    // Palettes and headers.
    b = Bmp{};
    b.width = 3;
    b.height = 2;
    b.bits = 1;
    b.palette = {Red, Blue};
    b.pixels = hex("a0000000"
                   "40000000");  // bottom row 1 0 1, top row 0 1 0
    QTest::newRow("1 bit, bottom-up") << b.bytes() << QString() << picture(3, 2, {Red, Blue, Red, Blue, Red, Blue});

    b = Bmp{};
    b.width = 3;
    b.bits = 4;
    b.coloursUsed = 2;
    b.palette = {White, Green};
    b.pixels = hex("0f100000");
    QTest::newRow("4 bit, index past the palette is black")
        << b.bytes() << QString() << picture(3, 1, {White, Black, Green});

    b = Bmp{};
    b.width = 2;
    b.height = -2;
    b.bits = 8;
    b.coloursUsed = 3;
    b.palette = {Red, Green, Blue};
    b.pixels = hex("00010000"
                   "02000000");
    QTest::newRow("8 bit, top-down") << b.bytes() << QString() << picture(2, 2, {Red, Green, Blue, Red});

    b = Bmp{};
    b.headerSize = 12;
    b.width = 2;
    b.bits = 8;
    b.palette = {Green, White};  // three-byte entries, only as many as fit before the pixels
    b.pixels = hex("01000000");
    QTest::newRow("core header, short palette") << b.bytes() << QString() << picture(2, 1, {White, Green});

    b = Bmp{};
    b.width = 2;
    b.pixels = hex("0000ff"
                   "ffffff"
                   "0000"
                   "00ff00"
                   "ff0000");  // last row without its padding
    b.height = 2;
    QTest::newRow("24 bit, last row unpadded") << b.bytes() << QString() << picture(2, 2, {Green, Blue, Red, White});
    b.pixels.chop(1);
    QTest::newRow("24 bit, last pixel cut") << b.bytes() << Incomplete << none;

    b = Bmp{};
    b.bits = 4;
    b.coloursUsed = 17;
    b.palette = QList<QRgb>(17, White);
    b.pixels = hex("00000000");
    QTest::newRow("colours used beyond the depth") << b.bytes() << Damaged << none;

    b = Bmp{};
    b.bits = 8;
    b.coloursUsed = 4;
    b.palette = {Red, Green};
    b.pixels = hex("00000000");
    QTest::newRow("palette runs into the pixels") << b.bytes() << Damaged << none;

    b = Bmp{};
    b.pixels = hex("00000000");
    b.offset = 40;
    QTest::newRow("pixel offset inside the header") << b.bytes() << Damaged << none;
    b.offset = 1000;
    QTest::newRow("pixel offset past the end") << b.bytes() << Incomplete << none;
    b.offset = 0x7FFFFFFF;
    QTest::newRow("pixel offset huge") << b.bytes() << Incomplete << none;

    const QList<std::tuple<const char *, quint16, quint16, QString>> fields = {
        {"planes 0", 0, 24, Damaged},  {"planes 2", 2, 24, Damaged},    {"0 bits", 1, 0, Unsupported},
        {"2 bits", 1, 2, Unsupported}, {"64 bits", 1, 64, Unsupported},
    };
    for (const auto &[name, planes, bits, error] : fields) {
        b = Bmp{};
        b.planes = planes;
        b.bits = bits;
        b.pixels = hex("0000000000000000");
        QTest::newRow(name) << b.bytes() << error << none;
    }
    for (quint32 size : {0u, 16u, 20u, 64u, 66u, 125u, 0xFFFFFFFFu}) {
        QByteArray bytes = Bmp{}.bytes();
        put32(bytes, 14, size);
        QTest::addRow("header size %u", size) << bytes << Unsupported << none;
    }

    const QList<std::tuple<const char *, qint32, qint32, QString>> dimensions = {
        {"width 0", 0, 1, Damaged},
        {"width -1", -1, 1, Damaged},
        {"width INT_MIN", INT_MIN, 1, Damaged},
        {"height 0", 1, 0, Damaged},
        {"height INT_MIN", 1, INT_MIN, TooLarge},
        {"width 40000", 40000, 1, TooLarge},
        {"height -40000", 1, -40000, TooLarge},
        {"30000 x 30000", 30000, 30000, TooLarge},
        {"width INT_MAX", INT_MAX, 1, TooLarge},
    };
    for (const auto &[name, width, height, error] : dimensions) {
        b = Bmp{};
        b.width = width;
        b.height = height;
        b.pixels = hex("00000000");
        QTest::newRow(name) << b.bytes() << error << none;
    }

    const QList<std::tuple<const char *, quint16, quint32, QString>> kinds = {
        {"RLE8 with 4 bits", 4, 1, Unsupported},
        {"RLE4 with 8 bits", 8, 2, Unsupported},
        {"bit fields with 24 bits", 24, 3, Unsupported},
        {"JPEG", 24, 4, Unsupported},
        {"PNG", 24, 5, Unsupported},
        {"compression 0xFFFFFFFF", 24, 0xFFFFFFFF, Unsupported},
    };
    for (const auto &[name, bits, compression, error] : kinds) {
        b = Bmp{};
        b.bits = bits;
        b.compression = compression;
        b.masks = {0xFF0000, 0xFF00, 0xFF};
        b.pixels = hex("0000000000000000");
        QTest::newRow(name) << b.bytes() << error << none;
    }

    // Bit fields. Expected channels computed by hand as round(v * 255 / (2^n - 1)).
    b = Bmp{};
    b.bits = 16;
    b.pixels = hex("e00f0000");  // 0x0FE0: 5-5-5 red 3, green 31, blue 0
    QTest::newRow("16 bit default is 5-5-5") << b.bytes() << QString() << picture(1, 1, {qRgb(25, 255, 0)});

    b = Bmp{};
    b.bits = 16;
    b.compression = 3;
    b.masks = {0xF800, 0x07E0, 0x001F};
    b.pixels = hex("61f90000");  // 0xF961: red 31, green 11, blue 1
    QTest::newRow("16 bit 5-6-5 behind a 40-byte header")
        << b.bytes() << QString() << picture(1, 1, {qRgb(255, 45, 8)});
    b.headerSize = 52;
    QTest::newRow("16 bit 5-6-5 inside a 52-byte header")
        << b.bytes() << QString() << picture(1, 1, {qRgb(255, 45, 8)});

    b = Bmp{};
    b.headerSize = 108;
    b.bits = 32;
    b.compression = 3;
    b.masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000};
    b.pixels = hex("0100f8ff");  // 0xFFF80001: red 1023, green 512, blue 1, alpha bits set
    QTest::newRow("32 bit 10-10-10 in a V4 header") << b.bytes() << QString() << picture(1, 1, {qRgb(255, 128, 0)});

    b = Bmp{};
    b.headerSize = 56;
    b.bits = 32;
    b.compression = 3;
    b.masks = {0x00FF0000, 0x0000FF00, 0, 0};
    b.pixels = hex("ccbbaa00");
    QTest::newRow("zero blue mask gives no blue") << b.bytes() << QString() << picture(1, 1, {qRgb(0xAA, 0xBB, 0)});

    b = Bmp{};
    b.bits = 32;
    b.compression = 6;
    b.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    b.pixels = hex("11223344");
    QTest::newRow("alpha bit fields, alpha ignored")
        << b.bytes() << QString() << picture(1, 1, {qRgb(0x11, 0x22, 0x33)});

    const QList<std::tuple<const char *, quint16, QList<quint32>>> badMasks = {
        {"overlapping masks", 32, {0x00FF0000, 0x0001FF00, 0xFF}},
        {"split mask", 32, {0x00FF0000, 0x0000F0F0, 0x0F}},
        {"mask outside a 16-bit pixel", 16, {0x1F0000, 0x07E0, 0x1F}},
    };
    for (const auto &[name, bits, masks] : badMasks) {
        b = Bmp{};
        b.bits = bits;
        b.compression = 3;
        b.masks = masks;
        b.pixels = hex("00000000");
        QTest::newRow(name) << b.bytes() << Unsupported << none;
    }
    {
        b = Bmp{};
        b.bits = 16;
        b.compression = 3;
        QByteArray bytes = b.bytes();
        bytes.append(hex("00f8000000"));  // the file ends inside the masks
        put32(bytes, 10, 54);
        QTest::newRow("file ends inside the masks") << bytes << Incomplete << none;
    }

    // Run-length data: 4 x 2 pixels, palette red, green, blue, white.
    const auto rle8 = [](const char *data) {
        Bmp r;
        r.width = 4;
        r.height = 2;
        r.bits = 8;
        r.compression = 1;
        r.coloursUsed = 4;
        r.palette = {Red, Green, Blue, White};
        r.pixels = hex(data);
        return r.bytes();
    };
    const QRgb K = Black, R = Red, G = Green, B = Blue, W = White;
    QTest::newRow("RLE8 run clipped at the row end")
        << rle8("0601 0000 0102 0001") << QString() << picture(4, 2, {B, K, K, K, G, G, G, G});
    QTest::newRow("RLE8 absolute run with padding")
        << rle8("0003 000102 00 0000 0203 0001") << QString() << picture(4, 2, {W, W, K, K, R, G, B, K});
    QTest::newRow("RLE8 absolute run past the row end")
        << rle8("0006 000102030201 0001") << QString() << picture(4, 2, {K, K, K, K, R, G, B, W});
    QTest::newRow("RLE8 delta") << rle8("0002 0101 0103 0001") << QString() << picture(4, 2, {K, W, K, K, K, K, K, K});
    QTest::newRow("RLE8 delta out of the picture stops")
        << rle8("0101 0002 0005 0102 0001") << QString() << picture(4, 2, {K, K, K, K, G, K, K, K});
    QTest::newRow("RLE8 delta far to the right clips")
        << rle8("0002 ff00 0203 0000 0101 0001") << QString() << picture(4, 2, {G, K, K, K, K, K, K, K});
    QTest::newRow("RLE8 ends inside an absolute run")
        << rle8("0005 0102") << QString() << picture(4, 2, {K, K, K, K, G, B, K, K});
    QTest::newRow("RLE8 ends inside a delta")
        << rle8("0101 0002 01") << QString() << picture(4, 2, {K, K, K, K, G, K, K, K});
    QTest::newRow("RLE8 without end code") << rle8("0203") << QString() << picture(4, 2, {K, K, K, K, W, W, K, K});
    QTest::newRow("RLE8 one byte of data") << rle8("04") << QString() << picture(4, 2, {K, K, K, K, K, K, K, K});
    QTest::newRow("RLE8 end of line past the top")
        << rle8("0000 0000 0000 0103 0001") << QString() << picture(4, 2, {K, K, K, K, K, K, K, K});
    {
        QByteArray bytes = rle8("0001");
        put32(bytes, 22, quint32(-2));
        QTest::newRow("RLE8 top-down") << bytes << Damaged << none;
        bytes = rle8("");
        QTest::newRow("RLE8 without data") << bytes << Incomplete << none;
    }

    const auto rle4 = [](const char *data) {
        Bmp r;
        r.width = 5;
        r.height = 1;
        r.bits = 4;
        r.compression = 2;
        r.coloursUsed = 4;
        r.palette = {Red, Green, Blue, White};
        r.pixels = hex(data);
        return r.bytes();
    };
    QTest::newRow("RLE4 run alternates nibbles") << rle4("0512 0001") << QString() << picture(5, 1, {G, B, G, B, G});
    QTest::newRow("RLE4 run clipped") << rle4("0912 0001") << QString() << picture(5, 1, {G, B, G, B, G});
    QTest::newRow("RLE4 absolute, even bytes")
        << rle4("0003 1230 0200 0001") << QString() << picture(5, 1, {G, B, W, R, R});
    QTest::newRow("RLE4 absolute, odd bytes padded")
        << rle4("0005 123010 00 0001") << QString() << picture(5, 1, {G, B, W, R, G});
    QTest::newRow("RLE4 ends inside an absolute run") << rle4("0005 12") << QString() << picture(5, 1, {G, B, K, K, K});
    QTest::newRow("RLE4 index past the palette") << rle4("02f3 0001") << QString() << picture(5, 1, {K, W, K, K, K});
}

void TestBitmapDecoder::handMadeFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QFETCH(QImage, expected);

    const BitmapResult result = decodeBitmap(bytes);
    QCOMPARE(result.error, error);
    if (!error.isEmpty()) {
        QVERIFY(result.image.isNull());
        return;
    }
    QCOMPARE(result.image.format(), QImage::Format_RGB32);
    const QString difference = firstDifference(result.image, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestBitmapDecoder::limitsAreApplied()
{
    Bmp b;
    b.width = 100;
    b.height = 100;
    b.pixels = QByteArray(100 * 300, '\x40');

    DecodeLimits limits;
    limits.maxPixels = 9999;
    QCOMPARE(decodeBitmap(b.bytes(), limits).error, TooLarge);
    limits.maxPixels = 10000;
    QVERIFY(decodeBitmap(b.bytes(), limits).ok());
    limits.maxDimension = 99;
    QCOMPARE(decodeBitmap(b.bytes(), limits).error, TooLarge);

    // Limits far beyond the defaults must not make the size arithmetic overflow.
    limits.maxDimension = INT_MAX;
    limits.maxPixels = std::numeric_limits<qint64>::max();
    b.width = INT_MAX;
    b.height = INT_MAX;
    QCOMPARE(decodeBitmap(b.bytes(), limits).error, Incomplete);
}

void TestBitmapDecoder::nonRegularFilesAreRefusedWithoutBlocking_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("error");
    QTest::newRow("folder") << QDir::tempPath() << QStringLiteral("Das ist ein Ordner, keine Datei.");
    QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << QStringLiteral("Das ist keine gewöhnliche Datei.");
    QTest::newRow("missing") << QDir::tempPath() + QStringLiteral("/pellwerk-no-such-file.bmp")
                             << QStringLiteral("Die Datei ist nicht vorhanden.");
    QTest::newRow("empty name") << QString() << QStringLiteral("Die Datei ist nicht vorhanden.");
}

void TestBitmapDecoder::nonRegularFilesAreRefusedWithoutBlocking()
{
    QFETCH(QString, path);
    QFETCH(QString, error);
    QElapsedTimer timer;
    timer.start();
    const BitmapResult result = readBitmapFile(path);
    QCOMPARE(result.error, error);
    QVERIFY(result.image.isNull());
    QVERIFY(timer.elapsed() < 1000);
}

void TestBitmapDecoder::fifoIsRefusedWithoutBlocking()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("pipe.bmp"));
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);

    auto reading = std::async(std::launch::async, [path] { return readBitmapFile(path); });
    if (reading.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
        // Let the blocked open return so that the test can end, then fail it.
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        reading.wait();
        QFAIL("reading a pipe blocked");
    }
    const BitmapResult result = reading.get();
    QCOMPARE(result.error, QStringLiteral("Das ist keine gewöhnliche Datei."));
}

void TestBitmapDecoder::fileOverTheSizeLimitIsRefused()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("skin.bmp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray bytes = encodeBitmap24(skin());
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();

    DecodeLimits limits;
    limits.maxFileBytes = bytes.size() - 1;
    QCOMPARE(readBitmapFile(path, limits).error, QStringLiteral("Die Datei ist zu groß."));
    limits.maxFileBytes = bytes.size();
    QVERIFY(readBitmapFile(path, limits).ok());
}

void TestBitmapDecoder::regularFileIsRead()
{
    const BitmapResult result = readBitmapFile(suite(QStringLiteral("good/rgb24.bmp")));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image, decodeBitmap(fileBytes(suite(QStringLiteral("good/rgb24.bmp")))).image);
}

QTEST_GUILESS_MAIN(TestBitmapDecoder)
#include "tst_bitmapdecoder.moc"
