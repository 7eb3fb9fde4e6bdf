#include "PlaybackAnalysis.h"

#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/OfflineRender.h"

#include <gtest/gtest.h>

using namespace miditest;

namespace {

std::vector<int16_t> tone(int64_t frames, int16_t level)
{
    std::vector<int16_t> samples(size_t(frames) * 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t((i / 2) % 50 < 25 ? level : -level);
    return samples;
}

} // namespace

TEST(Dropouts, ExactSilenceWhereSoundIsDueIsADropoutAndSilenceThatBelongsThereIsNot)
{
    std::vector<int16_t> expected = tone(10000, 3000);
    std::fill(expected.begin() + 2 * 8000, expected.end(), int16_t(0)); // the sound ends at 8000
    std::vector<int16_t> recording = expected;
    std::fill(recording.begin() + 2 * 1000, recording.begin() + 2 * 1100, int16_t(0)); // 100 frames lost
    std::fill(recording.begin() + 2 * 3000, recording.begin() + 2 * 3020, int16_t(0)); // too short to count
    // One channel still sounds: not silence.
    for (int64_t f = 5000; f < 5200; ++f)
        recording[size_t(f) * 2] = 0;
    const auto dropouts = findDropouts(recording, expected, 44, 256);
    ASSERT_EQ(dropouts.size(), 1u);
    EXPECT_EQ(dropouts[0].frame, 1000);
    EXPECT_EQ(dropouts[0].frames, 100);
    // A dropout that runs to the end of the recording counts too.
    std::fill(recording.begin() + 2 * 7900, recording.end(), int16_t(0));
    EXPECT_EQ(findDropouts(recording, expected, 44, 256).size(), 2u);
}

TEST(PlaybackAnalysis, OnsetsArePlacedOnTheDeviceClockTiedOnceToTheRecording)
{
    const auto soundFont = platform::midi::FluidSynthDevice::Options::fromEnvironment().soundFont;
    if (!platform::midi::FluidSynthDevice::soundFontExists(soundFont))
        GTEST_SKIP() << "no SoundFont at " << soundFont.toStdString();
    // Two questions as a device would play them, the second 10 s after the
    // first on its clock, recorded from 0.5 s before the device's frame 0.
    PlayedStream melodic{questionBuffer(true).bytes(), 4480};
    PlayedStream harmonic{questionBuffer(false).bytes(), 4480 + 44100 * 10};
    const auto render = [](const PlayedStream &s) {
        return platform::midi::renderMessages(platform::midi::streamBufferMessages(s.buffer.data(), s.buffer.size(), 50))
            .samples;
    };
    const int64_t anchor = 22050;
    std::vector<int16_t> recording(size_t(anchor + 44100 * 14) * 2, 0);
    const auto place = [&](const std::vector<int16_t> &audio, int64_t at, int64_t skipAfter, int64_t shift) {
        for (size_t i = 0; i < audio.size(); ++i) {
            const int64_t frame = int64_t(i / 2);
            const int64_t to = at + frame + (frame >= skipAfter ? shift : 0);
            if (to >= 0 && size_t(to) * 2 + 1 < recording.size())
                recording[size_t(to) * 2 + i % 2] = audio[i];
        }
    };
    place(render(melodic), anchor + melodic.startFrame, INT64_MAX, 0);
    place(render(harmonic), anchor + harmonic.startFrame, INT64_MAX, 0);
    PlaybackReport report = analyzePlayback(recording, {melodic, harmonic});
    ASSERT_TRUE(report.found);
    EXPECT_EQ(report.anchorFrame, anchor);
    EXPECT_EQ(report.onsets, 4);
    EXPECT_EQ(report.worstError(), 0);
    EXPECT_GT(report.weakestMatch, 0.999);
    EXPECT_TRUE(report.dropouts.empty());

    // The server ran dry for 10 ms in the second note of the melodic
    // question: a dropout, and everything after it 441 frames late.
    std::fill(recording.begin(), recording.end(), int16_t(0));
    place(render(melodic), anchor + melodic.startFrame, 80000, 441);
    place(render(harmonic), anchor + harmonic.startFrame, 0, 441);
    report = analyzePlayback(recording, {melodic, harmonic});
    ASSERT_TRUE(report.found);
    ASSERT_EQ(report.dropouts.size(), 1u);
    EXPECT_EQ(report.dropouts[0].frame, anchor + melodic.startFrame + 80000);
    EXPECT_EQ(report.dropouts[0].frames, 441);
    ASSERT_EQ(report.errors.size(), 4u);
    EXPECT_EQ(report.errors[0], 0);
    EXPECT_EQ(report.errors[1], 0);  // at 66150, before the gap
    EXPECT_EQ(report.errors[2], 441); // the third note, after it
    EXPECT_EQ(report.errors[3], 441);
}
