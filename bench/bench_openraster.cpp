// Writing a document as an OpenRaster file: ten steps, every fixed kind's first sample part and
// one user part, three of them tinted, on the default skin. "warm": the composer has decoded and
// prepared the parts before (as in the editor, which has rendered the document already);
// "cold": a fresh composer per file, decoding every part. The writer encodes its pictures on
// several threads: the times are wall-clock, the CPU column counts every thread of the process.
// Reading the file back as a project.

#include "compose/OpenRasterReader.h"
#include "compose/OpenRasterWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

using namespace pellwerk;

namespace {

const QString Parts = QStringLiteral(PELLWERK_ASSETS "/Image");

Recipe tenSteps()
{
    Recipe recipe;
    const char *parts[][2] = {{"foot", "foot_01.bmp"},       {"rightarm", "RightArm01.bmp"},
                              {"leftarm", "LeftArm_01.bmp"}, {"chain", "chain_gold.bmp"},
                              {"face", "Face01.bmp"},        {"pants", "Pants01.bmp"},
                              {"shirt", "shirt01.bmp"},      {"glasses", "glass_round.bmp"},
                              {"beard", "beard01.bmp"},      {"user", "userScar.bmp"}};
    for (const auto &[key, file] : parts) {
        const PartKind *kind = findPartKindByKey(QString::fromLatin1(key));
        PasteStep step;
        step.kind = kind->kind;
        step.part = QString::fromLatin1(file);
        step.place = kind->place.value_or(QPoint(40, 60));
        recipe.composition.steps.push_back(step);
    }
    for (size_t i : {1, 4, 6})
        recipe.composition.steps[i].tint = {40, 10, 0};
    return recipe;
}

QByteArray written(const Recipe &recipe, const Composer &composer)
{
    Result<QByteArray> ora = writeOpenRaster(recipe, composer);
    if (!ora) {
        std::fprintf(stderr, "cannot write: step %d\n", ora.error().step);
        std::exit(1);
    }
    return std::move(ora).value();
}

void BM_WriteWarm(benchmark::State &state)
{
    const Recipe recipe = tenSteps();
    const Composer composer(RecipeFolders{{}, {Parts}, {}});
    state.counters["bytes"] = double(written(recipe, composer).size());
    for (auto _ : state)
        benchmark::DoNotOptimize(written(recipe, composer));
}
BENCHMARK(BM_WriteWarm)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_WriteCold(benchmark::State &state)
{
    const Recipe recipe = tenSteps();
    for (auto _ : state) {
        const Composer composer(RecipeFolders{{}, {Parts}, {}});
        benchmark::DoNotOptimize(written(recipe, composer));
    }
}
BENCHMARK(BM_WriteCold)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_ReadProject(benchmark::State &state)
{
    const QByteArray ora = written(tenSteps(), Composer(RecipeFolders{{}, {Parts}, {}}));
    for (auto _ : state)
        benchmark::DoNotOptimize(readOpenRaster(ora).ok());
}
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
