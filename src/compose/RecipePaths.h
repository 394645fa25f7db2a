#pragma once

#include <QString>
#include <QStringList>

namespace pellwerk {

// Where the files a recipe names are looked for: a relative path under the recipe's own folder
// first, then under each part folder in order (the program's Image folder, later the user's own).
// Folders are absolute or relative to the working directory; an empty one is skipped.
struct RecipeFolders
{
    QString recipeFolder;
    QStringList partFolders;
};

// The file a recipe means by `written` (a part or a base path): an absolute path as it is; a
// relative one under the first folder where something of that name exists. When none has it,
// the path under the recipe folder (or under the first part folder without a recipe folder), so
// that the error of reading it names a real place. Paths come back cleaned ("a/./b" is "a/b").
QString resolveRecipePath(const QString &written, const RecipeFolders &folders);

// How a recipe kept in `folders.recipeFolder` should name the existing file `file` so that
// resolveRecipePath finds this very file again: its path relative to a part folder that holds it
// (a file of the Image folder: its bare name), else relative to the recipe folder when it lies
// beneath it, else its absolute path. A relative spelling that another file would shadow (the
// recipe folder is searched first) is not used.
QString recipePathFor(const QString &file, const RecipeFolders &folders);

// The files a file-list pattern ("Face*.bmp", "faces/F*.bmp") matches, as paths, in the order of
// the lists (by name, without regard to case). The name part is matched like the lists match,
// the folder part is taken literally: an absolute one as it is, a relative one under the first
// folder of the search order (recipe folder, then part folders) where anything matches. Empty
// when nothing matches anywhere.
QStringList matchingRecipeFiles(const QString &pattern, const RecipeFolders &folders);

} // namespace pellwerk
