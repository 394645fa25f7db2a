#include "core/PictureBoxModel.h"
#include "parts/TransparentBlit.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <limits>

using namespace pellwerk;

namespace {

constexpr qint32 IntMin = std::numeric_limits<qint32>::min();
constexpr qint32 IntMax = std::numeric_limits<qint32>::max();
const QRgb CanvasRgb = qRgb(0x11, 0x22, 0x33);

QImage filled(int width, int height, QRgb rgb)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(rgb);
    return image;
}

// Every pixel different and none of them black, so each copied pixel shows where it came from.
QImage numbered(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(1 + x, 1 + y, 0x80));
    return image;
}

// The pixel in its opaque form: the reserved byte of an RGB32 pixel is no colour.
QRgb rgbAt(const QImage &image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

} // namespace

class TransparentBlitTest : public QObject
{
    Q_OBJECT

private slots:
    void transparencyIsExactOn24Bits_data();
    void transparencyIsExactOn24Bits();
    void clipsAtEveryEdge_data();
    void clipsAtEveryEdge();
    void emptyRectangleChangesNothing_data();
    void emptyRectangleChangesNothing();
    void backgroundShowsThroughAndClips();
    void agreesWithPerPixelRuleOnRandomPictures();
    void allTransparentSourceChangesNothing();
    void secondTransferWinsWhereOpaque();
    void sourceMayBeTheDestination();
    void otherFormats();
    void transferPartCutsPictureToPartRect();
    void transferPartLeavesBackColourOut();
};

void TransparentBlitTest::transparencyIsExactOn24Bits_data()
{
    QTest::addColumn<quint32>("sourcePixel"); // raw RGB32 word, reserved byte included
    QTest::addColumn<Colour>("transparent");
    QTest::addColumn<bool>("copied");

    QTest::newRow("exact black left out") << 0xFF000000u << Colours::Black << false;
    QTest::newRow("red 1 copied") << 0xFF010000u << Colours::Black << true;
    QTest::newRow("green 1 copied") << 0xFF000100u << Colours::Black << true;
    QTest::newRow("blue 1 copied") << 0xFF000001u << Colours::Black << true;
    QTest::newRow("reserved byte ignored") << 0x00000000u << Colours::Black << false;
    QTest::newRow("white left out") << 0xFFFFFFFFu << Colours::White << false;
    QTest::newRow("black copied when white is transparent") << 0xFF000000u << Colours::White << true;
    QTest::newRow("colour order: blue transparent, blue pixel") << 0xFF0000FFu << Colours::Blue << false;
    QTest::newRow("colour order: blue transparent, red pixel") << 0xFFFF0000u << Colours::Blue << true;
    QTest::newRow("one unit off") << 0xFF0A141Fu << Colour::fromRgb(10, 20, 30) << true;
    QTest::newRow("high colour byte ignored") << 0xFF0A141Eu << Colour(0xFF1E140Au) << false;
}

void TransparentBlitTest::transparencyIsExactOn24Bits()
{
    QFETCH(quint32, sourcePixel);
    QFETCH(Colour, transparent);
    QFETCH(bool, copied);

    QImage canvas = filled(3, 1, CanvasRgb);
    QImage source(1, 1, QImage::Format_RGB32);
    reinterpret_cast<quint32 *>(source.scanLine(0))[0] = sourcePixel;

    TransparentBlit(canvas, canvas, source, Rect32{0, 0, 1, 1}, 1, 0, transparent);

    QCOMPARE(rgbAt(canvas, 1, 0), copied ? (sourcePixel | 0xFF000000u) : CanvasRgb);
    QCOMPARE(rgbAt(canvas, 0, 0), CanvasRgb);
    QCOMPARE(rgbAt(canvas, 2, 0), CanvasRgb);
}

