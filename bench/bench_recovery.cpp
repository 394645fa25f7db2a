// What a recovery copy costs the GUI thread (the snapshot handed to the worker) and what a whole
// copy costs (serialized, written and synced on the worker), for a document of the default skin and
// ten sample parts.

#include "compose/RecoveryStore.h"
#include "core/BitmapDecoder.h"
#include "core/BitmapWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

using namespace pellwerk;

namespace {

// Stands in for the document: pictures that are shared, not copied, by a snapshot.
struct Document
{
    QImage canvas;
    std::vector<QImage> parts;
    std::vector<QString> names;
};

Document *document = nullptr;

QImage loaded(const QString &path)
{
    const Result<QImage> image = readBitmapFile(path);
    return image ? image.value() : QImage();
}

Document sampleDocument()
{
    const QString folder = QStringLiteral(PELLWERK_ASSETS);
    Document made{loaded(folder + "/DefaultSkin.bmp"), {}, {}};
    for (const QString &name : QDir(folder + "/Image").entryList({"*.bmp"}, QDir::Files, QDir::Name).mid(0, 10)) {
        made.parts.push_back(loaded(folder + "/Image/" + name));
        made.names.push_back(name);
    }
    return made;
}

RecoveryStore::Serializer snapshot()
{
    return [copy = *document]() -> Result<QByteArray> {
        QByteArray bytes = encodeBitmap24(copy.canvas);
        for (const QImage &part : copy.parts)
            bytes += encodeBitmap24(part);
        return bytes;
    };
}

// The change is noted and its copy handed over at once, as the delay's end does.
void guiThreadShare(benchmark::State &state)
{
    QTemporaryDir dir;
    RecoveryStore store(dir.path(), QStringLiteral("ora"), snapshot);
    for (auto _ : state) {
        store.markUnsaved();
        store.flush();
    }
    store.waitForIdle();
}

void wholeCopy(benchmark::State &state)
{
    QTemporaryDir dir;
    RecoveryStore store(dir.path(), QStringLiteral("ora"), snapshot);
    for (auto _ : state) {
        store.markUnsaved();
        store.flush();
        store.waitForIdle();
    }
}

} // namespace

BENCHMARK(guiThreadShare)->Unit(benchmark::kMicrosecond);
BENCHMARK(wholeCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Document sample = sampleDocument();
    if (sample.canvas.isNull() || sample.parts.size() != 10) {
        std::fprintf(stderr, "cannot read the default skin and ten sample parts\n");
        return 1;
    }
    document = &sample;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
