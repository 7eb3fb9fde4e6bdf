#pragma once

#include <cstdint>
#include <vector>

// One timed event of a play request, before it becomes a MIDI message.
enum class TEventKind : uint8_t { ProgramChange, NoteOn, NoteOff };

struct TTimedEvent
{
    int32_t Time = 0;   // ticks of 10 ms from the start of the request
    TEventKind Kind = TEventKind::NoteOn;
    // Program change: instrument ordinal 0..174. Notes: MIDI note 0..127, or
    // a percussion instrument ordinal 128..174 that becomes a percussion key.
    int32_t Value = 0;
    uint8_t Channel = 0;

    friend bool operator==(const TTimedEvent &, const TTimedEvent &) = default;
};

using TTimedEventList = std::vector<TTimedEvent>;

// Orders events by time. At equal times program changes come first, then
// note offs, then note ons, so a note repeated on the tick where the
// previous one ends sounds again instead of being cut at once.
void sortTimedEvents(TTimedEventList &events);
