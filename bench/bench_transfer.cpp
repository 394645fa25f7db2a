// The paste of a part onto the skin, against a plain copy of the same bytes. The paste reads the
// source and the background and writes the destination, so it cannot beat memcpy; the large
// rectangle shows whether the per-pixel select runs at memory speed.

#include "core/Rect32.h"
#include "core/Colour.h"
#include "parts/TransparentBlit.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

using namespace pellwerk;

namespace {

// Half of the pixels black (the transparent colour), at random, so a branch per pixel would
// mispredict about every second time.
QImage halfTransparent(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = 20240611u;
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            row[x] = (state >> 31) ? 0xFF000000u : (0xFF000000u | (state >> 8) | 1u);
        }
    }
    return image;
}

QImage canvasOf(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xFF336699u);
    return image;
}

void report(benchmark::State &state, qint64 pixels)
{
    state.SetItemsProcessed(state.iterations() * pixels);
    state.SetBytesProcessed(state.iterations() * pixels * qint64(sizeof(quint32)));
}

// The canvas case: destination and background are one image.
void BM_TransparentBlitInPlace(benchmark::State &state, int canvasSize, int width, int height)
{
    const QImage part = halfTransparent(width, height);
    QImage canvas = canvasOf(canvasSize, canvasSize);
    for (auto _ : state) {
        TransparentBlit(canvas, canvas, part, Rect32{0, 0, width, height}, 0, 0, Colours::Black);
        benchmark::DoNotOptimize(canvas.constBits());
        benchmark::ClobberMemory();
    }
    report(state, qint64(width) * height);
}

void BM_TransparentBlitSeparate(benchmark::State &state, int width, int height)
{
    const QImage part = halfTransparent(width, height);
    const QImage background = canvasOf(width, height);
    QImage destination = canvasOf(width, height);
    for (auto _ : state) {
        TransparentBlit(destination, background, part, Rect32{0, 0, width, height}, 0, 0, Colours::Black);
        benchmark::DoNotOptimize(destination.constBits());
        benchmark::ClobberMemory();
    }
    report(state, qint64(width) * height);
}

void BM_Memcpy(benchmark::State &state, int width, int height)
{
    const size_t bytes = size_t(width) * size_t(height) * sizeof(quint32);
    std::vector<quint32> from(size_t(width) * size_t(height), 0xFF123456u);
    std::vector<quint32> to(from.size(), 0u);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    report(state, qint64(width) * height);
}

} // namespace

BENCHMARK_CAPTURE(BM_TransparentBlitInPlace, preview_148x191_on_skin, 256, 148, 191);
BENCHMARK_CAPTURE(BM_Memcpy, preview_148x191, 148, 191);
BENCHMARK_CAPTURE(BM_TransparentBlitInPlace, rect_4096x4096, 4096, 4096, 4096)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TransparentBlitSeparate, rect_4096x4096, 4096, 4096)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Memcpy, rect_4096x4096, 4096, 4096)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
