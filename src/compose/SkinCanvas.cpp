#include "SkinCanvas.h"

#include "core/BitmapDecoder.h"
#include "core/SkinDocument.h"

namespace pellwerk {

namespace {

// The step an action concerned, in the document it made and in the one before it.
int selectionAfter(const HistoryStep &step)
{
    switch (step.type) {
    case HistoryStep::Type::Base:
    case HistoryStep::Type::Recipe:
        return -1;
    case HistoryStep::Type::Removal:
        // The list shows the step painted before it in the removed step's row.
        return qMax(step.index - 1, 0);
    default:
        return step.index;
    }
}

int selectionBefore(const HistoryStep &step)
{
    switch (step.type) {
    case HistoryStep::Type::Base:
    case HistoryStep::Type::Recipe:
        return -1;
    case HistoryStep::Type::Paste:
        return step.index - 1;
    case HistoryStep::Type::Order:
        return step.from;
    default:
        return step.index;
    }
}

} // namespace

SkinCanvas::SkinCanvas(CompositionHistory::Limits limits, QObject *parent)
    : QObject(parent), m_model(QSize(SkinDocument::Size, SkinDocument::Size), Colours::Black, /*persistent*/ true),
      m_history(limits)
{
    m_elapsed.start();
    m_clock = [this] { return m_elapsed.elapsed(); };
    showDocument(-1);
}

void SkinCanvas::selectStep(int index)
{
    const int selected = index >= 0 && index < document().stepCount() ? index : -1;
    if (selected == m_selected)
        return;
    m_selected = selected;
    emit selectionChanged(selected);
}

// Renders the current document and tells everyone, with the selection that goes with it already
// made, so that what shows the document finds it.
void SkinCanvas::showDocument(int selected)
{
    m_model.drawingImage() = document().render(&m_layers);
    m_layers.sweep();
    m_selected = selected >= 0 && selected < document().stepCount() ? selected : -1;
    m_model.refresh();
    emit documentChanged();
    emit selectionChanged(m_selected);
}

void SkinCanvas::record(HistoryStep step, Document after, bool joinsBurst)
{
    const int selected = selectionAfter(step);
    if (!joinsBurst || !m_history.amend(step, after))
        m_history.push(std::move(step), std::move(after));
    showDocument(selected);
    emit historyChanged();
}

void SkinCanvas::paste(const PasteStep &step, const QImage &part)
{
    m_burst.end();
    Document after = document();
    after.append(step, part);
    const int index = after.stepCount() - 1;
    record(HistoryStep::pasted(step, index), std::move(after));
}

Result<void> SkinCanvas::open(const QString &path, const CompositionBase &base)
{
    Result<QImage> read = readBitmapFile(path);
    if (!read)
        return read.error();
    m_burst.end();
    m_history.push(HistoryStep::rebased(base), Document(base, read.value()));
    m_history.markSaved();
    showDocument(-1);
    emit historyChanged();
    return {};
}

void SkinCanvas::rebuild(Document document, const QString &recipeFile)
{
    m_burst.end();
    record(HistoryStep::rebuilt(recipeFile), std::move(document));
}

Result<void> SkinCanvas::save(const QString &path)
{
    Result<void> saved = SkinDocument::save(m_model, path);
    if (saved) {
        m_burst.end();
        m_history.markSaved();
        emit historyChanged();
    }
    return saved;
}

bool SkinCanvas::undo()
{
    m_burst.end();
    const HistoryStep *undone = m_history.undoStep();
    if (!undone)
        return false;
    const int selected = selectionBefore(*undone);
    m_history.undo();
    showDocument(selected);
    emit historyChanged();
    return true;
}

bool SkinCanvas::redo()
{
    m_burst.end();
    const HistoryStep *redone = m_history.redoStep();
    if (!redone)
        return false;
    const int selected = selectionAfter(*redone);
    m_history.redo();
    showDocument(selected);
    emit historyChanged();
    return true;
}

bool SkinCanvas::editStep(HistoryStep::Type type, int index, const std::function<void(PasteStep &)> &edit)
{
    if (index < 0 || index >= document().stepCount())
        return false;
    PasteStep changed = document().steps()[size_t(index)];
    edit(changed);
    Document after = document();
    if (!after.change(index, changed) || after.steps() == document().steps())
        return false;
    const bool joins = m_burst.join(type, index, m_clock());
    record(HistoryStep::edited(type, changed, index), std::move(after), joins);
    return true;
}

bool SkinCanvas::setTint(int index, const UserRgb &tint)
{
    return editStep(HistoryStep::Type::Tint, index, [&](PasteStep &step) { step.tint = tint; });
}

bool SkinCanvas::setPlace(int index, QPoint place)
{
    return editStep(HistoryStep::Type::Place, index, [&](PasteStep &step) { step.place = place; });
}

bool SkinCanvas::setVisible(int index, bool visible)
{
    return editStep(HistoryStep::Type::Visibility, index, [&](PasteStep &step) { step.visible = visible; });
}

bool SkinCanvas::setMirrored(int index, bool mirrored)
{
    return editStep(HistoryStep::Type::Mirror, index, [&](PasteStep &step) { step.mirrored = mirrored; });
}

bool SkinCanvas::moveStep(int index, int to)
{
    Document after = document();
    if (index == to || !after.move(index, to))
        return false;
    m_burst.end();
    HistoryStep step = HistoryStep::reordered(after.steps()[size_t(to)], index, to);
    record(std::move(step), std::move(after));
    return true;
}

bool SkinCanvas::removeStep(int index)
{
    Document after = document();
    if (!after.remove(index))
        return false;
    m_burst.end();
    record(HistoryStep::edited(HistoryStep::Type::Removal, document().steps()[size_t(index)], index), std::move(after));
    return true;
}

bool SkinCanvas::swapPart(int index, const QString &path, const QImage &part)
{
    Document after = document();
    if (!after.swapPart(index, path, part) || after == document())
        return false;
    m_burst.end();
    HistoryStep step = HistoryStep::edited(HistoryStep::Type::PartSwap, after.steps()[size_t(index)], index);
    record(std::move(step), std::move(after));
    return true;
}

} // namespace pellwerk

