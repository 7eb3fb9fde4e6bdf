#pragma once

// What a recording of played streams says about them: where each note
// started compared with an offline render of its stream, and where the
// sound dropped out. Used by the tests that play through a real audio
// server and by the timing benchmark.

#include "MidiTestSupport.h"

#include <cstdint>
#include <vector>

namespace miditest {

// A run of exact digital silence where sound was due: what an audio server
// plays when a program's stream runs dry.
struct Dropout
{
    int64_t frame = 0;  // first silent frame
    int64_t frames = 0; // its length
};

// Runs of at least minFrames frames in which every sample of `recording`
// is 0 while `expected` (the same timeline, as it should sound) reaches
// `level` in the run's first minFrames frames: the sound stopped where it
// should go on. Silence that is silent in `expected` too (between
// questions, after a note has died away) is no dropout, nor is silence
// that goes on past a late onset.
std::vector<Dropout> findDropouts(const std::vector<int16_t> &recording, const std::vector<int16_t> &expected,
                                  int64_t minFrames, int level);

// The first frame at which a sample's magnitude exceeds level; -1 if none.
int64_t firstSound(const std::vector<int16_t> &samples, int level);

// A stream played on the device: its buffer (50 ticks per quarter note)
// and the frame of the device's sample clock at which its tick 0 lay.
struct PlayedStream
{
    std::vector<uint8_t> buffer;
    int64_t startFrame = 0;
};

struct PlaybackReport
{
    bool found = false;          // the recording holds the first stream's sound
    int64_t anchorFrame = 0;     // recording frame of the device's frame 0
    std::vector<int> errors;     // per onset: frames off its place, after the first onset's
    double weakestMatch = 1;     // lowest correlation of an onset with its render
    int onsets = 0;
    std::vector<Dropout> dropouts;

    int worstError() const;
};

// Places every onset of every stream (note-ons at the same time count as
// one) in the recording. The device's clock is tied to the recording once,
// by the first stream's first note (its first sound, then refined by
// cross-correlation with its render): after that every onset must lie
// where the device clock puts it, so a stream that started late, a gap
// that shifted the rest, or a lost note all show as errors. Onsets are
// searched within maxLag frames. Dropouts are looked for against the
// renders laid out on the same timeline (at least minDropout frames).
PlaybackReport analyzePlayback(const std::vector<int16_t> &recording, const std::vector<PlayedStream> &streams,
                               int maxLag = 882, int64_t minDropout = 44);

} // namespace miditest
