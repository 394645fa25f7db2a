#include "FolderIndex.h"

#include <QDir>

#include <algorithm>

namespace pellwerk {

namespace {

// Where a case-folded code point falls in the order of UTF-16 code units, which is how
// QString::compare orders names without regard to letter case: the characters above U+FFFF (a
// surrogate pair each) come before U+E000..U+FFFF.
char32_t utf16Order(char32_t c)
{
    return c >= 0xE000 && c <= 0xFFFF ? c + 0x200000 : c;
}

int compareFolded(std::u32string_view a, std::u32string_view b)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        if (a[i] != b[i])
            return utf16Order(a[i]) < utf16Order(b[i]) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

QStringList filesIn(const QString &folder)
{
    // QDir("") would be the working directory.
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryList(QDir::Files, QDir::NoSort);
}

} // namespace

FolderIndex FolderIndex::read(const QString &folder, const QString &userFolder)
{
    FolderIndex index;
    index.m_folder = folder;
    index.m_userFolder = userFolder;
    if (folder.isEmpty())
        return index;

    // The stamps are taken before the names, so that a change while reading counts as a change.
    index.m_readAt = std::filesystem::file_time_type::clock::now();
    index.m_folderStamp = stampOf(folder);
    index.m_userStamp = stampOf(userFolder);
    const QStringList own = filesIn(folder);
    const QStringList user = filesIn(userFolder);

    std::vector<Entry> &entries = index.m_entries;
    entries.reserve(size_t(own.size() + user.size()));
    for (const QStringList *names : {&own, &user}) {
        for (const QString &name : *names) {
            const auto start = quint32(index.m_folded.size());
            FileNamePattern::foldName(name, index.m_folded);
            entries.push_back({name, start, quint32(index.m_folded.size()) - start, names == &user});
        }
    }
    std::sort(entries.begin(), entries.end(), [&index](const Entry &a, const Entry &b) {
        const int order = compareFolded(index.folded(a), index.folded(b));
        return order != 0 ? order < 0 : a.name < b.name;
    });

    // Equal names in the folding sense stand side by side now; where the user folder has one,
    // the program folder's are dropped.
    std::vector<Entry> kept;
    kept.reserve(entries.size());
    for (size_t run = 0; run < entries.size();) {
        size_t end = run + 1;
        bool userHasIt = entries[run].fromUser;
        while (end < entries.size() && index.folded(entries[end]) == index.folded(entries[run])) {
            userHasIt = userHasIt || entries[end].fromUser;
            ++end;
        }
        for (size_t i = run; i < end; ++i) {
            if (entries[i].fromUser || !userHasIt)
                kept.push_back(std::move(entries[i]));
        }
        run = end;
    }
    entries = std::move(kept);
    return index;
}

std::u32string_view FolderIndex::folded(const Entry &entry) const
{
    return std::u32string_view(m_folded).substr(entry.foldedStart, entry.foldedSize);
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
        out.append(m_entries[size_t(i)].name);
    return out;
}

QString FolderIndex::pathOf(const QString &name) const
{
    std::u32string key;
    FileNamePattern::foldName(name, key);
    const auto found = std::lower_bound(m_entries.begin(), m_entries.end(), name, [&](const Entry &e, const QString &) {
        const int order = compareFolded(folded(e), key);
        return order != 0 ? order < 0 : e.name < name;
    });
    if (found != m_entries.end() && found->name == name && found->fromUser)
        return m_userFolder + name;
    return m_folder + name;
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

bool FolderIndex::isCurrent() const
{
    if (m_folder.isEmpty())
        return true;
    return stampSettled(m_folderStamp) && stampSettled(m_userStamp) && stampOf(m_folder) == m_folderStamp
           && stampOf(m_userFolder) == m_userStamp;
}

} // namespace pellwerk
