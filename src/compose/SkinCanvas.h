#pragma once

#include "CompositionHistory.h"
#include "EditBurst.h"
#include "LayerCache.h"
#include "core/PictureBoxModel.h"
#include "core/Result.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace pellwerk {

// The editor's document: the current Document with its undo history, and the 256 x 256 canvas
// (a picture box model with a persistent image, on black) that shows the document rendered.
// Every change of the skin is an edit of the document made here; the canvas is rendered anew
// after each, by the composer's own code, and each user action is one step of the history.
//
// Steps are counted from 0, the one painted first. An edit of a step that does not exist, or one
// that would change nothing, returns false and records nothing.
class SkinCanvas : public QObject
{
    Q_OBJECT
public:
    explicit SkinCanvas(CompositionHistory::Limits limits = {}, QObject *parent = nullptr);

    // What the canvas shows. Drawing into it directly bypasses the document: the next render
    // paints over it.
    PictureBoxModel &model() { return m_model; }
    const CompositionHistory &history() const { return m_history; }
    const Document &document() const { return m_history.document(); }

    // Appends a step that pastes `part` (the picture `step.part` names, as decoded, before any
    // tint) and records it.
    void paste(const PasteStep &step, const QImage &part);
    // A new document on the skin file at `path` ("neu", "öffnen", a dropped file), counted as
    // saved. On failure nothing changes and the error is readBitmapFile's.
    Result<void> open(const QString &path, const CompositionBase &base);
    // A new document with steps, read from `recipeFile`, as one step.
    void rebuild(Document document, const QString &recipeFile);
    // Writes the canvas as a skin file; on success the document counts as saved.
    Result<void> save(const QString &path);

    bool undo();
    bool redo();
    // Whether the document changed since it was last saved, opened or made new.
    bool isModified() const { return m_history.isModified(); }

    // Edits of step `index`. A tint or place set again within an EditBurst joins the step before.
    bool setTint(int index, const UserRgb &tint);
    // Only a user-place step moves: a fixed kind is at its kind's place.
    bool setPlace(int index, QPoint place);
    bool setVisible(int index, bool visible);
    bool setMirrored(int index, bool mirrored);
    // Puts the step at position `to`.
    bool moveStep(int index, int to);
    bool removeStep(int index);
    // The step pastes the picture `part` of the file `path` instead.
    bool swapPart(int index, const QString &path, const QImage &part);
    // The step swaps its part's colours from palette `from` to `to` (read from the files `ramp`
    // names), or swaps none when `ramp` is none. False, changing nothing, for palettes of
    // different lengths.
    bool setRamp(int index, const RampSwap &ramp, const Palette &from, const Palette &to);
    // The canvas shows what setRamp would make, without recording it (a dialog's live preview);
    // endPreview(), or any edit, undo or redo, shows the document again.
    bool previewRamp(int index, const RampSwap &ramp, const Palette &from, const Palette &to);
    void endPreview();
    // The next tint or place change starts an undo step of its own (a spin box lost the focus).
    void endBurst() { m_burst.end(); }

    // The step the steps window has selected and the zoom window outlines, or -1. The selection
    // follows the edits: a paste selects its step, a moved step stays selected, a removal selects
    // the step below it in the list (painted before it), a new document selects none, and undo
    // and redo select the step their action concerned, as far as it exists.
    int selectedStep() const { return m_selected; }
    // Selects step `index`; any index outside the steps selects none.
    void selectStep(int index);

    // The clock bursts are timed with, in milliseconds (monotonic); for tests.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

signals:
    // Undo, redo or the saved state may have changed.
    void historyChanged();
    // The document is another one or has other steps; the canvas shows it already.
    void documentChanged();
    void selectionChanged(int index);

private:
    bool editStep(HistoryStep::Type type, int index, const std::function<void(PasteStep &)> &edit);
    std::optional<Document> withRamp(int index, const RampSwap &ramp, const Palette &from, const Palette &to) const;
    void record(HistoryStep step, Document after, bool joinsBurst = false);
    void showDocument(int selected);

    PictureBoxModel m_model;
    CompositionHistory m_history;
    LayerCache m_layers;
    EditBurst m_burst;
    QElapsedTimer m_elapsed;
    std::function<qint64()> m_clock;
    int m_selected = -1;
};

} // namespace pellwerk
