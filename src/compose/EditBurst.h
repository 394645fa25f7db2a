#pragma once

#include "CompositionHistory.h"

#include <QtGlobal>

#include <optional>

namespace pellwerk {

// When a change of a step joins the undo step before it. A spin box sends a value for every digit
// typed and for every repeat of a held arrow; the user made one change, and one undo step should
// take it back.
//
// A burst is a run of changes of one field of one step (its tint, or its place), each less than
// Gap after the one before. Any other action ends it, and so does the control: when it loses the
// focus or the user presses Enter, the next change starts a new undo step even within Gap.
class EditBurst
{
public:
    static constexpr qint64 GapMs = 1000;

    // Whether a change `type` of step `index` at `nowMs` (a monotonic clock) continues the burst
    // open since the last change; either way the change is now the burst's last. Only tint and
    // place changes form bursts: any other type ends the burst and returns false.
    bool join(HistoryStep::Type type, int index, qint64 nowMs);
    void end() { m_last.reset(); }

private:
    struct Change
    {
        HistoryStep::Type type;
        int index;
        qint64 at;
    };
    std::optional<Change> m_last;
};

} // namespace pellwerk
