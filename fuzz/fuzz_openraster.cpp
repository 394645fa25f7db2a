// OpenRaster files come from other programs and from other people. Any bytes: the reader
// refuses them with an error of its own kinds that has words, or gives a project whose files keep
// the bound for one entry, or another program's picture of exactly the skin's size.

#include "FuzzSupport.h"

#include "compose/OpenRasterFormat.h"
#include "compose/OpenRasterReader.h"
#include "core/ErrorText.h"

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

    // The recipe inside is fuzzed on its own (fuzz_recipe); the pictures the files hold by
    // fuzz_bitmap_decoder.
    return 0;
}
