#include "colour/PictureBits.h"
#include "colour/PixelBuffer.h"
#include "colour/PixelBufferInfo.h"
#include "core/MessageSink.h"
#include "core/Picture.h"
#include "core/PictureBoxModel.h"

#include <QSignalSpy>
#include <QTest>

#include <stdexcept>

using namespace pellwerk;

namespace {

// Channels that differ from pixel to pixel and between channels, so a swapped channel, a
// flipped row or a shifted column shows.
int redAt(int x, int y)
{
    return (x * 7 + y) & 0xFF;
}
int greenAt(int x, int y)
{
    return (y * 5 + x / 3 + 3) & 0xFF;
}
int blueAt(int x, int y)
{
    return (x * 3 + y * 11 + 1) & 0xFF;
}

// A 24-bit picture as a bitmap file gives it, x to the right and y downwards.
QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(redAt(x, y), greenAt(x, y), blueAt(x, y)));
    return image;
}

bool sameRgb(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                return false;
    return true;
}

const QString NoPictureCopy = QStringLiteral("Bildkopie konnte nicht erstellt werden");

} // namespace

class PixelBufferTest : public QObject
{
    Q_OBJECT

private slots:
    void redimensionGivesZeroedBounds_data();
    void redimensionGivesZeroedBounds();
    void redimensionDiscardsContents();
    void oversizedRedimensionKeepsBuffer();

    void readLayout_data();
    void readLayout();
    void readFillsBothBuffersAndDescriptors();
    void readConvertsOtherFormats();
    void readOfNoPicture_data();
    void readOfNoPicture();

    void writePaths();
    void writeIntoEmptyBox();
    void writeInPlaceShowsInPersistentBox();
    void writeRefusesBadDescriptor_data();
    void writeRefusesBadDescriptor();
};

void PixelBufferTest::redimensionGivesZeroedBounds_data()
{
    QTest::addColumn<int>("lower1");
    QTest::addColumn<int>("upper1");
    QTest::addColumn<int>("lower2");
    QTest::addColumn<int>("upper2");
    QTest::addColumn<qint64>("bytes");

    QTest::newRow("56 x 72 picture") << 1 << 224 << 1 << 72 << qint64(16128);
    QTest::newRow("2 x 2 placeholder") << 0 << 1 << 0 << 1 << qint64(4);
    QTest::newRow("one byte") << 1 << 1 << 1 << 1 << qint64(1);
    QTest::newRow("no bytes in a row") << 1 << 0 << 1 << 5 << qint64(0);
    QTest::newRow("negative lower bounds") << -2 << 1 << -1 << 0 << qint64(8);
}

void PixelBufferTest::redimensionGivesZeroedBounds()
{
    QFETCH(int, lower1);
    QFETCH(int, upper1);
    QFETCH(int, lower2);
    QFETCH(int, upper2);
    QFETCH(qint64, bytes);

    PixelBuffer buffer;
    QVERIFY(buffer.isEmpty());
    QVERIFY(buffer.redimension(lower1, upper1, lower2, upper2));
    QCOMPARE(buffer.lowerBound(1), lower1);
    QCOMPARE(buffer.upperBound(1), upper1);
    QCOMPARE(buffer.lowerBound(2), lower2);
    QCOMPARE(buffer.upperBound(2), upper2);
    QCOMPARE(buffer.byteCount(), bytes);

    for (qint64 j = lower2; j <= upper2; ++j)
        for (qint64 i = lower1; i <= upper1; ++i)
            QCOMPARE(buffer.at(i, j), quint8(0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, buffer.at(lower1 - 1, lower2));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, buffer.at(upper1 + 1, upper2));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, buffer.at(upper1, upper2 + 1));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, buffer.at(lower1, lower2 - 1));
    if (bytes > 0)
        QCOMPARE(&buffer.at(lower1, lower2), buffer.data());
    else
        QVERIFY(!buffer.data());
}

void PixelBufferTest::redimensionDiscardsContents()
{
    PixelBuffer buffer;
    QVERIFY(buffer.redimension(4, 2));
    buffer.at(3, 2) = 99;
    QVERIFY(buffer.redimension(4, 2));
    QCOMPARE(buffer.at(3, 2), quint8(0));
}

