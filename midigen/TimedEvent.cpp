#include "TimedEvent.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <map>
#include <utility>

namespace {

enum Rank { ProgramChanges, EarlierNotesEnd, NotesStart, SameTickNotesEnd };

// The rank of every event at its tick (see sortTimedEvents).
std::vector<Rank> ranks(const TTimedEventList &events)
{
    std::vector<Rank> rank(events.size(), NotesStart);
    // Start times of the note ons not yet matched by a note off, per note
    // value and channel, in list order.
    std::map<std::pair<int32_t, uint8_t>, std::deque<int32_t>> open;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const TTimedEvent &e = events[i];
        switch (e.Kind) {
        case TEventKind::ProgramChange:
            rank[i] = ProgramChanges;
            break;
        case TEventKind::NoteOn:
            open[{e.Value, e.Channel}].push_back(e.Time);
            break;
        case TEventKind::NoteOff: {
            auto &starts = open[{e.Value, e.Channel}];
            bool startsHere = false;
            if (!starts.empty()) {
                startsHere = starts.front() == e.Time;
                starts.pop_front();
            }
            rank[i] = startsHere ? SameTickNotesEnd : EarlierNotesEnd;
            break;
        }
        }
    }
    return rank;
}

} // namespace

void sortTimedEvents(TTimedEventList &events)
{
    const std::vector<Rank> rank = ranks(events);
    std::vector<std::size_t> order(events.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (events[a].Time != events[b].Time)
            return events[a].Time < events[b].Time;
        return rank[a] < rank[b];
    });
    TTimedEventList sorted;
    sorted.reserve(events.size());
    for (std::size_t i : order)
        sorted.push_back(events[i]);
    events = std::move(sorted);
}
