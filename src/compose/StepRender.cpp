#include "StepRender.h"

#include "colour/Tint.h"
#include "core/SkinDocument.h"
#include "parts/TransparentBlit.h"

#include <cstring>

namespace pellwerk {

namespace {

// The part's pixels that the cut keeps: the first 148 columns and 191 rows of the part as it
// will be shown. Mirrored, those are the last columns of the part, still in the part's order.
QImage keptArea(const QImage &part, bool mirrored)
{
    const QSize kept = part.size().boundedTo(PartAreaSize);
    if (kept == part.size())
        return part;
    const int left = mirrored ? part.width() - kept.width() : 0;
    return part.copy(QRect(QPoint(left, 0), kept));
}

QImage flippedLeftToRight(const QImage &image)
{
    QImage out(image.size(), QImage::Format_RGB32);
    if (out.isNull())
        return out;
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto *in = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        auto *row = reinterpret_cast<quint32 *>(out.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = in[width - 1 - x];
    }
    return out;
}

} // namespace

QImage baseCanvas(const QImage &picture)
{
    constexpr int Size = SkinDocument::Size;
    if (picture.size() == QSize(Size, Size) && picture.format() == QImage::Format_RGB32)
        return picture;
    QImage canvas(Size, Size, QImage::Format_RGB32);
    if (canvas.isNull())
        return canvas;
    canvas.fill(Colours::Black.toQRgb());
    const QImage shown = picture.convertToFormat(QImage::Format_RGB32);
    const int width = qMin(shown.width(), Size);
    for (int y = 0; y < qMin(shown.height(), Size); ++y)
        std::memcpy(canvas.scanLine(y), shown.constScanLine(y), size_t(width) * sizeof(quint32));
    return canvas;
}

QImage stepLayer(const QImage &part, const PasteStep &step, const RampMap &ramp)
{
    QImage layer = keptArea(part, step.mirrored);
    // The swap comes first: the tint works on the swapped colours, and the key test sees both.
    if (!ramp.isIdentity())
        layer = ramp.apply(layer);
    layer = tinted(layer, step.tint);
    if (step.mirrored)
        layer = flippedLeftToRight(layer);
    return layer;
}

void pasteLayer(QImage &skin, const QImage &layer, const PasteStep &step)
{
    if (layer.isNull())
        return;
    TransparentBlit(skin, skin, layer, Rect32{0, 0, layer.width(), layer.height()}, step.place.x(), step.place.y(),
                    step.transparent);
}

Result<QImage> renderSkin(QImage canvas, const std::vector<PasteStep> &steps, const StepSource &source,
                          std::size_t from)
{
    // Often enough for a bar to move smoothly, rarely enough to cost nothing beside a paste.
    constexpr std::size_t ProgressEvery = 256;
    const auto total = qsizetype(steps.size());
    for (std::size_t i = from; i < steps.size(); ++i) {
        if (source.progress && i % ProgressEvery == 0)
            source.progress(qsizetype(i), total);
        if (!steps[i].visible) {
            if (source.checkHidden) {
                if (const Result<void> paintable = source.checkHidden(i); !paintable)
                    return paintable.error();
            }
            continue;
        }
        const Result<QImage> layer = source.layerOf(i);
        if (!layer)
            return layer.error();
        pasteLayer(canvas, layer.value(), steps[i]);
    }
    if (source.progress)
        source.progress(total, total);
    return canvas;
}

} // namespace pellwerk
