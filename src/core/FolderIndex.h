#pragma once

#include "FileNamePattern.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pellwerk {

// The file names of one or more folders, read once so that any number of file lists can take
// their names from one directory read. The folders are given in search order: where a name is in
// several, compared without regard to letter case, only the first such folder's files of that
// name are listed (a user's own part hides the program's part of the same name). FileResolver
// gives the search order of each kind of file.
//
// Names are those of files, without folder; hidden files (names starting with a dot) and folders
// are left out, symbolic links to files count as files. They are sorted by name without regard to
// letter case (as QString::compare orders them), equal names in that sense by their exact
// spelling. Empty folder names and names holding a NUL are skipped without reading anything; a
// missing or unreadable folder contributes no names. All names are held in two
// buffers (as read and case-folded), not one string each: a large folder costs few allocations.
class FolderIndex
{
public:
    FolderIndex() = default;
    static FolderIndex read(const QStringList &folders);
    static FolderIndex read(const QString &folder) { return read(QStringList{folder}); }
    // Starts reading the folders on another thread. The next read() of exactly these folders
    // takes that result if no folder's modification time has changed since, and reads them itself
    // otherwise: the editor reads its part library while the toolkit starts. A later call replaces
    // an untaken read.
    static void readAhead(const QStringList &folders);

    // The folders read, in search order, empty names left out.
    const QStringList &folders() const { return m_folders; }
    // The last folder of the search order (the program's own), which the others overlay; empty
    // when there is none.
    QString folder() const { return m_folders.isEmpty() ? QString() : m_folders.last(); }

    qsizetype size() const { return qsizetype(m_entries.size()); }
    // The i-th name (0 <= i < size()); the view lives as long as the index.
    QStringView name(qsizetype i) const;
    // The positions (0..size() - 1, in order) of the names that match.
    std::vector<int> matching(const FileNamePattern &pattern) const;
    QStringList names(const FileNamePattern &pattern) const;

    // The position of the first name equal to `name` without regard to letter case; -1 when none is.
    qsizetype positionOf(QStringView name) const;
    // Where the file at position i lies: its folder, a "/" unless the folder ends in one, the name.
    QString pathAt(qsizetype i) const;
    // Where the file of a listed name (exact spelling) lies; for a name not listed, the path
    // under folder().
    QString pathOf(const QString &name) const;

    // Whether reading the folders again would give the same names, as far as their modification
    // times tell: a file added, removed or renamed, or a folder that appeared or went, changes
    // them. A folder changed shortly before the read may change again within the same tick of
    // its clock unnoticed, so such a read never counts as current.
    bool isCurrent() const;
    // Reads the same folders again.
    FolderIndex reread() const { return read(m_folders); }

private:
    struct Entry
    {
        quint32 nameStart = 0;
        quint32 nameSize = 0;
        quint32 foldedStart = 0;
        quint32 foldedSize = 0;
        quint32 folder = 0; // its position in the search order
    };
    using Stamp = std::optional<std::filesystem::file_time_type>;

    static FolderIndex readNow(const QStringList &folders);
    static std::optional<FolderIndex> takeReadAhead(const QStringList &folders);
    void addName(QStringView name, quint32 folder);
    void addFilesOf(const QString &folder, quint32 position);
    std::u16string_view folded(const Entry &entry) const
    {
        return std::u16string_view(m_folded.data() + entry.foldedStart, entry.foldedSize);
    }
    qsizetype firstFolded(std::u16string_view key) const;
    static Stamp stampOf(const QString &folder);
    bool stampsUnchanged() const;
    bool stampSettled(const Stamp &stamp) const;

    QStringList m_folders;
    std::vector<Entry> m_entries;
    std::u16string m_names;
    std::u16string m_folded;
    std::vector<Stamp> m_stamps; // one per folder
    std::filesystem::file_time_type m_readAt;
};

} // namespace pellwerk
