// The quiz's questions as the program plays them (its question generator,
// its play-strings, the MIDI generator with Duration 150 and Sustain on)
// through the program's own output on a real audio server (started by
// scripts/audio-servers), recorded from the server's sink: no dropout,
// every onset in the synthesizer block where an offline render of the same
// stream has it, idle and with every core busy; the first sound within
// 50 ms of the request. Skipped when no server was started for the test,
// failed then when TONVIK_REQUIRE_AUDIO_SERVER is set.

#include "AudioServerFixture.h"
#include "AudioServerSession.h"
#include "MidiTestSupport.h"
#include "PlaybackAnalysis.h"
#include "QuizPlayback.h"
#include "StartRecorder.h"

#include "platform/midi/CaptureDevice.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/MidiDeviceList.h"
#include "platform/midi/PulseAudioOutput.h"

#include <gtest/gtest.h>

using namespace miditest;

namespace {

class AudioServerQuiz : public AudioServerFixture<::testing::TestWithParam<bool>>
{
};

class AudioServerFirstQuestion : public AudioServerFixture<>
{
};

} // namespace

TEST_P(AudioServerQuiz, MelodicAndHarmonicQuestionsSoundOnTimeWithoutDropouts)
{
    const bool loaded = GetParam();
    PulseAudioOutput *output = synth->serverOutput();
    MonitorRecording recording;
    QString error;
    ASSERT_TRUE(recording.start(&error)) << error.toStdString();
    // A recording stream that joins may make the server set its buffers
    // anew (PipeWire): let that pass in silence.
    const int64_t recordingFrom = synth->nowUs();
    ASSERT_TRUE(pumpUntil([&] { return synth->nowUs() > recordingFrom + 300000; }));
    const size_t underrunsBefore = output->underruns().size();
    QuizPlayback quiz;
    {
        CpuLoad load(loaded);
        quiz = playQuizQuestions(*synth, *recorder, {0, 1, 0, 1}, loaded ? 21 : 22);
    }
    ASSERT_TRUE(quiz.error.isEmpty()) << quiz.error.toStdString();
    const PlaybackReport report = analyzePlayback(recording.stop(), quiz.streams);
    ASSERT_TRUE(report.found) << "nothing was heard";
    EXPECT_EQ(report.onsets, 3 + 1 + 3 + 1);
    for (size_t i = 0; i < report.errors.size(); ++i)
        EXPECT_LE(std::abs(report.errors[i]), FluidSynthDevice::kBlockFrames)
            << "onset " << i << " is " << report.errors[i] << " frames off";
    EXPECT_GT(report.weakestMatch, 0.9);
    for (const Dropout &d : report.dropouts)
        ADD_FAILURE() << "dropout of " << d.frames << " frames at recording frame " << d.frame;
    EXPECT_EQ(output->underruns().size(), underrunsBefore) << "the server ran out of audio";
    for (double ms : quiz.firstSoundMs)
        EXPECT_LE(ms, 50.0) << "first sound after the request";
}

INSTANTIATE_TEST_SUITE_P(IdleAndLoaded, AudioServerQuiz, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &info) { return info.param ? "Loaded" : "Idle"; });

// The first question asked as soon as the output is open, while the
// server may not read the new stream yet (a sink that starts or resumes):
// what the output rendered meanwhile must not queue up ahead of it.
TEST_F(AudioServerFirstQuestion, IsHeardWithin50MsOfTheRequest)
{
    const QuizPlayback quiz = playQuizQuestions(*synth, *recorder, {0}, 23, 0);
    ASSERT_TRUE(quiz.error.isEmpty()) << quiz.error.toStdString();
    ASSERT_EQ(quiz.firstSoundMs.size(), 1u);
    EXPECT_LE(quiz.firstSoundMs.front(), 50.0) << "first sound after the request";
}
