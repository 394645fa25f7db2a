#pragma once

#include "Composer.h"
#include "Recipe.h"
#include "core/Result.h"

#include <QByteArray>
#include <QString>

namespace pellwerk {

// The bytes of the file `output` names, chosen by its extension without regard to case: ".ora"
// the document as an OpenRaster file with its project (writeOpenRaster), ".png" the skin as PNG
// for sharing, anything else the skin file format the game reads (encodeBitmap24). `skin` is the
// document rendered (Composer::compose of `recipe.composition`). Errors are writeOpenRaster's.
Result<QByteArray> skinFileBytes(const QImage &skin, const Recipe &recipe, const Composer &composer,
                                 const QString &output);

} // namespace pellwerk
