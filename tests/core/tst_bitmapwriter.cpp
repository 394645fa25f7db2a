#include "core/BitmapDecoder.h"
#include "core/BitmapWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include <sys/resource.h>

using namespace pellwerk;

namespace {

quint32 field(const QByteArray &bytes, int at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

QImage randomImage(int w, int h, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, 0xFF000000u | (random.generate() & 0xFFFFFF));
    return image;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestBitmapWriter : public QObject
{
    Q_OBJECT

private slots:
    void skinHeaderHasTheFormatFields_data();
    void skinHeaderHasTheFormatFields();
    void rowsAreBottomUpAndBlueGreenRed_data();
    void rowsAreBottomUpAndBlueGreenRed();
    void decodingGivesTheImageBack_data();
    void decodingGivesTheImageBack();
    void writingReplacesAnExistingFile();
    void folderAsTargetFails();
    void missingFolderFails();
    void failedWriteKeepsTheOldFile();
};

void TestBitmapWriter::skinHeaderHasTheFormatFields_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("size");
    QTest::addColumn<quint32>("value");
    QTest::newRow("type") << 0 << 2 << quint32('B' | 'M' << 8);
    QTest::newRow("file size") << 2 << 4 << 196662u;
    QTest::newRow("reserved") << 6 << 4 << 0u;
    QTest::newRow("pixel offset") << 10 << 4 << 54u;
    QTest::newRow("header size") << 14 << 4 << 40u;
    QTest::newRow("width") << 18 << 4 << 256u;
    QTest::newRow("height, bottom-up") << 22 << 4 << 256u;
    QTest::newRow("planes") << 26 << 2 << 1u;
    QTest::newRow("bits") << 28 << 2 << 24u;
    QTest::newRow("compression") << 30 << 4 << 0u;
    QTest::newRow("resolution x") << 38 << 4 << 0u;
    QTest::newRow("resolution y") << 42 << 4 << 0u;
    QTest::newRow("colours used") << 46 << 4 << 0u;
    QTest::newRow("important colours") << 50 << 4 << 0u;
}

void TestBitmapWriter::skinHeaderHasTheFormatFields()
{
    QFETCH(int, offset);
    QFETCH(int, size);
    QFETCH(quint32, value);
    const QByteArray bytes = encodeBitmap24(randomImage(256, 256, 1));
    QCOMPARE(bytes.size(), 196662);
    QCOMPARE(field(bytes, offset, size), value);
    const quint32 imageSize = field(bytes, 34, 4);
    QVERIFY2(imageSize == 0 || imageSize == 196608, qPrintable(QString::number(imageSize)));
}

void TestBitmapWriter::rowsAreBottomUpAndBlueGreenRed_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("fileOffset");  // where the pixel's blue byte must be, worked out by hand
    QTest::newRow("top left") << QPoint(0, 0) << 54 + 255 * 768;
    QTest::newRow("top right") << QPoint(255, 0) << 54 + 255 * 768 + 765;
    QTest::newRow("bottom left") << QPoint(0, 255) << 54;
    QTest::newRow("bottom right") << QPoint(255, 255) << 54 + 765;
    QTest::newRow("inside") << QPoint(17, 200) << 54 + 55 * 768 + 51;
}

void TestBitmapWriter::rowsAreBottomUpAndBlueGreenRed()
{
    QFETCH(QPoint, point);
    QFETCH(int, fileOffset);
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setPixel(point, qRgb(0x12, 0x34, 0x56));
    const QByteArray bytes = encodeBitmap24(image);
    QCOMPARE(quint8(bytes[fileOffset]), quint8(0x56));
    QCOMPARE(quint8(bytes[fileOffset + 1]), quint8(0x34));
    QCOMPARE(quint8(bytes[fileOffset + 2]), quint8(0x12));
    QCOMPARE(bytes.mid(54).count('\0'), 256 * 768 - 3);  // nothing else of the picture is lit
}

void TestBitmapWriter::decodingGivesTheImageBack_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<int>("fileSize");  // 54 + rows padded to four bytes
    QTest::newRow("1 x 1") << randomImage(1, 1, 2) << 54 + 4;
    QTest::newRow("2 x 3") << randomImage(2, 3, 3) << 54 + 3 * 8;
    QTest::newRow("3 x 2") << randomImage(3, 2, 4) << 54 + 2 * 12;
    QTest::newRow("5 x 7") << randomImage(5, 7, 5) << 54 + 7 * 16;
    QTest::newRow("255 x 3") << randomImage(255, 3, 6) << 54 + 3 * 768;
    QTest::newRow("256 x 256") << randomImage(256, 256, 7) << 196662;
    QTest::newRow("64 x 64 ARGB") << randomImage(64, 64, 8).convertToFormat(QImage::Format_ARGB32) << 54 + 64 * 192;
}

void TestBitmapWriter::decodingGivesTheImageBack()
{
    QFETCH(QImage, image);
    QFETCH(int, fileSize);
    const QByteArray bytes = encodeBitmap24(image);
    QCOMPARE(bytes.size(), fileSize);
    const BitmapResult result = decodeBitmap(bytes);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.image, image.convertToFormat(QImage::Format_RGB32));

    // Padding bytes are zero: the last bytes of every row beyond width * 3.
    const int stride = (fileSize - 54) / image.height();
    for (int row = 0; row < image.height(); ++row)
        for (int i = image.width() * 3; i < stride; ++i)
            QCOMPARE(bytes[54 + row * stride + i], '\0');
}

void TestBitmapWriter::writingReplacesAnExistingFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("skin.bmp"));
    QVERIFY(writeBytes(path, QByteArray(300000, 'x')));

    const QImage image = randomImage(256, 256, 9);
    const WriteResult result = writeBitmapFile(image, path);
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(result.error.isEmpty());
    QCOMPARE(fileBytes(path), encodeBitmap24(image));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("skin.bmp")});
}

void TestBitmapWriter::folderAsTargetFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("skins.bmp"));
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(writeBytes(folder + QStringLiteral("/inside.txt"), "keep"));

    const WriteResult result = writeBitmapFile(randomImage(4, 4, 10), folder);
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QVERIFY(!result.error.contains(folder));
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(fileBytes(folder + QStringLiteral("/inside.txt")), QByteArray("keep"));
}

void TestBitmapWriter::missingFolderFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("no-such-folder/skin.bmp"));
    const WriteResult result = writeBitmapFile(randomImage(4, 4, 11), path);
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QVERIFY2(!result.error.contains(QStringLiteral("no-such-folder")), qPrintable(result.error));
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestBitmapWriter::failedWriteKeepsTheOldFile()
{
    // A process file-size limit makes writes come up short the way a full disk does, and it
    // works for root too, whom read-only folders do not stop. Read-only and full file systems
    // themselves are not covered here.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("skin.bmp"));
    const QByteArray old = encodeBitmap24(randomImage(8, 8, 12));
    QVERIFY(writeBytes(path, old));

    struct rlimit saved;
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 10000;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const WriteResult result = writeBitmapFile(randomImage(256, 256, 13), path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QVERIFY2(!result.error.contains(dir.path()), qPrintable(result.error));
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("skin.bmp")});
}

QTEST_GUILESS_MAIN(TestBitmapWriter)
#include "tst_bitmapwriter.moc"
