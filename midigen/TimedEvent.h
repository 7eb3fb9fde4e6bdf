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
// the note offs of notes that began earlier, then note ons, and last the
// note offs of notes that begin at that very tick (notes of length 0):
// a note repeated on the tick where the previous one ends sounds again
// instead of being cut at once, and a note of length 0 is switched off
// after it was switched on rather than before, which would leave it
// sounding to the end of the stream.
//
// A note off belongs to the earliest note on before it in the list with the
// same value and channel that is still unmatched; every producer appends a
// note's on before its off.
void sortTimedEvents(TTimedEventList &events);
