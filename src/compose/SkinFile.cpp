#include "SkinFile.h"

#include "OpenRasterWriter.h"
#include "core/BitmapWriter.h"
#include "core/PngWriter.h"

namespace pellwerk {

Result<QByteArray> skinFileBytes(const Recipe &recipe, const Composer &composer, const QString &output)
{
    if (output.endsWith(QLatin1String(".ora"), Qt::CaseInsensitive))
        return writeOpenRaster(recipe, composer);
    const Result<QImage> skin = composer.compose(recipe.composition);
    if (!skin)
        return skin.error();
    if (output.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return encodePng(skin.value());
    return encodeBitmap24(skin.value());
}

} // namespace pellwerk
