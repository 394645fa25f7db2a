#include "colour/PictureBits.h"
#include "TestFiles.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <stdexcept>

using namespace pellwerk;
using namespace testsupport;

namespace {

// Channels that differ from pixel to pixel and between channels, so a swapped channel, a
// flipped row or a shifted column shows.
const auto rgbAt = [](int x, int y) {
    return qRgb((x * 7 + y) & 0xFF, (y * 5 + x / 3 + 3) & 0xFF, (x * 3 + y * 11 + 1) & 0xFF);
};

// A 24-bit picture as a bitmap file gives it, x to the right and y downwards.
QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, rgbAt(x, y));
    return image;
}

QList<int> boundsOf(const PixelBuffer &b)
{
    return {b.lowerBound(1), b.upperBound(1), b.lowerBound(2), b.upperBound(2)};
}

} // namespace

class PixelBufferTest : public QObject
{
    Q_OBJECT

private slots:
    void redimension()
    {
        PixelBuffer buffer;
        QVERIFY(buffer.isEmpty() && !buffer.data());
        // Bounds are the caller's, negative ones too; the bytes lie row after row from data().
        QVERIFY(buffer.redimension(-2, 1, -1, 0));
        QCOMPARE(boundsOf(buffer), (QList<int>{-2, 1, -1, 0}));
        QCOMPARE(buffer.byteCount(), 8);
        QCOMPARE(&buffer.at(-2, -1), buffer.data());
        QCOMPARE(&buffer.at(1, 0), buffer.data() + 7);
        QVERIFY(std::all_of(buffer.data(), buffer.data() + 8, [](quint8 b) { return b == 0; }));
        for (const QPoint outside : {QPoint(-3, -1), QPoint(2, 0), QPoint(1, 1), QPoint(-2, -2)})
            QVERIFY_THROWS_EXCEPTION(std::out_of_range, buffer.at(outside.x(), outside.y()));

        // A size too large leaves the buffer as it was; dimensioning again discards the contents.
        buffer.at(1, 0) = 5;
        const quint8 *before = buffer.data();
        QVERIFY(!buffer.redimension(1, 0x7FFFFFFF, 1, 2));
        QCOMPARE(buffer.data(), before);
        QCOMPARE(buffer.at(1, 0), quint8(5));
        QVERIFY(buffer.redimension(-2, 1, -1, 0));
        QCOMPARE(buffer.at(1, 0), quint8(0));
        QVERIFY(buffer.redimension(1, 0, 1, 5));
        QVERIFY(buffer.isEmpty() && !buffer.data());
    }

    void readLayout()
    {
        PixelBufferInfo info;
        PixelBuffer source, target;
        QVERIFY(source.redimension(0, 1, 0, 1));
        QVERIFY(ReadPictureBits(Picture::make(pattern(56, 72)), info, source, target).ok());
        QVERIFY(source == target);
        QVERIFY(source.data() != target.data());
        QCOMPARE(boundsOf(source), (QList<int>{1, 224, 1, 72}));

        // Row 1 of the buffer is the picture's bottom row 71; each pixel is blue, green, red, 0.
        const QList<int> layout{
            1,   1, qBlue(rgbAt(0, 71)),   2,   1,  qGreen(rgbAt(0, 71)), 3,   1,  qRed(rgbAt(0, 71)), 4,   1,  0,
            5,   1, qBlue(rgbAt(1, 71)),   221, 72, qBlue(rgbAt(55, 0)),  223, 72, qRed(rgbAt(55, 0)), 224, 72, 0,
            222, 1, qGreen(rgbAt(55, 71)), 43,  30, qRed(rgbAt(10, 42))}; // byte index, row index, value
        for (qsizetype n = 0; n < layout.size(); n += 3)
            QVERIFY2(source.at(layout[n], layout[n + 1]) == layout[n + 2], qPrintable(QString::number(n / 3)));

        for (const BITMAP *d : {&info.Source, &info.Target}) {
            QCOMPARE((QList<int>{d->bmType, d->bmWidth, d->bmHeight, d->bmWidthBytes, d->bmPlanes, d->bmBitsPixel}),
                     (QList<int>{0, 56, 72, 224, 1, 32}));
            QCOMPARE(d->bmBytesAvailable, qint64(224 * 72));
        }
        QCOMPARE(info.Source.bmBits, source.data());
        QCOMPARE(info.Target.bmBits, target.data());

        // A picture object holding pixels in another format, as a loader might leave them.
        Picture argb;
        argb.image = pattern(5, 3).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(ReadPictureBits(argb, info, source, target).ok());
        QCOMPARE(source.at(1, 3), quint8(qBlue(rgbAt(0, 0))));
        QCOMPARE(source.at(19, 1), quint8(qRed(rgbAt(4, 2))));
        QCOMPARE(source.at(20, 1), quint8(0));

        // No picture: nothing changes.
        source.at(1, 1) = 42;
        QCOMPARE(errorText(ReadPictureBits(Picture{}, info, source, target)),
                 QStringLiteral("Bildinformationen konnten nicht gelesen werden"));
        QCOMPARE(source.at(1, 1), quint8(42));
        QCOMPARE(boundsOf(target), (QList<int>{1, 20, 1, 3}));
        QCOMPARE(info.Source.bmWidth, 5);
    }