namespace pellwerk {

std::optional<Document> SkinCanvas::withRamp(int index, const RampSwap &ramp, const Palette &from,
                                             const Palette &to) const
{
    if (index < 0 || index >= document().stepCount())
        return std::nullopt;
    Document after = document();
    PasteStep changed = after.steps()[size_t(index)];
    changed.ramp = ramp;
    if (!ramp.isNone()) {
        after.addPalette(ramp.from, from);
        after.addPalette(ramp.to, to);
    }
    if (!after.change(index, changed))
        return std::nullopt;
    return after;
}

bool SkinCanvas::setRamp(int index, const RampSwap &ramp, const Palette &from, const Palette &to)
{
    std::optional<Document> after = withRamp(index, ramp, from, to);
    if (!after || *after == document()) {
        endPreview();
        return false;
    }
    m_burst.end();
    HistoryStep step = HistoryStep::edited(HistoryStep::Type::Ramp, after->steps()[size_t(index)], index);
    record(std::move(step), std::move(*after));
    return true;
}

bool SkinCanvas::previewRamp(int index, const RampSwap &ramp, const Palette &from, const Palette &to)
{
    const std::optional<Document> after = withRamp(index, ramp, from, to);
    if (!after)
        return false;
    // Swept like any render, so that trying palette after palette keeps no more than one preview.
    m_model.drawingImage() = after->render(&m_layers);
    m_layers.sweep();
    m_model.refresh();
    return true;
}

void SkinCanvas::endPreview()
{
    m_model.drawingImage() = document().render(&m_layers);
    m_layers.sweep();
    m_model.refresh();
}

} // namespace pellwerk
