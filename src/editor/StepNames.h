#pragma once

#include "compose/CompositionHistory.h"

#include <QString>

#include <vector>

namespace pellwerk {

// How the editor names what the document holds and what was done to it: the edit menu's undo and
// redo entries and the rows of the steps window use the same names.

// A paste: its kind and its part's file name ("Hemd shirt02.bmp", "Benutzer-Teil scar.bmp"), or
// "Vorschaubild" for the preview picture built into the program.
QString pasteName(const PasteStep &step);
// The words that name an edit of a step, before the step's name; a language file replaces them.
struct ActionWords
{
    QString tint = QStringLiteral("Tönung");
    QString place = QStringLiteral("Ort");
    QString hide = QStringLiteral("ausblenden");
    QString show = QStringLiteral("einblenden");
    QString mirror = QStringLiteral("spiegeln");
    QString unmirror = QStringLiteral("Spiegelung aufheben");
    QString up = QStringLiteral("nach oben");
    QString down = QStringLiteral("nach unten");
    QString remove = QStringLiteral("entfernen");
    QString swap = QStringLiteral("Teil tauschen");
    QString ramp = QStringLiteral("Farbrampe");
    QString unramp = QStringLiteral("Farbrampe entfernen");
};

// An action of the history, named after what changed: "Gesicht Face01.bmp" (a paste), "neu",
// "öffnen skin.bmp", "Rezept r.json", or an edit's word and the step's name: "Tönung Hemd
// shirt02.bmp", "Ort …", "ausblenden …" and "einblenden …", "spiegeln …" and "Spiegelung
// aufheben …", "nach oben …" and "nach unten …", "entfernen …", "Farbrampe …" and "Farbrampe
// entfernen …", "Teil tauschen …" (with the new part).
QString actionName(const HistoryStep &step, const ActionWords &words = {});
// The edit menu's entry for an action: the entry's own word (its "&" a mnemonic, as the language
// file gives it), and the action's name after a colon when there is one, shown literally.
QString actionMenuText(const QString &word, const HistoryStep *step, const ActionWords &words = {});

// The words of the steps window's rows that a language file replaces.
struct StepRowWords
{
    QString base = QStringLiteral("Grundlage: ");
    QString defaultSkin = QStringLiteral("Standard-Skin");
    QString hidden = QStringLiteral("ausgeblendet");
    QString mirrored = QStringLiteral("gespiegelt");
    QString tinted = QStringLiteral("getönt");
    QString nearKey = QStringLiteral("nahe an der Transparenzfarbe");
};

// One row of the steps window. `step` is the step's index in the document (0 is painted first),
// or -1 for the base.
struct StepRow
{
    int step = -1;
    QString text;
    friend bool operator==(const StepRow &, const StepRow &) = default;
};

// The rows from top to bottom: the step painted last first, the base last ("Grundlage: " and the
// base's file name, or the default skin's name). A step's row is its paste name followed by a mark
// in brackets for each of: hidden, mirrored, tinted, and pixels near the transparent colour as
// the step will paste them (the key-colour check).
std::vector<StepRow> stepRows(const Document &document, const StepRowWords &words = {});

// The row that shows step `index` of `stepCount` steps, and the step a row shows (-1: the base or
// no row at all).
inline int rowOfStep(int stepCount, int index)
{
    return stepCount - 1 - index;
}
inline int stepOfRow(int stepCount, int row)
{
    return row >= 0 && row < stepCount ? stepCount - 1 - row : -1;
}

} // namespace pellwerk
