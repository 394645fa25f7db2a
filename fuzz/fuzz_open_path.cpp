// The way a skin goes from a file to a file, without a window: decode, show it on the 256 x 256
// canvas, paste the preview onto it through the transfer, write the skin and decode the written
// bytes again. A plain per-pixel model of the paste runs alongside; the re-read skin must match it.
//
// Input: the file's bytes, then the paste parameters at the end (FuzzedDataProvider takes
// integers from the back), so a bitmap with a few bytes appended is a good seed.

#include "FuzzSupport.h"

#include "core/BitmapDecoder.h"
#include "core/BitmapWriter.h"
#include "core/PictureBoxModel.h"
#include "parts/TransparentBlit.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

using namespace pellwerk;

namespace {

constexpr int Side = 256;
constexpr qint64 Max32 = std::numeric_limits<qint32>::max();
// A little more than the canvas and the preview show; larger pictures only cost time.
constexpr DecodeLimits Limits{qint64(320) * 320, 640, qint64(64) * 1024 * 1024};

// What a box shows: its back colour with the picture drawn unscaled at the top-left.
FUZZ_MODEL QImage boxModel(QSize size, Colour back, const QImage &picture)
{
    QImage shown(size, QImage::Format_RGB32);
    shown.fill(back.toQRgb());
    for (int y = 0; y < std::min(size.height(), picture.height()); ++y)
        for (int x = 0; x < std::min(size.width(), picture.width()); ++x)
            shown.setPixel(x, y, picture.pixel(x, y));
    return shown;
}

// The paste pixel by pixel: each canvas pixel the rectangle lands on takes the preview's pixel
// there, unless that lies outside the preview or has the transparent colour.
FUZZ_MODEL void pasteModel(QImage &skin, const QImage &preview, Rect32 r, qint32 x, qint32 y, Colour key)
{
    const qint64 width = qint64(r.Right) - r.Left, height = qint64(r.Bottom) - r.Top;
    if (width > Max32 || height > Max32)
        return;
    for (qint64 dy = std::max(0, y); dy < std::min<qint64>(Side, y + height); ++dy)
        for (qint64 dx = std::max(0, x); dx < std::min<qint64>(Side, x + width); ++dx) {
            const qint64 sx = r.Left + dx - x, sy = r.Top + dy - y;
            if (sx < 0 || sy < 0 || sx >= preview.width() || sy >= preview.height())
                continue;
            const QRgb s = preview.pixel(int(sx), int(sy));
            if ((s ^ key.toQRgb()) & 0xFFFFFFu)
                skin.setPixel(int(dx), int(dy), s);
        }
}

// The same colours, every pixel opaque: the reserved byte of the raw pixels is read too.
FUZZ_MODEL bool sameSkin(const QImage &image, const QImage &model)
{
    if (image.size() != model.size() || image.format() != QImage::Format_RGB32)
        return false;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            if (reinterpret_cast<const QRgb *>(image.constScanLine(y))[x] != model.pixel(x, y))
                return false;
    return true;
}

// Mostly near the pictures, where pastes land; one time in eight any 32-bit value, for the
// clipping arithmetic.
qint32 place(FuzzedDataProvider &in, qint32 low, qint32 high)
{
    return in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegral<qint32>() : in.ConsumeIntegralInRange(low, high);
}

// A far edge a few pixels before up to a canvas width after the near one, or anywhere.
qint32 farEdge(FuzzedDataProvider &in, qint32 nearEdge)
{
    return qint32(std::clamp<qint64>(qint64(nearEdge) + in.ConsumeIntegralInRange(-4, 300), -Max32 - 1, Max32));
}

struct Paste
{
    Rect32 rect;
    qint32 x = 0, y = 0;
    std::optional<QPoint> keyAt; // the transparent colour picked from the preview
    Colour key;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const Colour canvasBack(in.ConsumeIntegral<quint32>() & 0xFFFFFFu);
    const Colour previewBack(in.ConsumeIntegral<quint32>() & 0xFFFFFFu);
    const QSize previewSize(in.ConsumeIntegralInRange(0, 300), in.ConsumeIntegralInRange(0, 300));
    std::vector<Paste> pastes(in.ConsumeIntegralInRange(0, 6));
    for (Paste &p : pastes) {
        p.rect.Left = place(in, -16, 300);
        p.rect.Top = place(in, -16, 300);
        p.rect.Right = in.ConsumeBool() ? farEdge(in, p.rect.Left) : place(in, -16, 300);
        p.rect.Bottom = in.ConsumeBool() ? farEdge(in, p.rect.Top) : place(in, -16, 300);
        p.x = place(in, -64, 255);
        p.y = place(in, -64, 255);
        if (in.ConsumeBool())
            p.keyAt = QPoint(in.ConsumeIntegralInRange(0, 299), in.ConsumeIntegralInRange(0, 299));
        p.key = Colour(in.ConsumeIntegral<quint32>()); // bits above the 24 colour bits must not matter
    }
    const std::vector<char> file = in.ConsumeRemainingBytes<char>();
    const Result<QImage> opened = decodeBitmap(QByteArrayView(file.data(), qsizetype(file.size())), Limits);
    if (!opened)
        return 0;

    PictureBoxModel canvas(QSize(Side, Side), canvasBack, /*persistent*/ true);
    canvas.setPicture(Picture::make(opened.value()));
    QImage skin = boxModel(QSize(Side, Side), canvasBack, opened.value());
    FUZZ_CHECK(sameSkin(canvas.surface(), skin));
    PictureBoxModel preview(previewSize, previewBack, /*persistent*/ false);
    preview.setPicture(Picture::make(opened.value()));
    const QImage shown = boxModel(previewSize, previewBack, opened.value());

    for (const Paste &p : pastes) {
        const bool picked = p.keyAt && shown.rect().contains(*p.keyAt);
        const Colour key = picked ? Colour::fromQRgb(shown.pixel(*p.keyAt)) : p.key;
        TransferPart(canvas, preview, p.rect, p.x, p.y, key);
        pasteModel(skin, shown, p.rect, p.x, p.y, key);
    }
    FUZZ_CHECK(sameSkin(canvas.surface(), skin));

    const QByteArray written = encodeBitmap24(canvas.surface());
    FUZZ_CHECK(written.size() == 54 + Side * Side * 3);
    const Result<QImage> reopened = decodeBitmap(written);
    FUZZ_CHECK(reopened.ok() && sameSkin(reopened.value(), skin));
    return 0;
}
