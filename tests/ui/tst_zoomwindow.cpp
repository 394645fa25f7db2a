// The zoom window as a user meets it: it shows the canvas as it is after every change, a click
// picks the user place, the status line reads the pointer's pixel and counts what the previewed
// part will lose, files dropped on it open, and it answers the keyboard.

#include "TestProgram.h"

#include "ui/ZoomView.h"

#include <QMimeData>
#include <QScrollBar>
#include <QUrl>

using namespace pellwerk;
using namespace testsupport;

namespace {

constexpr QRgb Key = 0xFF000000, NearKey = 0xFF030201, Paint = 0xFFC86432;

// A 6 x 4 face: three pixels of the key, four near it; three of those touch the key or the
// transparent preview beyond the part's right edge.
QImage markedFace()
{
    QImage part = filled(6, 4, Paint);
    for (QPoint key : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1)})
        part.setPixel(key, Key);
    for (QPoint near : {QPoint(2, 0), QPoint(1, 1), QPoint(4, 1), QPoint(5, 3)})
        part.setPixel(near, NearKey);
    return part;
}

// A program with both faces in the parts lists and the Lupe opened from the menu.
struct ZoomProgram : TestProgram
{
    ZoomWindow &zoom = app().zoomWindow();
    ZoomProgram()
    {
        listParts({{"Face01.bmp", markedFace()}, {"Face02.bmp", filled(40, 30, qRgb(200, 90, 10))}}, false);
        main().zoomAction->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(zoom.window()));
    }
    Ui::ZoomWindow &ui() { return zoom.ui(); }
    ZoomView *view() { return zoom.view(); }
    void pick(const QString &face) { clickName(partsUi().faceList, face); }
    QImage shown() { return view()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QImage canvasAt(int zoom) { return canvas().scaled(256 * zoom, 256 * zoom); }
};

// A key pressed at a zoom, and what it leaves: the zoom, the grid and overlay boxes, and which way
// the view scrolled (each coordinate -1, 0 or 1).
struct Keys
{
    int startZoom;
    QKeyCombination keys;
    int zoom;
    bool grid, overlay;
    QPoint scroll;
};

} // namespace