void PixelBufferTest::oversizedRedimensionKeepsBuffer()
{
    PixelBuffer buffer;
    QVERIFY(buffer.redimension(0, 1, 0, 1));
    buffer.at(1, 1) = 5;
    const quint8 *before = buffer.data();

    QVERIFY(!buffer.redimension(1, 0x7FFFFFFF, 1, 2));
    QCOMPARE(buffer.lowerBound(1), 0);
    QCOMPARE(buffer.upperBound(2), 1);
    QCOMPARE(buffer.data(), before);
    QCOMPARE(buffer.at(1, 1), quint8(5));
}

void PixelBufferTest::readLayout_data()
{
    QTest::addColumn<int>("i");
    QTest::addColumn<int>("j");
    QTest::addColumn<int>("expected");

    // Pixel (x, y) of the picture, y downwards; row 1 of the buffer is the picture's row 71.
    QTest::newRow("(1,1) blue of bottom-left") << 1 << 1 << blueAt(0, 71);
    QTest::newRow("(2,1) green of bottom-left") << 2 << 1 << greenAt(0, 71);
    QTest::newRow("(3,1) red of bottom-left") << 3 << 1 << redAt(0, 71);
    QTest::newRow("(4,1) reserved") << 4 << 1 << 0;
    QTest::newRow("(5,1) blue of second pixel") << 5 << 1 << blueAt(1, 71);
    QTest::newRow("(221,72) blue of top-right") << 221 << 72 << blueAt(55, 0);
    QTest::newRow("(223,72) red of top-right") << 223 << 72 << redAt(55, 0);
    QTest::newRow("(224,72) reserved") << 224 << 72 << 0;
    QTest::newRow("(1,72) blue of top-left") << 1 << 72 << blueAt(0, 0);
    QTest::newRow("(222,1) green of bottom-right") << 222 << 1 << greenAt(55, 71);
    QTest::newRow("(43,30) red of pixel 10 in row 30") << 43 << 30 << redAt(10, 42);
}

void PixelBufferTest::readLayout()
{
    QFETCH(int, i);
    QFETCH(int, j);
    QFETCH(int, expected);

    const Picture picture = Picture::make(pattern(56, 72));
    PixelBufferInfo info;
    PixelBuffer source, target;
    RecordingMessageSink messages;
    QVERIFY(ReadPictureBits(picture, info, source, target, true, messages));

    QCOMPARE(source.upperBound(1), 224);
    QCOMPARE(source.upperBound(2), 72);
    QCOMPARE(source.at(i, j), quint8(expected));
    QCOMPARE(target.at(i, j), quint8(expected));
    QVERIFY(messages.messages.isEmpty());
}

void PixelBufferTest::readFillsBothBuffersAndDescriptors()
{
    const Picture picture = Picture::make(pattern(56, 72));
    PixelBufferInfo info;
    PixelBuffer source, target;
    QVERIFY(source.redimension(0, 1, 0, 1));
    QVERIFY(target.redimension(0, 1, 0, 1));
    RecordingMessageSink messages;
    QVERIFY(ReadPictureBits(picture, info, source, target, false, messages));

    QVERIFY(source == target);
    QCOMPARE(source.lowerBound(1), 1);
    QCOMPARE(source.lowerBound(2), 1);
    QVERIFY(source.data() != target.data());

    for (const BITMAP *d : {&info.Source, &info.Target}) {
        QCOMPARE(d->bmType, 0);
        QCOMPARE(d->bmWidth, 56);
        QCOMPARE(d->bmHeight, 72);
        QCOMPARE(d->bmWidthBytes, 224);
        QCOMPARE(d->bmPlanes, quint16(1));
        QCOMPARE(d->bmBitsPixel, quint16(32));
        QCOMPARE(d->bmBytesAvailable, qint64(224 * 72));
    }
    QCOMPARE(info.Source.bmBits, source.data());
    QCOMPARE(info.Target.bmBits, target.data());
}

