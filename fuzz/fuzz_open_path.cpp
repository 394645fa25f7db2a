// The way a skin goes from a file to a file, without a window: decode, show it on the 256 x 256
// canvas, paste parts of a preview onto it through the transfer, write the skin and decode the
// written bytes again. Next to the real path runs a plain per-pixel model of what every step is
// meant to do; the written and re-read skin must match it pixel for pixel.
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
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

using namespace pellwerk;

namespace {

constexpr int Side = 256;
constexpr qint64 SkinFileBytes = 54 + qint64(Side) * Side * 3;
// A little more than the canvas and the preview show; larger pictures only cost time.
constexpr DecodeLimits Limits{qint64(320) * 320, 640, qint64(64) * 1024 * 1024};

// A picture as the model sees it: 24-bit colours in QRgb order, row by row.
struct Pixels
{
    int width = 0;
    int height = 0;
    std::vector<quint32> rgb;

    FUZZ_MODEL quint32 at(qint64 x, qint64 y) const { return rgb[size_t(y * width + x)]; }
    FUZZ_MODEL quint32 &at(qint64 x, qint64 y) { return rgb[size_t(y * width + x)]; }
    FUZZ_MODEL bool contains(qint64 x, qint64 y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// What a box shows: its back colour with the picture drawn unscaled at the top-left.
FUZZ_MODEL Pixels boxModel(int width, int height, Colour back, const QImage &picture)
{
    Pixels p{width, height, std::vector<quint32>(size_t(width) * size_t(height), back.toQRgb() & 0xFFFFFFu)};
    // The decoder hands out RGB32 only.
    FUZZ_CHECK(picture.format() == QImage::Format_RGB32);
    for (int y = 0; y < std::min(height, picture.height()); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < std::min(width, picture.width()); ++x)
            p.at(x, y) = line[x] & 0xFFFFFFu;
    }
    return p;
}

Pixels pixelsOf(const QImage &image)
{
    return boxModel(image.width(), image.height(), Colours::Black, image);
}

// The paste, one destination pixel at a time: it takes the rectangle's pixel that lands there
// when that pixel lies inside source, destination and background, and the background's pixel
// instead when it has the transparent colour.
FUZZ_MODEL void pasteModel(Pixels &destination, const Pixels &background, const Pixels &source, Rect32 r, qint32 x,
                           qint32 y, Colour key)
{
    const qint64 width = qint64(r.Right) - r.Left;
    const qint64 height = qint64(r.Bottom) - r.Top;
    constexpr qint64 Max32 = std::numeric_limits<qint32>::max();
    if (width <= 0 || height <= 0 || width > Max32 || height > Max32)
        return;
    const quint32 keyRgb = key.toQRgb() & 0xFFFFFFu;
    // Only the destination pixels the rectangle covers.
    const qint64 firstRow = std::max<qint64>(0, y);
    const qint64 endRow = std::min<qint64>(destination.height, qint64(y) + height);
    const qint64 firstColumn = std::max<qint64>(0, x);
    const qint64 endColumn = std::min<qint64>(destination.width, qint64(x) + width);
    for (qint64 dy = firstRow; dy < endRow; ++dy) {
        const qint64 j = dy - y;
        for (qint64 dx = firstColumn; dx < endColumn; ++dx) {
            const qint64 i = dx - x;
            const qint64 sx = r.Left + i;
            const qint64 sy = r.Top + j;
            if (!source.contains(sx, sy) || !background.contains(dx, dy))
                continue;
            const quint32 s = source.at(sx, sy);
            destination.at(dx, dy) = s == keyRgb ? background.at(dx, dy) : s;
        }
    }
}

FUZZ_MODEL bool sameRgb(const QImage &image, const Pixels &model)
{
    if (image.width() != model.width || image.height() != model.height || image.format() != QImage::Format_RGB32)
        return false;
    for (int y = 0; y < model.height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < model.width; ++x)
            if ((line[x] & 0xFFFFFFu) != model.at(x, y) || qAlpha(line[x]) != 0xFF)
                return false;
    }
    return true;
}

// Mostly places near the pictures, where pastes land; one time in eight any 32-bit value, for the
// clipping arithmetic.
bool anyValue(FuzzedDataProvider &in)
{
    return in.ConsumeIntegralInRange(0, 7) == 0;
}

qint32 place(FuzzedDataProvider &in, qint32 low, qint32 high)
{
    return anyValue(in) ? in.ConsumeIntegral<qint32>() : in.ConsumeIntegralInRange(low, high);
}

// The far edge of a rectangle: mostly a few pixels before up to a canvas width after the near
// edge, so that most rectangles are real and overlap the pictures.
qint32 farEdge(FuzzedDataProvider &in, qint32 nearEdge)
{
    if (anyValue(in))
        return in.ConsumeIntegral<qint32>();
    const qint64 edge = qint64(nearEdge) + in.ConsumeIntegralInRange(-4, 300);
    return qint32(std::clamp<qint64>(edge, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

Rect32 rectangle(FuzzedDataProvider &in)
{
    Rect32 r;
    r.Left = place(in, -16, 300);
    r.Top = place(in, -16, 300);
    r.Right = farEdge(in, r.Left);
    r.Bottom = farEdge(in, r.Top);
    return r;
}

enum class PasteKind { Transfer, SeparateBackground, CanvasOntoItself };

struct Paste
{
    PasteKind kind = PasteKind::Transfer;
    Rect32 rect;
    qint32 x = 0;
    qint32 y = 0;
    bool keyFromPreview = false;
    qint32 keyX = 0;
    qint32 keyY = 0;
    Colour key;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const Colour canvasBack(in.ConsumeIntegral<quint32>() & 0xFFFFFFu);
    const Colour previewBack(in.ConsumeIntegral<quint32>() & 0xFFFFFFu);
    const int previewWidth = in.ConsumeIntegralInRange(0, 300);
    const int previewHeight = in.ConsumeIntegralInRange(0, 300);
    std::vector<Paste> pastes(in.ConsumeIntegralInRange(0, 6));
    for (Paste &p : pastes) {
        p.kind = in.PickValueInArray({PasteKind::Transfer, PasteKind::SeparateBackground, PasteKind::CanvasOntoItself});
        p.rect = rectangle(in);
        p.x = place(in, -64, 255);
        p.y = place(in, -64, 255);
        p.keyFromPreview = in.ConsumeBool();
        p.keyX = in.ConsumeIntegralInRange(0, 299);
        p.keyY = in.ConsumeIntegralInRange(0, 299);
        // Bits above the 24 colour bits must not matter.
        p.key = Colour(in.ConsumeIntegral<quint32>());
    }
    const std::vector<char> file = in.ConsumeRemainingBytes<char>();

    const Result<QImage> opened = decodeBitmap(QByteArrayView(file.data(), qsizetype(file.size())), Limits);
    if (!opened)
        return 0;
    const QImage &picture = opened.value();

    PictureBoxModel canvas(QSize(Side, Side), canvasBack, /*persistent*/ true);
    canvas.setPicture(Picture::make(picture));
    Pixels skin = boxModel(Side, Side, canvasBack, picture);
    FUZZ_CHECK(sameRgb(canvas.surface(), skin));

    PictureBoxModel preview(QSize(previewWidth, previewHeight), previewBack, /*persistent*/ false);
    preview.setPicture(Picture::make(picture));
    const Pixels shown = boxModel(previewWidth, previewHeight, previewBack, picture);
    const Pixels pictureModel = pixelsOf(picture);

    for (const Paste &p : pastes) {
        Colour key = p.key;
        if (p.keyFromPreview && shown.contains(p.keyX, p.keyY))
            key = Colour::fromQRgb(shown.at(p.keyX, p.keyY));
        switch (p.kind) {
        case PasteKind::Transfer:
            TransferPart(canvas, preview, p.rect, p.x, p.y, key);
            pasteModel(skin, Pixels(skin), shown, p.rect, p.x, p.y, key);
            break;
        case PasteKind::SeparateBackground:
            // The opened picture, at its own size, lies under the transparent pixels.
            TransparentBlit(canvas.drawingImage(), picture, preview.surface(), p.rect, p.x, p.y, key);
            canvas.refresh();
            pasteModel(skin, pictureModel, shown, p.rect, p.x, p.y, key);
            break;
        case PasteKind::CanvasOntoItself: {
            QImage &own = canvas.drawingImage();
            TransparentBlit(own, own, own, p.rect, p.x, p.y, key);
            canvas.refresh();
            const Pixels before = skin;
            pasteModel(skin, before, before, p.rect, p.x, p.y, key);
            break;
        }
        }
    }
    FUZZ_CHECK(sameRgb(canvas.surface(), skin));

    const QByteArray written = encodeBitmap24(canvas.surface());
    FUZZ_CHECK(written.size() == SkinFileBytes);
    const Result<QImage> reopened = decodeBitmap(written);
    FUZZ_CHECK(reopened.ok());
    FUZZ_CHECK(sameRgb(reopened.value(), skin));
    return 0;
}
