#include "TestFiles.h"
#include "core/PictureBoxModel.h"
#include "parts/TransparentBlit.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <limits>

using namespace pellwerk;
using testsupport::filled;

namespace {

constexpr qint32 IntMin = std::numeric_limits<qint32>::min();
constexpr qint32 IntMax = std::numeric_limits<qint32>::max();
const QRgb CanvasRgb = qRgb(0x11, 0x22, 0x33);
const QRgb White = qRgb(255, 255, 255), Black = qRgb(0, 0, 0);

// Random colours (none of them black with these seeds), so each copied pixel shows where it came from.
const auto numbered = [](int w, int h) { return testsupport::randomImage(w, h, quint32(w * 100 + h)); };

// The pixel in its opaque form: the reserved byte of an RGB32 pixel is no colour.
const auto rgbAt = [](const QImage &image, qint64 x, qint64 y) { return image.pixel(int(x), int(y)) | 0xFF000000u; };

// Compares every pixel of `after` with the transfer rule worked out pixel by pixel: inside the
// rectangle and all three pictures the source pixel, or the background's where the source pixel's
// red, green and blue are the key's; everywhere else `before`. Returns the first pixel that differs,
// or a word when `written` is not the area inside the rectangle and all three pictures.
QString firstWrongPixel(const QImage &after, const QImage &before, const QImage &background, const QImage &source,
                        Rect32 rect, qint64 x, qint64 y, QRect written, Colour key = Colours::Black)
{
    QRect inside;
    const qint64 width = qint64(rect.Right) - rect.Left;
    const qint64 height = qint64(rect.Bottom) - rect.Top;
    for (int py = 0; py < before.height(); ++py) {
        for (int px = 0; px < before.width(); ++px) {
            const qint64 i = px - x, j = py - y, sx = rect.Left + i, sy = rect.Top + j;
            QRgb expected = rgbAt(before, px, py);
            if (width <= IntMax && height <= IntMax && i >= 0 && i < width && j >= 0 && j < height && sx >= 0
                && sx < source.width() && sy >= 0 && sy < source.height() && background.rect().contains(px, py)) {
                inside |= QRect(px, py, 1, 1);
                const QRgb s = rgbAt(source, sx, sy);
                expected = (s & 0xFFFFFF) == (key.toQRgb() & 0xFFFFFF) ? rgbAt(background, px, py) : s;
            }
            if (rgbAt(after, px, py) != expected)
                return QStringLiteral("pixel (%1, %2)").arg(px).arg(py);
        }
    }
    return written == inside ? QString() : QStringLiteral("written area");
}

} // namespace

class TransparentBlitTest : public QObject
{
    Q_OBJECT

private slots:
    void transfer_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<Rect32>("rect");
        QTest::addColumn<qint32>("x");
        QTest::addColumn<qint32>("y");
        QTest::addColumn<Colour>("transparent");

        // One pixel, given as the raw RGB32 word with its reserved byte: the colour compare is exact on
        // 24 bits.
        const auto pixel = [](const char *name, quint32 word, Colour transparent) {
            QImage source(1, 1, QImage::Format_RGB32);
            reinterpret_cast<quint32 *>(source.scanLine(0))[0] = word;
            QTest::newRow(name) << source << Rect32{0, 0, 1, 1} << 1 << 0 << transparent;
        };
        pixel("exact black left out", 0xFF000000u, Colours::Black);
        pixel("red 1 copied", 0xFF010000u, Colours::Black);
        pixel("blue 1 copied", 0xFF000001u, Colours::Black);
        pixel("reserved byte ignored", 0x00000000u, Colours::Black);
        pixel("black copied when white is transparent", 0xFF000000u, Colours::White);
        pixel("colour order: blue transparent, blue pixel", 0xFF0000FFu, Colours::Blue);
        pixel("colour order: blue transparent, red pixel", 0xFFFF0000u, Colours::Blue);
        pixel("high colour byte ignored", 0xFF0A141Eu, Colour(0xFF1E140Au));
        const Colour grey = Colour::fromRgb(12, 34, 56);
        QTest::newRow("all of the transparent colour")
            << filled(20, 20, grey.toQRgb()) << Rect32{0, 0, 20, 20} << 5 << 2 << grey;
        // A source of another format is read as RGB32.
        QTest::newRow("RGB888 source") << numbered(21, 5).convertToFormat(QImage::Format_RGB888) << Rect32{0, 0, 21, 5}
                                       << 4 << 2 << Colours::Black;

