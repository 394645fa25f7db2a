#include "SkinDocument.h"

#include "BitmapDecoder.h"
#include "BitmapWriter.h"

#include <QDir>
#include <QFile>

namespace pellwerk::SkinDocument {

std::optional<QString> open(PictureBoxModel &canvas, const QString &path)
{
    BitmapResult read = readBitmapFile(path);
    if (!read.ok())
        return QStringLiteral("Der Skin „%1“ kann nicht geöffnet werden.\n%2")
            .arg(QDir::toNativeSeparators(path), read.error);
    canvas.setPicture(Picture::make(std::move(read.image)));
    return std::nullopt;
}

std::optional<QString> save(const PictureBoxModel &canvas, const QString &path)
{
    // The file holds exactly what the canvas shows: its inner area, top-left anchored.
    const QImage shown = canvas.surface().copy(0, 0, Size, Size);
    const WriteResult written = writeBitmapFile(shown, path);
    if (!written.ok)
        return QStringLiteral("Der Skin konnte nicht als „%1“ gespeichert werden.\n%2")
            .arg(QDir::toNativeSeparators(path), written.error);
    return std::nullopt;
}

namespace {
// Pictures compiled into the program; a missing one leaves its box on its back colour.
Picture builtInPicture(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return Picture{};
    BitmapResult read = decodeBitmap(file.readAll());
    return read.ok() ? Picture::make(std::move(read.image)) : Picture{};
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
