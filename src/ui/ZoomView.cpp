#include "ZoomView.h"

#include "ZoomMarks.h"
#include "editor/ZoomGeometry.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <array>
#include <cmath>
#include <utility>

namespace pellwerk {

namespace {

// Light enough to show on black, dark enough to show on white, faint enough to leave the colours
// readable.
const QColor GridColour{128, 128, 128, 140};
constexpr int WheelStep = 120;

// A frame of `width` pixels along the inside of `outer`.
void frame(QPainter &painter, QRect outer, int width, const QColor &colour)
{
    const QRect strips[] = {
        {outer.left(), outer.top(), outer.width(), width},
        {outer.left(), outer.bottom() - width + 1, outer.width(), width},
        {outer.left(), outer.top() + width, width, outer.height() - 2 * width},
        {outer.right() - width + 1, outer.top() + width, width, outer.height() - 2 * width},
    };
    for (const QRect &strip : strips)
        painter.fillRect(strip, colour);
}

// A light bar with a dark rim of one pixel.
void bar(QPainter &painter, QRect bar)
{
    painter.fillRect(bar.adjusted(-1, -1, 1, 1), ZoomMarks::DarkEdge);
    painter.fillRect(bar, ZoomMarks::CrossColour);
}

} // namespace

ZoomView::ZoomView(QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setZoom(1);
}

void ZoomView::setCanvas(const QImage &skin)
{
    m_canvas = skin;
    update();
}

void ZoomView::setZoom(int zoom)
{
    m_zoom = ZoomGeometry::clampZoom(zoom);
    m_gridTile = QImage(m_zoom, m_zoom, QImage::Format_ARGB32_Premultiplied);
    m_gridTile.fill(Qt::transparent);
    QPainter tile(&m_gridTile);
    tile.fillRect(0, 0, m_zoom, 1, GridColour);
    tile.fillRect(0, 1, 1, m_zoom - 1, GridColour);
    tile.end();
    resize(ZoomGeometry(m_zoom).contentSize());
    update();
}

void ZoomView::setGridShown(bool shown)
{
    m_grid = shown;
    update();
}

void ZoomView::setOverlayShown(bool shown)
{
    m_overlayShown = shown;
    update();
}

void ZoomView::setOverlay(ZoomOverlay overlay)
{
    m_overlay = std::move(overlay);
    if (m_overlayShown)
        update();
}

QSize ZoomView::sizeHint() const
{
    return ZoomGeometry(m_zoom).contentSize();
}

void ZoomView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintArea(painter, event->rect());
}

void ZoomView::paintArea(QPainter &painter, QRect area) const
{
    const ZoomGeometry geometry(m_zoom);
    const QRect pixels = geometry.skinArea(area, {}).intersected(m_canvas.rect());
    const QRect drawn = geometry.viewportRect(pixels, {});
    // Only a canvas smaller than the skin leaves anything to fill.
    if (!drawn.contains(area))
        painter.fillRect(area, Qt::black);
    if (pixels.isEmpty())
        return;
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawImage(drawn, m_canvas, pixels);
    if (m_grid && m_zoom >= GridFromZoom)
        paintGrid(painter, pixels);
    if (m_overlayShown) {
        paintMarks(painter, pixels);
        paintPlaces(painter);
    }
    painter.restore();
}

void ZoomView::paintGrid(QPainter &painter, QRect pixels) const
{
    // One fill with a tile of a pixel's square that carries its top and left edge: a line per
    // pixel drawn one by one would cost a span per row and line.
    painter.setBrushOrigin(0, 0);
    painter.fillRect(ZoomGeometry(m_zoom).viewportRect(pixels, {}), QBrush(m_gridTile));
}