class ZoomWindowTest : public QObject
{
    Q_OBJECT
private slots:
    // The view opens on the whole skin, at the largest zoom that fits, and shows the canvas as it
    // is after every change: a paste, a knob turn pasted by "copy", an undo, "neu", a file dropped.
    void followsEveryChangeOfTheCanvas()
    {
        ZoomProgram l;
        const int side = qMin(l.ui().ViewArea->viewport()->width(), l.ui().ViewArea->viewport()->height());
        QVERIFY(l.zoom.zoom() * 256 <= side && (l.zoom.zoom() + 1) * 256 > side);
        l.ui().OverlayCheck->setChecked(false);
        l.zoom.setZoom(3);
        l.pick("Face02.bmp");
        QCOMPARE(l.shown(), l.canvasAt(3));
        l.partsUi().autoPaste->click();
        l.openTint().blueKnob()->setValue(120);
        l.partsUi().pasteNow->click();
        QCOMPARE(QColor(l.canvas().pixel(130, 5)), QColor(200, 90, 130));
        QCOMPARE(l.shown(), l.canvasAt(3));
        l.partsUi().autoPaste->click();
        const QImage copied = l.canvas();
        l.pick("Face01.bmp");
        l.main().undoAction->trigger();
        QCOMPARE(l.canvas(), copied);
        QCOMPARE(l.shown(), l.canvasAt(3));
        l.main().newAction->trigger();
        QCOMPARE(l.shown(), l.canvasAt(3));

        // Dropped files open like "öffnen": the first one, with a note that names it. The question
        // about unsaved work comes once the drop event has returned, not to hold the file manager.
        l.pick("Face01.bmp");
        const QImage fresh = l.canvas();
        const QString path = l.folder() + "/dropped.bmp";
        QVERIFY(writeBmp(path, filled(256, 256, qRgb(1, 2, 3))));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(l.folder() + "/SkinNEW.bmp")});
        // Qt delivers a drop only to the widget that took the drag when it entered.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(l.zoom.window(), &enter);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(l.zoom.window(), &drop);
        QVERIFY(enter.isAccepted() && drop.isAccepted() && l.messages.questions.size() == 1 && l.canvas() == fresh);
        QCoreApplication::processEvents();
        QCOMPARE(l.messages.questions.size(), 2); // the first came with "neu"
        QCOMPARE(l.canvas(), filled(256, 256, qRgb(1, 2, 3)));
        QCOMPARE(l.shown(), l.canvasAt(3));
        QCOMPARE(l.messages.messages.size(), 1);
        QVERIFY(l.messages.messages.first().contains(QDir::toNativeSeparators(path)));
        l.main().undoAction->trigger();
        QCOMPARE(l.canvas(), fresh);
    }

    void clickPicksTheUserPlace_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QPoint>("pixel");
        QTest::newRow("1x") << 1 << QPoint(10, 20) << QPoint(10, 20);
        QTest::newRow("4x, last point of a square") << 4 << QPoint(4 * 37 + 3, 4 * 200 + 3) << QPoint(37, 200);
        QTest::newRow("7x, first point of a square") << 7 << QPoint(7 * 100, 7 * 3) << QPoint(100, 3);
        QTest::newRow("16x, far corner") << 16 << QPoint(4095, 4095) << QPoint(255, 255);
    }

    void clickPicksTheUserPlace()
    {
        QFETCH(int, zoom);
        QFETCH(QPoint, at);
        QFETCH(QPoint, pixel);
        ZoomProgram l;
        l.zoom.setZoom(zoom);
        l.ui().ViewArea->ensureVisible(at.x(), at.y());
        QMouseEvent move(QEvent::MouseMove, at, l.view()->mapToGlobal(at), Qt::NoButton, {}, {});
        QCoreApplication::sendEvent(l.view(), &move);
        QCOMPARE(l.ui().PointerText->text(), StatusText::pixel(pixel, Colour::fromQRgb(l.canvas().pixel(pixel))));
        QTest::mouseClick(l.view(), Qt::LeftButton, {}, at);
        QCOMPARE(l.parts().userPlaceX()->text(), QString::number(pixel.x()));
        QCOMPARE(l.parts().userPlaceY()->text(), QString::number(pixel.y()));
        QCOMPARE(l.view()->overlay().userPlace, std::optional<QPoint>(pixel));
    }

    void countsWhatThePreviewedPartLoses_data()
    {
        QTest::addColumn<int>("nearLimit");
        QTest::addColumn<int>("redKnob");
        QTest::addColumn<QRgb>("transparent");
        QTest::addColumn<QList<int>>("counts"); // left out, near the key, near and at the fringe
        QTest::newRow("as drawn") << 8 << 0 << Key << QList<int>{3, 4, 3};
        QTest::newRow("K below the distance") << 2 << 0 << Key << QList<int>{3, 0, 0};
        QTest::newRow("K at the distance") << 3 << 0 << Key << QList<int>{3, 4, 3};
        QTest::newRow("a knob turn lifts all off the key") << 8 << 10 << Key << QList<int>{0, 0, 0};
        QTest::newRow("the paint is transparent") << 8 << 0 << Paint << QList<int>{17, 0, 0};
    }

    void countsWhatThePreviewedPartLoses()
    {
        QFETCH(int, nearLimit);
        QFETCH(int, redKnob);
        QFETCH(QRgb, transparent);
        QFETCH(QList<int>, counts);
        const QString text = StatusText::keyColourCounts(counts[0], counts[1], counts[2]);
        ZoomProgram l;
        l.app().setTransparentColour(Colour::fromQRgb(transparent));
        l.pick("Face01.bmp");
        l.ui().NearBox->setValue(nearLimit);
        l.openTint().redKnob()->setValue(redKnob);
        QCOMPARE(l.ui().CountsText->text(), text);
        QCOMPARE(l.view()->overlay().landing, QRect(128, 0, 6, 4));
        // K holds for the run: a closed and reopened window keeps it.
        l.zoom.window()->close();
        QVERIFY(!l.zoom.isLoaded());
        l.zoom.show();
        QCOMPARE(l.ui().NearBox->value(), nearLimit);
        QCOMPARE(l.ui().CountsText->text(), text);
    }

    void keysZoomAndToggle_data()
    {
        QTest::addColumn<Keys>("k");
        const QPoint none;
        // Zooming keeps the middle in the middle: the content grows or shrinks around it.
        const QPoint grows(1, 1);
        QTest::newRow("Ctrl+plus") << Keys{8, Qt::CTRL | Qt::Key_Plus, 9, true, true, grows};
        QTest::newRow("Ctrl+equals") << Keys{8, Qt::CTRL | Qt::Key_Equal, 9, true, true, grows};
        QTest::newRow("Ctrl+minus down to the grid's least")
            << Keys{7, Qt::CTRL | Qt::Key_Minus, 6, true, true, -grows};
        QTest::newRow("no more than 16") << Keys{16, Qt::CTRL | Qt::Key_Plus, 16, true, true, none};
        QTest::newRow("no less than 1") << Keys{1, Qt::CTRL | Qt::Key_Minus, 1, true, true, none};
        QTest::newRow("G") << Keys{8, Qt::Key_G, 8, false, true, none};
        QTest::newRow("O") << Keys{8, Qt::Key_O, 8, true, false, none};
        QTest::newRow("right arrow") << Keys{8, Qt::Key_Right, 8, true, true, QPoint(1, 0)};
        QTest::newRow("page down") << Keys{8, Qt::Key_PageDown, 8, true, true, QPoint(0, 1)};
    }

    void keysZoomAndToggle()
    {
        QFETCH(Keys, k);
        const auto [startZoom, keys, zoom, grid, overlay, scroll] = k;
        ZoomProgram l;
        l.zoom.setZoom(startZoom);
        QWidget *w = l.zoom.window();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QScrollArea *area = l.ui().ViewArea;
        const QPoint before(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value());
        // The view takes the keys last in the tab order.
        l.ui().NearBox->setFocus();
        QTest::keyClick(l.ui().NearBox, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), l.view());
        QTest::keyClick(l.view(), keys.key(), keys.keyboardModifiers());
        const QPoint moved = QPoint(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value()) - before;
        QCOMPARE(QPoint(qBound(-1, moved.x(), 1), qBound(-1, moved.y(), 1)), scroll);
        QCOMPARE(l.zoom.zoom(), zoom);
        QCOMPARE(l.ui().ZoomBox->value(), zoom);
        QCOMPARE(l.view()->zoom(), zoom);
        QCOMPARE(l.ui().GridCheck->isChecked(), grid);
        QCOMPARE(l.ui().OverlayCheck->isChecked(), overlay);
        // The grid shows from 6x on, between the pixels; the overlay marks the previewed shoe at
        // the user place (0, 0), whose black background will be left out.
        const QImage shown = l.shown();
        const QPoint onGrid(zoom * 200, zoom * 200 + zoom / 2);
        QCOMPARE(shown.pixel(onGrid) != l.canvasAt(zoom).pixel(onGrid), grid && zoom >= 6);
        l.view()->setOverlayShown(false);
        const QRect corner(0, 0, 8 * zoom, 8 * zoom);
        QCOMPARE(shown.copy(corner) != l.shown().copy(corner), overlay);
    }

    void ctrlWheelZoomsAroundThePointer()
    {
        ZoomProgram l;
        l.zoom.setZoom(2);
        const QPoint pixel(180, 40);
        const QPoint at = pixel * 2 + QPoint(1, 1);
        const QPoint inViewport = l.view()->mapToParent(at);
        for (int step = 0; step < 6; ++step) {
            const QPoint now = l.view()->mapFromParent(inViewport);
            QWheelEvent wheel(now, l.view()->mapToGlobal(now), {}, QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(l.view(), &wheel);
        }
        QCOMPARE(l.zoom.zoom(), 8);
        const QPoint under = l.view()->mapFromParent(inViewport);
        QCOMPARE(QPoint(under.x() / 8, under.y() / 8), pixel);
    }
};

QTEST_MAIN(ZoomWindowTest)
#include "tst_zoomwindow.moc"
