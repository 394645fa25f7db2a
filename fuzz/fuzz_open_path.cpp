// The way a skin goes from a file to a file, without a window: decode, make it a document's base,
// paste the picture onto it as steps (tinted, mirrored, hidden, anywhere), render, write the skin
// and decode the written bytes again. The paste's pixels are proven in the unit tests; here the
// contracts hold for any file and any step: the skin stays an opaque 256 x 256 picture, a step
// never puts its transparent colour anywhere, and the written skin reads back as it was.
//
// Input: the file's bytes, then the step parameters at the end (FuzzedDataProvider takes
// integers from the back), so a bitmap with a few bytes appended is a good seed.

#include "FuzzSupport.h"

#include "core/BitmapDecoder.h"
#include "core/BitmapWriter.h"
#include "compose/Document.h"
#include "compose/StepRender.h"

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
    struct Paste
    {
        PasteStep step;              // its transparent colour's bits above the 24 must not matter
        std::optional<QPoint> keyAt; // or the transparent colour picked from the picture
    };
    std::vector<Paste> pastes(in.ConsumeIntegralInRange(0, 6));
    for (Paste &p : pastes) {
        p.step.place = {place(in, -200, 255), place(in, -200, 255)};
        p.step.transparent = Colour(in.ConsumeIntegral<quint32>());
        p.step.tint = {in.ConsumeIntegralInRange(0, 255), in.ConsumeIntegralInRange(0, 255),
                       in.ConsumeIntegralInRange(0, 255)};
        p.step.mirrored = in.ConsumeBool();
        p.step.visible = in.ConsumeIntegralInRange(0, 3) != 0;
        if (in.ConsumeBool())
            p.keyAt = QPoint(in.ConsumeIntegral<quint8>(), in.ConsumeIntegral<quint8>());
    }
    const std::vector<char> file = in.ConsumeRemainingBytes<char>();
    const Result<QImage> opened = decodeBitmap(QByteArrayView(file.data(), qsizetype(file.size())), Limits);
    if (!opened)
        return 0;

    Document document({CompositionBase::Kind::File, QStringLiteral("fuzzed.bmp")}, opened.value());
    QImage before = document.render();
    FUZZ_CHECK(before.size() == QSize(Side, Side) && before.format() == QImage::Format_RGB32);
    for (Paste &p : pastes) {
        const QImage layer = stepLayer(opened.value(), p.step);
        if (p.keyAt && layer.rect().contains(*p.keyAt))
            p.step.transparent = Colour::fromQRgb(layer.pixel(*p.keyAt));
        document.append(p.step, opened.value());
        const QImage skin = document.render();
        FUZZ_CHECK(opaqueWithoutKey(skin, before, p.step.transparent));
        FUZZ_CHECK(p.step.visible || skin == before);
        before = skin;
    }

    const Result<QImage> reopened = decodeBitmap(encodeBitmap24(before));
    FUZZ_CHECK(reopened.ok() && reopened->size() == before.size()
               && std::memcmp(reopened->constBits(), before.constBits(), size_t(before.sizeInBytes())) == 0);
    return 0;
}
