#include "EditBurst.h"

namespace pellwerk {

bool EditBurst::join(HistoryStep::Type type, int index, qint64 nowMs)
{
    if (type != HistoryStep::Type::Tint && type != HistoryStep::Type::Place) {
        end();
        return false;
    }
    const bool joins =
        m_last && m_last->type == type && m_last->index == index && nowMs - m_last->at < GapMs && nowMs >= m_last->at;
    m_last = Change{type, index, nowMs};
    return joins;
}

} // namespace pellwerk
