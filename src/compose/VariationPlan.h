#pragma once

#include "CommandLineError.h"
#include "ComposeOptions.h"
#include "Recipe.h"
#include "RecipePaths.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace pellwerk {

// The skins one recipe makes with its variations: every combination of the files each --vary
// pattern matches (matchingRecipeFiles; palettes in the palette folders), the first varied kind
// changing slowest. A combination puts its file into the part of every step of the varied kind,
// or for a ramp variation (the kind's key followed by RampSuffix) its palette into the "to" of
// every step of the kind that swaps a ramp; everything else is the recipe's.
//
// With an output pattern, every combination gets its file name: each varied kind's key in braces
// (with RampSuffix for a ramp variation) is replaced by the chosen file's name without its last
// extension, and the name is cleaned ("out/./a/../x.bmp" is "out/x.bmp"). Braces around anything
// but a kind's key stay as they are. Everything is checked before the plan exists, so a refused
// plan has written nothing.
class VariationPlan
{
public:
    struct VariedKind
    {
        PartKindId kind;
        QStringList files; // cleaned paths, in list order
        bool ramp = false; // files are "to" palettes, not parts

        // The kind's key, followed by RampSuffix for a ramp variation.
        QString key() const;
        // Whether `step` takes this variation's file, and the step with `file` put in.
        bool varies(const PasteStep &step) const { return step.kind == kind && (!ramp || !step.ramp.isNone()); }
        void put(PasteStep &step, const QString &file) const { (ramp ? step.ramp.to : step.part) = file; }
    };

    // 100,000 skins are 20 GB of files; more at once is a mistake, and its names alone would fill memory.
    static constexpr qsizetype MaxSkins = 100000;

    // Errors: VaryNoStep (no step of a varied kind; for a ramp variation none that swaps a ramp),
    // VaryNoMatch, VaryTooMany (more than MaxSkins);
    // with an output pattern also OutputPlaceholderNotVaried, OutputPlaceholderMissing,
    // OutputCollision (two names the same once made absolute and cleaned), OutputFolderMissing (an
    // output folder that does not exist; file: the folder) and OutputIsInput (an output that is
    // the same file as the recipe, its base, base "new"'s SkinNEW.bmp of folders.programFolder,
    // or one of its parts; file: the output, detail: the input).
    static CommandLineResult<VariationPlan> make(const Recipe &recipe, const QString &recipePath,
                                                 const std::vector<Variation> &variations, const QString &outputPattern,
                                                 const RecipeFolders &folders);

    qsizetype size() const { return m_size; }
    const std::vector<VariedKind> &varied() const { return m_varied; }
    // The files of combination `index`, one per varied kind, in the order of varied().
    QStringList choice(qsizetype index) const;
    Composition composition(qsizetype index) const;
    // The recipe's own transparent colour, for writing a combination down as a recipe.
    Colour transparent() const { return m_transparent; }
    // The output file of combination `index`; empty without an output pattern.
    QString output(qsizetype index) const { return m_outputs.isEmpty() ? QString() : m_outputs[index]; }

private:
    Composition m_recipe;
    Colour m_transparent;
    std::vector<VariedKind> m_varied;
    qsizetype m_size = 1;
    QStringList m_outputs;
};

} // namespace pellwerk
