#include "SkinFile.h"

#include "OpenRasterWriter.h"
#include "core/BitmapWriter.h"
#include "core/PngWriter.h"

namespace pellwerk {

Result<QByteArray> skinFileBytes(const QImage &skin, const Recipe &recipe, const Composer &composer,
                                 const QString &output)
{
    if (output.endsWith(QLatin1String(".ora"), Qt::CaseInsensitive))
        return writeOpenRaster(recipe, composer);
    if (output.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return encodePng(skin);
    return encodeBitmap24(skin);
}

} // namespace pellwerk
