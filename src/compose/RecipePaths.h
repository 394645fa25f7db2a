#pragma once

#include "Composition.h"
#include "core/FileResolver.h"
#include "core/Result.h"

#include <QString>
#include <QStringList>

namespace pellwerk {

// Where the files a recipe names are looked for (FileResolver's rule): a relative path under the
// recipe's own folder first, then under each part folder in order (the user's own, then the
// program's Image folder); palettes likewise under the palette folders (the user's own, then the
// program's Paletten folder). Folders are absolute or relative to the working directory; an empty
// one is skipped. Base "new" is the program folder's SkinNEW.bmp (newSkinFile).
struct RecipeFolders
{
    QString recipeFolder;
    QStringList partFolders;
    // Where the program lies; empty where no base "new" is read (it is then no input of a skin).
    QString programFolder;
    QStringList paletteFolders{};

    // The resolver of the recipe's parts and bases.
    FileResolver resolver() const;
    // The same folders with the palette folders in the parts' place: every function below that
    // takes RecipeFolders finds, names and matches palettes when given these.
    RecipeFolders forPalettes() const { return {recipeFolder, paletteFolders, programFolder, paletteFolders}; }
};

// The folders of a recipe kept in `recipeFolder`, for a program in `programFolder` with its parts
// in `imageFolder`: the recipe folder, the user's own part folder, `imageFolder`; for palettes the
// user's own Paletten folder and the program folder's Paletten/.
RecipeFolders recipeFoldersFor(const QString &recipeFolder, const QString &programFolder, const QString &imageFolder);

// The file base "new" is: SkinNEW.bmp of the program folder.
QString newSkinFile(const QString &programFolder);

// What "neu" opens, and the base the document records for it so that a recipe replays the same
// skin: SkinNEW.bmp of the working directory when there is one (users keep their own template
// there), else the program folder's. The program folder's file, reached either way, is base
// "new", as the composer reads it; any other is a file base with its absolute path. Error
// FileMissing naming both places when neither exists (and they are two).
struct NewSkin
{
    QString file;
    CompositionBase base;
};
Result<NewSkin> findNewSkin(const QString &programFolder);

// The file a recipe means by `written` (a part or a base path), as FileResolver::find finds it.
// When none has it, the path under the recipe folder (or under the first part folder without a
// recipe folder), so that the error of reading it names a real place; findRecipeFile's error
// names every place searched. Paths come back cleaned ("a/./b" is "a/b").
QString resolveRecipePath(const QString &written, const RecipeFolders &folders);
Result<QString> findRecipeFile(const QString &written, const RecipeFolders &folders);

// How a recipe kept in `folders.recipeFolder` should name the existing file `file` so that
// resolveRecipePath finds this very file again: its path relative to a part folder that holds it
// (a file of the Image folder: its bare name), else relative to the recipe folder when it lies
// beneath it, else its absolute path. A relative spelling that another file would shadow (the
// recipe folder is searched first) is not used.
QString recipePathFor(const QString &file, const RecipeFolders &folders);

// The files a file-list pattern ("Face*.bmp", "faces/F*.bmp") matches, as paths, merged from
// every folder of the search order and sorted like the lists (FileResolver::matching): an own
// FaceMine.bmp joins the faces of the Image folder. Empty when nothing matches anywhere.
QStringList matchingRecipeFiles(const QString &pattern, const RecipeFolders &folders);

} // namespace pellwerk
