#pragma once

#include "compose/CommandLineError.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace pellwerk {

// What the editor's command line asks for.
struct EditorOptions
{
    enum class Mode { Edit, Help, Version };
    Mode mode = Mode::Edit;
    // The skin to open once the main window is shown, exactly as given (an empty argument is a
    // file name too, one that cannot be opened); none when no file was named.
    std::optional<QString> file;

    friend bool operator==(const EditorOptions &, const EditorOptions &) = default;
};

// Reads the arguments (without the program's name; Qt's own options already taken out):
//
//   [FILE]
//   --help | -h, --version
//
// "--" ends the options, so a file may begin with "-"; a lone "-" is a file name. --help, then
// --version, win over everything else, errors included.
// Errors: ArgumentUnknown (detail: the argument as given, a value joined with "=" included),
// ArgumentSurplus (field "skin", detail: the second file).
CommandLineResult<EditorOptions> parseEditorOptions(const QStringList &arguments);

// The text --help prints: the call, the options and the argument.
QString editorHelpText();

} // namespace pellwerk
