#pragma once

#include "Composer.h"
#include "KeyColourLint.h"
#include "Recipe.h"
#include "VariationPlan.h"
#include "core/Result.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace pellwerk {

// The key-colour check of one step with one part.
struct LintEntry
{
    int step = 0;       // from 1
    QString kind;       // the kind's key
    QString part;       // as the recipe writes it, or the matching file's name for a varied kind
    QString ramp;       // the "to" palette's file name when the kind's ramp is varied; else empty
    KeyColourLint lint; // counts only, no marks
};

// Checks every step of a plan's recipe as it will be pasted (its ramp swap, its tint, its
// transparent colour): a step of a varied kind once for each file its pattern matches (each part
// with each palette when both vary), in list order, any other step once. Each entry goes to `onEntry` as soon as it is
// made, so that a long recipe is checked in the memory of one step.
//
// Answers as composing does: before any entry, the base and every part all skins share must be
// readable, or the first that is not is the error (field "base", or its step, field "part" or
// "ramp" and file). A varied file that cannot be read (or a varied palette that does not fit)
// goes to `onFailure` once, with the first step of its kind; the other files are checked.
Result<void> lintPlan(const VariationPlan &plan, const Composer &composer, int nearLimit,
                      const std::function<void(const LintEntry &)> &onEntry,
                      const std::function<void(const Error &)> &onFailure);

// "step 2 face Face01.bmp: 812 left out, 14 near the transparent colour (9 fringe), first at 3,7";
// without a near-key pixel the line ends after "(0 fringe)". A varied ramp's palette follows the
// part: "step 3 shirt S.bmp ramp trikot-rot.gpl: …".
QString lintLine(const LintEntry &entry);
// A JSON array of {"step", "kind", "part", ["ramp",] "left_out", "near", "fringe", "near_first": [x, y] or
// null}, one object per line, ending in a newline, made piece by piece: each entry with what goes
// before it (`index` from 0; the first brings the "["), then the end after `count` entries.
QByteArray lintJsonEntry(const LintEntry &entry, qsizetype index);
QByteArray lintJsonEnd(qsizetype count);

} // namespace pellwerk
