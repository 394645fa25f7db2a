// The parts window's resize rule as numbers: where the lists go for an outer window size.

#include "editor/PartsLayout.h"

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
        // grow width and height, list width, right column's left, five row tops, row and user list height
        QTest::addColumn<QList<int>>("layout");
        QTest::newRow("minimum size") << 5925 << 5635 << QList<int>{0, 0, 105, 280, 8, 56, 104, 152, 200, 45, 45};
        QTest::newRow("too narrow and too low")
            << 5910 << 5265 << QList<int>{1, 1, 105, 280, 8, 56, 104, 152, 200, 45, 45};
        QTest::newRow("a twip below the minimum height")
            << 5925 << 5634 << QList<int>{0, 1, 105, 280, 8, 56, 104, 152, 200, 45, 45};
        QTest::newRow("320 twips wider") << 6245 << 5635 << QList<int>{0, 0, 115, 290, 8, 56, 104, 152, 200, 45, 45};
        QTest::newRow("one height step") << 5925 << 5705 << QList<int>{0, 0, 105, 280, 8, 58, 108, 158, 208, 47, 51};
        QTest::newRow("half a step rounds to even")
            << 5925 << 5652 << QList<int>{0, 0, 105, 280, 8, 56, 104, 152, 200, 45, 45};
        QTest::newRow("first step") << 5925 << 5653 << QList<int>{0, 0, 105, 280, 8, 58, 108, 158, 208, 47, 51};
        QTest::newRow("large") << 9125 << 6650 << QList<int>{0, 0, 205, 380, 8, 76, 144, 212, 280, 65, 105};
    }

    void rule()
    {
        QFETCH(int, W);
        QFETCH(int, H);
        QFETCH(QList<int>, layout);
        const PartsLayout l = PartsLayout::forOuterSize(W, H);
        QList<int> got{l.growWidth, l.growHeight, l.listWidth, l.rightColumnLeft};
        got << QList<int>(l.rowTops.begin(), l.rowTops.end()) << l.rowHeight << l.userListHeight;
        QCOMPARE(got, layout);
    }

    // The design's inner size (392 x 351) plus its frame (3 x 25 pixels) is the rule's minimum.
    void minimumIsTheDesignedSizeWithTheDesignedFrame()
    {
        QCOMPARE(PartsLayout::minimumOuterPixels(), QSize(395, 376));
    }
};

QTEST_GUILESS_MAIN(PartsLayoutTest)
#include "tst_partslayout.moc"
