#pragma once

// Renders MIDI messages to audio through FluidSynth without an audio driver,
// faster than real time: for writing what a stream would sound like to a
// WAVE file (44,100 Hz, 16 bit, stereo).

#include "WavFile.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::midi {

// A short message (status | data1 << 8 | data2 << 16) at a time in
// microseconds from the start.
struct TimedMessage
{
    int64_t timeUs = 0;
    uint32_t message = 0;
};

struct RenderOptions
{
    QString soundFont;     // empty: TONVIK_SOUNDFONT, else the system's GM SoundFont
    int sampleRate = 44100;
    double gain = 0.4;     // FluidSynth master gain
    // After the last message the output runs on until it has been silent
    // (every sample within silenceLevel of 0) for silenceMs, at most
    // maxTailMs.
    int silenceMs = 300;
    int maxTailMs = 8000;
    int silenceLevel = 16;
    // As a stream's owner does when its buffer has played: damper pedal up
    // and all notes off after the last message, so held notes fade out.
    bool releaseAtEnd = true;
};

// The short messages of a stream buffer (the 12-byte events of
// midiStreamOut) with their times at the given time division and a tempo
// of 500,000 us per quarter note. Throws platform::Exception on a malformed
// buffer or a time division of 0.
std::vector<TimedMessage> streamBufferMessages(const uint8_t *data, size_t size, uint32_t ticksPerQuarterNote);

// Renders the messages (in time order; equal times keep their order).
// Throws platform::Exception when the SoundFont is missing or unusable.
PcmAudio renderMessages(std::vector<TimedMessage> messages, const RenderOptions &options = {});

// The most bytes of samples rendering the messages can give (the messages,
// then the longest tail), known without rendering.
uint64_t renderedBytesAtMost(const std::vector<TimedMessage> &messages, const RenderOptions &options = {});

// Renders and writes a WAVE file, streaming the samples to it so memory
// stays small whatever the length; a length beyond what a WAVE file can hold
// is refused before rendering. Throws platform::Exception on failure.
void renderMessagesToWav(std::vector<TimedMessage> messages, const QString &wavPath, const RenderOptions &options = {});
void renderStreamToWav(const uint8_t *data, size_t size, uint32_t ticksPerQuarterNote, const QString &wavPath,
                       const RenderOptions &options = {});

} // namespace platform::midi
