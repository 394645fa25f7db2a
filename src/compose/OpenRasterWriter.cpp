#include "OpenRasterWriter.h"

#include "Document.h"
#include "OpenRasterFormat.h"
#include "StepName.h"
#include "core/BitmapWriter.h"
#include "core/FileBytes.h"
#include "core/PngWriter.h"
#include "core/SkinDocument.h"

#include <QFileInfo>
#include <QSet>
#include <QXmlStreamWriter>

#include "ZipLibrary.h"

#include <algorithm>
#include <future>
#include <map>
#include <vector>

namespace pellwerk {

using namespace OpenRaster;

namespace {

constexpr QRgb RgbBits = 0x00FFFFFFu;

struct Entry
{
    QString name;
    QByteArray bytes;
    bool deflate; // PNG files are compressed already: storing them costs nothing and saves time
};

// A ramp swap's failure keeps its field "ramp".
Error placed(Error error, int step, const QString &field)
{
    error.step = step;
    if (error.field.isEmpty())
        error.field = field;
    return error;
}

Error writeFailed(const QString &reason)
{
    return makeError(ErrorKind::WriteIncomplete, {}, reason);
}

// The archive built in memory by the zip library, entries in the order given.
Result<QByteArray> zipped(const std::vector<Entry> &entries)
{
    const ZipLibrary *zip = zipLibrary();
    if (!zip)
        return writeFailed(QStringLiteral("%1 nicht geladen").arg(QLatin1String(zipLibraryName())));
    zip_error_t error;
    zip->error_init(&error);
    zip_source_t *buffer = zip->source_buffer_create(nullptr, 0, 0, &error);
    zip_t *archive = buffer ? zip->open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    if (!archive) {
        const QString reason = QString::fromUtf8(zip->error_strerror(&error));
        zip->error_fini(&error);
        zip->source_free(buffer);
        return writeFailed(reason);
    }
    // Closing the archive writes it into the buffer, which must outlive the archive to be read.
    zip->source_keep(buffer);
    const auto fail = [&](const QString &reason) {
        zip->discard(archive);
        zip->source_free(buffer);
        return writeFailed(reason);
    };
    for (const Entry &entry : entries) {
        // The bytes are only referenced: `entries` outlives zip->close().
        zip_source_t *data = zip->source_buffer(archive, entry.bytes.constData(), zip_uint64_t(entry.bytes.size()), 0);
        const zip_int64_t index =
            data ? zip->file_add(archive, entry.name.toUtf8().constData(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            zip->source_free(data);
            return fail(QString::fromUtf8(zip->strerror(archive)));
        }
        // Readers find "mimetype" at a fixed offset only when nothing stands between its header
        // and its bytes: stored, and no extra field. Deflated entries (bitmaps, text) at level 1:
        // on the sample parts the zip library's default level 9 takes almost three times as long
        // for 8 % less.
        if (zip->set_file_compression(archive, zip_uint64_t(index), entry.deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 1)
                < 0
            || zip->file_extra_field_delete(archive, zip_uint64_t(index), ZIP_EXTRA_FIELD_ALL,
                                            ZIP_FL_CENTRAL | ZIP_FL_LOCAL)
                   < 0)
            return fail(QString::fromUtf8(zip->strerror(archive)));
    }
    if (zip->close(archive) < 0)
        return fail(QString::fromUtf8(zip->strerror(archive)));

    QByteArray bytes;
    zip_stat_t stat;
    zip->stat_init(&stat);
    if (zip->source_stat(buffer, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) && zip->source_open(buffer) == 0) {
        bytes.resize(qsizetype(stat.size));
        const zip_int64_t read = zip->source_read(buffer, bytes.data(), stat.size);
        zip->source_close(buffer);
        if (read != zip_int64_t(stat.size))
            bytes.clear();
    }
    zip->source_free(buffer);
    if (bytes.isEmpty())
        return writeFailed(QStringLiteral("zip"));
    return bytes;
}

// Where the writer gets what it writes: the composer, which reads the files a recipe names, or
// an editor's document, which holds the pictures it shows.
class ProjectSource
{
public:
    virtual ~ProjectSource() = default;
    virtual Result<QImage> skin() const = 0;
    virtual Result<QImage> base() const = 0;
    // The step's part as it is pasted: swapped, tinted, mirrored, cut (Composer::preview).
    virtual Result<QImage> prepared(size_t index) const = 0;
    // The file `written` names (a palette when `palette`, looked for where palettes are), once
    // per file whatever the spelling, and its bytes to carry.
    virtual QString identity(const QString &written, bool palette) const = 0;
    virtual Result<QByteArray> bytes(const QString &written, const QString &folder, bool palette) const = 0;
};

class ComposerSource final : public ProjectSource
{
public:
    ComposerSource(const Recipe &recipe, const Composer &composer) : m_recipe(recipe), m_composer(composer) {}
    Result<QImage> skin() const override { return m_composer.compose(m_recipe.composition); }
    Result<QImage> base() const override { return m_composer.base(m_recipe.composition.base); }
    Result<QImage> prepared(size_t index) const override
    {
        return m_composer.preview(m_recipe.composition.steps[index]);
    }
    QString identity(const QString &written, bool palette) const override
    {
        return palette ? m_composer.resolvePalette(written) : m_composer.resolve(written);
    }
    Result<QByteArray> bytes(const QString &written, const QString &, bool palette) const override
    {
        return palette ? m_composer.paletteBytes(written, MaxEntryBytes) : m_composer.fileBytes(written, MaxEntryBytes);
    }

private:
    const Recipe &m_recipe;
    const Composer &m_composer;
};

class DocumentSource final : public ProjectSource
{
public:
    explicit DocumentSource(const Document &document) : m_document(document) {}
    Result<QImage> skin() const override { return m_document.render(); }
    Result<QImage> base() const override { return m_document.baseCanvas(); }
    Result<QImage> prepared(size_t index) const override { return m_document.layerOf(int(index)); }
    QString identity(const QString &written, bool) const override { return written; }
    // The pictures and palettes as the document holds them, so that the project shows what the
    // editor shows even when a file changed or went since it was read.
    Result<QByteArray> bytes(const QString &written, const QString &folder, bool palette) const override
    {
        if (palette && m_document.palettes().contains(written))
            return writePalette(m_document.palettes().value(written));
        if (folder == QLatin1String("base/"))
            return encodeBitmap24(m_document.baseCanvas());
        if (!palette && m_document.parts().contains(written))
            return encodeBitmap24(m_document.parts().picture(written));
        return readFileBytes(written, MaxEntryBytes);
    }

private:
    const Document &m_document;
};

// The project's copy of each file the recipe names, once per file, under a name of its own.
class ProjectCopies
{
public:
    explicit ProjectCopies(const ProjectSource &source, std::vector<Entry> &entries)
        : m_source(source), m_entries(entries)
    {}

    // The path the project's recipe writes for the file `written` names (a palette when
    // `palette`, looked for where palettes are).
    Result<QString> carry(const QString &written, const QString &folder, bool palette = false)
    {
        const QString file = m_source.identity(written, palette);
        if (const auto known = m_names.find(file); known != m_names.end())
            return known->second;
        Result<QByteArray> bytes = m_source.bytes(written, folder, palette);
        if (!bytes)
            return bytes.error();
        const QString name = folder + uniqueName(QFileInfo(file).fileName());
        m_entries.push_back({QLatin1String(ProjectFolder) + name, std::move(bytes).value(), true});
        m_names[file] = name;
        return name;
    }

private:
    // Unique without regard to case, so that the folder can be unpacked anywhere; free of the
    // characters the reader refuses in a name.
    QString uniqueName(QString name)
    {
        name.replace(QLatin1Char('\\'), QLatin1Char('_')).replace(QLatin1Char(':'), QLatin1Char('_'));
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        const QString stem = dot > 0 ? name.left(dot) : name;
        const QString suffix = dot > 0 ? name.mid(dot) : QString();
        QString candidate = name;
        for (int n = 2; m_taken.contains(candidate.toLower()); ++n)
            candidate = stem + QLatin1Char('-') + QString::number(n) + suffix;
        m_taken.insert(candidate.toLower());
        return candidate;
    }

    const ProjectSource &m_source;
    std::vector<Entry> &m_entries;
    std::map<QString, QString> m_names; // resolved file -> name in the project
    QSet<QString> m_taken;
};

void writeLayer(QXmlStreamWriter &xml, const QString &name, const QString &src, QPoint offset, bool visible)
{
    xml.writeEmptyElement(QStringLiteral("layer"));
    xml.writeAttribute(QStringLiteral("name"), name);
    xml.writeAttribute(QStringLiteral("src"), src);
    xml.writeAttribute(QStringLiteral("x"), QString::number(offset.x()));
    xml.writeAttribute(QStringLiteral("y"), QString::number(offset.y()));
    xml.writeAttribute(QStringLiteral("opacity"), QStringLiteral("1.0"));
    xml.writeAttribute(QStringLiteral("composite-op"), QStringLiteral("svg:src-over"));
    xml.writeAttribute(QStringLiteral("visibility"), visible ? QStringLiteral("visible") : QStringLiteral("hidden"));
}

QString mebibytes(qint64 bytes)
{
    return QString::number(bytes / (1024 * 1024)) + QStringLiteral(" MiB");
}

} // namespace

StepLayer stepLayer(const QImage &preview, QPoint place, Colour transparent)
{
    const QImage shown = preview.convertToFormat(QImage::Format_RGB32);
    const qint64 left = std::max<qint64>(place.x(), 0);
    const qint64 top = std::max<qint64>(place.y(), 0);
    const qint64 right =
        std::min<qint64>(qint64(place.x()) + std::min(shown.width(), PartAreaSize.width()), SkinDocument::Size);
    const qint64 bottom =
        std::min<qint64>(qint64(place.y()) + std::min(shown.height(), PartAreaSize.height()), SkinDocument::Size);
    if (right <= left || bottom <= top) {
        QImage nothing(1, 1, QImage::Format_ARGB32);
        nothing.fill(Qt::transparent);
        return {nothing, QPoint(0, 0)};
    }
    QImage layer(int(right - left), int(bottom - top), QImage::Format_ARGB32);
    const QRgb key = transparent.toQRgb() & RgbBits;
    const qint64 fromX = left - place.x();
    for (int y = 0; y < layer.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(shown.constScanLine(int(top - place.y()) + y)) + fromX;
        auto *out = reinterpret_cast<QRgb *>(layer.scanLine(y));
        for (int x = 0; x < layer.width(); ++x) {
            const QRgb rgb = in[x] & RgbBits;
            out[x] = rgb == key ? 0u : rgb | 0xFF000000u;
        }
    }
    return {layer, QPoint(int(left), int(top))};
}

namespace {

Result<QByteArray> writeFrom(const Recipe &recipe, const ProjectSource &source,
                             const std::map<QString, QByteArray> &moreProjectFiles)
{
    const Composition &document = recipe.composition;
    const Result<QImage> skin = source.skin();
    if (!skin)
        return skin.error();
    const Result<QImage> base = source.base();
    if (!base)
        return base.error();

    std::vector<Entry> entries;
    entries.push_back({QLatin1String(MimeEntry), QByteArray(MimeType), false});
    QByteArray stack;
    QXmlStreamWriter xml(&stack);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("image"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("0.0.5"));
    xml.writeAttribute(QStringLiteral("w"), QString::number(SkinDocument::Size));
    xml.writeAttribute(QStringLiteral("h"), QString::number(SkinDocument::Size));
    xml.writeStartElement(QStringLiteral("stack"));
    // Encoding the pictures as PNG is most of the work, and each is independent of the others:
    // they are encoded side by side, in the order their entries take.
    std::vector<std::pair<QString, std::future<QByteArray>>> pictures;
    const auto encode = [&pictures](const QString &name, const QImage &image) {
        pictures.emplace_back(name, std::async(std::launch::async, encodePng, image));
    };
    // The first layer of a stack is its top one: the step painted last.
    for (size_t i = document.steps.size(); i-- > 0;) {
        const PasteStep &step = document.steps[i];
        const Result<QImage> preview = source.prepared(i);
        if (!preview)
            return placed(preview.error(), int(i + 1), QStringLiteral("part"));
        const StepLayer layer = stepLayer(preview.value(), step.place, step.transparent);
        const QString src = QStringLiteral("data/step-%1.png").arg(i + 1);
        encode(src, layer.image);
        writeLayer(xml, stepName(step), src, layer.offset, step.visible);
    }
    encode(QStringLiteral("data/base.png"), base.value());
    writeLayer(xml, baseName(document.base), pictures.back().first, QPoint(0, 0), true);
    xml.writeEndDocument();
    encode(QLatin1String(MergedEntry), skin.value());
    entries.push_back({QLatin1String(StackEntry), stack, true});
    for (auto &[name, png] : pictures) {
        entries.push_back({name, png.get(), false});
        // A picture that could not be encoded would make a file no reader opens.
        if (entries.back().bytes.isEmpty())
            return writeFailed(name);
    }
    // The merged image is at most 256 x 256: it is its own thumbnail.
    entries.insert(entries.end() - 1, {QLatin1String(ThumbnailEntry), entries.back().bytes, false});

    const size_t recipeAt = entries.size();
    entries.push_back({QLatin1String(RecipeEntry), {}, true});
    Recipe project = recipe;
    ProjectCopies copies(source, entries);
    if (project.composition.base.kind == CompositionBase::Kind::File) {
        const Result<QString> name = copies.carry(document.base.file, QStringLiteral("base/"));
        if (!name)
            return placed(name.error(), 0, QStringLiteral("base"));
        project.composition.base.file = name.value();
    }
    for (size_t i = 0; i < project.composition.steps.size(); ++i) {
        PasteStep &step = project.composition.steps[i];
        const std::pair<QString *, QString> files[] = {{&step.part, QStringLiteral("parts/")},
                                                       {&step.ramp.from, QStringLiteral("palettes/")},
                                                       {&step.ramp.to, QStringLiteral("palettes/")}};
        for (const auto &[file, folder] : files) {
            if (file->isEmpty())
                continue;
            const Result<QString> name = copies.carry(*file, folder, file != &step.part);
            if (!name)
                return placed(name.error(), int(i + 1),
                              file == &step.part ? QStringLiteral("part") : QStringLiteral("ramp"));
            *file = name.value();
        }
    }
    entries[recipeAt].bytes = writeRecipe(project);
    for (const auto &[name, bytes] : moreProjectFiles)
        entries.push_back({QLatin1String(ProjectFolder) + name, bytes, true});

    // What readOpenRaster would refuse is not written.
    if (entries.size() > size_t(MaxEntries))
        return makeError(ErrorKind::ArchiveTooManyEntries, {}, QString::number(entries.size()));
    qint64 total = 0;
    for (const Entry &entry : entries) {
        if (entry.bytes.size() > MaxEntryBytes)
            return makeError(ErrorKind::ArchiveEntryTooLarge, {}, entry.name);
        total += entry.bytes.size();
    }
    if (total > MaxUnpackedBytes)
        return makeError(ErrorKind::ArchiveTooLarge, {}, mebibytes(MaxUnpackedBytes));
    return zipped(entries);
}

} // namespace

Result<QByteArray> writeOpenRaster(const Recipe &recipe, const Composer &composer,
                                   const std::map<QString, QByteArray> &moreProjectFiles)
{
    return writeFrom(recipe, ComposerSource(recipe, composer), moreProjectFiles);
}

Result<QByteArray> writeOpenRaster(const Document &document, Colour transparent)
{
    return writeFrom(Recipe{transparent, document.composition()}, DocumentSource(document), {});
}

} // namespace pellwerk
