#include "TestFiles.h"

#include "core/BitmapWriter.h"

#include <QFile>

namespace testsupport {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QImage filled(int width, int height, QRgb rgb)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(rgb);
    return img;
}

bool writeBmp(const QString &path, const QImage &image)
{
    const pellwerk::Result<void> written = pellwerk::writeBitmapFile(image, path);
    if (!written)
        qWarning("could not write %s: %s", qPrintable(path), qPrintable(errorText(written)));
    return written.ok();
}

} // namespace testsupport