void PixelBufferTest::readConvertsOtherFormats()
{
    // A picture object holding pixels in another format, as a loader might leave them.
    Picture picture;
    picture.image = pattern(5, 3).convertToFormat(QImage::Format_ARGB32);
    PixelBufferInfo info;
    PixelBuffer source, target;
    RecordingMessageSink messages;
    QVERIFY(ReadPictureBits(picture, info, source, target, true, messages));
    QCOMPARE(source.at(1, 3), quint8(blueAt(0, 0)));
    QCOMPARE(source.at(19, 1), quint8(redAt(4, 2)));
    QCOMPARE(source.at(20, 1), quint8(0));
}

void PixelBufferTest::readOfNoPicture_data()
{
    QTest::addColumn<bool>("showMessages");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("with messages") << true
                                   << QStringList{QStringLiteral("Bildinformationen konnten nicht gelesen werden")};
    QTest::newRow("silent") << false << QStringList{};
}

void PixelBufferTest::readOfNoPicture()
{
    QFETCH(bool, showMessages);
    QFETCH(QStringList, expected);

    PixelBufferInfo info;
    info.Source.bmWidth = 7;
    PixelBuffer source, target;
    QVERIFY(source.redimension(0, 1, 0, 1));
    QVERIFY(target.redimension(0, 1, 0, 1));
    source.at(1, 1) = 42;
    RecordingMessageSink messages;

    QVERIFY(!ReadPictureBits(Picture{}, info, source, target, showMessages, messages));
    QCOMPARE(messages.messages, expected);
    QCOMPARE(source.lowerBound(1), 0);
    QCOMPARE(source.at(1, 1), quint8(42));
    QCOMPARE(target.lowerBound(2), 0);
    QCOMPARE(target.upperBound(1), 1);
    QCOMPARE(info.Source.bmWidth, 7);
}

void PixelBufferTest::writePaths()
{
    const QImage original = pattern(56, 72);
    PictureBoxModel box(QSize(148, 191), Colours::Black, false);
    box.setPicture(Picture::make(original));
    const quint64 loadedSerial = box.picture().serial;

    PixelBufferInfo info;
    PixelBuffer source, target;
    RecordingMessageSink messages;
    QVERIFY(ReadPictureBits(box.picture(), info, source, target, true, messages));

    // First write: the loaded picture cannot be rewritten, so a new one replaces it.
    QVERIFY(WritePictureBits(box, info.Target, messages));
    const quint64 writtenSerial = box.picture().serial;
    QVERIFY(writtenSerial != loadedSerial);
    QVERIFY(box.picture().directPixels);
    QCOMPARE(box.picture().image.format(), QImage::Format_RGB32);
    QVERIFY(sameRgb(box.picture().image, original));

    // Second write of the same size: the same picture, new pixels, a repaint.
    target.at(1, 1) = 0x11; // blue of the bottom-left pixel
    target.at(223, 72) = 0x22; // red of the top-right pixel
    QSignalSpy repaints(&box, &PictureBoxModel::changed);
    QVERIFY(WritePictureBits(box, info.Target, messages));
    QCOMPARE(box.picture().serial, writtenSerial);
    QCOMPARE(repaints.count(), 1);
    QCOMPARE(qBlue(box.picture().image.pixel(0, 71)), 0x11);
    QCOMPARE(qRed(box.picture().image.pixel(55, 0)), 0x22);
    QCOMPARE(qGreen(box.picture().image.pixel(55, 0)), greenAt(55, 0));
    QCOMPARE(box.surface().pixel(0, 71) & 0xFFFFFF, box.picture().image.pixel(0, 71) & 0xFFFFFF);

    // A buffer of another size: a new picture again.
    PixelBufferInfo otherInfo;
    PixelBuffer otherSource, otherTarget;
    QVERIFY(ReadPictureBits(Picture::make(pattern(10, 5)), otherInfo, otherSource, otherTarget, true, messages));
    QVERIFY(WritePictureBits(box, otherInfo.Target, messages));
    QVERIFY(box.picture().serial != writtenSerial);
    QCOMPARE(box.picture().image.size(), QSize(10, 5));
    QVERIFY(sameRgb(box.picture().image, pattern(10, 5)));

    QVERIFY(messages.messages.isEmpty());
}

