#pragma once

#include "Colour.h"
#include "Picture.h"

#include <QObject>
#include <QSize>

namespace pellwerk {

// What a picture box shows, without the widget: a back colour, an inner (drawing) size and a
// picture drawn unscaled at the top-left. Its surface is exactly what the box shows.
//
// With a persistent image (the skin canvas) the box keeps an off-screen image of its inner size:
// giving it a picture resets that image to back colour plus picture, and drawing (the transfer)
// goes into it, so pasted pixels stay until the next picture.
class PictureBoxModel : public QObject
{
    Q_OBJECT
public:
    PictureBoxModel(QSize innerSize, Colour backColour, bool persistent, QObject *parent = nullptr);

    QSize innerSize() const { return m_innerSize; }
    void setInnerSize(QSize size);

    Colour backColour() const { return m_backColour; }
    void setBackColour(Colour colour);

    const Picture &picture() const { return m_picture; }
    // Replaces the picture (and, with a persistent image, everything drawn before).
    void setPicture(Picture picture);
    void clearPicture();
    // Says where the current picture's pixels come from (see Picture::file, part and tint).
    void setPictureSource(const QString &file, const QImage &part, const UserRgb &tint);
    // Rewrites the pixels of the current picture without making a new picture object.
    // Only for a picture with directPixels; returns the image to write into, or nullptr.
    QImage *picturePixelsForUpdate();
    // Call after writing through picturePixelsForUpdate() or drawingImage().
    void refresh();

    bool isPersistent() const { return m_persistent; }
    // The persistent image that drawing goes into (only with a persistent image).
    QImage &drawingImage() { return m_drawing; }
    const QImage &drawingImage() const { return m_drawing; }

    // Back colour with the picture at the top-left, cut to the inner size; with a persistent
    // image, the persistent image.
    QImage surface() const;

signals:
    void changed();

private:
    void rebuildDrawing();

    QSize m_innerSize;
    Colour m_backColour;
    bool m_persistent;
    Picture m_picture;
    QImage m_drawing;
};

} // namespace pellwerk
