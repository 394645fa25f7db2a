// A full repaint of the zoom window's view: 1024 x 1024 logical pixels at 16x over the default
// skin, with the grid and the overlay of a part whose every pixel carries a mark or none in
// thirds, drawn in software into an image as the backing store is.

#include "PartNearBlack.h"

#include "compose/KeyColourLint.h"
#include "core/BitmapDecoder.h"
#include "ui/ZoomView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace pellwerk;

namespace {

void BM_RepaintAt16(benchmark::State &state)
{
    const QImage skin = readBitmapFile(QStringLiteral(PELLWERK_ASSETS "/DefaultSkin.bmp")).value();
    const QImage part = partNearBlack(148, 191, 7);
    ZoomView view;
    view.setCanvas(skin);
    view.setZoom(16);
    view.setGridShown(true);
    view.setOverlayShown(true);
    view.setOverlay({QRect(20, 30, 148, 191), QPoint(20, 30), lintKeyColour(part, Colour(0), {}), QPoint(80, 100)});
    // The shown area lies inside the part, so every skin pixel in it is marked or kept.
    const QRect area(16 * 40, 16 * 60, 1024, 1024);
    QImage target(area.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.translate(-area.topLeft());
        view.paintArea(painter, area);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_RepaintAt16)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Software rendering without a display, as the window's backing store paints.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
