#pragma once

#include "core/Result.h"

#include <QString>

namespace pellwerk {

// What follows a kind's key to vary its steps' palettes instead of their parts.
inline constexpr char RampSuffix[] = ".ramp";

// What is wrong with what a command line asks for: an option, or the skins a recipe and its
// variations would make. The editor's command line reports the first two kinds, the composer's
// all of them.
enum class CommandLineErrorKind {
    ArgumentUnknown,            // detail: the argument
    ArgumentMissingValue,       // field: the option
    ArgumentBadValue,           // field: the option, detail: the value given
    ArgumentMissing,            // detail: "recipe" or "output"
    ArgumentSurplus,            // detail: the argument too many; field "skin" for the editor's second file
    ArgumentConflict,           // field and detail: the two options
    VaryNoStep,                 // field: the kind's key (with RampSuffix for a ramp variation)
    VaryRepeated,               // field: the kind's key
    VaryNoMatch,                // field: the kind's key, detail: the pattern
    VaryTooMany,                // detail: the number of skins it would make
    OutputPlaceholderMissing,   // field: the kind's key
    OutputPlaceholderNotVaried, // field: the kind's key
    OutputCollision,            // file: the output name, detail: the two combinations
    OutputFolderMissing,        // file: the folder
    OutputIsInput,              // file: the output name
};

struct CommandLineError
{
    CommandLineErrorKind kind;
    QString field;  // the option or the kind's key concerned
    QString detail; // exactly what was given, or what is wrong with it
    QString file;   // the file or folder concerned

    friend bool operator==(const CommandLineError &, const CommandLineError &) = default;
};

template <class T> using CommandLineResult = Result<T, CommandLineError>;

// The words, in German like ErrorText's.
namespace CommandLineText {

// One sentence for the error, naming the option, value or file it concerns.
QString describe(const CommandLineError &error);
// A plan of skins the composer refuses: the file concerned comes first where the words do not
// name it.
QString planFailed(const CommandLineError &error);

} // namespace CommandLineText

} // namespace pellwerk
