// The colour-ramp swap of one part, as the render runs it for a step with a ramp: a lookup per
// pixel in a table built once per palette pair, so its cost does not grow with the palette.

#include "colour/Palette.h"
#include "colour/RampMap.h"
#include "core/BitmapDecoder.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace pellwerk;

namespace {

const QSize PartArea(148, 191);

Palette paletteFile(const char *name)
{
    const Result<Palette> read = readPaletteFile(QStringLiteral(PELLWERK_ASSETS "/Paletten/") + name);
    return read ? read.value() : Palette{};
}

// Random colours; every `everyNth` pixel one of `palette`'s instead, so that some are swapped.
QImage noise(const Palette &palette, int everyNth)
{
    QImage image(PartArea, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int i = 0; i < PartArea.width() * PartArea.height(); ++i) {
        state = state * 1664525u + 1013904223u;
        const QRgb colour = i % everyNth == 0 ? palette.colours[(state >> 8) % palette.colours.size()].toQRgb()
                                              : 0xFF000000u | (state >> 8);
        image.setPixel(i % PartArea.width(), i / PartArea.width(), colour);
    }
    return image;
}

Palette randomPalette(int count, quint32 seed)
{
    Palette palette;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        palette.colours.push_back(Colour(seed >> 8));
    }
    return palette;
}

void swap(benchmark::State &state, const QImage &part, const Palette &from, const Palette &to)
{
    const Result<RampMap> map = RampMap::make(from, to);
    if (!map || part.isNull() || from.colours.empty()) {
        state.SkipWithError("no palettes or no part");
        return;
    }
    for (auto _ : state) {
        QImage swapped = map->apply(part);
        benchmark::DoNotOptimize(swapped.constBits());
    }
    state.SetItemsProcessed(state.iterations() * part.width() * part.height());
}

// The team shirt from red to blue, in the preview's area as the paste takes it (black around it).
void teamShirt(benchmark::State &state)
{
    QImage area(PartArea, QImage::Format_RGB32);
    area.fill(Qt::black);
    QPainter(&area).drawImage(0, 0, readBitmapFile(QStringLiteral(PELLWERK_ASSETS "/Image/shirt03.bmp")).value());
    swap(state, area, paletteFile("trikot-rot.gpl"), paletteFile("trikot-blau.gpl"));
}

// No two neighbours alike, so every pixel is looked up: the worst case for a part.
void noiseRamp(benchmark::State &state)
{
    const Palette from = paletteFile("trikot-rot.gpl");
    swap(state, noise(from, 4), from, paletteFile("trikot-gelb.gpl"));
}

void noiseLargestPalette(benchmark::State &state)
{
    const Palette from = randomPalette(PaletteLimits::MaxColours, 1), to = randomPalette(PaletteLimits::MaxColours, 2);
    swap(state, noise(from, 4), from, to);
}

void buildTable(benchmark::State &state)
{
    const Palette from = randomPalette(int(state.range(0)), 1), to = randomPalette(int(state.range(0)), 2);
    for (auto _ : state) {
        Result<RampMap> map = RampMap::make(from, to);
        benchmark::DoNotOptimize(map);
    }
}

} // namespace

BENCHMARK(teamShirt)->Unit(benchmark::kMicrosecond);
BENCHMARK(noiseRamp)->Unit(benchmark::kMicrosecond);
BENCHMARK(noiseLargestPalette)->Unit(benchmark::kMicrosecond);
BENCHMARK(buildTable)->Arg(5)->Arg(PaletteLimits::MaxColours)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
