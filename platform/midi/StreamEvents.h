#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::midi {

// One event of a stream buffer with its time in ticks from the buffer start.
struct StreamEvent
{
    uint64_t tick = 0;
    uint32_t word = 0; // status | data1 << 8 | data2 << 16 | type and flags << 24

    // A channel message that sounds (type 0, status 0x80..0xEF).
    bool isShortMessage() const
    {
        return (word >> 24 & 0x3F) == 0 && (word & 0x80) && (word & 0xF0) != 0xF0;
    }
    uint32_t message() const { return word & 0xFFFFFF; }
};

// Reads a stream buffer: 12-byte events (delta ticks, stream id, event
// word), little-endian; long events (bit 31) carry word & 0xFFFFFF bytes of
// parameters, padded to 4. False when the data do not end on an event
// boundary or a long event runs past the end.
bool parseStreamBuffer(const uint8_t *data, size_t size, std::vector<StreamEvent> &events);

// Microseconds from the buffer start of a tick at the given time division
// and the stream tempo of 500,000 us per quarter note.
int64_t ticksToUs(uint64_t tick, uint32_t ticksPerQuarterNote);

} // namespace platform::midi
