#include "colour/ColourCorrection.h"
#include "colour/PictureBits.h"
#include "colour/Tint.h"

#include "TestFiles.h"

#include <QTest>

#include <algorithm>

using namespace pellwerk;

namespace {

constexpr quint8 Untouched = 0x5A;

// Fills a buffer with one value, or with bytes that vary without a pattern the correction could
// happen to preserve (value -1).
void fill(PixelBuffer &buffer, int value)
{
    quint32 state = 1;
    for (qint64 n = 0; n < buffer.byteCount(); ++n) {
        state = state * 1664525u + 1013904223u;
        buffer.data()[n] = quint8(value < 0 ? state >> 24 : value);
    }
}

} // namespace

class ColourCorrectionTest : public QObject
{
    Q_OBJECT

private slots:
    void correction_data()
    {
        QTest::addColumn<QList<int>>("sourceBounds"); // lower and upper of the first, then of the second index
        QTest::addColumn<QList<int>>("targetBounds");
        QTest::addColumn<int>("sourceByte");     // -1: bytes without a pattern
        QTest::addColumn<QList<int>>("offsets"); // red, green, blue

        const QList<int> pixels2x2{1, 8, 1, 2};
        const QList<int> partial{1, 11, 1, 2}; // rows end in a pixel without its reserved byte
        const auto row = [](const char *name, const QList<int> &source, const QList<int> &target, int byte,
                            const QList<int> &offsets) { QTest::newRow(name) << source << target << byte << offsets; };
        row("200 + 100 caps, + 0 copies, + 55 reaches 255", pixels2x2, pixels2x2, 200, {100, 0, 55});
        row("offsets above 255 cap", pixels2x2, pixels2x2, 3, {1000, 256, 252});
        row("negative offsets stop at 0", pixels2x2, pixels2x2, 100, {-30, -120, 0});
        row("partial pixel", partial, partial, 200, {100, 0, -55});
        row("56 x 72 part", {1, 224, 1, 72}, {1, 224, 1, 72}, -1, {10, 200, 77});
        row("7 x 3, bytes left over after whole blocks", {1, 28, 1, 3}, {1, 28, 1, 3}, -1, {255, 1, 0});
        // Only bytes both buffers hold change. After a failed read the colour window holds the 2 x 2
        // placeholder as source and a target re-dimensioned to 1..1 x 1..1.
        row("placeholder to one byte", {0, 1, 0, 1}, {1, 1, 1, 1}, 100, {7, 8, 50});
        row("target smaller", {1, 16, 1, 4}, {1, 4, 1, 1}, 20, {3, 2, 1});
        row("target narrower, taller", {1, 16, 1, 2}, {1, 6, 1, 5}, 20, {3, 2, 1});
        row("empty source", {1, 0, 1, 0}, {1, 8, 1, 2}, 20, {3, 2, 1});
    }

    void correction()
    {
        QFETCH(QList<int>, sourceBounds);
        QFETCH(QList<int>, targetBounds);
        QFETCH(int, sourceByte);
        QFETCH(QList<int>, offsets);
        PixelBuffer source, target;
        QVERIFY(source.redimension(sourceBounds[0], sourceBounds[1], sourceBounds[2], sourceBounds[3]));
        QVERIFY(target.redimension(targetBounds[0], targetBounds[1], targetBounds[2], targetBounds[3]));
        fill(source, sourceByte);
        fill(target, Untouched);

        CorrectColours(source, target, offsets[0], offsets[1], offsets[2]);

        // Bytes 1, 2 and 3 of each pixel (blue, green, red) that both buffers have get the source byte
        // plus its offset, kept within 0..255; every other byte, the reserved fourth above all, stays.
        for (qint64 j = targetBounds[2]; j <= targetBounds[3]; ++j) {
            for (qint64 i = targetBounds[0]; i <= targetBounds[1]; ++i) {
                const qint64 inPixel = (i - 1) % 4;
                const bool corrected = i >= 1 && j >= 1 && inPixel < 3 && source.contains(i, j);
                const int expected =
                    corrected ? std::clamp(source.at(i, j) + offsets[2 - int(inPixel)], 0, 255) : int(Untouched);
                QVERIFY2(target.at(i, j) == expected, qPrintable(QStringLiteral("byte (%1, %2)").arg(i).arg(j)));
            }
        }
    }

    void sourceMayBeTheTarget()
    {
        PixelBuffer buffer;
        QVERIFY(buffer.redimension(4 * 9, 2));
        fill(buffer, 100);
        CorrectColours(buffer, buffer, 30, 160, 5);
        // Blue 100 + 5, green capped, red 100 + 30, the reserved byte kept, in all 18 pixels.
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(buffer.data()), 72),
                 QByteArray::fromHex("69ff8264").repeated(18));
    }

    void tintEqualsTheKnobs_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<int>>("tint"); // red, green, blue
        QTest::newRow("none") << QSize(7, 3) << QList<int>{0, 0, 0};
        QTest::newRow("148 x 191, caps") << QSize(148, 191) << QList<int>{40, 200, 255};
        QTest::newRow("one channel, odd width") << QSize(33, 5) << QList<int>{0, 0, 1};
        QTest::newRow("beyond the knobs' range") << QSize(9, 9) << QList<int>{300, -20, -256};
    }

    // The image effect gives the pixels the colour window's buffers put into the preview.
    void tintEqualsTheKnobs()
    {
        QFETCH(QSize, size);
        QFETCH(QList<int>, tint);
        const QImage part = testsupport::randomImage(size.width(), size.height(), 7);
        PixelBufferInfo info;
        PixelBuffer source, target;
        PictureBoxModel preview(QSize(148, 191), Colours::Black, false);
        QVERIFY(ReadPictureBits(Picture::make(part), info, source, target).ok());
        CorrectColours(source, target, tint[0], tint[1], tint[2]);
        QVERIFY(WritePictureBits(preview, info.Target).ok());
        const QImage byTheKnobs = preview.picture().image;
        QVERIFY(testsupport::sameBits(tinted(part, {tint[0], tint[1], tint[2]}), byTheKnobs));
        // The part itself stays as it was, and a picture of another format reads the same.
        QCOMPARE(part, testsupport::randomImage(size.width(), size.height(), 7));
        QVERIFY(testsupport::sameBits(tinted(part.convertToFormat(QImage::Format_RGB888), {tint[0], tint[1], tint[2]}),
                                      byTheKnobs));
    }
};

QTEST_MAIN(ColourCorrectionTest)
#include "tst_colourcorrection.moc"
