// What a recovery copy costs the GUI thread per change (the change noted and, when the delay runs
// out, the snapshot of the document handed to the worker) and what a whole copy costs (the
// OpenRaster project made, written and synced on the worker), for documents of the default skin and
// the first ten sample parts pasted in turn, ten and a thousand steps; and what looking for
// leftovers adds to the start when there are none.

#include "compose/RecoveryProject.h"
#include "compose/RecoveryStore.h"
#include "core/BitmapDecoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

using namespace pellwerk;

namespace {

std::vector<std::pair<QString, QImage>> samples;

Document sampleDocument(int steps)
{
    Document made;
    for (int i = 0; i < steps; ++i) {
        const auto &[path, picture] = samples[size_t(i) % samples.size()];
        made.append({PartKindId::User, path, QPoint(i % 100, i % 60), Colour::fromRgb(0, 0, 0), {}}, picture);
    }
    return made;
}

// As the editor does at every change that leaves work unsaved, with the copy due at once.
void guiThreadPerChange(benchmark::State &state)
{
    QTemporaryDir dir;
    const Document document = sampleDocument(int(state.range(0)));
    RecoveryStore store(dir.path(), QStringLiteral("ora"), [&] { return recoverySerializer(document); });
    for (auto _ : state) {
        store.markUnsaved();
        store.flush();
    }
    store.waitForIdle();
}

void wholeCopy(benchmark::State &state)
{
    QTemporaryDir dir;
    const Document document = sampleDocument(int(state.range(0)));
    RecoveryStore store(dir.path(), QStringLiteral("ora"), [&] { return recoverySerializer(document); });
    for (auto _ : state) {
        store.markUnsaved();
        store.flush();
        store.waitForIdle();
    }
    state.counters["bytes"] = double(QFileInfo(store.copyPath()).size());
}

// What the editor's start adds when no editor left a copy: the store made (its worker started) and
// the missing folder looked for.
void startWithoutLeftovers(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recovery"));
    for (auto _ : state) {
        RecoveryStore store(folder, QStringLiteral("ora"), [] { return RecoveryStore::Serializer(); });
        benchmark::DoNotOptimize(store.claimLeftovers([](const QByteArray &) { return true; }));
    }
}

} // namespace

BENCHMARK(startWithoutLeftovers)->Unit(benchmark::kMicrosecond);
BENCHMARK(guiThreadPerChange)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(wholeCopy)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const QString folder = QStringLiteral(PELLWERK_ASSETS "/Image/");
    for (const QString &name : QDir(folder).entryList({"*.bmp"}, QDir::Files, QDir::Name).mid(0, 10)) {
        if (const Result<QImage> image = readBitmapFile(folder + name))
            samples.emplace_back(folder + name, image.value());
    }
    if (samples.size() != 10) {
        std::fprintf(stderr, "cannot read ten sample parts\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
