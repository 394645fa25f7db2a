// One knob step of the colour window: correct the whole part, then show it in the preview.
// The preview already shows a picture of the buffer's size, so the write is the in-place one.

#include "colour/ColourCorrection.h"
#include "colour/PictureBits.h"
#include "colour/PixelBuffer.h"
#include "colour/PixelBufferInfo.h"
#include "core/Picture.h"
#include "core/PictureBoxModel.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

using namespace pellwerk;

namespace {

QImage noise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            row[x] = 0xFF000000u | (state >> 8);
        }
    }
    return image;
}

struct KnobFixture
{
    explicit KnobFixture(int width, int height) : box(QSize(148, 191), Colours::Black, false)
    {
        box.setPicture(Picture::make(noise(width, height)));
        ok = ReadPictureBits(box.picture(), info, source, target).ok() && WritePictureBits(box, info.Target).ok();
        serial = box.picture().serial;
    }

    PictureBoxModel box;
    PixelBufferInfo info;
    PixelBuffer source, target;
    bool ok = false;
    quint64 serial = 0;
};

void knobStep(benchmark::State &state)
{
    KnobFixture f(int(state.range(0)), int(state.range(1)));
    if (!f.ok) {
        state.SkipWithError("reading the picture failed");
        return;
    }
    qint32 red = 0;
    const qint32 green = 40, blue = 200;
    for (auto _ : state) {
        red = (red + 1) & 0xFF;
        CorrectColours(f.source, f.target, red, green, blue);
        if (!WritePictureBits(f.box, f.info.Target))
            state.SkipWithError("the write failed");
        benchmark::DoNotOptimize(f.box.picture().image.constBits());
    }
    if (f.box.picture().serial != f.serial)
        state.SkipWithError("the write did not stay in place");
    state.SetBytesProcessed(state.iterations() * f.source.byteCount());
}

void correctOnly(benchmark::State &state)
{
    KnobFixture f(int(state.range(0)), int(state.range(1)));
    qint32 red = 0;
    for (auto _ : state) {
        red = (red + 1) & 0xFF;
        CorrectColours(f.source, f.target, red, 40, 200);
        benchmark::DoNotOptimize(f.target.data());
    }
    state.SetBytesProcessed(state.iterations() * f.source.byteCount());
}

void writeOnly(benchmark::State &state)
{
    KnobFixture f(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        if (!WritePictureBits(f.box, f.info.Target))
            state.SkipWithError("the write failed");
        benchmark::DoNotOptimize(f.box.picture().image.constBits());
    }
    state.SetBytesProcessed(state.iterations() * f.source.byteCount());
}

} // namespace

BENCHMARK(knobStep)->Args({56, 72})->Args({2048, 2048})->Unit(benchmark::kMicrosecond);
BENCHMARK(correctOnly)->Args({56, 72})->Args({2048, 2048})->Unit(benchmark::kMicrosecond);
BENCHMARK(writeOnly)->Args({56, 72})->Args({2048, 2048})->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
