#include "StreamBuilder.h"

#include "MidiGenTypes.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t CallbackFlag = 0x40000000;
constexpr uint8_t ProgramChange = 0xC0;
constexpr uint8_t NoteOn = 0x90;
constexpr uint8_t PitchBend = 0xE0;
constexpr uint8_t Controller = 0xB0;

// Appends events to a buffer that may not exceed the size limit; an event
// that does not fit is left out.
class EventWriter
{
public:
    explicit EventWriter(std::size_t expected)
    {
        m_buffer.reserve(std::min(expected, StreamBuilder::MaxEvents) * StreamBuilder::EventSize);
    }

    void append(uint32_t delta, uint32_t event)
    {
        if (m_buffer.size() + StreamBuilder::EventSize > StreamBuilder::MaxBufferSize)
            return;
        const uint32_t words[3] = {delta, 0, event};
        for (uint32_t w : words)
            for (int b = 0; b < 4; ++b)
                m_buffer.push_back(uint8_t(w >> (8 * b)));
    }

    void message(uint32_t delta, uint8_t kind, int channel, uint8_t d1, uint8_t d2, bool callback = false)
    {
        append(delta, StreamBuilder::ShortMessage(uint8_t(kind | (channel & 0x0F)), d1, d2, callback));
    }

    void controller(int channel, uint8_t number, int value)
    {
        message(0, Controller, channel, number, uint8_t(value & 0x7F));
    }

    std::vector<uint8_t> take() { return std::move(m_buffer); }

private:
    std::vector<uint8_t> m_buffer;
};

} // namespace

bool TStreamEvent::Callback() const { return (Event & CallbackFlag) != 0; }

uint32_t StreamBuilder::ShortMessage(uint8_t status, uint8_t data1, uint8_t data2, bool callback)
{
    return uint32_t(status) | uint32_t(data1) << 8 | uint32_t(data2) << 16 | (callback ? CallbackFlag : 0);
}

std::vector<TStreamEvent> StreamBuilder::Decode(const std::vector<uint8_t> &buffer)
{
    std::vector<TStreamEvent> out;
    out.reserve(buffer.size() / EventSize);
    auto word = [&](std::size_t at) {
        return uint32_t(buffer[at]) | uint32_t(buffer[at + 1]) << 8 | uint32_t(buffer[at + 2]) << 16
            | uint32_t(buffer[at + 3]) << 24;
    };
    for (std::size_t at = 0; at + EventSize <= buffer.size(); at += EventSize)
        out.push_back({word(at), word(at + 4), word(at + 8)});
    return out;
}

std::vector<uint8_t> StreamBuilder::Build(const TTimedEventList &events, bool glideAllowed) const
{
    const TStreamSettings &s = m_settings;
    const int p = s.PlayChannel & 0x0F;
    const int drums = mgPercussionChannel;
    const bool glide = glideAllowed && s.PitchBend != 0;

    EventWriter out(events.size() * 2 + 16);

    // Setup block: reset, a 12-semitone bend range, then the sound settings.
    out.message(0, Controller, p, 121, 0, true);
    out.controller(drums, 121, 0);
    out.controller(p, 100, 0);
    out.controller(p, 101, 0);
    out.controller(p, 6, 12);
    out.controller(p, 100, 127);
    out.controller(p, 101, 127);
    out.controller(p, 10, PanValue(s.Pan));
    out.controller(drums, 10, PanValue(s.Pan));
    out.controller(p, 1, PercentValue(s.Modulation));
    out.controller(p, 7, PercentValue(s.Volume));
    out.controller(drums, 7, PercentValue(s.Volume));
    out.controller(p, 64, s.Sustain ? 127 : 0);
    out.controller(p, 91, PercentValue(s.Reverb));
    out.controller(p, 93, PercentValue(s.Chorus));

    if (!events.empty() && events.front().Kind != TEventKind::ProgramChange)
        out.message(0, ProgramChange, p, uint8_t(s.Instrument >= mgFirstPercussion ? 127 : s.Instrument), 0);

    int64_t previousTime = 0;
    bool firstNoteOff = true;
    for (const TTimedEvent &e : events) {
        // Deltas are unsigned ticks; a list that is not sorted cannot go back.
        const uint32_t delta = uint32_t(std::max<int64_t>(0, int64_t(e.Time) - previousTime));
        previousTime = std::max<int64_t>(previousTime, e.Time);

        if (e.Kind == TEventKind::ProgramChange) {
            out.message(delta, ProgramChange, e.Channel, uint8_t(std::clamp(e.Value, 0, 127)), 0);
            continue;
        }

        int channel = e.Channel & 0x0F;
        int key;
        if (channel == drums && p != drums)
            key = std::clamp(e.Value - 93, 35, 81);
        else
            key = std::clamp(e.Value, 0, 127);
        const uint8_t velocity = e.Kind == TEventKind::NoteOn ? 127 : 0;

        uint32_t noteDelta = delta;
        if (e.Kind == TEventKind::NoteOff && firstNoteOff) {
            firstNoteOff = false;
            const int64_t len = delta;
            if (glide && len != 0 && s.PBDuration != 0 && s.PBDelay != 100) {
                const int64_t start = len * s.PBDelay / 100;
                const int64_t steps = (len - start) * s.PBDuration / 100;
                if (steps > 0 && steps <= 8191) {
                    const int inc = int((s.PitchBend * 8191 / 120) / steps);
                    int v = 8192 + inc;
                    for (int64_t step = 1; step <= steps; ++step) {
                        out.message(step == 1 ? uint32_t(start + 1) : 1u, PitchBend, channel,
                                    uint8_t(v & 0x7F), uint8_t((v >> 7) & 0x7F));
                        v += inc;
                    }
                }
            }
        }
        out.message(noteDelta, NoteOn, channel, uint8_t(key), velocity);
    }
    return out.take();
}
