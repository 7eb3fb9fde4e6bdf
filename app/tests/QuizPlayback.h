#pragma once

// Quiz questions played as the program plays them: drawn by its question
// generator, written as its play-strings, played by the MIDI generator with
// Duration 150 and Sustain on, one after the other, on the installed MIDI
// mapper. For the tests and the benchmark that measure the sound.

#include "PlaybackAnalysis.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace platform::midi {
class FluidSynthDevice;
}

namespace miditest {

class StartRecorder;

struct QuizPlayback
{
    std::vector<PlayedStream> streams;
    // Per question, when the device plays through an audio server: from the
    // request to its first frame leaving the server, by the server's
    // latency report.
    std::vector<double> firstSoundMs;
    QString error; // empty when every question played
};

// Plays one question per entry of `levels` (0: level 1, melodic; 1: level
// 2, harmonic) with the question generator's random numbers from `seed`.
// `recorder` must be the installed device, in front of `synth`. After each
// question the device clock runs on for `releaseUs` (the last note's
// release) before the next request.
QuizPlayback playQuizQuestions(platform::midi::FluidSynthDevice &synth, StartRecorder &recorder,
                               const std::vector<int> &levels, uint32_t seed, int64_t releaseUs = 400000);

} // namespace miditest
