// The way a skin goes from a file to a file, without a window: decode, show it on the 256 x 256
// canvas, paste the preview onto it through the transfer, write the skin and decode the written
// bytes again. The transfer's pixels are proven in its unit test; here the contracts hold for any
// file and any paste: the canvas stays an opaque 256 x 256 picture, a paste never puts the
// transparent colour anywhere, and the written skin reads back as it was.
//
// Input: the file's bytes, then the paste parameters at the end (FuzzedDataProvider takes
// integers from the back), so a bitmap with a few bytes appended is a good seed.

#include "FuzzSupport.h"

#include "core/BitmapDecoder.h"
#include "core/BitmapWriter.h"
#include "core/PictureBoxModel.h"
#include "parts/TransparentBlit.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <optional>
#include <vector>

using namespace pellwerk;

namespace {

constexpr int Side = 256;
// A little more than the canvas and the preview show; larger pictures only cost time.
constexpr DecodeLimits Limits{qint64(320) * 320, 640, qint64(64) * 1024 * 1024};

// Mostly near the pictures, where pastes land; one time in eight any 32-bit value, for the
// clipping arithmetic.
qint32 place(FuzzedDataProvider &in, qint32 low, qint32 high)
{
    return in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegral<qint32>() : in.ConsumeIntegralInRange(low, high);
}

// Every raw pixel opaque, and none that changed from `before` has the key's colour.
FUZZ_MODEL bool opaqueWithoutKey(const QImage &skin, const QImage &before, Colour key)
{
    const auto *p = reinterpret_cast<const QRgb *>(skin.constBits());
    const auto *was = reinterpret_cast<const QRgb *>(before.constBits());
    for (int i = 0; i < Side * Side; ++i)
        if (p[i] >> 24 != 0xFF || (p[i] != was[i] && ((p[i] ^ key.toQRgb()) & 0xFFFFFFu) == 0))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    PictureBoxModel canvas(QSize(Side, Side), Colour(in.ConsumeIntegral<quint32>() & 0xFFFFFFu), /*persistent*/ true);
    const QSize previewSize(in.ConsumeIntegralInRange(0, 300), in.ConsumeIntegralInRange(0, 300));
    PictureBoxModel preview(previewSize, Colour(in.ConsumeIntegral<quint32>() & 0xFFFFFFu), /*persistent*/ false);
    struct Paste
    {
        Rect32 rect;
        QPoint at;
        Colour key;                  // bits above the 24 colour bits must not matter
        std::optional<QPoint> keyAt; // or the transparent colour picked from the preview
    };
    std::vector<Paste> pastes(in.ConsumeIntegralInRange(0, 6));
    for (Paste &p : pastes)
        p = {{place(in, -16, 300), place(in, -16, 300), place(in, -16, 600), place(in, -16, 600)},
             {place(in, -64, 255), place(in, -64, 255)},
             Colour(in.ConsumeIntegral<quint32>()),
             in.ConsumeBool() ? std::optional(QPoint(in.ConsumeIntegral<quint8>(), in.ConsumeIntegral<quint8>()))
                              : std::nullopt};
    const std::vector<char> file = in.ConsumeRemainingBytes<char>();
    const Result<QImage> opened = decodeBitmap(QByteArrayView(file.data(), qsizetype(file.size())), Limits);
    if (!opened)
        return 0;

    canvas.setPicture(Picture::make(opened.value()));
    preview.setPicture(Picture::make(opened.value()));
    QImage before = canvas.surface();
    FUZZ_CHECK(before.size() == QSize(Side, Side) && before.format() == QImage::Format_RGB32);
    for (const Paste &p : pastes) {
        const QImage shown = preview.surface();
        const bool picked = p.keyAt && shown.rect().contains(*p.keyAt);
        const Colour key = picked ? Colour::fromQRgb(shown.pixel(*p.keyAt)) : p.key;
        pastePart(canvas, preview, p.rect, p.at.x(), p.at.y(), key);
        FUZZ_CHECK(opaqueWithoutKey(canvas.surface(), before, key));
        before = canvas.surface();
    }

    const Result<QImage> reopened = decodeBitmap(encodeBitmap24(before));
    FUZZ_CHECK(reopened.ok() && reopened->size() == before.size()
               && std::memcmp(reopened->constBits(), before.constBits(), size_t(before.sizeInBytes())) == 0);
    return 0;
}
