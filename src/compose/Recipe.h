#pragma once

#include "Composition.h"
#include "RecipePaths.h"
#include "core/Colour.h"
#include "core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace pellwerk {

// A composition as a file: a UTF-8 JSON object (RFC 8259) with the fields "pellwerk-recipe" (the
// version), "base", "transparent" and "steps", an array of step objects; docs/recipes.md shows
// one.
//
// All four top-level fields are required. "base" is "default" (the built-in default skin), "new"
// (SkinNEW.bmp) or a bitmap path; "transparent" is [r, g, b] with whole numbers 0..255 or one of
// "schwarz", "weiss", "blau". A step needs "kind" (a part kind's key) and "part" (a bitmap path,
// or "@preview" for the preview picture built into the program); "tint" ([r, g, b], 0..255) and
// "transparent" (as above) are optional; "x" and "y" (signed 32-bit) are required for the kind
// of the user's own files (PartKindId::User) and refused for every other kind, whose place is
// fixed.
//
// Version 2 ("pellwerk-recipe": 2) adds three optional step fields: "visible" (true or false,
// default true), "mirror" (true or false, default false) and "ramp" (["from.gpl", "to.gpl"], two
// palette paths; default none). A version-1 recipe with any of them is refused; a version-2 one
// need not use them.
//
// Numbers are whole wherever the format has them: 40.0 and 4e1 are not 40. A path is a non-empty
// string without control characters (U+0000..U+001F). A file literally named like a keyword is
// written "./default", "./@preview". Paths are kept as written; resolveRecipeFiles finds them.
struct Recipe
{
    Colour transparent;      // the recipe-wide transparent colour
    Composition composition; // each step holds its resolved place, transparent colour and tint

    friend bool operator==(const Recipe &, const Recipe &) = default;
};

// The newest version of the format that is read and written.
inline constexpr int RecipeFormatVersion = 2;
// The part spelling for the built-in preview picture (a PasteStep with an empty part).
inline constexpr char PreviewPartName[] = "@preview";

// Reads a recipe. Strict: anything but the format above is refused. The text must be JSON to the
// letter (no trailing commas, no "1." or ".5", no unknown escapes such as "\a", no lone surrogates,
// UTF-8 only, no raw control characters in strings), else RecipeSyntax with a JsonFault as detail
// and the line and column of the fault. A top level that is not an object: RecipeSyntax without
// detail. Then RecipeVersion (detail: the version found), RecipeDuplicateField (a key given twice
// in the top level or a step), RecipeUnknownField, RecipeMissingField, RecipeBadValue (detail: a
// ValueRule) or RecipeFieldTooNew (a version-2 field in a version-1 recipe). Every error names the
// step (from 1; 0 for the top level) and the field, and, where it has one, the place in the text:
// the field's key, or the step's opening brace for a field it lacks.
// Which error is reported: a syntax error anywhere; else a missing or bad version; else the first
// of the others in the order of the text; else a top-level field that is missing. Memory stays
// within a small multiple of the steps read, whatever the text holds.
Result<Recipe> readRecipe(QByteArrayView json);

// Reads the recipe file at `path` (at most 16 MiB). Errors of reading the file carry `path` as
// their file (readFileBytes's kinds); errors of its content are readRecipe's.
Result<Recipe> readRecipeFile(const QString &path);

// The recipe as JSON in the layout shown above, one step per line: version 1 when no step is
// hidden, mirrored or swaps a ramp, else version 2. Steps of a fixed kind are written without a
// place (theirs is the kind's), a step's colour only where it differs from the recipe's, its tint
// only when not zero, "visible", "mirror" and "ramp" only where they are not the default.
// Whatever readRecipe accepted is read back equal.
QByteArray writeRecipe(const Recipe &recipe);

// The recipe with every file it names (a file base, the parts, the ramps' palettes) replaced by
// the file that resolveRecipePath finds for it in `folders` (palettes: in folders.forPalettes()),
// once, when the recipe is read. A
// path under which nothing exists anywhere stays as written, so that reading it later names the
// places searched.
Recipe resolveRecipeFiles(Recipe recipe, const RecipeFolders &folders);

// The recipe as it is to be kept in `folders.recipeFolder`: every file it names (found files, as
// resolveRecipeFiles leaves them) spelled by recipePathFor, relative where that finds the same
// file again, absolute otherwise.
Recipe nameRecipeFiles(Recipe recipe, const RecipeFolders &folders);

} // namespace pellwerk
