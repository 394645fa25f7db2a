#pragma once

#include "Composer.h"
#include "Recipe.h"
#include "core/Colour.h"
#include "core/Result.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

#include <map>

namespace pellwerk {

class Document;

// The pixels one paste puts on the skin, as a layer: `image` (Format_ARGB32) lands with its
// top-left pixel at `offset` of the 256 x 256 skin.
struct StepLayer
{
    QImage image;
    QPoint offset;
};

// The layer of a step whose prepared 148 x 191 preview (tint and mirror applied; see
// Composer::preview) is pasted at `place` leaving out `transparent`: the preview cut to
// 148 x 191 and to the skin, every pixel equal to `transparent` on all 24 bits fully transparent,
// every other pixel opaque. A paste that lands wholly off the skin gives one transparent pixel
// at (0, 0), since a layer cannot be empty. Any place: the cut cannot overflow.
StepLayer stepLayer(const QImage &preview, QPoint place, Colour transparent);

// The document as an OpenRaster file (.ora), which layered paint programs read:
//
// - first entry "mimetype", stored, no extra field, holding "image/openraster";
// - "stack.xml": <image w="256" h="256"> with one <stack> and one <layer> per step, the step
//   painted last first and the base last, each a PNG under data/ with its name (stepName,
//   baseName), x, y, opacity 1.0, composite-op svg:src-over, visibility visible or hidden;
//   the base is the opaque 256 x 256 base canvas;
// - "mergedimage.png": the skin as Composer::compose makes it; "Thumbnails/thumbnail.png" the
//   same picture;
// - the project under "pellwerk/": recipe.json (writeRecipe) whose parts, base file and ramp
//   palettes are written as "parts/NAME", "base/NAME" and "palettes/NAME", and each of those
//   files byte for byte as stored
//   (each file once, however many steps use it), so that the file alone restores the document.
//   The built-in preview picture, the default skin and SkinNEW.bmp stay as the recipe writes them;
// - each of `moreProjectFiles` under "pellwerk/" with its name (a recovery copy's notes), which
//   must not be one of the names above.
//
// Errors: the composer's (with step and field, as compose() reports them), fileBytes's for a
// file to carry, and ArchiveEntryTooLarge, ArchiveTooLarge or ArchiveTooManyEntries where the
// file would exceed what readOpenRaster reads back.
Result<QByteArray> writeOpenRaster(const Recipe &recipe, const Composer &composer,
                                   const std::map<QString, QByteArray> &moreProjectFiles = {});

// An editor's document the same way, from the pictures it holds rather than from the files: the
// layers and the merged image are what the editor shows, and the project carries each part as a
// 24-bit bitmap of the picture held (the same pixels; a file base as the base canvas), so that it
// is written whole even when a part's file changed or went after it was read. `transparent` is
// the recipe's default colour. Errors: only the size bounds above, and a palette that cannot be
// read.
Result<QByteArray> writeOpenRaster(const Document &document, Colour transparent);

} // namespace pellwerk
