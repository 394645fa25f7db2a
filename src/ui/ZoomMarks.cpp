#include "ZoomMarks.h"

#include <QBrush>
#include <QPainter>

#include <algorithm>

namespace pellwerk::ZoomMarks {

namespace {

const QColor NearColour{255, 224, 0};
const QColor FringeColour{255, 40, 40};
// Below this zoom a skin pixel is too small for a shape: near and fringe pixels are filled.
constexpr int ShapesFromZoom = 4;

void fill(QPainter &painter, const std::vector<QRect> &rects, const QBrush &brush)
{
    painter.setBrush(brush);
    painter.drawRects(rects.data(), int(rects.size()));
}

std::vector<QRect> shrunk(const std::vector<QRect> &squares, int inset)
{
    std::vector<QRect> inner;
    inner.reserve(squares.size());
    for (const QRect &square : squares)
        inner.push_back(square.adjusted(inset, inset, -inset, -inset));
    return inner;
}

// The dot of a near-key pixel: a yellow square with a black rim, centred.
void dots(QPainter &painter, const std::vector<QRect> &squares, int zoom)
{
    if (zoom < ShapesFromZoom) {
        fill(painter, squares, NearColour);
        return;
    }
    const int side = std::max(3, zoom * 5 / 8);
    const int inset = (zoom - side) / 2;
    fill(painter, shrunk(squares, inset), DarkEdge);
    fill(painter, shrunk(squares, inset + 1), NearColour);
}

// Diagonal lines, a black and a white one side by side, with the skin showing between the pairs.
const QImage &hatchTile()
{
    static const QImage tile = [] {
        constexpr int Period = 8;
        QImage image(Period, Period, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        for (int y = 0; y < Period; ++y) {
            image.setPixelColor((Period - y) % Period, y, DarkEdge);
            image.setPixelColor((Period - y + 1) % Period, y, Qt::white);
        }
        return image;
    }();
    return tile;
}

void hatch(QPainter &painter, const std::vector<QRect> &squares)
{
    fill(painter, squares, QBrush(hatchTile()));
}

void frames(QPainter &painter, const std::vector<QRect> &squares, int zoom)
{
    if (zoom < ShapesFromZoom) {
        fill(painter, squares, FringeColour);
        return;
    }
    const int width = std::max(1, (zoom + 2) / 5);
    std::vector<QRect> strips;
    strips.reserve(squares.size() * 4);
    for (const QRect &s : squares) {
        strips.emplace_back(s.left(), s.top(), s.width(), width);
        strips.emplace_back(s.left(), s.bottom() - width + 1, s.width(), width);
        strips.emplace_back(s.left(), s.top() + width, width, s.height() - 2 * width);
        strips.emplace_back(s.right() - width + 1, s.top() + width, width, s.height() - 2 * width);
    }
    fill(painter, strips, FringeColour);
    dots(painter, squares, zoom);
}

} // namespace

void paint(QPainter &painter, KeyMark mark, const std::vector<QRect> &squares, int zoom)
{
    if (squares.empty())
        return;
    painter.save();
    painter.setPen(Qt::NoPen);
    switch (mark) {
    case KeyMark::Kept:
        break;
    case KeyMark::LeftOut:
        hatch(painter, squares);
        break;
    case KeyMark::Near:
        dots(painter, squares, zoom);
        break;
    case KeyMark::Fringe:
        frames(painter, squares, zoom);
        break;
    }
    painter.restore();
}

} // namespace pellwerk::ZoomMarks