        // A 21 x 5 source (more than one block of pixels per row) on the 30 x 8 canvas, at places
        // and with rectangles the random pictures below do not reach.
        const auto place = [](const char *name, Rect32 rect, qint32 x, qint32 y) {
            QTest::newRow(name) << numbered(21, 5) << rect << x << y << Colours::Black;
        };
        const Rect32 whole{0, 0, 21, 5};
        place("x INT_MAX", whole, IntMax, 0);
        place("y INT_MIN", whole, 0, IntMin);
        place("rect near INT_MAX", {IntMax - 4, 0, IntMax, 5}, 0, 0);
        place("rect and place cancel out", {IntMin, 0, IntMin + 40, 5}, IntMax, 0);
        place("zero width", {3, 0, 3, 5}, 0, 0);
        place("most negative width", {IntMax, 0, IntMin, 5}, 0, 0);
        // Placed so that the far end of the oversized rectangle would land on the canvas.
        place("width beyond 32 bits", {IntMin, 0, IntMax, 5}, IntMin, 0);
        place("height beyond 32 bits", {0, IntMin, 5, IntMax}, 0, IntMin);
    }

    void transfer()
    {
        QFETCH(QImage, source);
        QFETCH(Rect32, rect);
        QFETCH(qint32, x);
        QFETCH(qint32, y);
        QFETCH(Colour, transparent);
        const QImage before = filled(30, 8, CanvasRgb);
        QImage canvas = before;
        const QRect written = TransparentBlit(canvas, canvas, source, rect, x, y, transparent);
        const QString wrong = firstWrongPixel(canvas, before, before, source, rect, x, y, written, transparent);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    void agreesWithPerPixelRuleOnRandomPictures()
    {
        // Odd sizes and places exercise the whole blocks and the leftover pixels of each row, and a
        // background of its own size clips as well.
        QRandomGenerator random(20240611);
        for (int round = 0; round < 200; ++round) {
            QImage source(1 + random.bounded(40), 1 + random.bounded(12), QImage::Format_RGB32);
            for (int y = 0; y < source.height(); ++y)
                for (int x = 0; x < source.width(); ++x)
                    source.setPixel(x, y, random.bounded(2) ? Black : qRgb(random.bounded(256), 7, 3));
            const QImage background = numbered(1 + random.bounded(40), 1 + random.bounded(12));
            const QImage before = filled(1 + random.bounded(40), 1 + random.bounded(12), CanvasRgb);
            const Rect32 rect{random.bounded(-5, 10), random.bounded(-3, 5), random.bounded(-5, 45),
                              random.bounded(-3, 15)};
            const qint32 x = random.bounded(-20, 40);
            const qint32 y = random.bounded(-8, 12);
            QImage destination = before;
            const QRect written = TransparentBlit(destination, background, source, rect, x, y, Colours::Black);
            const QString wrong = firstWrongPixel(destination, before, background, source, rect, x, y, written);
            QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("round %1, %2").arg(round).arg(wrong)));
        }
    }

    void sourceIsDestinationOrOtherFormat()
    {
        // The source may be the destination: it is read as it was before the call.
        QImage image = numbered(24, 3);
        TransparentBlit(image, image, image, Rect32{0, 0, 24, 3}, 1, 0, Colours::Black);
        QCOMPARE(image.copy(1, 0, 23, 3), numbered(24, 3).copy(0, 0, 23, 3));
        QCOMPARE(image.copy(0, 0, 1, 3), numbered(24, 3).copy(0, 0, 1, 3));

        // Any destination but RGB32 is left as it is.
        QImage argb = filled(8, 8, CanvasRgb).convertToFormat(QImage::Format_ARGB32);
        TransparentBlit(argb, argb, numbered(8, 8), Rect32{0, 0, 8, 8}, 0, 0, Colours::Black);
        QCOMPARE(argb, filled(8, 8, CanvasRgb).convertToFormat(QImage::Format_ARGB32));
    }

    void transferPart()
    {
        // A picture larger than the preview is cut to the part rectangle; (1, 0, 0) is no black.
        PictureBoxModel canvas(QSize(256, 256), Colours::White, true);
        PictureBoxModel preview(QSize(148, 191), Colours::Black, false);
        preview.setPicture(Picture::make(filled(200, 250, qRgb(1, 0, 0))));
        QSignalSpy changed(&canvas, &PictureBoxModel::changed);
        QCOMPARE(pastePart(canvas, preview, Rect32{0, 0, 148, 191}, 0, 0, Colours::Black), QRect(0, 0, 148, 191));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(rgbAt(canvas.surface(), 147, 190), qRgb(1, 0, 0));
        QCOMPARE(rgbAt(canvas.surface(), 148, 0), White);
        QCOMPARE(rgbAt(canvas.surface(), 0, 191), White);
        // The pasted pixels are the canvas's own now: a later paste elsewhere keeps them.
        QCOMPARE(pastePart(canvas, preview, Rect32{0, 0, 148, 191}, 200, 200, Colours::Black), QRect(200, 200, 56, 56));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(rgbAt(canvas.surface(), 10, 10), qRgb(1, 0, 0));
        QCOMPARE(rgbAt(canvas.surface(), 255, 255), qRgb(1, 0, 0));
        QCOMPARE(rgbAt(canvas.surface(), 199, 199), White);
    }
};

QTEST_GUILESS_MAIN(TransparentBlitTest)
#include "tst_transparentblit.moc"
