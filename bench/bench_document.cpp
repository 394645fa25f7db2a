// Rendering a document after an edit, what an edit and its undo cost in the editor, and what the
// history keeps in memory: documents of 10 and 100 steps of 148 x 191 parts on the default skin.

#include "compose/Document.h"
#include "compose/LayerCache.h"
#include "compose/SkinCanvas.h"

#include <QImage>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <vector>

using namespace pellwerk;

namespace {

// A 148 x 191 part: random colours with a third of its pixels the key (black), in runs, as drawn
// parts leave their background out.
QImage part(quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(PartAreaSize, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (x / 9 + y / 7) % 3 == 0 ? 0xFF000000u : 0xFF000000u | random.generate() | 1u);
    return image;
}

// `count` pastes of ten parts in turn, every third one tinted, at places all over the skin.
std::vector<std::pair<PasteStep, QImage>> pastes(int count)
{
    std::vector<QImage> parts;
    for (quint32 i = 0; i < 10; ++i)
        parts.push_back(part(i + 1));
    std::vector<std::pair<PasteStep, QImage>> out;
    for (int i = 0; i < count; ++i) {
        PasteStep step;
        step.part = QString::number(i % 10);
        step.place = {(i * 37) % 200 - 40, (i * 53) % 180 - 60};
        step.tint = i % 3 == 0 ? UserRgb{40, 0, 90} : UserRgb{};
        out.emplace_back(step, parts[size_t(i) % 10]);
    }
    return out;
}

Document document(int steps)
{
    Document d;
    for (const auto &[step, picture] : pastes(steps))
        d.append(step, picture);
    return d;
}

// After an edit the editor renders with the layers of the render before: only a changed step's
// layer is made again.
void BM_RenderAfterEdit(benchmark::State &state)
{
    const Document d = document(int(state.range(0)));
    LayerCache cache;
    d.render(&cache);
    for (auto _ : state) {
        QImage skin = d.render(&cache);
        benchmark::DoNotOptimize(skin.constBits());
    }
}

// Every layer made anew: the first render of a document just opened.
void BM_RenderFromScratch(benchmark::State &state)
{
    const Document d = document(int(state.range(0)));
    for (auto _ : state) {
        QImage skin = d.render();
        benchmark::DoNotOptimize(skin.constBits());
    }
}

// A tint change of one step as the "Schritte" window makes it: the document edited, recorded
// (joining the burst), its layer made and the canvas rendered.
void BM_TintChange(benchmark::State &state)
{
    SkinCanvas canvas;
    for (const auto &[step, picture] : pastes(int(state.range(0))))
        canvas.paste(step, picture);
    int red = 0;
    for (auto _ : state)
        canvas.setTint(int(state.range(0)) / 2, {(red = (red + 1) % 256), 0, 0});
}

void BM_UndoRedo(benchmark::State &state)
{
    SkinCanvas canvas;
    for (const auto &[step, picture] : pastes(int(state.range(0))))
        canvas.paste(step, picture);
    for (auto _ : state) {
        canvas.undo();
        canvas.redo();
    }
}

void reportMemory(benchmark::State &state, const CompositionHistory &history)
{
    state.counters["steps"] = history.size();
    state.counters["MiB"] = double(history.memoryBytes()) / (1024 * 1024);
}

// 256 pastes, then every one undone: all parts but the base are then undo memory.
void BM_Memory256PastesUndone(benchmark::State &state)
{
    for (auto _ : state) {
        SkinCanvas canvas;
        int seed = 0;
        for (auto &[step, picture] : pastes(256)) {
            // Distinct parts, the most they can hold.
            canvas.paste(step, state.range(0) ? part(quint32(++seed)) : picture);
        }
        while (canvas.undo()) {
        }
        reportMemory(state, canvas.history());
    }
}

// 256 skins of noise opened one after the other: the largest an action can be.
void BM_Memory256NewDocuments(benchmark::State &state)
{
    for (auto _ : state) {
        CompositionHistory history;
        for (quint32 i = 0; i < 256; ++i) {
            QImage skin(256, 256, QImage::Format_RGB32);
            QRandomGenerator random(i);
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x)
                    skin.setPixel(x, y, 0xFF000000u | random.generate());
            history.push(HistoryStep::rebased({CompositionBase::Kind::File, "noise.bmp"}),
                         Document({CompositionBase::Kind::File, "noise.bmp"}, skin));
        }
        reportMemory(state, history);
    }
}

} // namespace

BENCHMARK(BM_RenderAfterEdit)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderFromScratch)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TintChange)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedo)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memory256PastesUndone)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Memory256NewDocuments)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
