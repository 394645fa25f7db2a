// Recipes are files users write by hand and share. Any bytes: the reader refuses with an error
// that names its place and has words (a syntax error its line and column, inside the text), or
// accepts a recipe without a control character in any path that the writer writes back to the
// very same recipe, as version 1 unless a step needs version 2, in a text that reads back and
// writes again byte for byte the same.

#include "FuzzSupport.h"

#include "compose/Recipe.h"
#include "core/ErrorText.h"

using namespace pellwerk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView json(reinterpret_cast<const char *>(data), qsizetype(size));
    const Result<Recipe> read = readRecipe(json);
    if (!read) {
        const Error &e = read.error();
        FUZZ_CHECK(e.kind >= ErrorKind::RecipeSyntax && e.kind <= ErrorKind::RecipeFieldTooNew);
        FUZZ_CHECK(e.step >= 0);
        FUZZ_CHECK(e.kind == ErrorKind::RecipeSyntax || e.kind == ErrorKind::RecipeBadValue || !e.field.isEmpty());
        if (e.kind == ErrorKind::RecipeSyntax && !e.detail.isEmpty())
            FUZZ_CHECK(e.line >= 1 && e.column >= 1 && e.line <= json.count('\n') + 1 && e.column <= json.size() + 1);
        const QString words = ErrorText::describe(e);
        FUZZ_CHECK(!words.isEmpty() && !words.contains(QChar(0)));
        return 0;
    }
    const Recipe &recipe = read.value();
    const auto clean = [](const QString &path) {
        return std::none_of(path.begin(), path.end(), [](QChar c) { return c.unicode() < 0x20; });
    };
    FUZZ_CHECK(clean(recipe.composition.base.file));
    bool version2 = false;
    for (const PasteStep &step : recipe.composition.steps) {
        const PartKind &kind = partKind(step.kind);
        FUZZ_CHECK(!kind.place || step.place == *kind.place);
        FUZZ_CHECK(step.tint.red >= 0 && step.tint.red <= 255 && step.tint.blue >= 0 && step.tint.blue <= 255);
        FUZZ_CHECK(clean(step.part) && clean(step.ramp.from) && clean(step.ramp.to));
        FUZZ_CHECK(step.ramp.from.isEmpty() == step.ramp.to.isEmpty());
        version2 = version2 || !step.visible || step.mirrored || !step.ramp.isNone();
    }

    const QByteArray written = writeRecipe(recipe);
    FUZZ_CHECK(written.startsWith(version2 ? "{\n  \"pellwerk-recipe\": 2," : "{\n  \"pellwerk-recipe\": 1,"));
    const Result<Recipe> again = readRecipe(written);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.value() == recipe);
    FUZZ_CHECK(writeRecipe(again.value()) == written);
    return 0;
}
