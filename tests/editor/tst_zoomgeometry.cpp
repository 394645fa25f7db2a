#include "TestFiles.h"
#include "editor/ZoomGeometry.h"
#include "parts/TransparentBlit.h"

#include <QPainter>
#include <QTest>

#include <limits>

using namespace pellwerk;

constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();
using Pixel = std::optional<QPoint>;

class ZoomGeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void zoomLevels_data()
    {
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("clamped");
        QTest::addColumn<QSize>("viewport");
        QTest::addColumn<int>("fitting");
        QTest::newRow("below one") << 0 << 1 << QSize(0, 0) << 1;
        QTest::newRow("one pixel short of two") << 2 << 2 << QSize(511, 900) << 1;
        QTest::newRow("narrow side decides") << 7 << 7 << QSize(2000, 770) << 3;
        QTest::newRow("beyond largest") << IntMax << 16 << QSize(9000, 9000) << 16;
    }

    void zoomLevels()
    {
        QFETCH(int, requested);
        QFETCH(int, clamped);
        QFETCH(QSize, viewport);
        QFETCH(int, fitting);
        QCOMPARE(ZoomGeometry(requested).zoom(), clamped);
        QCOMPARE(ZoomGeometry(requested).contentSize(), QSize(256 * clamped, 256 * clamped));
        QCOMPARE(ZoomGeometry::fittingZoom(viewport), fitting);
    }

    // The skin pixels an area of the viewport covers; for a one-point area, the pixel under it.
    void skinPixels_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("pixels");
        const auto point = [](const char *name, int zoom, QPoint scroll, QPoint at, QRect pixel) {
            QTest::newRow(name) << zoom << scroll << QRect(at, at) << pixel; // corners: no size arithmetic
        };
        point("just left is not rounded into it", 4, QPoint(), QPoint(-1, 5), QRect());
        point("just above is not rounded into it", 4, QPoint(), QPoint(3, -3), QRect());
        point("scrolled, first of a square", 3, QPoint(300, 30), QPoint(0, 0), QRect(100, 10, 1, 1));
        point("centred in a larger viewport", 2, QPoint(-100, -50), QPoint(100, 50), QRect(0, 0, 1, 1));
        point("margin of a centred skin", 2, QPoint(-100, -50), QPoint(99, 50), QRect());
        point("no overflow past the top", 16, QPoint(IntMax, 0), QPoint(IntMax, 0), QRect());
        point("no overflow past the bottom", 16, QPoint(IntMin, 0), QPoint(IntMin, 0), QRect());
        QTest::newRow("one point over the edge") << 8 << QPoint() << QRect(8, 16, 9, 8) << QRect(1, 2, 2, 1);
        QTest::newRow("scrolled") << 16 << QPoint(160, 32) << QRect(0, 0, 1024, 1024) << QRect(10, 2, 64, 64);
        QTest::newRow("skin in a larger viewport")
            << 1 << QPoint(-100, -10) << QRect(0, 0, 500, 300) << QRect(0, 0, 256, 256);
        QTest::newRow("in the margin only") << 2 << QPoint(-100, 0) << QRect(0, 0, 100, 50) << QRect();
        QTest::newRow("past the far edge") << 4 << QPoint(1000, 1000) << QRect(20, 20, 9, 9) << QRect(255, 255, 1, 1);
        QTest::newRow("empty area") << 4 << QPoint() << QRect(5, 5, 0, 5) << QRect();
        QTest::newRow("far away") << 16 << QPoint(IntMax, IntMin) << QRect(0, 0, 100, 100) << QRect();
    }

    void skinPixels()
    {
        QFETCH(int, zoom);
        QFETCH(QPoint, scroll);
        QFETCH(QRect, area);
        QFETCH(QRect, pixels);
        QCOMPARE(ZoomGeometry(zoom).skinArea(area, scroll), pixels);
        if (area.size() == QSize(1, 1))
            QCOMPARE(ZoomGeometry(zoom).skinPixel(area.topLeft(), scroll),
                     pixels.isEmpty() ? Pixel() : Pixel(pixels.topLeft()));
    }

    // At every zoom and pan: each skin pixel is a zoom x zoom square whose corners and neighbours
    // map back to it and its neighbours, and zooming around any point keeps the pixel under it.
    void everyZoom()
    {
        const QPoint scrolls[] = {{0, 0}, {37, -90}, {-5, 1000}};
        const int edges[] = {0, 1, 127, 254, 255};
        const QPoint anchors[] = {{0, 0}, {123, 45}, {799, 599}, {-3, 2}};
        for (int zoom = 1; zoom <= 16; ++zoom) {
            const ZoomGeometry geometry(zoom);
            for (QPoint scroll : scrolls) {
                QCOMPARE(geometry.viewportRect(QRect(0, 0, 256, 256), scroll), QRect(-scroll, geometry.contentSize()));
                QCOMPARE(geometry.viewportRect(QRect(-5, 250, 10, 10), scroll),
                         geometry.viewportRect(QRect(0, 250, 5, 6), scroll));
                QVERIFY(geometry.viewportRect(QRect(256, 0, 5, 5), scroll).isEmpty());
                for (int x : edges) {
                    for (int y : edges) {
                        const QRect square = geometry.viewportRect(QRect(x, y, 1, 1), scroll);
                        QCOMPARE(square.size(), QSize(zoom, zoom));
                        QCOMPARE(geometry.skinArea(square, scroll), QRect(x, y, 1, 1));
                        QCOMPARE(geometry.skinPixel(square.topLeft(), scroll), Pixel(QPoint(x, y)));
                        QCOMPARE(geometry.skinPixel(square.bottomRight(), scroll), Pixel(QPoint(x, y)));
                        QCOMPARE(geometry.skinPixel(square.topLeft() - QPoint(1, 0), scroll),
                                 x == 0 ? Pixel() : Pixel(QPoint(x - 1, y)));
                        QCOMPARE(geometry.skinPixel(square.bottomRight() + QPoint(0, 1), scroll),
                                 y == 255 ? Pixel() : Pixel(QPoint(x, y + 1)));
                    }
                }
                for (int newZoom = 1; newZoom <= 16; ++newZoom)
                    for (QPoint anchor : anchors)
                        QCOMPARE(
                            ZoomGeometry(newZoom).skinPixel(anchor, geometry.scrollForZoom(newZoom, anchor, scroll)),
                            geometry.skinPixel(anchor, scroll));
            }
        }
    }

    void landingRect_data()
    {
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<QSize>("partSize");
        QTest::addColumn<QSize>("partRect");
        const QSize preview(148, 191);
        QTest::newRow("larger than the preview") << QPoint(10, 20) << QSize(300, 300) << preview;
        QTest::newRow("beyond right and bottom") << QPoint(200, 180) << QSize(100, 100) << preview;
        QTest::newRow("negative place") << QPoint(-50, -190) << QSize(148, 191) << preview;
        QTest::newRow("far away") << QPoint(IntMax, IntMin) << QSize(148, 191) << preview;
        QTest::newRow("empty part") << QPoint(5, 5) << QSize(0, 7) << preview;
        QTest::newRow("other preview size") << QPoint(-3, 100) << QSize(64, 300) << QSize(40, 200);
    }

    // The rectangle matches what the transfer really changes when the part has no transparent
    // pixel: the part at the preview's top-left, the rest of the preview transparent.
    void landingRect()
    {
        QFETCH(QPoint, place);
        QFETCH(QSize, partSize);
        QFETCH(QSize, partRect);
        const QImage part = testsupport::filled(partSize.width(), partSize.height(), qRgb(255, 255, 255));
        QImage skin = testsupport::filled(256, 256, qRgb(9, 9, 9)), expected = skin;
        // Black (transparent) beyond the part.
        TransparentBlit(skin, skin, part.copy(QRect(QPoint(), partRect)),
                        Rect32{0, 0, partRect.width(), partRect.height()}, place.x(), place.y(), Colours::Black);
        QPainter(&expected).fillRect(pellwerk::landingRect(place, partSize, partRect), qRgb(255, 255, 255));
        QCOMPARE(skin, expected);
    }
};

QTEST_GUILESS_MAIN(ZoomGeometryTest)
#include "tst_zoomgeometry.moc"
