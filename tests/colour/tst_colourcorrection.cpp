#include "colour/ColourCorrection.h"
#include "colour/PixelBuffer.h"

#include <QTest>

#include <algorithm>

using namespace pellwerk;

namespace {

constexpr quint8 Untouched = 0x5A;

void fill(PixelBuffer &buffer, quint8 value)
{
    std::fill_n(buffer.data(), buffer.byteCount(), value);
}

// Bytes that vary without a pattern the correction could happen to preserve.
void scramble(PixelBuffer &buffer, quint32 seed)
{
    quint32 state = seed;
    for (qint64 n = 0; n < buffer.byteCount(); ++n) {
        state = state * 1664525u + 1013904223u;
        buffer.data()[n] = quint8(state >> 24);
    }
}

} // namespace

class ColourCorrectionTest : public QObject
{
    Q_OBJECT

private slots:
    void addsAndCaps_data();
    void addsAndCaps();
    void everyByteOfAPicture_data();
    void everyByteOfAPicture();
    void sourceMayBeTheTarget();
    void placeholderBuffers();
    void mismatchedBuffers_data();
    void mismatchedBuffers();
    void emptySourceChangesNothing();
};

void ColourCorrectionTest::addsAndCaps_data()
{
    QTest::addColumn<int>("rowBytes");
    QTest::addColumn<int>("sourceByte");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("expected");

    // 8-byte rows hold whole pixels; 11-byte rows end in a pixel without its reserved byte.
    for (int rowBytes : {8, 11}) {
        const QByteArray shape = rowBytes == 8 ? "whole pixels: " : "partial pixel: ";
        auto row = [&](const char *name) -> QTestData & {
            return QTest::newRow((shape + name).constData()) << rowBytes;
        };
        row("200 + 100 caps") << 200 << 100 << 255;
        row("0 + 255 caps") << 0 << 255 << 255;
        row("255 + 0 stays") << 255 << 0 << 255;
        row("254 + 1 reaches 255") << 254 << 1 << 255;
        row("offset 0 copies") << 137 << 0 << 137;
        row("plain sum") << 100 << 55 << 155;
        row("offset above 255 caps") << 3 << 1000 << 255;
        row("negative offset") << 100 << -30 << 70;
        row("negative sum stops at 0") << 10 << -20 << 0;
    }
}

void ColourCorrectionTest::addsAndCaps()
{
    QFETCH(int, rowBytes);
    QFETCH(int, sourceByte);
    QFETCH(int, offset);
    QFETCH(int, expected);

    // Each channel in turn gets the offset while the other two get 0.
    for (int channel = 0; channel < 3; ++channel) {
        PixelBuffer source, target;
        QVERIFY(source.redimension(rowBytes, 2));
        QVERIFY(target.redimension(rowBytes, 2));
        fill(source, quint8(sourceByte));
        fill(target, Untouched);

        const qint32 blue = channel == 0 ? offset : 0;
        const qint32 green = channel == 1 ? offset : 0;
        const qint32 red = channel == 2 ? offset : 0;
        QVERIFY(CorrectColours(source, target, red, green, blue));

        for (int j = 1; j <= 2; ++j) {
            for (int i = 1; i <= rowBytes; ++i) {
                const int inPixel = (i - 1) % 4;
                const int want = inPixel == 3 ? Untouched : inPixel == channel ? expected : sourceByte;
                QCOMPARE(target.at(i, j), quint8(want));
            }
        }
        QCOMPARE(source.at(1, 1), quint8(sourceByte));
    }
}

void ColourCorrectionTest::everyByteOfAPicture_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");

    QTest::newRow("56 x 72 part") << 56 << 72 << 10 << 200 << 77;
    QTest::newRow("7 x 3, bytes left over after whole blocks") << 7 << 3 << 255 << 1 << 0;
    QTest::newRow("1 x 1") << 1 << 1 << 128 << 128 << 128;
    QTest::newRow("all offsets 0") << 33 << 9 << 0 << 0 << 0;
}

