#pragma once

#include "CompositionHistory.h"
#include "core/Rect32.h"
#include "core/PictureBoxModel.h"
#include "core/Result.h"

#include <QObject>
#include <QString>

namespace pellwerk {

// The skin being edited: the 256 x 256 canvas (a picture box model with a persistent image, on
// black, starting with the default skin) and the history of the steps that made it. Every change
// of the canvas goes through here, so that each can be undone and written down.
class SkinCanvas : public QObject
{
    Q_OBJECT
public:
    explicit SkinCanvas(CompositionHistory::Limits limits = {}, QObject *parent = nullptr);

    // What the canvas shows. Drawing into it directly bypasses the history.
    PictureBoxModel &model() { return m_model; }
    const CompositionHistory &history() const { return m_history; }

    // Pastes the `partRect` area of what `preview` shows at `step.place`, leaving out
    // `step.transparent`, and records the step as it is described.
    void paste(const PictureBoxModel &preview, Rect32 partRect, const PasteStep &step);
    // Replaces the canvas by a skin file ("neu", "öffnen", a dropped file) and counts it as
    // saved. On failure nothing changes and the error is readBitmapFile's.
    Result<void> open(const QString &path, const CompositionBase &base);
    // Replaces the canvas by a composed skin, the outcome of `composition` read from `recipeFile`.
    void rebuild(const QImage &skin, const Composition &composition, const QString &recipeFile);
    // Writes the canvas as a skin file; on success the canvas counts as saved.
    Result<void> save(const QString &path);

    bool undo();
    bool redo();
    // Whether the canvas holds a step since it was last saved, opened or made new.
    bool isModified() const { return m_history.isModified(); }

signals:
    // Undo, redo or the saved state may have changed.
    void historyChanged();

private:
    void replace(Picture picture, HistoryStep step);

    PictureBoxModel m_model;
    CompositionHistory m_history;
};

} // namespace pellwerk
