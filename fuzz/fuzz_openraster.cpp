// OpenRaster files come from other programs and from other people. Any bytes: the reader
// refuses them with an error of its own kinds that has words, or gives a project whose files keep
// the bound for one entry, or another program's picture of exactly the skin's size. A project
// whose recipe reads is composed from the files it carries, as pellwerk-compose would.

#include "FuzzSupport.h"

#include "compose/Composer.h"
#include "compose/OpenRasterFormat.h"
#include "compose/OpenRasterReader.h"
#include "core/ErrorText.h"

#include <algorithm>

using namespace pellwerk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Result<OpenRasterContent> read =
        readOpenRaster(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!read) {
        const Error &e = read.error();
        FUZZ_CHECK(e.kind >= ErrorKind::ArchiveDamaged && e.kind <= ErrorKind::ArchiveNotProject);
        FUZZ_CHECK(!ErrorText::describe(e).isEmpty());
        return 0;
    }
    const OpenRasterContent &content = read.value();
    if (!content.isProject) {
        FUZZ_CHECK(content.merged.size() == QSize(256, 256) && content.merged.format() == QImage::Format_RGB32);
        return 0;
    }
    for (const auto &[name, bytes] : content.files)
        FUZZ_CHECK(!name.isEmpty() && bytes.size() <= OpenRaster::MaxEntryBytes);

    const Result<Recipe> recipe = readRecipe(content.recipe);
    if (!recipe)
        return 0;
    const CarriedFiles carried{QStringLiteral("fuzz.ora"), content.files};
    // Only what the file carries and the built-in pictures: a fuzz run must not read the disk.
    const Composition &document = recipe->composition;
    const auto isCarried = [&](const QString &file) { return !carried.pathOf(file).isEmpty(); };
    const auto carriedOrBuiltIn = [&](const PasteStep &s) {
        return (s.part.isEmpty() || isCarried(s.part))
               && (s.ramp.isNone() || (isCarried(s.ramp.from) && isCarried(s.ramp.to)));
    };
    if (document.base.kind != CompositionBase::Kind::Default
        || !std::all_of(document.steps.begin(), document.steps.end(), carriedOrBuiltIn))
        return 0;
    const Composer composer({}, {}, carried);
    const Result<QImage> skin = composer.compose(document);
    FUZZ_CHECK(!skin || skin->size() == QSize(256, 256));
    return 0;
}
