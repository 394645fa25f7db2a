// Cases the fuzz targets found, one row each, named after the input kept under
// tests/data/fuzz-regressions/<target>/ (scripts/run-fuzz also replays those inputs).

#include "colour/ColourCorrection.h"
#include "colour/PixelBuffer.h"

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <limits>
#include <vector>

using namespace pellwerk;

namespace {

constexpr qint32 Max32 = std::numeric_limits<qint32>::max();
constexpr qint32 Min32 = std::numeric_limits<qint32>::min();

struct Bounds
{
    qint32 lower1, upper1, lower2, upper2;
};

void scramble(PixelBuffer &buffer, quint32 seed)
{
    quint32 state = seed;
    for (qint64 n = 0; n < buffer.byteCount(); ++n) {
        state = state * 1664525u + 1013904223u;
        buffer.data()[n] = quint8(state >> 24);
    }
}

std::vector<quint8> bytesOf(const PixelBuffer &buffer)
{
    return std::vector<quint8>(buffer.data(), buffer.data() + buffer.byteCount());
}

} // namespace

Q_DECLARE_METATYPE(Bounds)

class FuzzRegressionsTest : public QObject
{
    Q_OBJECT

private slots:
    void redimensionRefusesWhatCannotExist_data();
    void redimensionRefusesWhatCannotExist();
    void correctionWithFarBounds_data();
    void correctionWithFarBounds();
};

void FuzzRegressionsTest::redimensionRefusesWhatCannotExist_data()
{
    QTest::addColumn<Bounds>("bounds");

    // fuzz_pixel_buffers/redimension-extents-overflow: two extents near 2^32 multiplied past
    // 64 bits; the wrapped product passed the size check.
    QTest::newRow("redimension-extents-overflow: extents 2^32 - 57 and 2^32 - 39")
        << Bounds{Min32 + 20, Max32 - 36, Min32 + 10, Max32 - 28};
    // The product wraps to exactly 0: a buffer without storage would claim 2^64 bytes.
    QTest::newRow("whole 32-bit range in both dimensions") << Bounds{Min32, Max32, Min32, Max32};
    QTest::newRow("whole range by two rows") << Bounds{Min32, Max32, 1, 2};
    QTest::newRow("one byte past the largest size") << Bounds{1, 0x40000000, 1, 2};
}

void FuzzRegressionsTest::redimensionRefusesWhatCannotExist()
{
    QFETCH(Bounds, bounds);

    PixelBuffer buffer;
    QVERIFY(buffer.redimension(0, 1, 0, 1));
    buffer.at(1, 1) = 0x77;
    QVERIFY(!buffer.redimension(bounds.lower1, bounds.upper1, bounds.lower2, bounds.upper2));
    // Refused means untouched: the placeholder keeps its bounds and its bytes.
    QCOMPARE(buffer.lowerBound(1), 0);
    QCOMPARE(buffer.upperBound(1), 1);
    QCOMPARE(buffer.lowerBound(2), 0);
    QCOMPARE(buffer.upperBound(2), 1);
    QCOMPARE(buffer.byteCount(), qint64(4));
    QCOMPARE(buffer.at(1, 1), quint8(0x77));
}

