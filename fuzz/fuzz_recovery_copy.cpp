// Recovery copies are read at every start from a folder anything may have written into. Any
// bytes: refused with an error that has words (the editor then moves the file aside), or a
// document that renders a skin and, written as a copy again, reads back equal.

#include "FuzzSupport.h"

#include "compose/RecoveryProject.h"
#include "core/ErrorText.h"

using namespace pellwerk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Result<Document> read =
        readRecoveryProject(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), QString());
    if (!read) {
        FUZZ_CHECK(!ErrorText::describe(read.error()).isEmpty());
        return 0;
    }
    FUZZ_CHECK(read->render().size() == QSize(256, 256));
    // A copy may be refused for its size (the project's bounds), never read back otherwise.
    if (const Result<QByteArray> again = recoverySerializer(read.value())()) {
        const Result<Document> reread = readRecoveryProject(again.value(), QString());
        FUZZ_CHECK(reread && reread.value() == read.value());
    }
    return 0;
}
