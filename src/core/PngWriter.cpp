#include "PngWriter.h"

#include <QBuffer>

namespace pellwerk {

QByteArray encodePng(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Qt's quality picks the zlib level, (100 - quality) * 9 / 91: 80 is level 1, which makes
    // skins and layers a few per cent larger than the default level and writes them four times
    // as fast (an OpenRaster file holds a dozen of them).
    if (image.isNull() || !image.save(&buffer, "PNG", 80))
        return {};
    return bytes;
}

} // namespace pellwerk
