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

// The file names of a folder, read once so that any number of file lists can take their names
// from one directory read. An optional second folder, the user's own, joins it: where a name is
// in both, compared without regard to letter case, only the user folder's file is listed.
//
// Names are those of files, without folder; hidden files (names starting with a dot) and folders
// are left out, symbolic links to files count as files. They are sorted by name without regard to
// letter case (as QString::compare orders them), equal names in that sense by their exact
// spelling. An empty folder name gives an empty index without reading anything, the user folder
// included; a missing or unreadable folder contributes no names. All names are held in two
// buffers (as read and case-folded), not one string each: a large folder costs few allocations.
class FolderIndex
{
public:
    FolderIndex() = default;
    static FolderIndex read(const QString &folder, const QString &userFolder = QString());

    const QString &folder() const { return m_folder; }
    const QString &userFolder() const { return m_userFolder; }

    qsizetype size() const { return qsizetype(m_entries.size()); }
    // The i-th name (0 <= i < size()); the view lives as long as the index.
    QStringView name(qsizetype i) const;
    // The positions (0..size() - 1, in order) of the names that match.
    std::vector<int> matching(const FileNamePattern &pattern) const;
    QStringList names(const FileNamePattern &pattern) const;

    // Where the file of a listed name lies: the user folder followed by the name when the user
    // folder gave it, otherwise the folder followed by the name (also for a name not listed).
    QString pathOf(const QString &name) const;

    // Whether reading the folders again would give the same names, as far as their modification
    // times tell: a file added, removed or renamed, or a folder that appeared or went, changes
    // them. A folder changed shortly before the read may change again within the same tick of
    // its clock unnoticed, so such a read never counts as current.
    bool isCurrent() const;
    // Reads the same folders again.
    FolderIndex reread() const { return read(m_folder, m_userFolder); }

private:
    struct Entry
    {
        quint32 nameStart = 0;
        quint32 nameSize = 0;
        quint32 foldedStart = 0;
        quint32 foldedSize = 0;
        bool fromUser = false;
    };
    using Stamp = std::optional<std::filesystem::file_time_type>;

    void addName(QStringView name, bool fromUser);
    void addFilesOf(const QString &folder, bool fromUser);
    std::u16string_view folded(const Entry &entry) const
    {
        return std::u16string_view(m_folded.data() + entry.foldedStart, entry.foldedSize);
    }
    static Stamp stampOf(const QString &folder);
    bool stampSettled(const Stamp &stamp) const;

    QString m_folder;
    QString m_userFolder;
    std::vector<Entry> m_entries;
    std::u16string m_names;
    std::u16string m_folded;
    Stamp m_folderStamp;
    Stamp m_userStamp;
    std::filesystem::file_time_type m_readAt;
};

} // namespace pellwerk
