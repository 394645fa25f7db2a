#include "PictureBoxModel.h"

#include <QPainter>

namespace pellwerk {

PictureBoxModel::PictureBoxModel(QSize innerSize, Colour backColour, bool persistent, QObject *parent)
    : QObject(parent), m_innerSize(innerSize), m_backColour(backColour), m_persistent(persistent)
{
    if (m_persistent)
        rebuildDrawing();
}

void PictureBoxModel::setInnerSize(QSize size)
{
    if (size == m_innerSize)
        return;
    m_innerSize = size;
    if (m_persistent)
        rebuildDrawing();
    emit changed();
}

void PictureBoxModel::setBackColour(Colour colour)
{
    m_backColour = colour;
    emit changed();
}

void PictureBoxModel::setPicture(Picture picture)
{
    m_picture = std::move(picture);
    if (m_persistent)
        rebuildDrawing();
    emit changed();
}

void PictureBoxModel::setPictureSource(const QString &file, const QImage &part, const UserRgb &tint)
{
    m_picture.file = file;
    m_picture.part = part;
    m_picture.tint = tint;
}

void PictureBoxModel::clearPicture()
{
    setPicture(Picture{});
}

QImage *PictureBoxModel::picturePixelsForUpdate()
{
    if (m_picture.isNull() || !m_picture.directPixels)
        return nullptr;
    return &m_picture.image;
}

void PictureBoxModel::refresh()
{
    emit changed();
}

QImage PictureBoxModel::surface() const
{
    if (m_persistent)
        return m_drawing;
    QImage out(m_innerSize, QImage::Format_RGB32);
    if (out.isNull())
        return out;
    out.fill(m_backColour.toQRgb());
    if (!m_picture.isNull()) {
        QPainter p(&out);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, m_picture.image);
    }
    return out;
}

void PictureBoxModel::rebuildDrawing()
{
    m_drawing = QImage(m_innerSize, QImage::Format_RGB32);
    if (m_drawing.isNull())
        return;
    m_drawing.fill(m_backColour.toQRgb());
    if (!m_picture.isNull()) {
        QPainter p(&m_drawing);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, m_picture.image);
    }
}

} // namespace pellwerk
