#pragma once

#include "UserRgb.h"

#include <QImage>
#include <QString>
#include <QtGlobal>

namespace pellwerk {

// A picture object as a picture box holds it. `serial` tells picture objects apart: a new
// picture gets a new serial, an in-place update of the pixels keeps it.
struct Picture
{
    QImage image;              // Format_RGB32
    bool directPixels = false; // made from a pixel buffer: its pixels may be rewritten in place
    quint64 serial = 0;
    // Where the pixels come from, so that a paste of them can be written down: the part file they
    // were read from (empty for a built-in picture) and what the knobs have added to them since.
    QString file;
    UserRgb tint;

    bool isNull() const { return image.isNull(); }
    static Picture make(QImage image, bool directPixels = false);
};

} // namespace pellwerk
