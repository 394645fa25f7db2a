#pragma once

#include "CommandLineError.h"
#include "KeyColourLint.h"
#include "parts/PlacementTable.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace pellwerk {

// One --vary KIND=GLOB: every file matching the pattern stands in turn for the part of every step
// of that kind. With `ramp` (--vary KIND.ramp=GLOB) every matching palette stands in turn for the
// "to" palette of every step of that kind that swaps a ramp; its "from" palette stays.
struct Variation
{
    PartKindId kind = PartKindId::User;
    QString pattern;
    bool ramp = false;

    friend bool operator==(const Variation &, const Variation &) = default;
};

// What the command line of pellwerk-compose asks for.
struct ComposeOptions
{
    enum class Mode { Compose, Check, Lint, Help, Version };
    Mode mode = Mode::Compose;
    QString recipe;
    QString output;                    // -o: the skin file, with {kind} placeholders when varying
    std::vector<Variation> variations; // in the order given
    int jobs = 0;                      // -j: workers; 0 for one per core
    bool failFast = false;
    int nearLimit = DefaultNearLimit; // --near K
    bool json = false;

    friend bool operator==(const ComposeOptions &, const ComposeOptions &) = default;
};

// Reads the arguments (without the program's name):
//
//   RECIPE -o OUT [--vary KIND=GLOB]... [-j N] [--fail-fast]
//   --check RECIPE [--vary KIND=GLOB]...
//   --lint RECIPE [--near K] [--json] [--vary KIND=GLOB]...
//   --help | -h, --version
//
// Values follow their option as the next argument or joined ("-oOUT", "-j4", "--output=OUT",
// "--jobs=4", "--vary=face=F*.bmp", "--near=4"); "--" ends the options. A later -o, -j or --near
// replaces an earlier one. --help, then --version, win over everything else, errors included.
// Errors: ArgumentUnknown, ArgumentMissingValue, ArgumentBadValue (-j 1..1024, --near 0..255,
// --vary with a kind's key and a pattern), ArgumentMissing, ArgumentSurplus (a second recipe),
// ArgumentConflict (--check with --lint, -o with either, --json or --near without --lint),
// VaryRepeated (the same KIND or KIND.ramp twice; a kind's part and its ramp may both vary).
CommandLineResult<ComposeOptions> parseComposeOptions(const QStringList &arguments);

} // namespace pellwerk
