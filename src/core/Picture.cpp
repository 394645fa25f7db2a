#include "Picture.h"

#include <atomic>

namespace pellwerk {

Picture Picture::make(QImage image, bool directPixels)
{
    static std::atomic<quint64> next{1};
    Picture p;
    p.image = image.isNull() || image.format() == QImage::Format_RGB32 ? std::move(image)
                                                                       : image.convertToFormat(QImage::Format_RGB32);
    p.directPixels = directPixels;
    p.serial = next++;
    return p;
}

} // namespace pellwerk