void ZoomView::paintMarks(QPainter &painter, QRect pixels) const
{
    const KeyColourLint &lint = m_overlay.marks;
    const QRect part(m_overlay.place, QSize(lint.width, lint.height));
    const QRect marked = pixels.intersected(m_overlay.landing).intersected(part);
    if (marked.isEmpty())
        return;
    const ZoomGeometry geometry(m_zoom);
    std::array<std::vector<QRect>, 4> squares;
    for (int y = marked.top(); y <= marked.bottom(); ++y) {
        int x = marked.left();
        while (x <= marked.right()) {
            const KeyMark mark = lint.mark(x - part.left(), y - part.top());
            int end = x + 1;
            // A hatch runs on across a row; dots and frames belong to each pixel.
            if (mark == KeyMark::LeftOut)
                while (end <= marked.right() && lint.mark(end - part.left(), y - part.top()) == mark)
                    ++end;
            if (mark != KeyMark::Kept)
                squares[size_t(mark)].push_back(geometry.viewportRect(QRect(x, y, end - x, 1), {}));
            x = end;
        }
    }
    for (KeyMark mark : {KeyMark::LeftOut, KeyMark::Near, KeyMark::Fringe})
        ZoomMarks::paint(painter, mark, squares[size_t(mark)], m_zoom);
}

void ZoomView::paintPlaces(QPainter &painter) const
{
    const ZoomGeometry geometry(m_zoom);
    if (const QRect landing = geometry.viewportRect(m_overlay.landing, {}); !landing.isEmpty()) {
        // Just outside the pixels the part covers, so its edge pixels stay in view.
        frame(painter, landing.adjusted(-4, -4, 4, 4), 4, ZoomMarks::DarkEdge);
        frame(painter, landing.adjusted(-3, -3, 3, 3), 2, ZoomMarks::OutlineColour);
    }
    if (const QRect selected = geometry.viewportRect(m_overlay.selected, {}); !selected.isEmpty()) {
        // Dashes on a dark rim, so the outline shows on any skin and apart from the preview's.
        frame(painter, selected.adjusted(-2, -2, 2, 2), 2, ZoomMarks::DarkEdge);
        painter.save();
        painter.setPen(QPen(ZoomMarks::SelectedColour, 2, Qt::DashLine));
        painter.drawRect(selected.adjusted(-1, -1, 0, 0));
        painter.restore();
    }
    if (!m_overlay.userPlace)
        return;
    const QRect square = geometry.viewportRect(QRect(*m_overlay.userPlace, QSize(1, 1)), {});
    if (square.isEmpty())
        return;
    // A cross-hair whose arms stop short of the pixel, so the pixel itself stays visible.
    const int arm = std::max(2 * m_zoom, 10);
    const int gap = 2;
    const QPoint c = square.center();
    bar(painter, QRect(square.left() - gap - arm, c.y(), arm, 1));
    bar(painter, QRect(square.right() + gap + 1, c.y(), arm, 1));
    bar(painter, QRect(c.x(), square.top() - gap - arm, 1, arm));
    bar(painter, QRect(c.x(), square.bottom() + gap + 1, 1, arm));
}

std::optional<QPoint> ZoomView::pixelAt(QPointF position) const
{
    return ZoomGeometry(m_zoom).skinPixel(QPoint(int(std::floor(position.x())), int(std::floor(position.y()))), {});
}

std::optional<QPoint> ZoomView::pixelUnderPointer() const
{
    if (!underMouse())
        return std::nullopt;
    return pixelAt(mapFromGlobal(QCursor::pos()));
}

void ZoomView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) {
        m_dragFrom = event->globalPosition().toPoint();
        setCursor(Qt::ClosedHandCursor);
    } else if (event->button() == Qt::LeftButton) {
        if (const std::optional<QPoint> pixel = pixelAt(event->position()))
            emit leftPressed(*pixel);
    }
}

void ZoomView::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::MiddleButton) {
        const QPoint now = event->globalPosition().toPoint();
        emit dragged(now - std::exchange(m_dragFrom, now));
    }
    emit pointerOver(pixelAt(event->position()));
}

void ZoomView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton)
        unsetCursor();
}

void ZoomView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        // The scroll area scrolls.
        event->ignore();
        return;
    }
    // Fine-grained wheels send fractions of a step: zoom once they add up to one.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / WheelStep;
    m_wheelAngle -= steps * WheelStep;
    if (steps != 0)
        emit zoomStepped(steps, event->position().toPoint());
    event->accept();
}

void ZoomView::leaveEvent(QEvent *event)
{
    QFrame::leaveEvent(event);
    emit pointerOver(std::nullopt);
}

} // namespace pellwerk