void PixelBufferTest::writeIntoEmptyBox()
{
    PictureBoxModel box(QSize(148, 191), Colours::White, false);
    PixelBufferInfo info;
    PixelBuffer source, target;
    RecordingMessageSink messages;
    QVERIFY(ReadPictureBits(Picture::make(pattern(3, 4)), info, source, target, true, messages));
    // Whatever the reserved bytes hold, the picture comes out opaque and otherwise unchanged.
    for (int j = 1; j <= 4; ++j)
        for (int i = 4; i <= 12; i += 4)
            target.at(i, j) = 0x7C;

    QVERIFY(WritePictureBits(box, info.Target, messages));
    QVERIFY(box.picture().directPixels);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            QCOMPARE(box.picture().image.pixel(x, y), qRgb(redAt(x, y), greenAt(x, y), blueAt(x, y)));
    QVERIFY(messages.messages.isEmpty());
}

void PixelBufferTest::writeInPlaceShowsInPersistentBox()
{
    PictureBoxModel box(QSize(30, 30), Colours::Blue, true);
    PixelBufferInfo info;
    PixelBuffer source, target;
    RecordingMessageSink messages;
    QVERIFY(ReadPictureBits(Picture::make(pattern(8, 6)), info, source, target, true, messages));
    QVERIFY(WritePictureBits(box, info.Target, messages));
    const quint64 serial = box.picture().serial;

    target.at(2, 6) = 0xEE; // green of the top-left pixel
    QVERIFY(WritePictureBits(box, info.Target, messages));
    QCOMPARE(box.picture().serial, serial);
    QCOMPARE(qGreen(box.surface().pixel(0, 0)), 0xEE);
    QCOMPARE(box.surface().pixel(20, 20), Colours::Blue.toQRgb());
}

void PixelBufferTest::writeRefusesBadDescriptor_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("widthBytes");
    QTest::addColumn<bool>("withBits");
    QTest::addColumn<qint64>("available");

    // The buffer behind every descriptor holds 4 x 3 pixels (48 bytes).
    QTest::newRow("no pixel address") << 4 << 3 << 16 << false << qint64(48);
    QTest::newRow("width 0") << 0 << 3 << 16 << true << qint64(48);
    QTest::newRow("negative height") << 4 << -3 << 16 << true << qint64(48);
    QTest::newRow("rows shorter than the pixels") << 4 << 3 << 12 << true << qint64(48);
    QTest::newRow("more rows than the buffer") << 4 << 4 << 16 << true << qint64(48);
    QTest::newRow("wider than the buffer") << 5 << 3 << 20 << true << qint64(48);
    QTest::newRow("row bytes overflow") << 0x40000000 << 1 << 0x7FFFFFFF << true << qint64(48);
    QTest::newRow("row times height overflows") << 4 << 0x10000000 << 16 << true << qint64(48);
    QTest::newRow("huge size and huge claim") << 0x10000 << 0x10000 << 0x40000 << true << (qint64(1) << 40);
}

void PixelBufferTest::writeRefusesBadDescriptor()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, widthBytes);
    QFETCH(bool, withBits);
    QFETCH(qint64, available);

    PixelBuffer buffer;
    QVERIFY(buffer.redimension(16, 3));
    BITMAP d;
    d.bmWidth = width;
    d.bmHeight = height;
    d.bmWidthBytes = widthBytes;
    d.bmPlanes = 1;
    d.bmBitsPixel = 32;
    if (withBits)
        pointAt(d, buffer);
    d.bmBytesAvailable = available;

    PictureBoxModel box(QSize(148, 191), Colours::Black, false);
    const Picture shown = Picture::make(pattern(4, 3), true);
    box.setPicture(shown);
    RecordingMessageSink messages;

    QVERIFY(!WritePictureBits(box, d, messages));
    QCOMPARE(messages.messages, QStringList{NoPictureCopy});
    QCOMPARE(box.picture().serial, shown.serial);
    QVERIFY(sameRgb(box.picture().image, pattern(4, 3)));
}

QTEST_MAIN(PixelBufferTest)
#include "tst_pixelbuffer.moc"
