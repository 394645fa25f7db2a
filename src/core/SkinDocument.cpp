#include "SkinDocument.h"

#include "BitmapDecoder.h"
#include "BitmapWriter.h"

#include <QFile>

namespace pellwerk::SkinDocument {

Result<void> open(PictureBoxModel &canvas, const QString &path)
{
    Result<QImage> read = readBitmapFile(path);
    if (!read)
        return read.error();
    canvas.setPicture(Picture::make(std::move(read).value()));
    return {};
}

Result<void> save(const PictureBoxModel &canvas, const QString &path)
{
    // The file holds exactly what the canvas shows: its inner area, top-left anchored.
    return writeBitmapFile(canvas.surface().copy(0, 0, Size, Size), path);
}

namespace {
// Pictures compiled into the program; a missing one leaves its box on its back colour.
Picture builtInPicture(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return Picture{};
    Result<QImage> read = decodeBitmap(file.readAll());
    return read ? Picture::make(std::move(read).value()) : Picture{};
}
} // namespace

Picture defaultSkin()
{
    return builtInPicture(QStringLiteral(":/DefaultSkin.bmp"));
}

Picture builtInPreview()
{
    return builtInPicture(QStringLiteral(":/PreviewShoe.bmp"));
}

} // namespace pellwerk::SkinDocument
