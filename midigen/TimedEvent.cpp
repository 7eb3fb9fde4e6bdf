#include "TimedEvent.h"

#include <algorithm>

namespace {

int rank(TEventKind kind)
{
    switch (kind) {
    case TEventKind::ProgramChange: return 0;
    case TEventKind::NoteOff: return 1;
    case TEventKind::NoteOn: return 2;
    }
    return 3;
}

} // namespace

void sortTimedEvents(TTimedEventList &events)
{
    std::stable_sort(events.begin(), events.end(), [](const TTimedEvent &a, const TTimedEvent &b) {
        if (a.Time != b.Time)
            return a.Time < b.Time;
        return rank(a.Kind) < rank(b.Kind);
    });
}
