#pragma once

#include "Composer.h"
#include "KeyColourLint.h"
#include "Recipe.h"
#include "VariationPlan.h"
#include "core/Result.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace pellwerk {

// The key-colour check of one step with one part.
struct LintEntry
{
    int step = 0; // from 1
    QString kind; // the kind's key
    QString part; // as the recipe writes it, or the matching file's name for a varied kind
    KeyColourLint lint;
};

// Checks every step of a plan's recipe as it will be pasted (its transparent colour and tint): a
// step of a varied kind once for each file its pattern matches, in list order, any other step
// once. The first part that cannot be read is the error, with its step, field "part" and file.
Result<std::vector<LintEntry>> lintPlan(const VariationPlan &plan, const Composer &composer, int nearLimit);

// "step 2 face Face01.bmp: 812 left out, 14 near the transparent colour (9 fringe), first at 3,7";
// without a near-key pixel the line ends after "(0 fringe)".
QString lintLine(const LintEntry &entry);
// A JSON array of {"step", "kind", "part", "left_out", "near", "fringe", "near_first": [x, y] or
// null}, one object per line, ending in a newline.
QByteArray lintJson(const std::vector<LintEntry> &entries);

} // namespace pellwerk
