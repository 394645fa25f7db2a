#pragma once

#include "compose/KeyColourLint.h"

#include <QFrame>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <optional>

namespace pellwerk {

// What the zoom window lays over the skin, in skin pixels.
struct ZoomOverlay
{
    QRect landing;                   // the pixels the previewed part covers; empty when none
    QPoint place;                    // where the part's top-left pixel lands
    KeyColourLint marks;             // what each pixel of the part will do
    std::optional<QPoint> userPlace; // shown as a cross
};

// The skin drawn large: each skin pixel a zoom x zoom square (whole-number zoom 1 to 16), never
// smoothed. The widget is exactly as large as the magnified skin and lives in a scroll area, so
// its own coordinates are the content's. From GridFromZoom on it can draw a grid between the
// pixels; with the overlay, the outline of where the previewed part lands, its marks and the
// user place.
//
// The view shows what it is given and reports what the pointer does, in skin pixels; what that
// means for the program is its window's business. Keys it does not use (the arrows, the page
// keys) go on to the scroll area. A frame without a border, it is announced as a frame, like
// the canvas.
class ZoomView : public QFrame
{
    Q_OBJECT
public:
    static constexpr int GridFromZoom = 6;

    explicit ZoomView(QWidget *parent = nullptr);

    // The 256 x 256 skin (any size is drawn, cut to 256 x 256).
    void setCanvas(const QImage &skin);
    const QImage &canvas() const { return m_canvas; }
    int zoom() const { return m_zoom; }
    // Clamped to 1..16; the widget takes the magnified skin's size.
    void setZoom(int zoom);
    void setGridShown(bool shown);
    void setOverlayShown(bool shown);
    void setOverlay(ZoomOverlay overlay);
    const ZoomOverlay &overlay() const { return m_overlay; }

    // Paints `area` (widget coordinates) of the view with `painter`, which the caller has set up
    // for this widget's coordinates: the paint event's work, also for drawing into an image.
    void paintArea(QPainter &painter, QRect area) const;

    QSize sizeHint() const override;
    // The skin pixel under the mouse pointer, when it is over the view and the skin.
    std::optional<QPoint> pixelUnderPointer() const;

signals:
    // The pointer moved over the skin pixel, or off the skin (nullopt).
    void pointerOver(std::optional<QPoint> pixel);
    void leftPressed(QPoint pixel);
    // Ctrl and the wheel: zoom in (positive) or out by whole steps around `at` (widget coordinates).
    void zoomStepped(int steps, QPoint at);
    // The middle button held and moved: the content should follow the pointer by `delta`.
    void dragged(QPoint delta);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    std::optional<QPoint> pixelAt(QPointF position) const;
    void paintGrid(QPainter &painter, QRect pixels) const;
    void paintMarks(QPainter &painter, QRect pixels) const;
    void paintPlaces(QPainter &painter) const;

    QImage m_canvas;
    QImage m_gridTile; // one pixel's square with the grid along its top and left edge
    int m_zoom = 1;
    bool m_grid = true;
    bool m_overlayShown = true;
    ZoomOverlay m_overlay;
    QPoint m_dragFrom;
    int m_wheelAngle = 0;
};

} // namespace pellwerk
