// Palettes are files users download from palette sites and share. Any bytes: the reader refuses
// with an error that has words and names the file and a line that exists, or gives at most
// MaxColours colours, one per colour line, that a plain rewrite reads back the same; a swap of the
// palette with itself leaves a picture of its colours as it was. Which colour a swap gives is
// proven by the unit test.

#include "FuzzSupport.h"

#include "colour/Palette.h"
#include "colour/RampMap.h"
#include "core/ErrorText.h"

#include <algorithm>

using namespace pellwerk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString file = QStringLiteral("f.gpl");
    const Result<Palette> read = parsePalette(text, file);
    if (!read) {
        const Error &e = read.error();
        FUZZ_CHECK(e.kind >= ErrorKind::PaletteHeader && e.kind <= ErrorKind::PaletteTooManyColours);
        FUZZ_CHECK(e.file == file && e.line >= 1 && e.line <= text.count('\n') + 1);
        FUZZ_CHECK(ErrorText::describe(e).startsWith(QStringLiteral("f.gpl, Zeile %1: ").arg(e.line)));
        return 0;
    }
    const Palette &palette = read.value();
    FUZZ_CHECK(palette.colours.size() <= size_t(PaletteLimits::MaxColours));
    FUZZ_CHECK(palette.columns >= 0 && palette.columns <= 256);

    QByteArray rewritten = "GIMP Palette\nColumns: " + QByteArray::number(palette.columns) + "\n";
    QImage picture(int(std::min<size_t>(palette.colours.size(), 4096)), 1, QImage::Format_RGB32);
    for (size_t i = 0; i < palette.colours.size(); ++i) {
        const Colour c = palette.colours[i];
        rewritten += QByteArray::number(c.red()) + ' ' + QByteArray::number(c.green()) + '\t'
                     + QByteArray::number(c.blue()) + " name\n";
        if (i < 4096)
            picture.setPixel(int(i), 0, c.toQRgb());
    }
    const Result<Palette> again = parsePalette(rewritten, file);
    FUZZ_CHECK(again.ok() && again->colours == palette.colours && again->columns == palette.columns);
    const Result<RampMap> same = RampMap::make(palette, palette);
    FUZZ_CHECK(same.ok() && same->apply(picture) == picture);
    return 0;
}
