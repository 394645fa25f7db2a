// Undo and redo of pastes, recording a paste, and what 256 steps cost in memory: the sample parts
// of the program folder on the default skin, and noise, which changes every pixel it covers.

#include "compose/CompositionHistory.h"
#include "core/BitmapDecoder.h"
#include "core/FileListing.h"
#include "core/ZoomGeometry.h"
#include "parts/PlacementTable.h"
#include "parts/TransparentBlit.h"

#include <QDir>
#include <QImage>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace pellwerk;

namespace {

const QSize PartArea(148, 191);
const QPoint UserPlace(40, 60);

struct Part
{
    QString name;
    QImage preview; // as the parts window shows it: the part at the top-left, the rest transparent
    QSize size;
    QPoint place;
};

QImage previewOf(const QImage &part)
{
    QImage preview(PartArea, QImage::Format_RGB32);
    preview.fill(Colours::Black.toQRgb());
    for (int y = 0; y < std::min(part.height(), PartArea.height()); ++y)
        for (int x = 0; x < std::min(part.width(), PartArea.width()); ++x)
            preview.setPixel(x, y, part.pixel(x, y));
    return preview;
}

QImage noise(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xFF000000u | random.generate() | 1u);
    return image;
}

QImage loaded(const QString &path)
{
    const Result<QImage> image = readBitmapFile(path);
    if (!image) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return image.value();
}

QImage defaultSkin()
{
    return loaded(QStringLiteral(PELLWERK_ASSETS "/DefaultSkin.bmp"));
}

// Every sample part at its kind's place, user parts at one chosen place.
std::vector<Part> sampleParts()
{
    const QString folder = QStringLiteral(PELLWERK_ASSETS "/Image");
    std::vector<Part> parts;
    for (const QString &name : QDir(folder).entryList({"*.bmp"}, QDir::Files, QDir::Name)) {
        QPoint place = UserPlace;
        for (const PartKind &kind : partKinds())
            if (kind.place && fileNameMatches(name, kind.pattern))
                place = *kind.place;
        const QImage image = loaded(folder + '/' + name);
        parts.push_back(Part{name, previewOf(image), image.size(), place});
    }
    return parts;
}

Part largestSample()
{
    const auto area = [](const Part &part) {
        const QRect landing = landingRect(part.place, part.size);
        return landing.width() * landing.height();
    };
    const std::vector<Part> parts = sampleParts();
    return *std::max_element(parts.begin(), parts.end(),
                             [&](const Part &a, const Part &b) { return area(a) < area(b); });
}

std::vector<Part> noiseParts(int count)
{
    std::vector<Part> parts;
    for (int i = 0; i < count; ++i)
        parts.push_back(Part{"noise", noise(PartArea.width(), PartArea.height(), quint32(i + 1)), PartArea,
                             QPoint(i % 109, i % 66)});
    return parts;
}

void paste(CompositionHistory &history, QImage &canvas, const Part &part)
{
    const QImage before = canvas;
    TransparentBlit(canvas, canvas, part.preview, Rect32{0, 0, PartArea.width(), PartArea.height()}, part.place.x(),
                    part.place.y(), Colours::Black);
    history.push(HistoryStep::pasted(PasteStep{PartKindId::User, part.name, part.place, Colours::Black, {}}), before,
                 canvas, landingRect(part.place, part.size));
}

void BM_UndoRedoPaste(benchmark::State &state, bool worstCase)
{
    const Part part = worstCase ? noiseParts(1).front() : largestSample();
    QImage canvas = defaultSkin();
    CompositionHistory history;
    paste(history, canvas, part);
    for (auto _ : state) {
        history.undo(canvas);
        history.redo(canvas);
        benchmark::DoNotOptimize(canvas.constBits());
        benchmark::ClobberMemory();
    }
    state.SetLabel(qPrintable(part.name));
}

// A full history, so that every push also drops the oldest step.
void BM_PushPaste(benchmark::State &state, bool worstCase)
{
    const Part part = worstCase ? noiseParts(1).front() : largestSample();
    const QImage before = defaultSkin();
    QImage after = before;
    TransparentBlit(after, after, part.preview, Rect32{0, 0, PartArea.width(), PartArea.height()}, part.place.x(),
                    part.place.y(), Colours::Black);
    CompositionHistory history;
    for (int i = 0; i < history.limits().maxSteps; ++i)
        history.push(HistoryStep::pasted({}), before, after, landingRect(part.place, part.size));
    for (auto _ : state)
        history.push(HistoryStep::pasted({}), before, after, landingRect(part.place, part.size));
    state.SetLabel(qPrintable(part.name));
}

void reportMemory(benchmark::State &state, const CompositionHistory &history)
{
    state.counters["steps"] = history.size();
    state.counters["MiB"] = double(history.memoryBytes()) / (1024 * 1024);
    state.counters["KiB_per_step"] = double(history.memoryBytes()) / 1024 / std::max(1, history.size());
}

// 256 pastes of the sample parts in turn, so that each paste changes what the previous one left.
void BM_Memory256Pastes(benchmark::State &state, bool worstCase)
{
    const std::vector<Part> parts = worstCase ? noiseParts(16) : sampleParts();
    for (auto _ : state) {
        QImage canvas = defaultSkin();
        CompositionHistory history;
        for (int i = 0; i < 256; ++i)
            paste(history, canvas, parts[size_t(i) % parts.size()]);
        reportMemory(state, history);
    }
}

// 256 steps that each replace the whole canvas by noise: the largest a step can be.
void BM_Memory256NoiseCanvases(benchmark::State &state)
{
    std::vector<QImage> canvases;
    for (quint32 i = 0; i < 8; ++i)
        canvases.push_back(noise(256, 256, 100 + i));
    for (auto _ : state) {
        CompositionHistory history;
        for (int i = 0; i < 256; ++i)
            history.push(HistoryStep::rebased({CompositionBase::Kind::File, "noise.bmp"}), canvases[size_t(i) % 8],
                         canvases[size_t(i + 1) % 8], QRect(0, 0, 256, 256));
        reportMemory(state, history);
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_UndoRedoPaste, sample_part, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_UndoRedoPaste, noise_148x191, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PushPaste, sample_part, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PushPaste, noise_148x191, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Memory256Pastes, sample_parts, false)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Memory256Pastes, noise_148x191, true)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Memory256NoiseCanvases)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
