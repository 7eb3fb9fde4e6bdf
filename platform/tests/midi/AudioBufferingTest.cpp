#include "platform/midi/AudioBuffering.h"

#include <QByteArray>

#include <gtest/gtest.h>

using platform::midi::AudioBuffering;

TEST(AudioBuffering, ServerSizesAreWholeBlocksAndTheTargetHoldsTwoRequests)
{
    AudioBuffering b;
    b.targetUs = 30000;
    b.requestUs = 5000;
    // 30 ms = 1323 frames -> 21 blocks; 5 ms = 220.5 -> 4 blocks.
    EXPECT_EQ(b.targetBytes(), 21u * 64 * 4);
    EXPECT_EQ(b.requestBytes(), 4u * 64 * 4);
    b.targetUs = 1000;
    b.requestUs = 0;
    EXPECT_EQ(b.requestBytes(), 64u * 4);
    EXPECT_EQ(b.targetBytes(), 2u * 64 * 4);
    b.requestUs = 10000;
    EXPECT_EQ(b.targetBytes(), 2 * b.requestBytes());
}

TEST(AudioBuffering, ARequestIsRenderedAsTheWholeBlocksThatCoverIt)
{
    AudioBuffering b;
    EXPECT_EQ(b.framesFor(0), 64);
    EXPECT_EQ(b.framesFor(4), 64);
    EXPECT_EQ(b.framesFor(256), 64);
    EXPECT_EQ(b.framesFor(257), 128); // a partial frame still needs one
    EXPECT_EQ(b.framesFor(4 * 1000), 1024);
}

TEST(AudioBuffering, WithoutAServerTheClockKeepsTheWallClocksPaceInWholeBlocks)
{
    AudioBuffering b;
    // 10 ms after the server went away at frame 6400: 441 frames due, 6
    // whole blocks; the seventh waits for the next turn.
    EXPECT_EQ(b.idleFramesDue(1000000, 6400, 1010000, 6400, 1 << 20), 384);
    EXPECT_EQ(b.idleFramesDue(1000000, 6400, 1010000, 6400 + 384, 1 << 20), 0);
    EXPECT_EQ(b.idleFramesDue(1000000, 6400, 1020000, 6400 + 384, 1 << 20), 448);
    // A clock read before the start, or frames rendered ahead (the last
    // server request), give nothing rather than a negative count.
    EXPECT_EQ(b.idleFramesDue(1000000, 6400, 900000, 6400, 1 << 20), 0);
    EXPECT_EQ(b.idleFramesDue(1000000, 6400, 1010000, 9000, 1 << 20), 0);
    // After a long stop at most the limit, in whole blocks.
    EXPECT_EQ(b.idleFramesDue(0, 0, 60000000, 0, 8820), 8768);
}

TEST(AudioBuffering, AStreamStartsOnTheBlockAfterTheOneThatIsRenderedNext)
{
    AudioBuffering b;
    EXPECT_EQ(b.earliestStartFrame(0), 64);
    EXPECT_EQ(b.earliestStartFrame(640), 704);
    // Mid-block (an owner rendering odd amounts): the block in progress has
    // dispatched its messages already, so the one after the next.
    EXPECT_EQ(b.earliestStartFrame(641), 768);
}

TEST(AudioBuffering, TheEnvironmentSetsTheSizesWithinBounds)
{
    qputenv("TONVIK_AUDIO_BUFFER_MS", "40");
    qputenv("TONVIK_AUDIO_REQUEST_MS", "oops");
    AudioBuffering b = AudioBuffering::fromEnvironment();
    EXPECT_EQ(b.targetUs, 40000);
    EXPECT_EQ(b.requestUs, AudioBuffering().requestUs);
    qputenv("TONVIK_AUDIO_BUFFER_MS", "0");
    qputenv("TONVIK_AUDIO_REQUEST_MS", "8");
    qputenv("TONVIK_AUDIO_AHEAD_MS", "120");
    b = AudioBuffering::fromEnvironment();
    EXPECT_EQ(b.targetUs, AudioBuffering().targetUs);
    EXPECT_EQ(b.requestUs, 8000);
    EXPECT_EQ(b.aheadUs, 120000);
    qputenv("TONVIK_AUDIO_AHEAD_MS", "2001");
    EXPECT_EQ(AudioBuffering::fromEnvironment().aheadUs, AudioBuffering().aheadUs);
    qunsetenv("TONVIK_AUDIO_BUFFER_MS");
    qunsetenv("TONVIK_AUDIO_REQUEST_MS");
    qunsetenv("TONVIK_AUDIO_AHEAD_MS");
}

TEST(AudioBuffering, TheBufferGrowsWhileSoundIsScheduledAndIsBackAtTheTargetWhenItIsOver)
{
    AudioBuffering b;
    b.targetUs = 35000;
    b.aheadUs = 250000;
    b.tailUs = 300000;
    // Nothing scheduled: the target alone, so a stream from silence is
    // heard after it.
    EXPECT_EQ(b.wantedUs(441000, -1), 35000);
    // A stream 4.5 s long starting at 10 s: the whole margin until its
    // last 0.25 s of sound and tail.
    const int64_t end = 14 * 44100 + 22050;
    EXPECT_EQ(b.wantedUs(441000, end), 285000);
    EXPECT_EQ(b.wantedUs(end, end), 285000);
    // Then it shrinks with what is left, to the target at the tail's end
    // and after it.
    EXPECT_EQ(b.wantedUs(end + 4410 * 2, end), 35000 + 100000);
    EXPECT_EQ(b.wantedUs(end + 4410 * 3, end), 35000);
    EXPECT_EQ(b.wantedUs(end + 44100 * 10, end), 35000);
    // No margin asked for: always the target.
    b.aheadUs = 0;
    EXPECT_EQ(b.wantedUs(441000, end), 35000);
}
