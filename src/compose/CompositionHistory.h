#pragma once

#include "Document.h"

#include <QString>
#include <QtGlobal>

#include <deque>
#include <map>
#include <optional>

namespace pellwerk {

// One user action that changed the document, as the menus name it. Only the fields its type
// uses are set.
struct HistoryStep
{
    enum class Type {
        Paste,      // a part pasted: `paste`, appended as step `index`
        Base,       // a new document on a base skin ("neu", "öffnen", a dropped file): `base`
        Recipe,     // a new document from a recipe read from `recipeFile`
        Tint,       // step `index` tinted anew: `paste` as it is now
        Place,      // step `index` moved on the skin
        Visibility, // step `index` shown or hidden (`paste.visible` says which)
        Mirror,     // step `index` mirrored or not (`paste.mirrored`)
        Order,      // step `from` moved to position `index` among the steps
        Removal,    // step `index` removed: `paste` as it was
        PartSwap,   // step `index` pastes another part: `paste` with the new one
        Ramp,       // step `index` swaps another colour ramp or none: `paste` with the new one
    };
    Type type = Type::Paste;
    PasteStep paste;
    int index = -1;
    int from = -1;
    CompositionBase base;
    QString recipeFile;

    static HistoryStep pasted(PasteStep paste, int index);
    static HistoryStep rebased(CompositionBase base);
    static HistoryStep rebuilt(QString recipeFile);
    // An edit of step `index`, now `paste`.
    static HistoryStep edited(Type type, PasteStep paste, int index);
    static HistoryStep reordered(PasteStep paste, int from, int to);
};

// The states the document went through, as one ordered list of user actions with an undo
// position and a saved position. Each action keeps the document it made; documents share their
// pictures, so a state costs its step list plus the pictures no other state holds.
//
// Undo and redo make an earlier or later document the current one; rendering it gives the canvas
// of that state bit for bit, whatever happened to the part files since.
//
// Memory is bounded by Limits: after a push the oldest actions are dropped (what they made stays
// the start of the history) until both limits hold again, every action if need be. What counts is
// what undo and redo keep alive beyond the current document: the descriptions of every other state
// held, and the pictures that only they hold, each picture counted once however many states share
// it.
class CompositionHistory
{
public:
    // With the defaults 256 actions always fit unless their pictures alone pass 48 MiB: 256 pastes
    // of distinct 148 x 191 parts hold about 28 MiB, 190 "öffnen" of distinct skins (256 KiB of
    // pixels each) fill the bound.
    struct Limits
    {
        int maxSteps = 256;                         // actions kept, undone ones included
        qint64 maxBytes = qint64(48) * 1024 * 1024; // memoryBytes() never exceeds this after a push
    };

    CompositionHistory();
    explicit CompositionHistory(Limits limits);

    // The current document: what the last done action made.
    const Document &document() const;
    const Composition &composition() const { return document().composition(); }

    // Records an action that made `after` out of the current document. Undone actions are
    // dropped first: there are no branches.
    void push(HistoryStep step, Document after);
    // Lets the last done action make `after` instead, described by `step`: an edit that goes on
    // with the one before (the burst of a spin box). False, changing nothing, when there is no done
    // action or undone ones follow it. Amending the saved state makes the document modified.
    bool amend(HistoryStep step, Document after);

    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < size(); }
    // The action undo() or redo() would take back or do again, or nullptr. Valid until the
    // history next changes.
    const HistoryStep *undoStep() const;
    const HistoryStep *redoStep() const;

    // Take back the last done action or do the next undone one again. False when there is none.
    bool undo();
    bool redo();

    // After a successful save, and when a new document starts ("neu", "öffnen").
    void markSaved();
    // Whether the document differs from the state last marked saved. Undoing or redoing back to
    // that state makes it unmodified again; once that state can no longer be reached (its action
    // was dropped, or it lay on undone actions that a push discarded) the document stays modified
    // until the next markSaved().
    bool isModified() const;

    // Actions held, undone ones included.
    int size() const { return int(m_steps.size()); }
    qint64 memoryBytes() const;
    const Limits &limits() const { return m_limits; }

    // Forgets every action: done ones can no longer be undone, undone ones are gone. The saved
    // state survives only if it is the current one.
    void clear();

private:
    struct Entry
    {
        HistoryStep step;
        Document after;
    };

    const Document &stateAt(int position) const;
    void hold(const Document &state, int sign);
    void discardRedo();
    void dropOldest();

    Limits m_limits;
    Document m_origin; // the document before the oldest action held
    std::deque<Entry> m_steps;
    int m_position = 0;   // actions [0, m_position) are done
    qint64 m_dropped = 0; // actions dropped from the front so far; positions below are counted from there
    // m_dropped + m_position when last saved; none once a push discarded that state. A dropped
    // state needs no mark: the position never goes below m_dropped again.
    std::optional<qint64> m_saved = 0;

    // Every picture of the states held (the origin and each action's document), by its image
    // data: how many states hold it and its size.
    struct Held
    {
        int states = 0;
        qint64 bytes = 0;
    };
    std::map<qint64, Held> m_pictures;
    qint64 m_descriptions = 0; // descriptionBytes() of every state held
};

} // namespace pellwerk
