#include "PictureBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace pellwerk {

PictureBox::PictureBox(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_model = new PictureBoxModel(QSize(0, 0), Colours::Black, false, this);
    connect(m_model, &PictureBoxModel::changed, this, qOverload<>(&QWidget::update));
}

PictureBoxModel &PictureBox::model()
{
    const QSize inner = contentsRect().size();
    if (m_ownModel && m_model->innerSize() != inner)
        m_model->setInnerSize(inner);
    return *m_model;
}

void PictureBox::setModel(PictureBoxModel *model)
{
    if (m_ownModel)
        delete m_model;
    m_model = model;
    m_ownModel = false;
    connect(m_model, &PictureBoxModel::changed, this, qOverload<>(&QWidget::update));
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    const QRect inner = contentsRect();
    p.setClipRect(inner);
    if (model().isPersistent())
        p.drawImage(inner.topLeft(), m_model->drawingImage());
    else
        p.drawImage(inner.topLeft(), m_model->surface());
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    if (m_ownModel)
        m_model->setInnerSize(contentsRect().size());
}

QPoint PictureBox::toPixel(QPointF widgetPos) const
{
    const QRect inner = contentsRect();
    const QPoint pixel(int(std::floor(widgetPos.x())) - inner.left(), int(std::floor(widgetPos.y())) - inner.top());
    // The frame belongs to no pixel: a pointer on it means the nearest edge pixel. Only a pointer
    // beyond the box, while a button held there keeps it captured, gives places off the picture.
    if (!rect().contains(pixel + inner.topLeft()) || inner.isEmpty())
        return pixel;
    return QPoint(std::clamp(pixel.x(), 0, inner.width() - 1), std::clamp(pixel.y(), 0, inner.height() - 1));
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    m_pressedInside = true;
    emit mousePressed(toPixel(event->position()), event->button());
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(toPixel(event->position()), event->buttons());
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_pressedInside;
    m_pressedInside = false;
    if (wasPressed && rect().contains(event->position().toPoint()))
        emit clicked();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_pressedInside = true;
    emit doubleClicked();
    emit mousePressed(toPixel(event->position()), event->button());
}

} // namespace pellwerk
