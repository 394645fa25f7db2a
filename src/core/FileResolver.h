#pragma once

#include "FolderIndex.h"
#include "Result.h"

#include <QString>
#include <QStringList>

namespace pellwerk {

// How a file named relative to a few folders is found: the one rule that the part lists, a
// paste, the paths of a recipe, the composer's --vary patterns and later palettes all follow.
//
// The folders are searched in order; for one kind of file kept in <sub>/ the order is forKind()'s:
// a recipe's own folder (for the paths a recipe names), the user's own <sub>/ folder, the
// program's. A folder has a name when it holds a file (anything but a folder) of exactly that
// spelling, or else a listed file whose name equals it without regard to letter case, as the
// lists compare names (the first in list order). The first folder that has the name gives the
// file: on equal names the user's file wins over the program's, the recipe folder's over both.
// The folder part of a relative name ("faces/F.bmp") is taken literally under each folder.
// Absolute names are taken as they are. Paths come back cleaned ("a/./b" is "a/b"); folders are
// absolute or relative to the working directory.
class FileResolver
{
public:
    FileResolver() = default;
    // The folders in search order; empty names are left out.
    explicit FileResolver(const QStringList &folders);
    // The search order for files kept in <sub>/ ("Image", "Paletten"): `first` when given, then
    // the user's own folder userFolder(sub), then `programSubFolder`, the program's <sub>/.
    static FileResolver forKind(const QString &sub, const QString &programSubFolder, const QString &first = {});

    const QStringList &folders() const { return m_folders; }

    // Every place find() looks at for `written`, in order: the name under each folder; an
    // absolute name, or any name when there are no folders, alone.
    QStringList places(const QString &written) const;
    // The file `written` names: an absolute name as it is (reading it tells whether it exists);
    // a relative one from the first folder that has it. Error FileMissing (file: `written`,
    // detail: every place looked at, one a line) when none has it.
    Result<QString> find(const QString &written) const;
    // The files a file-list pattern ("Face*.bmp", "faces/F*.bmp") matches, as paths, merged from
    // all folders (a name that an earlier folder has is left out of the later ones) and sorted
    // like the lists. The name part is matched like the lists match; the folder part is taken
    // literally: an absolute one as it is, a relative one under each folder.
    QStringList matching(const QString &pattern) const;
    // Every name of every folder, merged as the lists show them.
    FolderIndex listing() const { return FolderIndex::read(m_folders); }

private:
    QStringList m_folders;
};

// What identifies a file on disk, for telling whether two paths name the same file: the canonical
// path (links and "..", resolved) of an existing file; for a file not yet there, its folder's
// canonical path followed by its name; the cleaned absolute path when the folder is missing too.
QString fileIdentity(const QString &path);

} // namespace pellwerk
