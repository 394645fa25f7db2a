#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace pellwerk {

// The arithmetic of the zoom window: the 256 x 256 skin drawn with every skin pixel as a
// zoom x zoom square (whole-number zoom 1 to 16) on a content area that a viewport scrolls over.
//
// All positions are logical pixels, so the device pixel ratio never enters. `scroll` is the
// content point shown at the viewport's top-left (the scroll bars' values); it may be negative,
// for a content area centred in a larger viewport. Nothing here overflows, whatever the input:
// viewport positions that would lie beyond +-2^30 (far outside any screen) are held there.
class ZoomGeometry
{
public:
    static constexpr int SkinSize = 256;
    static constexpr int MinZoom = 1;
    static constexpr int MaxZoom = 16;

    explicit ZoomGeometry(int zoom = MinZoom) : m_zoom(clampZoom(zoom)) {}

    static int clampZoom(int zoom);
    // The largest zoom that shows the whole skin in `viewport`; MinZoom when not even that fits.
    static int fittingZoom(QSize viewport);

    int zoom() const { return m_zoom; }
    // The size of the content area: the skin at this zoom.
    QSize contentSize() const { return {SkinSize * m_zoom, SkinSize * m_zoom}; }

    // The skin pixel under a viewport point, or none outside the skin. Points left of or above
    // the skin are rounded down, never towards the skin.
    std::optional<QPoint> skinPixel(QPoint viewportPoint, QPoint scroll) const;
    // Where the pixels of `skinRect` (cut to the skin first) show in the viewport; an empty
    // rectangle when none of it lies on the skin.
    QRect viewportRect(QRect skinRect, QPoint scroll) const;
    // The skin pixels whose squares `viewportArea` touches, even by one point: what a repaint of
    // that area has to draw. Empty when the area is empty or misses the skin.
    QRect skinArea(QRect viewportArea, QPoint scroll) const;
    // The scroll offset that keeps the point of the skin under `anchor` (a viewport point) where
    // it is when the zoom changes to `newZoom` (clamped). Not cut to the scroll bars' range: near
    // the content's edges the scroll bars clamp it, and the skin then moves by what they cut.
    QPoint scrollForZoom(int newZoom, QPoint anchor, QPoint scroll) const;

private:
    int m_zoom;
};

// The rectangle of the skin a part covers when pasted at `place`: the part, cut to the
// transferred area `partRect` of the preview, cut again to the skin. Empty when nothing of it
// lands on the skin. Pixels the part leaves out (its transparent colour) are inside it.
QRect landingRect(QPoint place, QSize partSize, QSize partRect = {148, 191});

} // namespace pellwerk
