#pragma once

#include "CarriedFiles.h"
#include "Recipe.h"
#include "core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

#include <map>

namespace pellwerk {

// What an OpenRaster file holds for Pellwerk: the project a Pellwerk file carries, or the
// picture of a file another program wrote.
struct OpenRasterContent
{
    bool isProject = false;              // it holds "pellwerk/recipe.json"
    QByteArray recipe;                   // a project: the bytes of its recipe
    std::map<QString, QByteArray> files; // a project: its other files, by their path under "pellwerk/"
    QImage merged;                       // another program's file: mergedimage.png, 256 x 256, RGB32
};

// Reads an OpenRaster file held in memory. Nothing is ever unpacked to the disk, and the bounds
// of OpenRasterFormat.h are kept whatever the archive's headers claim (unpacked sizes are counted
// while unpacking).
//
// Refused, in this order: an archive the zip library cannot open (ArchiveDamaged) or larger than
// MaxFileBytes (ArchiveTooLarge); more than MaxEntries entries (ArchiveTooManyEntries); an entry
// name that is absolute, holds a ".." part, a backslash or a drive letter (ArchiveBadEntryName);
// a name twice (ArchiveDuplicateEntry); no "mimetype" holding exactly "image/openraster"
// (ArchiveNotOpenRaster); no stack.xml or mergedimage.png, or a layer whose src is missing
// (ArchiveEntryMissing); a stack.xml with a DOCTYPE (StackDoctype: no DTD is read, no entity
// resolved), not well-formed (StackSyntax), without <image> at the top or with a layer without
// src (StackInvalid), with w or h outside 1..MaxImageSide (StackImageSize); a layer that does not
// start like a PNG file (LayerNotPng); an entry that unpacks beyond MaxEntryBytes
// (ArchiveEntryTooLarge) or all that are read beyond MaxUnpackedBytes (ArchiveTooLarge), or that
// cannot be unpacked (ArchiveEntryDamaged). A file without a project must have a PNG
// mergedimage.png of 256 x 256 pixels (LayerNotPng, MergedImageSize); its transparency is
// dropped (as a bitmap has none).
Result<OpenRasterContent> readOpenRaster(QByteArrayView bytes);

// Reads the file at `path` (readFileBytes, at most MaxFileBytes) and then as above; every error
// carries `path` as its file.
Result<OpenRasterContent> readOpenRasterFile(const QString &path);

// A project file as a recipe: the recipe it carries, and its files for a Composer, which reads
// them from memory. Errors: readOpenRasterFile's, ArchiveNotProject (with `path`) for another
// program's file, readRecipe's for the recipe inside.
struct Project
{
    Recipe recipe;
    CarriedFiles carried;
};
Result<Project> readProjectFile(const QString &path);
// The same for a file already read from `path`.
Result<Project> projectOf(OpenRasterContent content, const QString &path);

} // namespace pellwerk
