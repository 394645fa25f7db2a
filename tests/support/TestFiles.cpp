#include "TestFiles.h"

#include "core/BitmapWriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cstring>

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

bool makeFiles(const QString &folder, const QString &names)
{
    if (!QDir().mkpath(folder))
        return false;
    for (const QString &name : names.split(u' ', Qt::SkipEmptyParts))
        if (!writeFile(folder + u'/' + name, {}))
            return false;
    return true;
}

QImage filled(int width, int height, QRgb rgb)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(rgb);
    return img;
}

QImage randomImage(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xFF000000u | random.generate());
    return image;
}

bool sameBits(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.format() != b.format())
        return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.bytesPerLine())) != 0)
            return false;
    return true;
}

bool writeBmp(const QString &path, const QImage &image)
{
    const pellwerk::Result<void> written = pellwerk::writeBitmapFile(image, path);
    if (!written)
        qWarning("could not write %s: %s", qPrintable(path), qPrintable(errorText(written)));
    return written.ok();
}

} // namespace testsupport
