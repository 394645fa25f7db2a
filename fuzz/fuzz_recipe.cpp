// Recipes are files users write by hand and share. Any bytes: the reader refuses with an error
// that names its place and has words, or accepts a recipe that the writer writes back to the very
// same recipe, in a text that reads back and writes again byte for byte the same.

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
        FUZZ_CHECK(e.kind >= ErrorKind::RecipeSyntax && e.kind <= ErrorKind::RecipeBadValue);
        FUZZ_CHECK(e.step >= 0);
        FUZZ_CHECK(e.kind == ErrorKind::RecipeSyntax || e.kind == ErrorKind::RecipeBadValue || !e.field.isEmpty());
        FUZZ_CHECK(!ErrorText::describe(e).isEmpty());
        return 0;
    }
    const Recipe &recipe = read.value();
    for (const PasteStep &step : recipe.composition.steps) {
        const PartKind &kind = partKind(step.kind);
        FUZZ_CHECK(!kind.place || step.place == *kind.place);
        FUZZ_CHECK(step.tint.red >= 0 && step.tint.red <= 255 && step.tint.blue >= 0 && step.tint.blue <= 255);
    }

    const QByteArray written = writeRecipe(recipe);
    const Result<Recipe> again = readRecipe(written);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.value() == recipe);
    FUZZ_CHECK(writeRecipe(again.value()) == written);
    return 0;
}
