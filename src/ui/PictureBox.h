#pragma once

#include "core/PictureBoxModel.h"

#include <QFrame>
#include <QPoint>

namespace pellwerk {

// A picture box: a sunken 2-pixel frame around an inner area that shows a PictureBoxModel.
// Mouse positions are reported in inner-area pixels (0, 0 is the top-left inner pixel); a
// pointer on the frame counts as the nearest edge pixel. While a button is held the box keeps
// receiving moves beyond itself, and those positions may lie off the picture.
class PictureBox : public QFrame
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    // The model. The box's own model keeps its inner size equal to the box's inner area (also
    // while the box is hidden, when Qt holds the resize events back).
    PictureBoxModel &model();
    const PictureBoxModel &model() const { return const_cast<PictureBox *>(this)->model(); }

    // Shows a model that someone else owns (the skin canvas) instead of the box's own; it keeps
    // its own inner size. It must outlive the box.
    void setModel(PictureBoxModel *model);

signals:
    void mousePressed(QPoint pixel, Qt::MouseButton button);
    void mouseMoved(QPoint pixel, Qt::MouseButtons buttons);
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPoint toPixel(QPointF widgetPos) const;
    PictureBoxModel *m_model = nullptr;
    bool m_ownModel = true;
    bool m_pressedInside = false;
};

} // namespace pellwerk
