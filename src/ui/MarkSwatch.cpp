#include "MarkSwatch.h"

#include "ZoomMarks.h"

#include <QPainter>

namespace pellwerk {

namespace {
// The zoom the sample is drawn at: large enough for every shape of the marks.
constexpr int SampleZoom = 10;
} // namespace

MarkSwatch::MarkSwatch(QWidget *parent) : QWidget(parent)
{
    setFixedSize(sizeHint());
}

void MarkSwatch::setMark(KeyMark mark)
{
    m_mark = mark;
    update();
}

QSize MarkSwatch::sizeHint() const
{
    return {2 * SampleZoom, 2 * SampleZoom};
}

void MarkSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    std::vector<QRect> squares;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            const QRect square(x * SampleZoom, y * SampleZoom, SampleZoom, SampleZoom);
            painter.fillRect(square, x == y ? QColor(230, 230, 230) : QColor(40, 40, 40));
            squares.push_back(square);
        }
    }
    ZoomMarks::paint(painter, m_mark, squares, SampleZoom);
}

} // namespace pellwerk
