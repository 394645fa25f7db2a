#include "TestFiles.h"

#include "core/BitmapWriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cstring>
#include <zip.h>

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

QByteArray zipOf(const ZipEntries &entries)
{
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, nullptr);
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, nullptr);
    zip_source_keep(buffer);
    for (const auto &[name, bytes] : entries)
        zip_file_add(archive, name.constData(), zip_source_buffer(archive, bytes.constData(), bytes.size(), 0), 0);
    QByteArray out;
    zip_stat_t stat;
    if (zip_close(archive) == 0 && zip_source_stat(buffer, &stat) == 0 && zip_source_open(buffer) == 0) {
        out.resize(qsizetype(stat.size));
        zip_source_read(buffer, out.data(), stat.size);
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return out;
}

ZipEntries unzip(const QByteArray &archive)
{
    ZipEntries entries;
    zip_source_t *source = zip_source_buffer_create(archive.constData(), archive.size(), 0, nullptr);
    zip_t *zip = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, nullptr);
    for (zip_int64_t i = 0; zip && i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(zip, i, 0, &stat);
        QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
        zip_file_t *file = zip_fopen_index(zip, i, 0);
        zip_fread(file, bytes.data(), stat.size);
        zip_fclose(file);
        entries.append({stat.name, bytes});
    }
    zip ? zip_discard(zip) : zip_source_free(source);
    return entries;
}

} // namespace testsupport
