#pragma once

#include "core/AppState.h"

#include <QString>

namespace pellwerk {

// Searches the language file `fileName` (a bare name inside state.ProgramFolder) for `key`.
// A line matches when it contains the key, compared without regard to case, and holds no "##";
// every line is tried and the last match wins. The file is read afresh on each call, so an edited
// file counts at the next lookup. Returns true and leaves the whole matching line (without its
// CR LF) in state.LanguageLine; otherwise returns false with state.LanguageLine empty.
// A missing or unreadable file simply has no lines.
bool FindLanguageLine(AppState &state, const QString &key, const QString &fileName);

// The text for `key` in the active language file state.LanguageFile: everything behind the first
// "#" of the matching line, spaces and further "#" included, or the whole line when it has no "#".
// Empty when nothing matches.
QString LanguageText(AppState &state, const QString &key);

} // namespace pellwerk