void ColourCorrectionTest::everyByteOfAPicture()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);

    PixelBuffer source, target;
    QVERIFY(source.redimension(4 * width, height));
    QVERIFY(target.redimension(4 * width, height));
    scramble(source, 1);
    scramble(target, 2);
    PixelBuffer before;
    QVERIFY(before.redimension(4 * width, height));
    std::copy_n(target.data(), target.byteCount(), before.data());

    QVERIFY(CorrectColours(source, target, red, green, blue));

    const int offsets[4] = {blue, green, red, 0};
    for (int j = 1; j <= height; ++j) {
        for (int i = 1; i <= 4 * width; ++i) {
            const int inPixel = (i - 1) % 4;
            const int want = inPixel == 3 ? before.at(i, j) : std::min(255, source.at(i, j) + offsets[inPixel]);
            QCOMPARE(target.at(i, j), quint8(want));
        }
    }
}

void ColourCorrectionTest::sourceMayBeTheTarget()
{
    PixelBuffer buffer;
    QVERIFY(buffer.redimension(4 * 9, 2));
    fill(buffer, 100);
    QVERIFY(CorrectColours(buffer, buffer, 30, 160, 5));
    for (int j = 1; j <= 2; ++j) {
        for (int x = 1; x <= 4 * 9; x += 4) {
            QCOMPARE(buffer.at(x, j), quint8(105));
            QCOMPARE(buffer.at(x + 1, j), quint8(255));
            QCOMPARE(buffer.at(x + 2, j), quint8(130));
            QCOMPARE(buffer.at(x + 3, j), quint8(100));
        }
    }
}

// What the colour window holds after a failed read: the 2 x 2 placeholder as source, and a
// target re-dimensioned to 1..1 x 1..1 (or still the placeholder).
void ColourCorrectionTest::placeholderBuffers()
{
    PixelBuffer source;
    QVERIFY(source.redimension(0, 1, 0, 1));
    fill(source, 100);

    PixelBuffer single;
    QVERIFY(single.redimension(1, 1));
    fill(single, Untouched);
    QVERIFY(CorrectColours(source, single, 7, 8, 50));
    QCOMPARE(single.at(1, 1), quint8(150));

    PixelBuffer placeholder;
    QVERIFY(placeholder.redimension(0, 1, 0, 1));
    fill(placeholder, Untouched);
    QVERIFY(CorrectColours(source, placeholder, 7, 8, 50));
    QCOMPARE(placeholder.at(1, 1), quint8(150));
    QCOMPARE(placeholder.at(0, 0), Untouched);
    QCOMPARE(placeholder.at(0, 1), Untouched);
    QCOMPARE(placeholder.at(1, 0), Untouched);
}

void ColourCorrectionTest::mismatchedBuffers_data()
{
    QTest::addColumn<int>("sourceBytes");
    QTest::addColumn<int>("sourceRows");
    QTest::addColumn<int>("targetBytes");
    QTest::addColumn<int>("targetRows");

    QTest::newRow("target smaller") << 16 << 4 << 4 << 1;
    QTest::newRow("target larger") << 4 << 1 << 16 << 4;
    QTest::newRow("target narrower, taller") << 16 << 2 << 6 << 5;
    QTest::newRow("target without rows") << 8 << 2 << 8 << 0;
}

void ColourCorrectionTest::mismatchedBuffers()
{
    QFETCH(int, sourceBytes);
    QFETCH(int, sourceRows);
    QFETCH(int, targetBytes);
    QFETCH(int, targetRows);

    PixelBuffer source, target;
    QVERIFY(source.redimension(sourceBytes, sourceRows));
    QVERIFY(target.redimension(targetBytes, targetRows));
    fill(source, 20);
    if (!target.isEmpty())
        fill(target, Untouched);

    QVERIFY(CorrectColours(source, target, 3, 2, 1));

    for (int j = 1; j <= targetRows; ++j) {
        for (int i = 1; i <= targetBytes; ++i) {
            const int inPixel = (i - 1) % 4;
            const bool inSource = i <= sourceBytes && j <= sourceRows;
            const int want = inSource && inPixel < 3 ? 20 + 1 + inPixel : Untouched;
            QCOMPARE(target.at(i, j), quint8(want));
        }
    }
}

void ColourCorrectionTest::emptySourceChangesNothing()
{
    PixelBuffer source, target;
    QVERIFY(target.redimension(8, 2));
    fill(target, Untouched);
    QVERIFY(CorrectColours(source, target, 1, 2, 3));
    QVERIFY(std::all_of(target.data(), target.data() + target.byteCount(), [](quint8 b) { return b == Untouched; }));
}

QTEST_MAIN(ColourCorrectionTest)
#include "tst_colourcorrection.moc"
