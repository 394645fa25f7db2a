#pragma once

#include "Composition.h"
#include "core/Colour.h"
#include "core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace pellwerk {

// A composition as a file: a UTF-8 JSON object
//
//   {"pellwerk-recipe": 1, "base": "default", "transparent": [0, 0, 0],
//    "steps": [{"kind": "face", "part": "Face01.bmp"},
//              {"kind": "shirt", "part": "shirt02.bmp", "tint": [40, 0, 0]},
//              {"kind": "user", "part": "userScar.bmp", "x": 40, "y": 60, "transparent": "weiss"}]}
//
// All four top-level fields are required. "base" is "default" (the built-in default skin), "new"
// (SkinNEW.bmp) or a bitmap path; "transparent" is [r, g, b] with whole numbers 0..255 or one of
// "schwarz", "weiss", "blau". A step needs "kind" (a part kind's key) and "part" (a bitmap path,
// or "@preview" for the preview picture built into the program); "tint" ([r, g, b], 0..255) and
// "transparent" (as above) are optional; "x" and "y" (signed 32-bit) are required for "user" and
// refused for every other kind, whose place is fixed. Paths are kept as written; RecipePaths
// resolves them. A file literally named like a keyword is written "./default", "./@preview".
struct Recipe
{
    Colour transparent;      // the recipe-wide transparent colour
    Composition composition; // each step holds its resolved place, transparent colour and tint

    friend bool operator==(const Recipe &, const Recipe &) = default;
};

inline constexpr int RecipeFormatVersion = 1;
// The part spelling for the built-in preview picture (a PasteStep with an empty part).
inline constexpr char PreviewPartName[] = "@preview";

// Reads a recipe. Strict: anything but the format above is refused with one of RecipeSyntax
// (not JSON, or not an object; detail: the character offset of a syntax error), RecipeVersion
// (detail: the version found, as JSON), RecipeUnknownField, RecipeMissingField or RecipeBadValue
// (detail: a ValueRule). Every error names the step (from 1; 0 for the top level) and the field.
// The first error in reading order is reported: the version, then unknown, missing and bad
// fields at the top level, then the steps in order.
Result<Recipe> readRecipe(QByteArrayView json);

// Reads the recipe file at `path` (at most 16 MiB). Errors of reading the file carry `path` as
// their file (readFileBytes's kinds); errors of its content are readRecipe's.
Result<Recipe> readRecipeFile(const QString &path);

// The recipe as JSON in the layout shown above, one step per line. Steps of a fixed kind are
// written without a place (theirs is the kind's), a step's colour only where it differs from the
// recipe's, its tint only when not zero. Whatever readRecipe accepted is read back equal.
QByteArray writeRecipe(const Recipe &recipe);

} // namespace pellwerk
