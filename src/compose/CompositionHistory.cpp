#include "CompositionHistory.h"

#include <set>
#include <utility>

namespace pellwerk {

HistoryStep HistoryStep::pasted(PasteStep paste, int index)
{
    return edited(Type::Paste, std::move(paste), index);
}

HistoryStep HistoryStep::rebased(CompositionBase base)
{
    HistoryStep step;
    step.type = Type::Base;
    step.base = std::move(base);
    return step;
}

HistoryStep HistoryStep::rebuilt(QString recipeFile)
{
    HistoryStep step;
    step.type = Type::Recipe;
    step.recipeFile = std::move(recipeFile);
    return step;
}

HistoryStep HistoryStep::edited(Type type, PasteStep paste, int index)
{
    HistoryStep step;
    step.type = type;
    step.paste = std::move(paste);
    step.index = index;
    return step;
}

HistoryStep HistoryStep::reordered(PasteStep paste, int from, int to)
{
    HistoryStep step = edited(Type::Order, std::move(paste), to);
    step.from = from;
    return step;
}

CompositionHistory::CompositionHistory() : CompositionHistory(Limits{}) {}

CompositionHistory::CompositionHistory(Limits limits) : m_limits(limits)
{
    hold(m_origin, +1);
}

const Document &CompositionHistory::stateAt(int position) const
{
    return position == 0 ? m_origin : m_steps[size_t(position - 1)].after;
}

const Document &CompositionHistory::document() const
{
    return stateAt(m_position);
}

void CompositionHistory::hold(const Document &state, int sign)
{
    m_descriptions += sign * state.descriptionBytes();
    state.forEachPicture([&](const QImage &picture) {
        Held &held = m_pictures[picture.cacheKey()];
        held.states += sign;
        held.bytes = picture.sizeInBytes();
        if (held.states == 0)
            m_pictures.erase(picture.cacheKey());
    });
}

qint64 CompositionHistory::memoryBytes() const
{
    const Document &current = document();
    qint64 bytes = m_descriptions - current.descriptionBytes();
    for (const auto &[key, held] : m_pictures)
        bytes += held.bytes;
    // The current document's pictures are the document's, not what undo keeps.
    std::set<qint64> own;
    current.forEachPicture([&](const QImage &picture) {
        if (own.insert(picture.cacheKey()).second)
            bytes -= m_pictures.at(picture.cacheKey()).bytes;
    });
    return bytes;
}

void CompositionHistory::push(HistoryStep step, Document after)
{
    discardRedo();
    hold(after, +1);
    m_steps.push_back(Entry{std::move(step), std::move(after)});
    ++m_position;
    while (!m_steps.empty() && (size() > m_limits.maxSteps || memoryBytes() > m_limits.maxBytes))
        dropOldest();
}

bool CompositionHistory::amend(HistoryStep step, Document after)
{
    if (!canUndo() || canRedo())
        return false;
    if (m_saved == m_dropped + m_position)
        m_saved.reset();
    Entry &last = m_steps.back();
    hold(last.after, -1);
    hold(after, +1);
    last = Entry{std::move(step), std::move(after)};
    return true;
}

const HistoryStep *CompositionHistory::undoStep() const
{
    return canUndo() ? &m_steps[size_t(m_position - 1)].step : nullptr;
}

const HistoryStep *CompositionHistory::redoStep() const
{
    return canRedo() ? &m_steps[size_t(m_position)].step : nullptr;
}

bool CompositionHistory::undo()
{
    if (!canUndo())
        return false;
    --m_position;
    return true;
}

bool CompositionHistory::redo()
{
    if (!canRedo())
        return false;
    ++m_position;
    return true;
}

void CompositionHistory::markSaved()
{
    m_saved = m_dropped + m_position;
}

bool CompositionHistory::isModified() const
{
    return m_saved != m_dropped + m_position;
}

void CompositionHistory::clear()
{
    discardRedo();
    while (!m_steps.empty())
        dropOldest();
}

void CompositionHistory::discardRedo()
{
    if (m_saved && *m_saved > m_dropped + m_position)
        m_saved.reset();
    while (size() > m_position) {
        hold(m_steps.back().after, -1);
        m_steps.pop_back();
    }
}

// Only done actions are dropped from the front: every caller has discarded the undone ones or
// just pushed, so the oldest action is always done.
void CompositionHistory::dropOldest()
{
    hold(m_origin, -1);
    m_origin = std::move(m_steps.front().after);
    m_steps.pop_front();
    --m_position;
    ++m_dropped;
}

} // namespace pellwerk
