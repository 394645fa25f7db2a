#include "Composer.h"

#include "colour/ColourCorrection.h"
#include "colour/PictureBits.h"
#include "core/BitmapDecoder.h"
#include "core/FileBytes.h"
#include "core/PictureBoxModel.h"
#include "core/SkinDocument.h"
#include "parts/TransparentBlit.h"

#include <algorithm>

namespace pellwerk {

namespace {

Error placed(Error error, int step, const QString &field, const QString &file)
{
    error.step = step;
    error.field = field;
    if (error.file.isEmpty())
        error.file = file;
    return error;
}

// The canvas after "neu" or "öffnen": black, the picture at the top-left, cut to the skin.
QImage canvasWith(const Picture &picture)
{
    PictureBoxModel canvas(QSize(SkinDocument::Size, SkinDocument::Size), Colours::Black, /*persistent*/ true);
    canvas.setPicture(picture);
    return canvas.drawingImage();
}

// What the parts window shows and the colour window makes of it, step by step as they do it.
Result<QImage> previewOf(const QImage &part, Colour transparent, const UserRgb &tint)
{
    PictureBoxModel preview(PartAreaSize, transparent, /*persistent*/ false);
    // Only the top-left 148 x 191 pixels are ever pasted, and the correction works pixel by pixel:
    // cutting first changes no pasted pixel and spares the work on the rest of a large part.
    const QSize shown = part.size().boundedTo(PartAreaSize);
    preview.setPicture(Picture::make(shown == part.size() ? part : part.copy(QRect(QPoint(0, 0), shown))));
    if (tint != UserRgb{}) {
        PixelBufferInfo info;
        PixelBuffer source;
        PixelBuffer target;
        if (const Result<void> read = ReadPictureBits(preview.picture(), info, source, target); !read)
            return read.error();
        CorrectColours(source, target, tint.red, tint.green, tint.blue);
        if (const Result<void> written = WritePictureBits(preview, info.Target); !written)
            return written.error();
    }
    return preview.surface();
}

} // namespace

Composer::Composer(RecipeFolders folders) : m_folders(std::move(folders)), m_cache(std::make_unique<PictureCache>()) {}

Composer::Composer(RecipeFolders folders, QString programFolder) : Composer(std::move(folders))
{
    m_folders.programFolder = std::move(programFolder);
}

Composer::Composer(RecipeFolders folders, QString programFolder, CarriedFiles carried)
    : Composer(std::move(folders), std::move(programFolder))
{
    m_carried = std::move(carried);
}

Result<QString> Composer::find(const QString &written) const
{
    if (QString carried = m_carried.pathOf(written); !carried.isEmpty())
        return carried;
    // A batch asks for the same few paths in every skin: each is looked up (and its folders
    // read) once.
    const std::lock_guard lock(m_foundMutex);
    auto it = m_found.find(written);
    if (it == m_found.end())
        it = m_found.emplace(written, findRecipeFile(written, m_folders)).first;
    return it->second;
}

QString Composer::resolve(const QString &written) const
{
    const Result<QString> found = find(written);
    return found ? found.value() : m_folders.resolver().places(written).first();
}

Result<QByteArray> Composer::fileBytes(const QString &written, qint64 maxBytes) const
{
    const Result<QString> found = find(written);
    if (!found)
        return found.error();
    if (const QByteArray *carried = m_carried.bytesAt(found.value()))
        return carried->size() > maxBytes ? Result<QByteArray>(makeError(ErrorKind::FileTooLarge, found.value()))
                                          : *carried;
    return readFileBytes(found.value(), maxBytes);
}

Result<QImage> Composer::decoded(const QString &resolved) const
{
    const QByteArray *carried = m_carried.bytesAt(resolved);
    if (!carried)
        return m_cache->file(resolved);
    return m_cache->get(QStringLiteral("file:") + resolved, [&]() -> Result<QImage> {
        Result<QImage> image = decodeBitmap(*carried);
        return image ? image : makeError(image.error().kind, resolved, image.error().detail);
    });
}

Result<QImage> Composer::partPicture(const QString &part) const
{
    if (part.isEmpty()) {
        return m_cache->get(QStringLiteral("preview"),
                            []() -> Result<QImage> { return SkinDocument::builtInPreview().image; });
    }
    const Result<QString> found = find(part);
    if (!found)
        return found.error();
    return decoded(found.value());
}

Result<QImage> Composer::base(const CompositionBase &base) const
{
    QString file;
    switch (base.kind) {
    case CompositionBase::Kind::Default:
        return m_cache->get(QStringLiteral("base"),
                            [] { return Result<QImage>(canvasWith(SkinDocument::defaultSkin())); });
    case CompositionBase::Kind::New:
        file = newSkinFile(m_folders.programFolder);
        break;
    case CompositionBase::Kind::File: {
        const Result<QString> found = find(base.file);
        if (!found)
            return placed(found.error(), 0, QStringLiteral("base"), base.file);
        file = found.value();
        break;
    }
    }
    return m_cache->get(QStringLiteral("base:") + file, [&]() -> Result<QImage> {
        Result<QImage> read = decoded(file);
        if (!read)
            return placed(read.error(), 0, QStringLiteral("base"), file);
        return canvasWith(Picture::make(read.value()));
    });
}

Result<QImage> Composer::preview(const PasteStep &step) const
{
    const QString file = step.part.isEmpty() ? QString() : resolve(step.part);
    // Concatenated, not arg()-ed: a file name may itself contain "%1".
    const QString key = QStringLiteral("preview:") + QString::number(step.transparent.value()) + QLatin1Char(':')
                        + QString::number(step.tint.red) + QLatin1Char(',') + QString::number(step.tint.green)
                        + QLatin1Char(',') + QString::number(step.tint.blue) + QLatin1Char(':') + file;
    return m_cache->get(key, [&]() -> Result<QImage> {
        const Result<QImage> part = partPicture(step.part);
        if (!part)
            return part.error();
        Result<QImage> shown = previewOf(part.value(), step.transparent, step.tint);
        if (!shown)
            return makeError(shown.error().kind, file, shown.error().detail);
        return shown;
    });
}

Result<void> checkStepCount(const Composition &composition)
{
    if (qsizetype(composition.steps.size()) <= MaxRecipeSteps)
        return {};
    Error error = makeError(ErrorKind::RecipeTooManySteps, {}, QString::number(composition.steps.size()));
    error.field = QStringLiteral("steps");
    return error;
}

Result<QImage> Composer::compose(const Composition &composition) const
{
    return compose(composition, {});
}

Result<QImage> Composer::compose(const Composition &composition,
                                 const std::function<void(qsizetype, qsizetype)> &progress) const
{
    const Result<QImage> canvas = base(composition.base);
    if (!canvas)
        return canvas.error();
    return composeRest(canvas.value(), composition, 0, progress);
}

Result<QImage> Composer::composeRest(QImage skin, const Composition &composition, size_t pasted,
                                     const std::function<void(qsizetype, qsizetype)> &progress) const
{
    // Often enough for a bar to move smoothly, rarely enough to cost nothing beside a paste.
    constexpr size_t ProgressEvery = 256;
    const auto total = qsizetype(composition.steps.size());
    const Rect32 partRect{0, 0, PartAreaSize.width(), PartAreaSize.height()};
    for (size_t i = pasted; i < composition.steps.size(); ++i) {
        if (progress && i % ProgressEvery == 0)
            progress(qsizetype(i), total);
        const PasteStep &step = composition.steps[i];
        const Result<QImage> shown = preview(step);
        if (!shown)
            return placed(shown.error(), int(i + 1), QStringLiteral("part"),
                          step.part.isEmpty() ? QString() : resolve(step.part));
        TransparentBlit(skin, skin, shown.value(), partRect, step.place.x(), step.place.y(), step.transparent);
    }
    if (progress)
        progress(total, total);
    return skin;
}

} // namespace pellwerk
