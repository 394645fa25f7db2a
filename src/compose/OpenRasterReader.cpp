#include "OpenRasterReader.h"

#include "OpenRasterFormat.h"
#include "ZipLibrary.h"
#include "core/FileBytes.h"
#include "core/SkinDocument.h"

#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>
#include <optional>

namespace pellwerk {

using namespace OpenRaster;

namespace {

constexpr char PngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr qsizetype PngSignatureSize = 8;

Error archiveError(ErrorKind kind, const QString &detail = {})
{
    return makeError(kind, {}, detail);
}

QString mebibytes(qint64 bytes)
{
    return QString::number(bytes / (1024 * 1024)) + QStringLiteral(" MiB");
}

// Nothing is unpacked to the disk, but a name is also shown to users and may be handed to
// programs that do unpack: one that could climb out of a folder or mean another drive is refused.
bool safeName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || (name.size() >= 2 && name.at(1) == QLatin1Char(':')))
        return false;
    const QStringList parts = name.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral(".."));
}

bool isPng(const QByteArray &bytes)
{
    return bytes.startsWith(QByteArrayView(PngSignature, PngSignatureSize));
}

// An archive over bytes the caller keeps alive, its entries by name, and a count of what has
// been unpacked so far.
class Archive
{
public:
    explicit Archive(QByteArrayView bytes) : m_lib(zipLibrary())
    {
        if (!m_lib) {
            m_reason = QStringLiteral("%1 nicht geladen").arg(QLatin1String(zipLibraryName()));
            return;
        }
        zip_error_t error;
        m_lib->error_init(&error);
        zip_source_t *source = m_lib->source_buffer_create(bytes.data(), zip_uint64_t(bytes.size()), 0, &error);
        m_zip = source ? m_lib->open_from_source(source, ZIP_RDONLY, &error) : nullptr;
        if (!m_zip) {
            m_reason = QString::fromUtf8(m_lib->error_strerror(&error));
            m_lib->source_free(source);
        }
        m_lib->error_fini(&error);
    }
    ~Archive()
    {
        if (m_zip)
            m_lib->discard(m_zip);
    }
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;

