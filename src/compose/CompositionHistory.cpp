#include "CompositionHistory.h"

#include <utility>

namespace pellwerk {

namespace {

qint64 stringBytes(const QString &text)
{
    return qint64(text.capacity()) * qint64(sizeof(QChar));
}

// Strings shared with other copies are counted for each step that holds them: the count may run
// high, never low.
qint64 descriptionBytes(const HistoryStep &step)
{
    qint64 bytes = stringBytes(step.paste.part) + stringBytes(step.base.file) + stringBytes(step.recipeFile)
                   + stringBytes(step.recipe.base.file) + qint64(step.recipe.steps.capacity() * sizeof(PasteStep));
    for (const PasteStep &paste : step.recipe.steps)
        bytes += stringBytes(paste.part);
    return bytes;
}

} // namespace

HistoryStep HistoryStep::pasted(PasteStep paste)
{
    HistoryStep step;
    step.type = Type::Paste;
    step.paste = std::move(paste);
    return step;
}

HistoryStep HistoryStep::rebased(CompositionBase base)
{
    HistoryStep step;
    step.type = Type::Base;
    step.base = std::move(base);
    return step;
}

HistoryStep HistoryStep::rebuilt(Composition recipe, QString recipeFile)
{
    HistoryStep step;
    step.type = Type::Recipe;
    step.recipe = std::move(recipe);
    step.recipeFile = std::move(recipeFile);
    return step;
}

CompositionHistory::CompositionHistory() : CompositionHistory(Limits{}) {}

CompositionHistory::CompositionHistory(Limits limits) : m_limits(limits) {}

void CompositionHistory::push(HistoryStep step, const QImage &before, const QImage &after, QRect area)
{
    discardRedo();
    step.delta = CanvasDelta::between(before, after, area);
    // The entry's own size stands for the step and its delta object; the delta's buffers and the
    // strings come on top.
    const qint64 bytes =
        qint64(sizeof(Entry)) - qint64(sizeof(CanvasDelta)) + step.delta.bytes() + descriptionBytes(step);
    m_steps.push_back(Entry{std::move(step), bytes});
    m_bytes += bytes;
    ++m_position;
    while (!m_steps.empty() && (size() > m_limits.maxSteps || m_bytes > m_limits.maxBytes))
        dropOldest();
}

const HistoryStep *CompositionHistory::undoStep() const
{
    return canUndo() ? &m_steps[size_t(m_position - 1)].step : nullptr;
}

const HistoryStep *CompositionHistory::redoStep() const
{
    return canRedo() ? &m_steps[size_t(m_position)].step : nullptr;
}

bool CompositionHistory::undo(QImage &canvas)
{
    if (!canUndo() || !m_steps[size_t(m_position - 1)].step.delta.apply(canvas))
        return false;
    --m_position;
    return true;
}

bool CompositionHistory::redo(QImage &canvas)
{
    if (!canRedo() || !m_steps[size_t(m_position)].step.delta.apply(canvas))
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

Composition CompositionHistory::composition() const
{
    Composition result = m_origin;
    for (int i = 0; i < m_position; ++i)
        fold(result, m_steps[size_t(i)].step);
    return result;
}

void CompositionHistory::clear()
{
    discardRedo();
    while (!m_steps.empty())
        dropOldest();
}

void CompositionHistory::fold(Composition &composition, const HistoryStep &step)
{
    switch (step.type) {
    case HistoryStep::Type::Paste:
        composition.steps.push_back(step.paste);
        break;
    case HistoryStep::Type::Base:
        composition = Composition{step.base, {}};
        break;
    case HistoryStep::Type::Recipe:
        composition = step.recipe;
        break;
    }
}

void CompositionHistory::discardRedo()
{
    if (m_saved && *m_saved > m_dropped + m_position)
        m_saved.reset();
    while (size() > m_position) {
        m_bytes -= m_steps.back().bytes;
        m_steps.pop_back();
    }
}

// Only done steps are dropped from the front: every caller has discarded the undone ones or just
// pushed, so the oldest step is always done.
void CompositionHistory::dropOldest()
{
    fold(m_origin, m_steps.front().step);
    m_bytes -= m_steps.front().bytes;
    m_steps.pop_front();
    --m_position;
    ++m_dropped;
}

} // namespace pellwerk
