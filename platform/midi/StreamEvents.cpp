#include "StreamEvents.h"

namespace platform::midi {

namespace {

constexpr uint32_t kTempoUsPerQuarterNote = 500000;
constexpr uint32_t kLongEvent = 0x80000000u;

uint32_t readU32(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

bool parseStreamBuffer(const uint8_t *data, size_t size, std::vector<StreamEvent> &events)
{
    events.clear();
    if (!data && size > 0)
        return false;
    size_t offset = 0;
    uint64_t tick = 0;
    while (offset + 12 <= size) {
        tick += readU32(data + offset);
        const uint32_t word = readU32(data + offset + 8);
        offset += 12;
        if (word & kLongEvent) {
            const size_t length = (size_t(word & 0xFFFFFF) + 3) & ~size_t(3);
            if (length > size - offset)
                return false;
            offset += length;
        }
        events.push_back({tick, word});
    }
    return offset == size;
}

int64_t ticksToUs(uint64_t tick, uint32_t ticksPerQuarterNote)
{
    if (ticksPerQuarterNote == 0)
        return 0;
    // Whole quarter notes first so the product cannot overflow.
    const uint64_t quarters = tick / ticksPerQuarterNote;
    const uint64_t rest = tick % ticksPerQuarterNote;
    return int64_t(quarters * kTempoUsPerQuarterNote + rest * kTempoUsPerQuarterNote / ticksPerQuarterNote);
}

} // namespace platform::midi