    Result<void> open()
    {
        if (!m_zip)
            return archiveError(ErrorKind::ArchiveDamaged, m_reason);
        const zip_int64_t count = m_lib->get_num_entries(m_zip, 0);
        if (count > MaxEntries)
            return archiveError(ErrorKind::ArchiveTooManyEntries, QString::number(count));
        for (zip_int64_t i = 0; i < count; ++i) {
            const char *raw = m_lib->get_name(m_zip, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
            if (!raw)
                return archiveError(ErrorKind::ArchiveDamaged, QString::fromUtf8(m_lib->strerror(m_zip)));
            const QString name = QString::fromUtf8(raw);
            if (!safeName(name))
                return archiveError(ErrorKind::ArchiveBadEntryName, name);
            if (!m_entries.emplace(name, zip_uint64_t(i)).second)
                return archiveError(ErrorKind::ArchiveDuplicateEntry, name);
        }
        return {};
    }

    bool has(const QString &name) const { return m_entries.count(name) != 0; }
    const std::map<QString, zip_uint64_t> &entries() const { return m_entries; }

    // The entry unpacked, or only its first `wanted` bytes. The sizes the archive states are not
    // trusted: the bytes are counted as they come.
    Result<QByteArray> read(const QString &name, std::optional<qint64> wanted = std::nullopt)
    {
        const auto found = m_entries.find(name);
        if (found == m_entries.end())
            return archiveError(ErrorKind::ArchiveEntryMissing, name);
        zip_file_t *file = m_lib->fopen_index(m_zip, found->second, 0);
        if (!file)
            return archiveError(ErrorKind::ArchiveEntryDamaged, name);
        QByteArray bytes;
        char chunk[64 * 1024];
        std::optional<Error> error;
        while (!wanted || bytes.size() < *wanted) {
            const qint64 request = wanted ? std::min<qint64>(*wanted - bytes.size(), sizeof chunk) : sizeof chunk;
            const zip_int64_t n = m_lib->fread(file, chunk, zip_uint64_t(request));
            if (n == 0)
                break;
            if (n < 0)
                error = archiveError(ErrorKind::ArchiveEntryDamaged, name);
            else if (bytes.size() + n > MaxEntryBytes)
                error = archiveError(ErrorKind::ArchiveEntryTooLarge, name);
            else if (m_unpacked + bytes.size() + n > MaxUnpackedBytes)
                error = archiveError(ErrorKind::ArchiveTooLarge, mebibytes(MaxUnpackedBytes));
            if (error)
                break;
            bytes.append(chunk, qsizetype(n));
        }
        m_lib->fclose(file);
        if (error)
            return *error;
        m_unpacked += bytes.size();
        return bytes;
    }

private:
    const ZipLibrary *m_lib;
    zip_t *m_zip = nullptr;
    QString m_reason;
    std::map<QString, zip_uint64_t> m_entries;
    qint64 m_unpacked = 0;
};

// A number as stack.xml writes it, cut for a message.
QString shown(QStringView text)
{
    return text.size() > 20 ? text.left(20).toString() + QStringLiteral("…") : text.toString();
}

// The src of every layer, each once, in the order of the file.
Result<QStringList> layerSources(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    QStringList sources;
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // Stopped before any entity it declares could be used, and nothing outside is fetched.
            return archiveError(ErrorKind::StackDoctype);
        case QXmlStreamReader::StartElement:
            if (depth == 0) {
                if (reader.name() != QLatin1String("image"))
                    return archiveError(ErrorKind::StackInvalid, QStringLiteral("image"));
                const QStringView w = reader.attributes().value(QLatin1String("w"));
                const QStringView h = reader.attributes().value(QLatin1String("h"));
                bool wOk = false;
                bool hOk = false;
                const int width = w.toInt(&wOk);
                const int height = h.toInt(&hOk);
                if (!wOk || !hOk || width < 1 || height < 1 || width > MaxImageSide || height > MaxImageSide)
                    return archiveError(ErrorKind::StackImageSize, shown(w) + QStringLiteral(" × ") + shown(h));
            } else if (reader.name() == QLatin1String("layer")) {
                const QString src = reader.attributes().value(QLatin1String("src")).toString();
                if (src.isEmpty())
                    return archiveError(ErrorKind::StackInvalid, QStringLiteral("src"));
                if (!sources.contains(src))
                    sources << src;
            }
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        return archiveError(ErrorKind::StackSyntax, QString::number(reader.lineNumber()));
    return sources;
}

// Another program's picture: a PNG of exactly the skin's size, checked in its header before
// anything is decoded.
Result<QImage> mergedImage(const QByteArray &png)
{
    const QString name = QLatin1String(MergedEntry);
    if (!isPng(png) || png.size() < 24 || png.mid(12, 4) != "IHDR")
        return archiveError(ErrorKind::LayerNotPng, name);
    const auto bigEndian = [&png](int at) {
        return quint32(quint8(png[at])) << 24 | quint32(quint8(png[at + 1])) << 16 | quint32(quint8(png[at + 2])) << 8
               | quint32(quint8(png[at + 3]));
    };
    const quint32 width = bigEndian(16);
    const quint32 height = bigEndian(20);
    if (width != quint32(SkinDocument::Size) || height != quint32(SkinDocument::Size))
        return archiveError(ErrorKind::MergedImageSize, QStringLiteral("%1 × %2").arg(width).arg(height));
    const QImage image = QImage::fromData(png, "PNG");
    if (image.size() != QSize(SkinDocument::Size, SkinDocument::Size))
        return archiveError(ErrorKind::ArchiveEntryDamaged, name);
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

Result<OpenRasterContent> readOpenRaster(QByteArrayView bytes)
{
    if (bytes.size() > MaxFileBytes)
        return archiveError(ErrorKind::ArchiveTooLarge, mebibytes(MaxFileBytes));
    Archive archive(bytes);
    if (const Result<void> opened = archive.open(); !opened)
        return opened.error();

    const QString mimeEntry = QLatin1String(MimeEntry);
    if (!archive.has(mimeEntry))
        return archiveError(ErrorKind::ArchiveNotOpenRaster);
    const Result<QByteArray> mime = archive.read(mimeEntry, sizeof MimeType);
    if (!mime)
        return mime.error();
    if (mime.value() != MimeType)
        return archiveError(ErrorKind::ArchiveNotOpenRaster);

    const Result<QByteArray> stack = archive.read(QLatin1String(StackEntry));
    if (!stack)
        return stack.error();
    const Result<QStringList> sources = layerSources(stack.value());
    if (!sources)
        return sources.error();
    for (const QString &src : sources.value()) {
        const Result<QByteArray> start = archive.read(src, PngSignatureSize);
        if (!start)
            return start.error();
        if (!isPng(start.value()))
            return archiveError(ErrorKind::LayerNotPng, src);
    }
    const QString mergedEntry = QLatin1String(MergedEntry);
    if (!archive.has(mergedEntry))
        return archiveError(ErrorKind::ArchiveEntryMissing, mergedEntry);

    OpenRasterContent content;
    const QString recipeEntry = QLatin1String(RecipeEntry);
    if (!archive.has(recipeEntry)) {
        const Result<QByteArray> png = archive.read(mergedEntry);
        if (!png)
            return png.error();
        Result<QImage> merged = mergedImage(png.value());
        if (!merged)
            return merged.error();
        content.merged = std::move(merged).value();
        return content;
    }

    content.isProject = true;
    const QString folder = QLatin1String(ProjectFolder);
    for (const auto &[name, index] : archive.entries()) {
        if (!name.startsWith(folder) || name.endsWith(QLatin1Char('/')))
            continue;
        Result<QByteArray> entry = archive.read(name);
        if (!entry)
            return entry.error();
        if (name == recipeEntry)
            content.recipe = std::move(entry).value();
        else
            content.files.emplace(name.mid(folder.size()), std::move(entry).value());
    }
    return content;
}

Result<OpenRasterContent> readOpenRasterFile(const QString &path)
{
    const Result<QByteArray> bytes = readFileBytes(path, MaxFileBytes);
    if (!bytes)
        return bytes.error();
    Result<OpenRasterContent> content = readOpenRaster(bytes.value());
    if (!content)
        return makeError(content.error().kind, path, content.error().detail);
    return content;
}

Result<Project> projectOf(OpenRasterContent content, const QString &path)
{
    if (!content.isProject)
        return makeError(ErrorKind::ArchiveNotProject, path);
    Result<Recipe> recipe = readRecipe(content.recipe);
    if (!recipe)
        return recipe.error();
    return Project{std::move(recipe).value(), CarriedFiles{path, std::move(content.files)}};
}

Result<Project> readProjectFile(const QString &path)
{
    Result<OpenRasterContent> content = readOpenRasterFile(path);
    if (!content)
        return content.error();
    return projectOf(std::move(content).value(), path);
}

} // namespace pellwerk
