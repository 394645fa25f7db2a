#include "Composer.h"

#include "OpenRasterReader.h"
#include "StepRender.h"
#include "core/BitmapDecoder.h"
#include "core/FileBytes.h"
#include "core/SkinDocument.h"

namespace pellwerk {

namespace {

// A ramp swap's error keeps its own field: it is the palette, not the part, that failed.
Error placed(Error error, int step, const QString &field, const QString &file)
{
    error.step = step;
    if (error.field.isEmpty())
        error.field = field;
    if (error.file.isEmpty())
        error.file = file;
    return error;
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

Result<QString> Composer::lookUp(std::map<QString, Result<QString>> &found, const QString &written,
                                 const RecipeFolders &folders) const
{
    if (QString carried = m_carried.pathOf(written); !carried.isEmpty())
        return carried;
    // A batch asks for the same few paths in every skin: each is looked up (and its folders
    // read) once.
    const std::lock_guard lock(m_foundMutex);
    auto it = found.find(written);
    if (it == found.end())
        it = found.emplace(written, findRecipeFile(written, folders)).first;
    return it->second;
}

Result<QString> Composer::find(const QString &written) const
{
    return lookUp(m_found, written, m_folders);
}

QString Composer::resolve(const QString &written) const
{
    const Result<QString> found = find(written);
    return found ? found.value() : m_folders.resolver().places(written).first();
}

Result<QByteArray> Composer::fileBytes(const QString &written, qint64 maxBytes) const
{
    return bytesOf(find(written), maxBytes);
}

Result<QString> Composer::findPalette(const QString &written) const
{
    return lookUp(m_foundPalettes, written, m_folders.forPalettes());
}

QString Composer::resolvePalette(const QString &written) const
{
    const Result<QString> found = findPalette(written);
    return found ? found.value() : m_folders.forPalettes().resolver().places(written).first();
}

Result<QByteArray> Composer::paletteBytes(const QString &written, qint64 maxBytes) const
{
    return bytesOf(findPalette(written), maxBytes);
}

Result<Palette> Composer::palette(const QString &written) const
{
    const Result<QString> found = findPalette(written);
    Result<Palette> read = [&]() -> Result<Palette> {
        if (!found)
            return found.error();
        const std::lock_guard lock(m_rampMutex);
        auto it = m_palettes.find(found.value());
        if (it == m_palettes.end()) {
            const QByteArray *carried = m_carried.bytesAt(found.value());
            it = m_palettes
                     .emplace(found.value(),
                              carried ? parsePalette(*carried, found.value()) : readPaletteFile(found.value()))
                     .first;
        }
        return it->second;
    }();
    if (!read) {
        Error error = read.error();
        error.field = QStringLiteral("ramp");
        return error;
    }
    return read;
}

Result<RampMap> Composer::ramp(const RampSwap &swap) const
{
    if (swap.isNone())
        return RampMap();
    const Result<Palette> from = palette(swap.from);
    if (!from)
        return from.error();
    const Result<Palette> to = palette(swap.to);
    if (!to)
        return to.error();
    const std::lock_guard lock(m_rampMutex);
    const auto key = std::make_pair(resolvePalette(swap.from), resolvePalette(swap.to));
    auto it = m_ramps.find(key);
    if (it == m_ramps.end()) {
        Result<RampMap> made = RampMap::make(from.value(), to.value());
        if (!made) {
            Error error = made.error();
            error.field = QStringLiteral("ramp");
            error.file = key.second; // the palette that does not fit the one named first
            made = error;
        }
        it = m_ramps.emplace(key, std::move(made)).first;
    }
    return it->second;
}

Result<QByteArray> Composer::bytesOf(const Result<QString> &found, qint64 maxBytes) const
{
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

Result<QImage> Composer::mergedPicture(const QString &resolved) const
{
    // Another program's OpenRaster picture serves as a base as the editor opens it: its merged
    // image, which must be 256 x 256.
    const QByteArray *carried = m_carried.bytesAt(resolved);
    Result<OpenRasterContent> read = carried ? readOpenRaster(*carried) : readOpenRasterFile(resolved);
    if (!read)
        return makeError(read.error().kind, resolved, read.error().detail);
    if (read->isProject)
        return makeError(ErrorKind::ArchiveIsProject, resolved);
    return read->merged;
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
                            [] { return Result<QImage>(baseCanvas(SkinDocument::defaultSkin().image)); });
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
        Result<QImage> read =
            file.endsWith(QLatin1String(".ora"), Qt::CaseInsensitive) ? mergedPicture(file) : decoded(file);
        if (!read)
            return placed(read.error(), 0, QStringLiteral("base"), file);
        return baseCanvas(read.value());
    });
}

Result<QImage> Composer::preview(const PasteStep &step) const
{
    const QString file = step.part.isEmpty() ? QString() : resolve(step.part);
    // Concatenated, not arg()-ed: a file name may itself contain "%1".
    // The palettes' paths go last, split by a line break, which no file a user picks is named with.
    const QString palettes = step.ramp.isNone() ? QString()
                                                : QStringLiteral(":ramp:") + resolvePalette(step.ramp.from)
                                                      + QLatin1Char('\n') + resolvePalette(step.ramp.to);
    const QString key = QStringLiteral("layer:") + QString::number(step.tint.red) + QLatin1Char(',')
                        + QString::number(step.tint.green) + QLatin1Char(',') + QString::number(step.tint.blue)
                        + (step.mirrored ? QStringLiteral(":mirrored:") : QStringLiteral(":")) + file + palettes;
    return m_cache->get(key, [&]() -> Result<QImage> {
        const Result<QImage> part = partPicture(step.part);
        if (!part)
            return part.error();
        const Result<RampMap> map = ramp(step.ramp);
        if (!map)
            return map.error();
        return stepLayer(part.value(), step, map.value());
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
    const std::vector<PasteStep> &steps = composition.steps;
    const auto partError = [&](const Error &error, size_t i) {
        return placed(error, int(i + 1), QStringLiteral("part"), steps[i].part.isEmpty() ? QString() : resolve(steps[i].part));
    };
    StepSource source;
    source.layerOf = [&](size_t i) -> Result<QImage> {
        Result<QImage> layer = preview(steps[i]);
        if (!layer)
            return partError(layer.error(), i);
        return layer;
    };
    source.checkHidden = [&](size_t i) -> Result<void> {
        if (const Result<QImage> part = partPicture(steps[i].part); !part)
            return partError(part.error(), i);
        if (const Result<RampMap> map = ramp(steps[i].ramp); !map)
            return placed(map.error(), int(i + 1), QStringLiteral("ramp"), {});
        return {};
    };
    source.progress = progress;
    return renderSkin(std::move(skin), steps, source, pasted);
}

Result<Document> Composer::document(const Composition &composition,
                                    const std::function<void(qsizetype, qsizetype)> &progress) const
{
    constexpr size_t ProgressEvery = 256;
    const auto total = qsizetype(composition.steps.size());
    const Result<QImage> canvas = base(composition.base);
    if (!canvas)
        return canvas.error();
    CompositionBase resolvedBase = composition.base;
    if (resolvedBase.kind == CompositionBase::Kind::File)
        resolvedBase.file = resolve(resolvedBase.file);
    Document document(resolvedBase, canvas.value());
    for (size_t i = 0; i < composition.steps.size(); ++i) {
        if (progress && i % ProgressEvery == 0)
            progress(qsizetype(i), total);
        PasteStep step = composition.steps[i];
        const Result<QImage> part = partPicture(step.part);
        if (!step.part.isEmpty())
            step.part = resolve(step.part);
        if (!part)
            return placed(part.error(), int(i + 1), QStringLiteral("part"), step.part);
        if (!step.ramp.isNone()) {
            // The document holds the palettes by their files, as the editor names them.
            if (const Result<RampMap> map = ramp(step.ramp); !map)
                return placed(map.error(), int(i + 1), QStringLiteral("ramp"), {});
            for (QString *path : {&step.ramp.from, &step.ramp.to}) {
                document.addPalette(resolvePalette(*path), palette(*path).value());
                *path = resolvePalette(*path);
            }
        }
        document.append(std::move(step), part.value());
    }
    if (progress)
        progress(total, total);
    return document;
}

} // namespace pellwerk
