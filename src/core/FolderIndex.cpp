#include "FolderIndex.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <future>
#include <mutex>
#include <utility>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace pellwerk {

namespace {

// The order of two runs of UTF-16 units, unit by unit as QString compares: -1, 0 or 1.
int compareUnits(std::u16string_view a, std::u16string_view b)
{
    const size_t common = std::min(a.size(), b.size());
    size_t i = 0;
    // Names of one library share long beginnings: skip them four units at a time.
    for (; i + 4 <= common; i += 4) {
        quint64 x;
        quint64 y;
        std::memcpy(&x, a.data() + i, sizeof x);
        std::memcpy(&y, b.data() + i, sizeof y);
        if (x != y)
            break;
    }
    for (; i < common; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// How QString::compare orders names without regard to letter case, then by exact spelling: the
// folded units, then the units as read. (Lone surrogates, which the folding turns into U+FFFD,
// are the only difference; decoded file names hold none.)
bool before(std::u16string_view foldedA, std::u16string_view nameA, std::u16string_view foldedB,
            std::u16string_view nameB)
{
    const int folded = compareUnits(foldedA, foldedB);
    return folded != 0 ? folded < 0 : compareUnits(nameA, nameB) < 0;
}

} // namespace

void FolderIndex::addName(QStringView name, quint32 folder)
{
    const auto nameStart = quint32(m_names.size());
    m_names.append(name.utf16(), size_t(name.size()));
    const auto foldedStart = quint32(m_folded.size());
    FileNamePattern::foldName(name, m_folded);
    m_entries.push_back({nameStart, quint32(name.size()), foldedStart, quint32(m_folded.size()) - foldedStart, folder});
}

void FolderIndex::addFilesOf(const QString &folder, quint32 position)
{
#ifdef Q_OS_UNIX
    // The names QDir::entryList(QDir::Files) gives, read directly with the entry's type from the
    // directory where the file system tells it: QDir asks for every entry's details and builds a
    // string for each, six times as slow for a large folder.
    const QByteArray native = QFile::encodeName(folder);
    DIR *dir = ::opendir(native.constData());
    if (!dir)
        return;
    // A folder's size in bytes is at least that of its names on most file systems: room reserved
    // (not yet touched) for that many saves copying the buffers as they grow.
    if (struct stat folderStat; ::fstat(::dirfd(dir), &folderStat) == 0 && folderStat.st_size > 0) {
        const auto bytes = size_t(std::min<off_t>(folderStat.st_size, off_t(1) << 26));
        m_names.reserve(m_names.size() + bytes);
        m_folded.reserve(m_folded.size() + bytes);
        m_entries.reserve(m_entries.size() + bytes / 12);
    }
    QStringDecoder decode(QStringDecoder::System, QStringDecoder::Flag::Stateless);
    char16_t decoded[2 * 256];
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        bool file = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat target;
            file = ::fstatat(::dirfd(dir), entry->d_name, &target, 0) == 0 && S_ISREG(target.st_mode);
        }
        if (!file)
            continue;
        // Decoded as QFile::decodeName does; ASCII, the usual case, by widening each byte.
        const QByteArrayView name(entry->d_name);
        qsizetype ascii = 0;
        for (; ascii < name.size() && ascii < qsizetype(std::size(decoded)) && quint8(name[ascii]) < 0x80; ++ascii)
            decoded[ascii] = char16_t(name[ascii]);
        if (ascii == name.size()) {
            addName(QStringView(decoded, ascii), position);
        } else if (decode.requiredSpace(name.size()) <= qsizetype(std::size(decoded))) {
            auto *out = reinterpret_cast<QChar *>(decoded);
            addName(QStringView(out, decode.appendToBuffer(out, name)), position);
        } else {
            addName(QFile::decodeName(name.toByteArray()), position);
        }
    }
    ::closedir(dir);
#else
    for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::NoSort))
        addName(name, position);
#endif
}

namespace {

struct ReadAhead
{
    std::mutex lock;
    QStringList folders;
    std::future<FolderIndex> result;
};

ReadAhead &readAheadSlot()
{
    static ReadAhead slot;
    return slot;
}

} // namespace

void FolderIndex::readAhead(const QStringList &folders)
{
    std::future<FolderIndex> started = std::async(std::launch::async, [folders] { return readNow(folders); });
    ReadAhead &slot = readAheadSlot();
    // Declared before the lock so that it ends after it: a replaced read still running is waited
    // for without holding up a reader.
    std::future<FolderIndex> replaced;
    const std::lock_guard hold(slot.lock);
    slot.folders = folders;
    replaced = std::exchange(slot.result, std::move(started));
}

std::optional<FolderIndex> FolderIndex::takeReadAhead(const QStringList &folders)
{
    ReadAhead &slot = readAheadSlot();
    std::future<FolderIndex> result;
    {
        const std::lock_guard hold(slot.lock);
        if (!slot.result.valid() || slot.folders != folders)
            return std::nullopt;
        result = std::move(slot.result);
        slot.folders.clear();
    }
    return result.get();
}

