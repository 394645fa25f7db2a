#include "Icons.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace pellwerk::assets {

QByteArray renderIconPng(const QByteArray &svg, int size)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // The PNG's resolution field would otherwise follow the screen of whoever runs the generator.
    constexpr int kDotsPerMetre = 3780; // 96 dpi
    image.setDotsPerMeterX(kDotsPerMetre);
    image.setDotsPerMeterY(kDotsPerMetre);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    renderer.render(&p, QRectF(0, 0, size, size));
    p.end();

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG"))
        return {};
    return bytes;
}

} // namespace pellwerk::assets
