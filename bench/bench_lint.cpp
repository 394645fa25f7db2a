// The key-colour check: one part of the preview's full size, and what `--lint` does for 100
// recipes of 10 steps each (read the recipe, plan it, decode its parts, check every step), with a
// fresh composer per recipe as separate runs would have.

#include "PartNearBlack.h"

#include "compose/Composer.h"
#include "compose/KeyColourLint.h"
#include "compose/LintReport.h"
#include "compose/Recipe.h"
#include "compose/VariationPlan.h"
#include "core/BitmapWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace pellwerk;

namespace {

void BM_LintPart(benchmark::State &state)
{
    const QImage part = partNearBlack(148, 191, 7);
    const UserRgb tint{int(state.range(0)), 0, 0};
    for (auto _ : state) {
        KeyColourLint lint = lintKeyColour(part, Colours::Black, tint);
        benchmark::DoNotOptimize(lint.near);
    }
    state.SetItemsProcessed(state.iterations() * 148 * 191);
}
BENCHMARK(BM_LintPart)->Arg(0)->Arg(40)->Unit(benchmark::kMicrosecond);

struct RecipeFolder
{
    QTemporaryDir dir;
    QStringList recipes;

    RecipeFolder()
    {
        const auto &kinds = partKinds();
        for (int p = 0; p < 20; ++p)
            (void)writeBitmapFile(partNearBlack(40 + p * 5, 60 + p * 6, quint32(p)),
                                  dir.path() + QStringLiteral("/part%1.bmp").arg(p));
        for (int r = 0; r < 100; ++r) {
            Recipe recipe{Colours::Black, {{CompositionBase::Kind::Default, {}}, {}}};
            for (int s = 0; s < 10; ++s) {
                const PartKind &kind = kinds[size_t(s)];
                recipe.composition.steps.push_back({kind.kind,
                                                    QStringLiteral("part%1.bmp").arg((r + s * 7) % 20),
                                                    *kind.place,
                                                    Colours::Black,
                                                    UserRgb{s % 2 ? 30 : 0, 0, 0},
                                                    true,
                                                    false,
                                                    {}});
            }
            const QString path = dir.path() + QStringLiteral("/recipe%1.json").arg(r);
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(writeRecipe(recipe));
            recipes << path;
        }
    }
};

void BM_LintHundredRecipes(benchmark::State &state)
{
    const RecipeFolder folder;
    const RecipeFolders folders{folder.dir.path(), {}, {}};
    for (auto _ : state) {
        qint64 near = 0;
        for (const QString &path : folder.recipes) {
            const Result<Recipe> recipe = readRecipeFile(path);
            const CommandLineResult<VariationPlan> plan = VariationPlan::make(recipe.value(), path, {}, {}, folders);
            const Composer composer(folders);
            (void)lintPlan(
                plan.value(), composer, DefaultNearLimit, [&](const LintEntry &e) { near += e.lint.near; },
                [](const Error &) {});
        }
        benchmark::DoNotOptimize(near);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_LintHundredRecipes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
