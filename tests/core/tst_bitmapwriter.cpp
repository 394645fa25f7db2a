#include "TestFiles.h"
#include "core/BitmapDecoder.h"
#include "core/BitmapWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include <sys/resource.h>

using namespace pellwerk;
using namespace testsupport;

class TestBitmapWriter : public QObject
{
    Q_OBJECT

private slots:
    void decodingGivesTheImageBack_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<int>("stride"); // rows padded to four bytes
        QTest::newRow("1 x 1") << randomImage(1, 1, 2) << 4;
        QTest::newRow("2 x 3") << randomImage(2, 3, 3) << 8;
        QTest::newRow("3 x 2") << randomImage(3, 2, 4) << 12;
        QTest::newRow("256 x 256") << randomImage(256, 256, 7) << 768;
        QTest::newRow("64 x 64 ARGB") << randomImage(64, 64, 8).convertToFormat(QImage::Format_ARGB32) << 192;
    }

    void decodingGivesTheImageBack()
    {
        QFETCH(QImage, image);
        QFETCH(int, stride);
        const QByteArray bytes = encodeBitmap24(image);
        QCOMPARE(bytes.size(), 54 + stride * image.height());
        QCOMPARE(imageOf(decodeBitmap(bytes)), image.convertToFormat(QImage::Format_RGB32));
        const int padding = stride - image.width() * 3;
        for (int row = 0; row < image.height(); ++row)
            QCOMPARE(bytes.mid(54 + row * stride + image.width() * 3, padding), QByteArray(padding, 0));
        // A skin: "BM", file size, pixels at 54; a 40-byte header for 256 x 256 bottom-up, one plane,
        // 24 bits, no compression, and image size, resolutions and colour counts 0.
        if (image.width() == 256)
            QCOMPARE(bytes.left(54), QByteArray::fromHex("424d36000300000000003600000028000000000100000001000001001800")
                                         + QByteArray(24, 0));
    }

    void writing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("existing file is replaced") << "file";
        QTest::newRow("folder of that name") << "folder";
        QTest::newRow("missing folder") << "missing";
        // A process file-size limit makes writes come up short the way a full disk does, and it
        // works for root too, whom read-only folders do not stop.
        QTest::newRow("short write") << "short";
    }

    void writing()
    {
        QFETCH(QString, target);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(target == "missing" ? "no-such-folder/skin.bmp" : "skin.bmp");
        const QByteArray old = encodeBitmap24(randomImage(8, 8, 12));
        if (target == "folder")
            QVERIFY(QDir().mkdir(path) && writeFile(path + "/inside.txt", old));
        else if (target != "missing")
            QVERIFY(writeFile(path, target == "file" ? QByteArray(300000, 'x') : old));

        const QImage image = randomImage(256, 256, 13);
        struct rlimit saved;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = target == "short" ? 10000 : saved.rlim_cur;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const Result<void> result = writeBitmapFile(image, path);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(result.ok(), target == "file");
        QVERIFY2(!errorText(result).contains(dir.path()), qPrintable(errorText(result)));
        if (target == "folder")
            QCOMPARE(fileBytes(path + "/inside.txt"), old);
        else if (target != "missing")
            QCOMPARE(fileBytes(path), result.ok() ? encodeBitmap24(image) : old);
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 target == "missing" ? QStringList() : QStringList{"skin.bmp"});
    }
};

QTEST_GUILESS_MAIN(TestBitmapWriter)
#include "tst_bitmapwriter.moc"
