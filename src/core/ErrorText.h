#pragma once

#include "Result.h"

#include <QPoint>
#include <QString>
#include <QStringList>

namespace pellwerk {

// The words for every error and failure message, in German, the system's language: one place
// to read them and, later, to translate them. Only the front ends (the windows and the command
// line) call these; the core reports kinds and never words them itself.
namespace ErrorText {

// One sentence (or two) for the error itself, naming no file unless the kind is about one. An
// error inside a recipe (a place, a step or a field given) starts with where it lies and the file
// concerned: "Schritt 2, Feld „part“ (Face09.bmp): Die Datei ist nicht vorhanden.", "Zeile 3,
// Spalte 14: Das Rezept ist kein gültiges JSON: ungültige Zahl (…)."
QString describe(const Error &error);

// Messages that put an error into the user's action. Paths are shown in the platform's notation.
QString openSkinFailed(const QString &path, const Error &error);
QString saveSkinFailed(const QString &path, const Error &error);
QString exportFailed(const QString &path, const Error &error);
QString loadPartFailed(const QString &name, const Error &error);
QString imageFolderMissing(const QString &folder);
// The composer's messages: a recipe it cannot use, a skin it could not make or write.
QString recipeFailed(const QString &path, const Error &error);
QString skinFailed(const QString &path, const Error &error);

// "Eigene Teile": the user's own part folder could not be created, or no file manager opened it.
QString userPartFolderNotCreated(const QString &folder);
QString userPartFolderNotShown(const QString &folder);

// Several files were dropped: only the first was opened.
QString onlyFirstDropped(const QString &opened, int dropped);

// The recipe was saved, but some of its steps will leave a halo or lose pixels they mean to
// keep: one line per such step, as `stepLines` words them.
QString nearKeyWarning(const QString &recipe, const QStringList &stepLines);
// The recipe was saved, but files that some of its steps name cannot be read: one line per step,
// as describe() words the error.
QString unreadablePartsWarning(const QString &recipe, const QStringList &stepErrors);
// One step of the near-key warning: "Schritt 2 (Gesicht Face01.bmp): 14 nahe an der Transparenzfarbe,
// davon 9 Rand, zuerst bei 3,7".
QString nearKeyStep(int step, const QString &what, qint64 near, qint64 fringe, QPoint first);

// Asked before unsaved changes of the canvas would be lost.
QString saveChangesQuestion();
// Asked at the start for each copy of unsaved work that an editor left when it ended abnormally.
QString restoreQuestion();

} // namespace ErrorText

} // namespace pellwerk