void FuzzRegressionsTest::correctionWithFarBounds_data()
{
    QTest::addColumn<Bounds>("sourceBounds");
    QTest::addColumn<bool>("sameBuffer");
    QTest::addColumn<Bounds>("targetBounds");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<bool>("overlap"); // whether the buffers share any colour byte at all

    // fuzz_pixel_buffers/correct-colours-far-bounds: the walk counted up from index 1 to the far
    // upper bounds, some 10^10 steps for 1,225 bytes.
    QTest::newRow("correct-colours-far-bounds: first index near 2^31, source is target")
        << Bounds{Max32 - 34, Max32, 53, 87} << true << Bounds{} << 0 << 0 << 0 << true;
    // fuzz_pixel_buffers/correct-colours-rows-without-bytes: a buffer with no bytes (its first
    // bounds reversed) still spans four billion rows, and every one of them was walked.
    QTest::newRow("correct-colours-rows-without-bytes: reversed first bounds, source is target")
        << Bounds{1838995524, 45, Min32 + 6, Max32 - 42} << true << Bounds{} << 1 << 1 << 1 << false;
    QTest::newRow("source without bytes over two billion rows, target with bytes")
        << Bounds{50, 45, 1, Max32} << false << Bounds{1, 8, 1, 3} << 1 << 1 << 1 << false;
    QTest::newRow("far in both dimensions, offsets capped")
        << Bounds{Max32 - 7, Max32, Max32 - 3, Max32} << false << Bounds{Max32 - 7, Max32, Max32 - 3, Max32} << 300
        << -20 << 7 << true;
    QTest::newRow("target overlaps the far end of the source")
        << Bounds{Max32 - 40, Max32, 1, 2} << false << Bounds{Max32 - 10, Max32, 2, 5} << 9 << 250 << -300 << true;
    QTest::newRow("negative lower bounds, small overlap")
        << Bounds{-5, 40, -3, 6} << false << Bounds{30, 45, 0, 2} << 1 << 2 << 3 << true;
    QTest::newRow("placeholder source, far target")
        << Bounds{0, 1, 0, 1} << false << Bounds{Max32 - 3, Max32, 0, 1} << 5 << 5 << 5 << false;
    QTest::newRow("source starting at the lowest index")
        << Bounds{Min32, Min32 + 3, Min32, Min32 + 3} << false << Bounds{1, 8, 1, 2} << 5 << 5 << 5 << false;
}

void FuzzRegressionsTest::correctionWithFarBounds()
{
    QFETCH(Bounds, sourceBounds);
    QFETCH(bool, sameBuffer);
    QFETCH(Bounds, targetBounds);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(bool, overlap);

    PixelBuffer source;
    PixelBuffer separateTarget;
    QVERIFY(source.redimension(sourceBounds.lower1, sourceBounds.upper1, sourceBounds.lower2, sourceBounds.upper2));
    scramble(source, 17);
    PixelBuffer &target = sameBuffer ? source : separateTarget;
    if (!sameBuffer) {
        QVERIFY(target.redimension(targetBounds.lower1, targetBounds.upper1, targetBounds.lower2, targetBounds.upper2));
        scramble(target, 91);
    }
    const std::vector<quint8> sourceBefore = bytesOf(source);
    const std::vector<quint8> targetBefore = bytesOf(target);

    QElapsedTimer clock;
    clock.start();
    CorrectColours(source, target, red, green, blue);
    // Microseconds for these few bytes; the fault took minutes.
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed()) + " ms"));

    // Byte (i, j) of the target, counted from index 1 in steps of four pixels' bytes: blue, green,
    // red and the reserved byte; only bytes both buffers hold at index 1 and above change.
    const qint64 offsets[4] = {blue, green, red, 0};
    qint64 changed = 0;
    // A target without bytes has nothing to compare, however many rows its bounds span.
    const qint64 firstRow = target.isEmpty() ? 1 : target.lowerBound(2);
    const qint64 lastRow = target.isEmpty() ? 0 : target.upperBound(2);
    for (qint64 j = firstRow; j <= lastRow; ++j) {
        for (qint64 i = target.lowerBound(1); i <= target.upperBound(1); ++i) {
            const qint64 n = (j - target.lowerBound(2)) * target.extent(1) + (i - target.lowerBound(1));
            const qint64 channel = (i - 1) % 4;
            const bool corrected = i >= 1 && j >= 1 && channel != 3 && source.contains(i, j);
            quint8 expected = targetBefore[size_t(n)];
            if (corrected) {
                const qint64 s = (j - source.lowerBound(2)) * source.extent(1) + (i - source.lowerBound(1));
                expected = quint8(std::clamp<qint64>(sourceBefore[size_t(s)] + offsets[channel], 0, 255));
                ++changed;
            }
            QCOMPARE(target.at(i, j), expected);
        }
    }
    if (!sameBuffer)
        QCOMPARE(bytesOf(source), sourceBefore);
    QCOMPARE(changed > 0, overlap);
}

QTEST_GUILESS_MAIN(FuzzRegressionsTest)
#include "tst_fuzzregressions.moc"