void TransparentBlitTest::clipsAtEveryEdge_data()
{
    QTest::addColumn<Rect32>("rect");
    QTest::addColumn<qint32>("x");
    QTest::addColumn<qint32>("y");

    // The source is 21 x 5 (more than one block of pixels per row), the canvas 30 x 8.
    const Rect32 whole{0, 0, 21, 5};
    QTest::newRow("inside") << whole << 4 << 2;
    QTest::newRow("beyond right") << whole << 20 << 1;
    QTest::newRow("beyond bottom") << whole << 3 << 6;
    QTest::newRow("negative x") << whole << -7 << 1;
    QTest::newRow("negative y") << whole << 2 << -3;
    QTest::newRow("negative both") << whole << -19 << -4;
    QTest::newRow("larger than canvas") << Rect32{-10, -10, 40, 20} << -5 << -5;
    QTest::newRow("entirely right") << whole << 30 << 0;
    QTest::newRow("entirely above") << whole << 0 << -5;
    QTest::newRow("x INT_MAX") << whole << IntMax << 0;
    QTest::newRow("x INT_MIN") << whole << IntMin << 0;
    QTest::newRow("y INT_MIN") << whole << 0 << IntMin;
    QTest::newRow("rect left of source") << Rect32{-3, 0, 9, 5} << 0 << 0;
    QTest::newRow("rect below source") << Rect32{2, 3, 19, 9} << 1 << 1;
    QTest::newRow("rect near INT_MAX") << Rect32{IntMax - 4, 0, IntMax, 5} << 0 << 0;
    QTest::newRow("rect near INT_MIN with x INT_MAX") << Rect32{IntMin, IntMin, IntMin + 9, IntMin + 3} << IntMax << 1;
    QTest::newRow("rect and place cancel out") << Rect32{IntMin, 0, IntMin + 40, 5} << IntMax << 0;
}

void TransparentBlitTest::clipsAtEveryEdge()
{
    QFETCH(Rect32, rect);
    QFETCH(qint32, x);
    QFETCH(qint32, y);

    const QImage source = numbered(21, 5);
    QImage canvas = filled(30, 8, CanvasRgb);
    TransparentBlit(canvas, canvas, source, rect, x, y, Colours::Black);

    const qint64 width = qint64(rect.Right) - rect.Left;
    const qint64 height = qint64(rect.Bottom) - rect.Top;
    for (int py = 0; py < canvas.height(); ++py) {
        for (int px = 0; px < canvas.width(); ++px) {
            const qint64 i = px - qint64(x);
            const qint64 j = py - qint64(y);
            const qint64 sx = rect.Left + i;
            const qint64 sy = rect.Top + j;
            const bool covered = i >= 0 && i < width && j >= 0 && j < height && sx >= 0 && sx < source.width()
                                 && sy >= 0 && sy < source.height();
            const QRgb expected = covered ? rgbAt(source, int(sx), int(sy)) : CanvasRgb;
            if (rgbAt(canvas, px, py) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(px).arg(py)));
        }
    }
}

void TransparentBlitTest::emptyRectangleChangesNothing_data()
{
    QTest::addColumn<Rect32>("rect");
    QTest::addColumn<qint32>("x");
    QTest::addColumn<qint32>("y");

    QTest::newRow("zero width") << Rect32{3, 0, 3, 5} << 0 << 0;
    QTest::newRow("zero height") << Rect32{0, 2, 10, 2} << 0 << 0;
    QTest::newRow("negative width") << Rect32{10, 0, 2, 5} << 0 << 0;
    QTest::newRow("negative height") << Rect32{0, 4, 10, 1} << 0 << 0;
    QTest::newRow("most negative width") << Rect32{IntMax, 0, IntMin, 5} << 0 << 0;
    // Placed so that the far end of the oversized rectangle would land on the canvas.
    QTest::newRow("width beyond 32 bits") << Rect32{IntMin, 0, IntMax, 5} << IntMin << 0;
    QTest::newRow("height beyond 32 bits") << Rect32{0, IntMin, 5, IntMax} << 0 << IntMin;
}

void TransparentBlitTest::emptyRectangleChangesNothing()
{
    QFETCH(Rect32, rect);
    QFETCH(qint32, x);
    QFETCH(qint32, y);

    QImage canvas = filled(16, 8, CanvasRgb);
    TransparentBlit(canvas, canvas, numbered(16, 8), rect, x, y, Colours::Black);
    QCOMPARE(canvas, filled(16, 8, CanvasRgb));
}

