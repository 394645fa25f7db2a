#pragma once

#include "CanvasDelta.h"
#include "Composition.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QtGlobal>

#include <deque>
#include <optional>

namespace pellwerk {

// One thing that changed the canvas, as the menus name it and as a composition records it, with
// what undoing it takes. Only the fields of its type are used.
struct HistoryStep
{
    enum class Type {
        Paste,  // a part pasted: `paste`
        Base,   // the canvas replaced by a base skin ("neu", "öffnen", a dropped file): `base`
        Recipe, // the canvas rebuilt by a recipe: `recipe`, read from `recipeFile`
    };
    Type type = Type::Paste;
    PasteStep paste;
    CompositionBase base;
    Composition recipe;
    QString recipeFile;
    CanvasDelta delta; // filled in by CompositionHistory::push()

    static HistoryStep pasted(PasteStep paste);
    static HistoryStep rebased(CompositionBase base);
    static HistoryStep rebuilt(Composition recipe, QString recipeFile);
};

// The canvas's steps as one ordered list with an undo position and a saved position.
//
// The history does not own the canvas: push() is told how a step changed it, undo() and redo()
// change the canvas they are given. They must be given the canvas as the history left it (the
// 256 x 256 Format_RGB32 skin); a canvas of another size or format is refused untouched.
// Undo and redo restore every pixel bit for bit and cost time in proportion to the pixels the
// step changed, not the canvas.
//
// Memory is bounded by Limits: after a push the oldest steps are dropped until both limits hold
// again, the pushed step too if it alone exceeds them. What a dropped step did is kept in the
// composition (it can no longer be undone, but composition() still names it).
class CompositionHistory
{
public:
    // With the defaults 256 pastes always fit (a 148 x 191 paste holds at most about 85 KiB);
    // steps that replace the whole canvas by noise hold 192 KiB and a little bookkeeping each, so
    // 255 of those fit. Real skins differ in far fewer pixels.
    struct Limits
    {
        int maxSteps = 256;                         // steps kept, undone ones included
        qint64 maxBytes = qint64(48) * 1024 * 1024; // memoryBytes() never exceeds this after a push
    };

    CompositionHistory();
    explicit CompositionHistory(Limits limits);

    // Records a step that changed the canvas from `before` to `after` within `area` (a paste
    // passes its clipped rectangle, a base or recipe step the whole canvas). Undone steps are
    // dropped first: there are no branches. A step that changed no pixel is still recorded.
    // `step.delta` is replaced by the difference of the two pictures.
    void push(HistoryStep step, const QImage &before, const QImage &after, QRect area);

    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < size(); }
    // The step undo() or redo() would take back or do again, or nullptr. Valid until the history
    // next changes.
    const HistoryStep *undoStep() const;
    const HistoryStep *redoStep() const;

    // Take back the last done step or do the next undone one again, on `canvas`. False (canvas
    // and history unchanged) when there is none or the canvas is not the one the step changed.
    bool undo(QImage &canvas);
    bool redo(QImage &canvas);

    // After a successful save, and when a new document starts ("neu", "öffnen").
    void markSaved();
    // Whether the canvas differs from the state last marked saved. Undoing or redoing back to
    // that state makes it unmodified again; once that state can no longer be reached (its step
    // was dropped, or it lay on undone steps that a push discarded) the canvas stays modified
    // until the next markSaved().
    bool isModified() const;

    // What made the current canvas: the base and the pastes of every done step, dropped ones
    // included; undone steps are not in it. The last Base step gives the base and starts over, a
    // Recipe step gives its whole composition, later pastes are appended. Without either, the
    // base is the default skin.
    Composition composition() const;

    // Steps held, undone ones included.
    int size() const { return int(m_steps.size()); }
    // Memory the steps hold: their deltas and descriptions, strings counted at their capacity.
    // The composition of dropped steps is the document's, not undo memory, and is not counted.
    qint64 memoryBytes() const { return m_bytes; }
    const Limits &limits() const { return m_limits; }

    // Forgets every step: done ones can no longer be undone (they stay in composition()), undone
    // ones are gone. The saved state survives only if it is the current one.
    void clear();

private:
    struct Entry
    {
        HistoryStep step;
        qint64 bytes;
    };

    static void fold(Composition &composition, const HistoryStep &step);
    void discardRedo();
    void dropOldest();

    Limits m_limits;
    std::deque<Entry> m_steps;
    int m_position = 0;   // steps [0, m_position) are done
    qint64 m_dropped = 0; // steps dropped from the front so far; positions below are counted from there
    // m_dropped + m_position when last saved; none once a push discarded that state. A dropped
    // state needs no mark: the position never goes below m_dropped again.
    std::optional<qint64> m_saved = 0;
    qint64 m_bytes = 0;
    Composition m_origin; // what the dropped steps made
};

} // namespace pellwerk
