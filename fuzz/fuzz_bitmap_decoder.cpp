// Bytes in, image or error out: the decoder must never read outside the bytes, never allocate past
// its limits, and hand back only fully defined pictures.

#include "FuzzSupport.h"

#include "core/BitmapDecoder.h"

namespace {

// Small enough that one decode costs well under a millisecond, large enough for every bmpsuite
// picture, so the seeds decode and lead the fuzzer into the pixel loops.
constexpr pellwerk::DecodeLimits Limits{qint64(512) * 512, 1024, qint64(64) * 1024 * 1024};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace pellwerk;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const Result<QImage> result = decodeBitmap(bytes, Limits);
    if (!result) {
        // A refusal is one of the kinds that describe bitmap contents.
        const ErrorKind kind = result.error().kind;
        FUZZ_CHECK(kind == ErrorKind::NotBitmap || kind == ErrorKind::BitmapIncomplete
                   || kind == ErrorKind::BitmapDamaged || kind == ErrorKind::ImageTooLarge
                   || kind == ErrorKind::BitmapUnsupported);
        return 0;
    }

    const QImage &image = result.value();
    FUZZ_CHECK(image.format() == QImage::Format_RGB32);
    FUZZ_CHECK(image.width() >= 1 && image.height() >= 1);
    FUZZ_CHECK(image.width() <= Limits.maxDimension && image.height() <= Limits.maxDimension);
    FUZZ_CHECK(qint64(image.width()) * image.height() <= Limits.maxPixels);

    // Every pixel written: memory the decoder skipped still holds the 0xBE fill, whose alpha is
    // not 0xFF.
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            FUZZ_CHECK(qAlpha(line[x]) == 0xFF);
    }
    return 0;
}
