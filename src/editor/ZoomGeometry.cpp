#include "ZoomGeometry.h"

#include <algorithm>
#include <utility>

namespace pellwerk {

namespace {

constexpr qint64 Far = qint64(1) << 30;

// Rounds towards minus infinity: a point just left of the skin is in pixel -1, not 0.
qint64 floorDiv(qint64 value, qint64 divisor)
{
    const qint64 quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

int held(qint64 value)
{
    return int(std::clamp(value, -Far, Far));
}

// The part of [start, start + length) that lies on the skin, as [first, end).
std::pair<qint64, qint64> onSkin(qint64 start, qint64 length)
{
    return {std::max<qint64>(start, 0), std::min<qint64>(start + std::max<qint64>(length, 0), ZoomGeometry::SkinSize)};
}

} // namespace

int ZoomGeometry::clampZoom(int zoom)
{
    return std::clamp(zoom, MinZoom, MaxZoom);
}

int ZoomGeometry::fittingZoom(QSize viewport)
{
    return clampZoom(std::min(viewport.width(), viewport.height()) / SkinSize);
}

std::optional<QPoint> ZoomGeometry::skinPixel(QPoint viewportPoint, QPoint scroll) const
{
    const qint64 x = floorDiv(qint64(viewportPoint.x()) + scroll.x(), m_zoom);
    const qint64 y = floorDiv(qint64(viewportPoint.y()) + scroll.y(), m_zoom);
    if (x < 0 || y < 0 || x >= SkinSize || y >= SkinSize)
        return std::nullopt;
    return QPoint(int(x), int(y));
}

QRect ZoomGeometry::viewportRect(QRect skinRect, QPoint scroll) const
{
    const auto [left, right] = onSkin(skinRect.x(), skinRect.width());
    const auto [top, bottom] = onSkin(skinRect.y(), skinRect.height());
    if (left >= right || top >= bottom)
        return {};
    return QRect(QPoint(held(left * m_zoom - scroll.x()), held(top * m_zoom - scroll.y())),
                 QPoint(held(right * m_zoom - 1 - scroll.x()), held(bottom * m_zoom - 1 - scroll.y())));
}

QRect ZoomGeometry::skinArea(QRect viewportArea, QPoint scroll) const
{
    if (viewportArea.isEmpty())
        return {};
    const auto axis = [&](qint64 first, qint64 last, qint64 scrolled) {
        return std::pair(std::max<qint64>(floorDiv(first + scrolled, m_zoom), 0),
                         std::min<qint64>(floorDiv(last + scrolled, m_zoom), SkinSize - 1));
    };
    const auto [left, right] = axis(viewportArea.left(), viewportArea.right(), scroll.x());
    const auto [top, bottom] = axis(viewportArea.top(), viewportArea.bottom(), scroll.y());
    if (left > right || top > bottom)
        return {};
    return QRect(QPoint(int(left), int(top)), QPoint(int(right), int(bottom)));
}

QPoint ZoomGeometry::scrollForZoom(int newZoom, QPoint anchor, QPoint scroll) const
{
    const int zoom = clampZoom(newZoom);
    const auto axis = [&](qint64 anchorAt, qint64 scrolled) {
        return held(floorDiv((anchorAt + scrolled) * zoom, m_zoom) - anchorAt);
    };
    return {axis(anchor.x(), scroll.x()), axis(anchor.y(), scroll.y())};
}

QRect landingRect(QPoint place, QSize partSize, QSize partRect)
{
    const auto [left, right] = onSkin(place.x(), std::min(partSize.width(), partRect.width()));
    const auto [top, bottom] = onSkin(place.y(), std::min(partSize.height(), partRect.height()));
    if (left >= right || top >= bottom)
        return {};
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

} // namespace pellwerk
