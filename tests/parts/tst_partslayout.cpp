// The parts window's resize rule as numbers: where the lists go for an outer window size.

#include "parts/PartsLayout.h"

#include <QTest>

using namespace pellwerk;

class PartsLayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void rule_data()
    {
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        QTest::addColumn<QList<int>>("grow"); // width, height
        QTest::addColumn<int>("listWidth");
        QTest::addColumn<int>("rightLeft");
        QTest::addColumn<QList<int>>("rowTops");
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<int>("userHeight");
        const QList<int> built{8, 56, 104, 152, 200};
        const QList<int> oneStep{8, 58, 108, 158, 208};
        QTest::newRow("minimum size") << 5925 << 5635 << QList<int>{0, 0} << 105 << 280 << built << 45 << 45;
        QTest::newRow("too narrow and too low") << 5910 << 5265 << QList<int>{1, 1} << 105 << 280 << built << 45 << 45;
        QTest::newRow("320 twips wider") << 6245 << 5635 << QList<int>{0, 0} << 115 << 290 << built << 45 << 45;
        QTest::newRow("one height step") << 5925 << 5705 << QList<int>{0, 0} << 105 << 280 << oneStep << 47 << 51;
        QTest::newRow("half a step rounds to even")
            << 5925 << 5652 << QList<int>{0, 0} << 105 << 280 << built << 45 << 45;
        QTest::newRow("first step") << 5925 << 5653 << QList<int>{0, 0} << 105 << 280 << oneStep << 47 << 51;
        QTest::newRow("large") << 9125 << 6650 << QList<int>{0, 0} << 205 << 380 << QList<int>{8, 76, 144, 212, 280}
                               << 65 << 105;
    }

    void rule()
    {
        QFETCH(int, W);
        QFETCH(int, H);
        QFETCH(QList<int>, grow);
        QFETCH(int, listWidth);
        QFETCH(int, rightLeft);
        QFETCH(QList<int>, rowTops);
        QFETCH(int, rowHeight);
        QFETCH(int, userHeight);
        const PartsLayout l = PartsLayout::forOuterSize(W, H);
        QCOMPARE((QList<int>{l.growWidth, l.growHeight}), grow);
        QCOMPARE(l.listWidth, listWidth);
        QCOMPARE(l.rightColumnLeft, rightLeft);
        QCOMPARE(QList<int>(l.rowTops.begin(), l.rowTops.end()), rowTops);
        QCOMPARE(l.rowHeight, rowHeight);
        QCOMPARE(l.userListHeight, userHeight);
    }

    void minimumIsTheDesignedSizeWithTheDesignedFrame()
    {
        // The design's inner size plus its frame (3 x 25 pixels) is the rule's minimum.
        QCOMPARE(PartsLayout::minimumOuterPixels(), QSize(395, 376));
        QCOMPARE(PartsLayout::minimumOuterPixels() - QSize(3, 25), QSize(392, 351));
    }
};

QTEST_GUILESS_MAIN(PartsLayoutTest)
#include "tst_partslayout.moc"