FolderIndex FolderIndex::read(const QStringList &folders)
{
    // Names read ahead are as good as names read now while no folder's time has moved since. A
    // folder changed just before may yet change within the same tick of its clock; the index
    // keeps the time of its own read, so such a read still never counts as current (isCurrent)
    // and the lists read again at their next change of pattern, as after any read.
    if (std::optional<FolderIndex> ahead = takeReadAhead(folders); ahead && ahead->stampsUnchanged())
        return std::move(*ahead);
    return readNow(folders);
}

FolderIndex FolderIndex::readNow(const QStringList &folders)
{
    FolderIndex index;
    for (const QString &folder : folders) {
        // QDir("") would be the working directory, and the system would read a name with a NUL
        // only up to it: another folder. Neither names a folder.
        if (!folder.isEmpty() && !folder.contains(QChar(0)))
            index.m_folders << folder;
    }
    if (index.m_folders.isEmpty())
        return index;

    // The stamps are taken before the names, so that a change while reading counts as a change.
    index.m_readAt = std::filesystem::file_time_type::clock::now();
    for (const QString &folder : std::as_const(index.m_folders))
        index.m_stamps.push_back(stampOf(folder));
    for (qsizetype i = 0; i < index.m_folders.size(); ++i)
        index.addFilesOf(index.m_folders[i], quint32(i));

    std::vector<Entry> &entries = index.m_entries;
    const auto nameOf = [&index](const Entry &e) {
        return std::u16string_view(index.m_names.data() + e.nameStart, e.nameSize);
    };
    std::sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
        return before(index.folded(a), nameOf(a), index.folded(b), nameOf(b));
    });

    // Equal names in the folding sense stand side by side now; only those of the first folder in
    // the search order that has the name stay.
    size_t kept = 0;
    for (size_t run = 0; run < entries.size();) {
        size_t end = run + 1;
        quint32 first = entries[run].folder;
        for (; end < entries.size() && index.folded(entries[end]) == index.folded(entries[run]); ++end)
            first = std::min(first, entries[end].folder);
        for (size_t i = run; i < end; ++i) {
            if (entries[i].folder == first)
                entries[kept++] = entries[i];
        }
        run = end;
    }
    entries.resize(kept);
    return index;
}

QStringView FolderIndex::name(qsizetype i) const
{
    const Entry &e = m_entries[size_t(i)];
    return QStringView(m_names.data() + e.nameStart, e.nameSize);
}

std::vector<int> FolderIndex::matching(const FileNamePattern &pattern) const
{
    std::vector<int> positions;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (pattern.matchesFolded(folded(m_entries[i])))
            positions.push_back(int(i));
    }
    return positions;
}

QStringList FolderIndex::names(const FileNamePattern &pattern) const
{
    QStringList out;
    for (const int i : matching(pattern))
        out.append(name(i).toString());
    return out;
}

qsizetype FolderIndex::positionOf(QStringView name) const
{
    std::u16string key;
    FileNamePattern::foldName(name, key);
    return firstFolded(key);
}

qsizetype FolderIndex::firstFolded(std::u16string_view key) const
{
    // Sorted by folded name first: the first entry not before the key starts the run of the name.
    const auto found = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                        [&](const Entry &e, auto k) { return compareUnits(folded(e), k) < 0; });
    return found != m_entries.end() && folded(*found) == key ? found - m_entries.begin() : -1;
}

QString FolderIndex::pathAt(qsizetype i) const
{
    const QString &folder = m_folders[m_entries[size_t(i)].folder];
    return folder.endsWith(QLatin1Char('/')) ? folder + name(i).toString()
                                             : folder + QLatin1Char('/') + name(i).toString();
}

QString FolderIndex::pathOf(const QString &name) const
{
    std::u16string key;
    FileNamePattern::foldName(name, key);
    const qsizetype first = firstFolded(key);
    for (qsizetype i = first; i >= 0 && i < size() && folded(m_entries[size_t(i)]) == key; ++i) {
        if (this->name(i) == name)
            return pathAt(i);
    }
    const QString base = folder();
    return base.isEmpty() || base.endsWith(QLatin1Char('/')) ? base + name : base + QLatin1Char('/') + name;
}

FolderIndex::Stamp FolderIndex::stampOf(const QString &folder)
{
    if (folder.isEmpty())
        return std::nullopt;
    std::error_code error;
    const auto time = std::filesystem::last_write_time(std::filesystem::path(folder.toStdU16String()), error);
    if (error)
        return std::nullopt;
    return time;
}

bool FolderIndex::stampSettled(const Stamp &stamp) const
{
    // Two seconds cover the coarsest clock a folder may have (FAT's).
    return !stamp || *stamp + std::chrono::seconds(2) < m_readAt;
}

bool FolderIndex::stampsUnchanged() const
{
    for (qsizetype i = 0; i < m_folders.size(); ++i) {
        if (stampOf(m_folders[i]) != m_stamps[size_t(i)])
            return false;
    }
    return true;
}

bool FolderIndex::isCurrent() const
{
    return std::all_of(m_stamps.begin(), m_stamps.end(), [this](const Stamp &stamp) { return stampSettled(stamp); })
           && stampsUnchanged();
}

} // namespace pellwerk
