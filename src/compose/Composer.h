#pragma once

#include "CarriedFiles.h"
#include "Composition.h"
#include "Document.h"
#include "PictureCache.h"
#include "RecipePaths.h"
#include "colour/Palette.h"
#include "colour/RampMap.h"
#include "core/Result.h"

#include <QImage>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace pellwerk {

// The most steps a recipe may have. A real skin has a few dozen; 100,000 take about a second to
// compose and a few megabytes of recipe, while a recipe file of the largest size read could
// otherwise hold over half a million.
inline constexpr qsizetype MaxRecipeSteps = 100000;

// `error` as the part of step `index` (from 0) gives it: step index + 1, field "part" unless the
// error names its field already (a ramp swap's "ramp"), and `file` when the error names none.
// Batches and the lint report a part's failure so.
inline Error atStep(Error error, size_t index, const QString &file)
{
    error.step = int(index + 1);
    if (error.field.isEmpty())
        error.field = QStringLiteral("part");
    if (error.file.isEmpty())
        error.file = file;
    return error;
}

// Refuses a composition of more than MaxRecipeSteps steps before anything is made of it:
// RecipeTooManySteps, field "steps", detail the number of steps.
Result<void> checkStepCount(const Composition &composition);

// Renders compositions to skins without a window, through the editor's own render path
// (renderSkin and stepLayer), so a recipe gives the skin the editor showed, bit for bit:
//
// - the base is drawn at the top-left of a black 256 x 256 canvas and cut to it: the default skin
//   built into the program, SkinNEW.bmp of the program folder (newSkinFile), or a bitmap file;
// - each visible step's part has its colour ramp swapped, is tinted, mirrored and cut to the
//   148 x 191 preview area, then pasted at the step's place, leaving out the step's transparent
//   colour.
//
// Part and base paths are found with findRecipeFile in `folders`, palettes in
// `folders.forPalettes()` (once per path and Composer); a missing file's error names every place
// searched. A ramp swap's failure (a palette missing or unreadable, two palettes of different
// lengths) carries field "ramp". A path that `carried` holds is read from there,
// never from the disk (a project's own parts). An empty part is the preview picture built into
// the program. Every file is decoded once per Composer and shared, and every step's layer is
// made once per part, tint and mirror. All member functions may be
// called from several threads at once. The decoded files and layers are held in a cache bounded
// in bytes (PictureCache), so that thousands of varied parts do not fill the memory.
class Composer
{
public:
    explicit Composer(RecipeFolders folders);
    // The same with `programFolder` as the folders' program folder.
    Composer(RecipeFolders folders, QString programFolder);
    // The same, reading the files `carried` holds from memory.
    Composer(RecipeFolders folders, QString programFolder, CarriedFiles carried);

    // The skin: 256 x 256, Format_RGB32. An error names the step (from 1) and the field ("part")
    // of the first part that cannot be read, hidden steps included, or field "ramp" for its
    // swap, or field "base" (step 0), and the resolved file, with readBitmapFile's error (or the
    // palette's).
    Result<QImage> compose(const Composition &composition) const;
    // The same, telling `progress` how many steps are pasted (from 0 up to all of them) every
    // few hundred steps and at the end, so that a caller can show how far a long recipe is.
    Result<QImage> compose(const Composition &composition,
                           const std::function<void(qsizetype pasted, qsizetype total)> &progress) const;
    // The skin of `composition` made on `canvas`, which shows its base and its first `pasted`
    // steps already: a batch that varies only later steps makes their shared beginning once.
    Result<QImage> composeRest(QImage canvas, const Composition &composition, size_t pasted,
                               const std::function<void(qsizetype pasted, qsizetype total)> &progress = {}) const;
    // The composition as an editable document: its base and every part read, each step naming its
    // part by the resolved path (the built-in preview picture by the empty one). Errors as compose's.
    // `progress`, when given, hears how many steps are read as compose's does.
    Result<Document> document(const Composition &composition,
                              const std::function<void(qsizetype read, qsizetype total)> &progress = {}) const;

    // The 256 x 256 canvas with the base alone.
    Result<QImage> base(const CompositionBase &base) const;
    // The part picture a step names, decoded, at its own size (errors as readBitmapFile's, without
    // step and field).
    Result<QImage> partPicture(const QString &part) const;
    // What a step pastes: its part's layer (stepLayer), made once per part, tint, mirror and ramp.
    Result<QImage> preview(const PasteStep &step) const;
    // The palette a ramp swap names, read once per Composer (readPaletteFile's errors, or
    // parsePalette's for a carried one; field "ramp").
    Result<Palette> palette(const QString &written) const;
    // The map of a ramp swap: the identity for none; palette()'s errors, or RampSizesDiffer
    // (field "ramp") for palettes of different lengths. Made once per pair.
    Result<RampMap> ramp(const RampSwap &swap) const;

    // The file a part or base path names, as it is read (CarriedFiles::pathOf for a carried one).
    QString resolve(const QString &written) const;
    // The same, or the error that names every place searched.
    Result<QString> find(const QString &written) const;
    // The bytes of that file as they are stored (at most `maxBytes`; find's and readFileBytes's
    // errors).
    Result<QByteArray> fileBytes(const QString &written, qint64 maxBytes) const;
    // The same three for a palette, looked for in the palette folders.
    QString resolvePalette(const QString &written) const;
    Result<QString> findPalette(const QString &written) const;
    Result<QByteArray> paletteBytes(const QString &written, qint64 maxBytes) const;

private:
    Result<QImage> decoded(const QString &resolved) const;
    Result<QImage> mergedPicture(const QString &resolved) const;
    Result<QString> lookUp(std::map<QString, Result<QString>> &found, const QString &written,
                           const RecipeFolders &folders) const;
    Result<QByteArray> bytesOf(const Result<QString> &found, qint64 maxBytes) const;

    RecipeFolders m_folders;
    CarriedFiles m_carried;
    std::unique_ptr<PictureCache> m_cache;
    mutable std::mutex m_foundMutex;
    mutable std::map<QString, Result<QString>> m_found;
    mutable std::map<QString, Result<QString>> m_foundPalettes;
    mutable std::mutex m_rampMutex;
    mutable std::map<QString, Result<Palette>> m_palettes;                  // by resolved path
    mutable std::map<std::pair<QString, QString>, Result<RampMap>> m_ramps; // by resolved paths
};

} // namespace pellwerk