void TransparentBlitTest::backgroundShowsThroughAndClips()
{
    const QRgb destinationRgb = qRgb(9, 9, 9);
    QImage destination = filled(12, 6, destinationRgb);
    const QImage background = numbered(10, 4);
    QImage source = filled(12, 6, qRgb(200, 100, 50));
    for (int y = 0; y < source.height(); ++y)
        for (int x = (y % 2); x < source.width(); x += 2)
            source.setPixel(x, y, qRgb(0, 0, 0));

    TransparentBlit(destination, background, source, Rect32{0, 0, 12, 6}, 0, 0, Colours::Black);

    for (int y = 0; y < destination.height(); ++y) {
        for (int x = 0; x < destination.width(); ++x) {
            QRgb expected = destinationRgb;
            if (x < background.width() && y < background.height())
                expected = (x + y) % 2 == 0 ? rgbAt(background, x, y) : qRgb(200, 100, 50);
            QCOMPARE(rgbAt(destination, x, y), expected);
        }
    }
}

void TransparentBlitTest::agreesWithPerPixelRuleOnRandomPictures()
{
    // Odd sizes and places exercise the whole blocks and the leftover pixels of each row.
    QRandomGenerator random(20240611);
    for (int round = 0; round < 200; ++round) {
        const QImage source = [&] {
            QImage image(1 + random.bounded(40), 1 + random.bounded(12), QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    image.setPixel(x, y, random.bounded(2) ? qRgb(0, 0, 0) : qRgb(random.bounded(256), 7, 3));
            return image;
        }();
        const QImage background = numbered(1 + random.bounded(40), 1 + random.bounded(12));
        const QImage before = filled(1 + random.bounded(40), 1 + random.bounded(12), CanvasRgb);
        const Rect32 rect{random.bounded(-5, 10), random.bounded(-3, 5), random.bounded(-5, 45),
                          random.bounded(-3, 15)};
        const qint32 x = random.bounded(-20, 40);
        const qint32 y = random.bounded(-8, 12);

        QImage destination = before;
        TransparentBlit(destination, background, source, rect, x, y, Colours::Black);

        for (int py = 0; py < before.height(); ++py) {
            for (int px = 0; px < before.width(); ++px) {
                const int i = px - x;
                const int j = py - y;
                const int sx = rect.Left + i;
                const int sy = rect.Top + j;
                QRgb expected = CanvasRgb;
                if (i >= 0 && i < rect.Right - rect.Left && j >= 0 && j < rect.Bottom - rect.Top
                    && source.rect().contains(sx, sy) && background.rect().contains(px, py)) {
                    const QRgb s = rgbAt(source, sx, sy);
                    expected = s == qRgb(0, 0, 0) ? rgbAt(background, px, py) : s;
                }
                if (rgbAt(destination, px, py) != expected)
                    QFAIL(qPrintable(QStringLiteral("round %1, pixel (%2, %3)").arg(round).arg(px).arg(py)));
            }
        }
    }
}

void TransparentBlitTest::allTransparentSourceChangesNothing()
{
    const QImage before = numbered(32, 32);
    QImage canvas = before;
    const Colour transparent = Colour::fromRgb(12, 34, 56);
    TransparentBlit(canvas, canvas, filled(20, 20, transparent.toQRgb()), Rect32{0, 0, 20, 20}, 5, 5, transparent);
    QCOMPARE(canvas, before);
}

void TransparentBlitTest::secondTransferWinsWhereOpaque()
{
    const QRgb red = qRgb(255, 0, 0);
    const QRgb blue = qRgb(0, 0, 255);
    QImage canvas = filled(16, 16, CanvasRgb);
    QImage second = filled(10, 4, blue);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            second.setPixel(x, y, qRgb(0, 0, 0));

    TransparentBlit(canvas, canvas, filled(10, 4, red), Rect32{0, 0, 10, 4}, 3, 3, Colours::Black);
    TransparentBlit(canvas, canvas, second, Rect32{0, 0, 10, 4}, 3, 3, Colours::Black);

    for (int x = 3; x < 13; ++x)
        QCOMPARE(rgbAt(canvas, x, 5), (x < 8 ? red : blue));
    QCOMPARE(rgbAt(canvas, 2, 5), CanvasRgb);
    QCOMPARE(rgbAt(canvas, 13, 5), CanvasRgb);
}

void TransparentBlitTest::sourceMayBeTheDestination()
{
    const QImage before = numbered(24, 3);
    QImage image = before;
    TransparentBlit(image, image, image, Rect32{0, 0, 24, 3}, 1, 0, Colours::Black);

    for (int y = 0; y < 3; ++y) {
        QCOMPARE(rgbAt(image, 0, y), rgbAt(before, 0, y));
        for (int x = 1; x < 24; ++x)
            QCOMPARE(rgbAt(image, x, y), rgbAt(before, x - 1, y));
    }
}

void TransparentBlitTest::otherFormats()
{
    const QImage source = numbered(8, 8);

    QImage fromRgb888 = filled(8, 8, CanvasRgb);
    TransparentBlit(fromRgb888, fromRgb888, source.convertToFormat(QImage::Format_RGB888), Rect32{0, 0, 8, 8}, 0, 0,
                    Colours::Black);
    QCOMPARE(fromRgb888, source);

    QImage argbCanvas = filled(8, 8, CanvasRgb).convertToFormat(QImage::Format_ARGB32);
    const QImage argbBefore = argbCanvas;
    TransparentBlit(argbCanvas, argbCanvas, source, Rect32{0, 0, 8, 8}, 0, 0, Colours::Black);
    QCOMPARE(argbCanvas, argbBefore);

    QImage nullCanvas;
    TransparentBlit(nullCanvas, nullCanvas, source, Rect32{0, 0, 8, 8}, 0, 0, Colours::Black);
    QVERIFY(nullCanvas.isNull());
}

void TransparentBlitTest::transferPartCutsPictureToPartRect()
{
    const QRgb white = qRgb(255, 255, 255);
    PictureBoxModel canvas(QSize(256, 256), Colours::White, true);
    PictureBoxModel preview(QSize(148, 191), Colours::Black, false);
    preview.setPicture(Picture::make(filled(200, 250, qRgb(1, 0, 0))));
    QSignalSpy changed(&canvas, &PictureBoxModel::changed);

    TransferPart(canvas, preview, Rect32{0, 0, 148, 191}, 0, 0, Colours::Black);

    QCOMPARE(changed.count(), 1);
    const QImage skin = canvas.surface();
    QCOMPARE(rgbAt(skin, 0, 0), qRgb(1, 0, 0));
    QCOMPARE(rgbAt(skin, 147, 190), qRgb(1, 0, 0));
    QCOMPARE(rgbAt(skin, 148, 0), white);
    QCOMPARE(rgbAt(skin, 0, 191), white);

    // The pasted pixels are the canvas's own now: a later paste elsewhere keeps them.
    TransferPart(canvas, preview, Rect32{0, 0, 148, 191}, 200, 200, Colours::Black);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(rgbAt(canvas.surface(), 10, 10), qRgb(1, 0, 0));
    QCOMPARE(rgbAt(canvas.surface(), 255, 255), qRgb(1, 0, 0));
    QCOMPARE(rgbAt(canvas.surface(), 199, 199), white);
}

void TransparentBlitTest::transferPartLeavesBackColourOut()
{
    // A picture smaller than the preview: the rest shows the back colour, which is the
    // transparent colour, so the canvas keeps its pixels there.
    const Colour transparent = Colour::fromRgb(0, 255, 0);
    const QImage before = numbered(256, 256);
    PictureBoxModel canvas(QSize(256, 256), Colours::White, true);
    canvas.setPicture(Picture::make(before));
    PictureBoxModel preview(QSize(148, 191), transparent, false);
    preview.setPicture(Picture::make(filled(56, 72, qRgb(0, 0, 0))));

    TransferPart(canvas, preview, Rect32{0, 0, 148, 191}, 128, 0, transparent);

    const QImage skin = canvas.surface();
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const bool part = x >= 128 && x < 128 + 56 && y < 72;
            QCOMPARE(rgbAt(skin, x, y), part ? qRgb(0, 0, 0) : rgbAt(before, x, y));
        }
    }
}

QTEST_GUILESS_MAIN(TransparentBlitTest)
#include "tst_transparentblit.moc"
