#pragma once

#include "TimedEvent.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The generator settings the stream builder turns into setup messages.
struct TStreamSettings
{
    int PlayChannel = 0;    // 0..15
    int Instrument = 0;     // TMGInstrument ordinal
    int Volume = 100;
    int Pan = 0;
    int Reverb = 0;
    int Chorus = 0;
    bool Sustain = false;
    int Modulation = 0;
    int PitchBend = 0;
    int PBDelay = 0;
    int PBDuration = 100;
};

// One short-message stream event as it lies in the buffer (12 bytes,
// little-endian): delta ticks, stream id 0, event word.
struct TStreamEvent
{
    uint32_t Delta = 0;
    uint32_t StreamId = 0;
    uint32_t Event = 0;

    uint8_t Status() const { return uint8_t(Event); }
    uint8_t Data1() const { return uint8_t(Event >> 8); }
    uint8_t Data2() const { return uint8_t(Event >> 16); }
    bool Callback() const;
    friend bool operator==(const TStreamEvent &, const TStreamEvent &) = default;
};

// Converts the sorted timed events of one play request into the stream
// buffer: fifteen setup messages, an opening program change when the list
// does not begin with one, the notes (percussion sounds mapped to keys), and
// an optional pitch glide over the first note off.
class StreamBuilder
{
public:
    static constexpr std::size_t EventSize = 12;
    // A request's buffer may not grow beyond this; later events are dropped.
    static constexpr std::size_t MaxBufferSize = 65535;
    static constexpr std::size_t MaxEvents = MaxBufferSize / EventSize;

    explicit StreamBuilder(const TStreamSettings &settings) : m_settings(settings) {}

    // glideAllowed: the caller's permission (PlayNote always, PlayString only
    // for notes that start and end together); the glide is also needed a
    // non-zero PitchBend.
    std::vector<uint8_t> Build(const TTimedEventList &events, bool glideAllowed) const;

    // Event word of a short message.
    static uint32_t ShortMessage(uint8_t status, uint8_t data1, uint8_t data2, bool callback = false);

    static std::vector<TStreamEvent> Decode(const std::vector<uint8_t> &buffer);

    // Controller values derived from the settings.
    static int PanValue(int pan) { return 64 + pan * 63 / 100; }
    static int PercentValue(int percent) { return percent * 127 / 100; }

private:
    TStreamSettings m_settings;
};
