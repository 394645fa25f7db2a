#pragma once

#include "PasteStep.h"

#include <QString>

#include <vector>

namespace pellwerk {

// The skin a composition starts from.
struct CompositionBase
{
    enum class Kind {
        Default, // the default skin built into the program
        New,     // SkinNEW.bmp, the template "neu" reads
        File,    // a skin file
    };
    Kind kind = Kind::Default;
    QString file; // Kind::File: the skin file; otherwise empty

    friend bool operator==(const CompositionBase &, const CompositionBase &) = default;
};

// How a skin is made: a base skin and the pastes on it, in order. What a recipe holds and what a
// Document holds besides its pictures.
struct Composition
{
    CompositionBase base;
    std::vector<PasteStep> steps;

    friend bool operator==(const Composition &, const Composition &) = default;
};

} // namespace pellwerk
