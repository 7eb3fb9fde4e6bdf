#include "MidiTestSupport.h"

#include "platform/Exception.h"
#include "platform/midi/OfflineRender.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace miditest;

namespace {

// Frames where the sound starts after at least gapFrames of near silence.
std::vector<int64_t> onsets(const PcmAudio &audio, int threshold = 400, int64_t gapFrames = 441)
{
    std::vector<int64_t> result;
    int64_t quiet = gapFrames;
    for (int64_t f = 0; f < audio.frames(); ++f) {
        const int level = std::max(std::abs(int(audio.samples[size_t(f) * 2])), std::abs(int(audio.samples[size_t(f) * 2 + 1])));
        if (level > threshold) {
            if (quiet >= gapFrames)
                result.push_back(f);
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return result;
}

} // namespace

TEST(OfflineRender, StreamBufferRendersToAWaveFileWithNotesAtTheirTicks)
{
    // Middle C (the same attack each time) at 0, 40 and 73 ticks (10 ms each), each cut short by "all sound
    // off" 5 ticks before the next so that every onset follows silence.
    StreamBuffer buffer;
    buffer.add(0, shortMsg(0xC0, 0))
        .add(0, shortMsg(0x90, 60, 127))
        .add(35, shortMsg(0xB0, 120))
        .add(5, shortMsg(0x90, 60, 127))
        .add(28, shortMsg(0xB0, 120))
        .add(5, shortMsg(0x90, 60, 127))
        .add(20, shortMsg(0x80, 60));
    QTemporaryDir dir;
    const QString path = dir.filePath("out.wav");
    RenderOptions options;
    options.maxTailMs = 2000;
    renderStreamToWav(buffer.bytes().data(), buffer.bytes().size(), 50, path, options);

    const PcmAudio audio = readWav(path);
    EXPECT_EQ(audio.sampleRate, 44100);
    EXPECT_EQ(audio.channels, 2);
    // The tail ends once the output has been silent for a while.
    EXPECT_GT(audio.seconds(), 0.93);
    EXPECT_LT(audio.seconds(), 0.93 + 2.1);

    const std::vector<int64_t> found = onsets(audio);
    ASSERT_EQ(found.size(), 3u);
    // Within one synthesizer block (64 frames) plus the attack of the sound,
    // which is the same for every note.
    EXPECT_LT(found[0], 64 + 200);
    const int64_t expected[] = {0, 17640, 32193}; // 400 ms, 730 ms
    for (size_t i = 1; i < 3; ++i)
        EXPECT_NEAR(double(found[i] - found[0]), double(expected[i]), 64.0 + 16) << i;
}

TEST(OfflineRender, FailuresAreReportedWithAClearMessage)
{
    RenderOptions options;
    options.soundFont = "/nonexistent/gm.sf2";
    try {
        renderMessages({{0, shortMsg(0x90, 60, 100)}}, options);
        FAIL() << "no exception";
    } catch (const platform::Exception &e) {
        EXPECT_TRUE(e.message().contains("SoundFont not found: /nonexistent/gm.sf2")) << e.message().toStdString();
    }
    const uint8_t ragged[13] = {};
    EXPECT_THROW(streamBufferMessages(ragged, sizeof ragged, 50), platform::Exception);
    EXPECT_THROW(streamBufferMessages(ragged, 12, 0), platform::Exception);
    EXPECT_THROW(writeWav("/nonexistent/dir/out.wav", PcmAudio{}), platform::Exception);
    QTemporaryDir dir;
    QFile junk(dir.filePath("junk.wav"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("RIFF\x10\0\0\0WAVEdata\xff\xff\0\0", 20);
    junk.close();
    EXPECT_THROW(readWav(junk.fileName()), platform::Exception);

    // Silence renders just the tail, bounded.
    RenderOptions quiet;
    quiet.silenceMs = 100;
    const PcmAudio audio = renderMessages({}, quiet);
    EXPECT_LT(audio.seconds(), 0.2);
}
