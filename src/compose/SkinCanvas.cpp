#include "SkinCanvas.h"

#include "core/BitmapDecoder.h"
#include "core/SkinDocument.h"

namespace pellwerk {

SkinCanvas::SkinCanvas(CompositionHistory::Limits limits, QObject *parent)
    : QObject(parent), m_model(QSize(SkinDocument::Size, SkinDocument::Size), Colours::Black, /*persistent*/ true),
      m_history(limits)
{
    m_elapsed.start();
    m_clock = [this] { return m_elapsed.elapsed(); };
    showDocument();
}

void SkinCanvas::showDocument()
{
    m_model.drawingImage() = document().render(&m_layers);
    m_layers.sweep();
    m_model.refresh();
}

void SkinCanvas::record(HistoryStep step, Document after, bool joinsBurst)
{
    if (!joinsBurst || !m_history.amend(step, after))
        m_history.push(std::move(step), std::move(after));
    showDocument();
    emit documentChanged();
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
    showDocument();
    emit documentChanged();
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
    if (!m_history.undo())
        return false;
    showDocument();
    emit documentChanged();
    emit historyChanged();
    return true;
}

bool SkinCanvas::redo()
{
    m_burst.end();
    if (!m_history.redo())
        return false;
    showDocument();
    emit documentChanged();
    emit historyChanged();
    return true;
}

bool SkinCanvas::editStep(HistoryStep::Type type, int index, const PasteStep &changed)
{
    Document after = document();
    if (!after.change(index, changed) || after.steps() == document().steps())
        return false;
    const bool joins = m_burst.join(type, index, m_clock());
    record(HistoryStep::edited(type, changed, index), std::move(after), joins);
    return true;
}

bool SkinCanvas::setTint(int index, const UserRgb &tint)
{
    if (index < 0 || index >= document().stepCount())
        return false;
    PasteStep step = document().steps()[size_t(index)];
    step.tint = tint;
    return editStep(HistoryStep::Type::Tint, index, step);
}

bool SkinCanvas::setPlace(int index, QPoint place)
{
    if (index < 0 || index >= document().stepCount())
        return false;
    PasteStep step = document().steps()[size_t(index)];
    step.place = place;
    return editStep(HistoryStep::Type::Place, index, step);
}

bool SkinCanvas::setVisible(int index, bool visible)
{
    if (index < 0 || index >= document().stepCount())
        return false;
    PasteStep step = document().steps()[size_t(index)];
    step.visible = visible;
    return editStep(HistoryStep::Type::Visibility, index, step);
}

bool SkinCanvas::setMirrored(int index, bool mirrored)
{
    if (index < 0 || index >= document().stepCount())
        return false;
    PasteStep step = document().steps()[size_t(index)];
    step.mirrored = mirrored;
    return editStep(HistoryStep::Type::Mirror, index, step);
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
