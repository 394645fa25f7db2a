#pragma once

#include "Result.h"

#include <QString>

namespace pellwerk {

// The words for every error and failure message, in German, the system's language: one place
// to read them and, later, to translate them. Only the front ends (the windows and the command
// line) call these; the core reports kinds and never words them itself.
namespace ErrorText {

// One sentence (or two) for the error itself, naming no file unless the kind is about one.
QString describe(const Error &error);

// Messages that put an error into the user's action. Paths are shown in the platform's notation.
QString openSkinFailed(const QString &path, const Error &error);
QString saveSkinFailed(const QString &path, const Error &error);
QString loadPartFailed(const QString &name, const Error &error);
QString imageFolderMissing(const QString &folder);

// Asked before unsaved changes of the canvas would be lost.
QString saveChangesQuestion();

} // namespace ErrorText

} // namespace pellwerk