    void writePaths()
    {
        // Into an empty box: a new picture, opaque whatever the reserved bytes hold.
        PictureBoxModel box(QSize(148, 191), Colours::Black, false);
        PixelBufferInfo info;
        PixelBuffer source, target;
        QVERIFY(ReadPictureBits(Picture::make(pattern(56, 72)), info, source, target).ok());
        for (int j = 1; j <= 72; j += 71)
            target.at(4, j) = target.at(224, j) = 0x7C;
        QVERIFY(WritePictureBits(box, info.Target).ok());
        QVERIFY(box.picture().directPixels);
        QCOMPARE(box.picture().image, pattern(56, 72).convertToFormat(QImage::Format_RGB32));

        // Over a loaded picture of the same size: it cannot be rewritten, so a new one replaces it.
        box.setPicture(Picture::make(pattern(56, 72)));
        const quint64 loaded = box.picture().serial;
        QVERIFY(WritePictureBits(box, info.Target).ok());
        QVERIFY(box.picture().serial != loaded);
        QVERIFY(box.picture().directPixels);

        // Again at the same size: the same picture, new pixels, a repaint.
        const quint64 direct = box.picture().serial;
        target.at(1, 1) = 0x11;    // blue of the bottom-left pixel
        target.at(223, 72) = 0x22; // red of the top-right pixel
        QSignalSpy repaints(&box, &PictureBoxModel::changed);
        QVERIFY(WritePictureBits(box, info.Target).ok());
        QCOMPARE(box.picture().serial, direct);
        QCOMPARE(repaints.count(), 1);
        QCOMPARE(box.surface().pixel(0, 71), qRgb(qRed(rgbAt(0, 71)), qGreen(rgbAt(0, 71)), 0x11));
        QCOMPARE(box.surface().pixel(55, 0), qRgb(0x22, qGreen(rgbAt(55, 0)), qBlue(rgbAt(55, 0))));

        // A buffer of another size: a new picture again, and the box's back colour around it.
        PixelBufferInfo otherInfo;
        QVERIFY(ReadPictureBits(Picture::make(pattern(10, 5)), otherInfo, source, target).ok());
        QVERIFY(WritePictureBits(box, otherInfo.Target).ok());
        QVERIFY(box.picture().serial != direct);
        QCOMPARE(box.picture().image, pattern(10, 5).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(box.surface().pixel(20, 20), Colours::Black.toQRgb());

        // The same width but more rows: a new picture, not the old one overrun. Every pixel is
        // opaque, also those after the last block of four, whose reserved byte is set here.
        const quint64 small = box.picture().serial;
        QVERIFY(ReadPictureBits(Picture::make(pattern(10, 8)), otherInfo, source, target).ok());
        target.at(40, 1) = 0x7C;
        QVERIFY(WritePictureBits(box, otherInfo.Target).ok());
        QVERIFY(box.picture().serial != small);
        const QImage &shown = box.picture().image;
        QCOMPARE(shown.size(), QSize(10, 8));
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                QCOMPARE(reinterpret_cast<const QRgb *>(shown.constScanLine(y))[x] >> 24, 0xFFu);
    }

    void writeRefusesBadDescriptor_data()
    {
        QTest::addColumn<QList<qint64>>("d"); // width, height, row bytes, with a pixel address, bytes available
        // The buffer behind every descriptor holds 4 x 3 pixels (48 bytes).
        QTest::newRow("no pixel address") << QList<qint64>{4, 3, 16, 0, 48};
        QTest::newRow("width 0") << QList<qint64>{0, 3, 16, 1, 48};
        QTest::newRow("rows shorter than the pixels") << QList<qint64>{4, 3, 12, 1, 48};
        QTest::newRow("more rows than the buffer") << QList<qint64>{4, 4, 16, 1, 48};
        QTest::newRow("row times height overflows") << QList<qint64>{4, 0x10000000, 16, 1, 48};
        QTest::newRow("huge size and huge claim") << QList<qint64>{0x10000, 0x10000, 0x40000, 1, qint64(1) << 40};
    }

    void writeRefusesBadDescriptor()
    {
        QFETCH(QList<qint64>, d);
        PixelBuffer buffer;
        QVERIFY(buffer.redimension(16, 3));
        const BITMAP descriptor{0,   qint32(d[0]), qint32(d[1]), qint32(d[2]), 1, 32, d[3] ? buffer.data() : nullptr,
                                d[4]};

        PictureBoxModel box(QSize(148, 191), Colours::Black, false);
        const Picture shown = Picture::make(pattern(4, 3), true);
        box.setPicture(shown);
        QCOMPARE(errorText(WritePictureBits(box, descriptor)), QStringLiteral("Bildkopie konnte nicht erstellt werden"));
        QCOMPARE(box.picture().serial, shown.serial);
        QCOMPARE(box.picture().image, shown.image);
    }
};

QTEST_MAIN(PixelBufferTest)
#include "tst_pixelbuffer.moc"
