#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::midi {

// The sizes of the built-in synthesizer's stream on an audio server, and
// the arithmetic between server bytes, synthesizer blocks and time. Audio
// is 16-bit interleaved stereo (4 bytes a frame); the synthesizer renders
// whole blocks of 64 frames.
struct AudioBuffering
{
    static constexpr int kBytesPerFrame = 4;

    int sampleRate = 44100;
    int blockFrames = 64;
    // The server's whole buffer for the stream, its own latency included
    // (target length): what may be queued between rendering and playing.
    int64_t targetUs = 35000;
    // How much room must free up in the buffer before the server asks for
    // more (minimum request): the size of one render.
    int64_t requestUs = 5000;
    // While sound is scheduled, how much further ahead of the target the
    // output renders: a margin against a server whose threads stall for
    // longer than the target. Only the first frames of a stream that starts
    // from silence wait behind the plain target; the rest of the stream
    // plays from the deeper buffer. Off by default: a stream that stops one
    // still sounding (a repeated question) would start behind the margin.
    int64_t aheadUs = 0;
    // The sound after the last scheduled event (its release) keeps the
    // deeper buffer too; the buffer is back at the target when it is over.
    int64_t tailUs = 300000;

    // Defaults, changed by TONVIK_AUDIO_BUFFER_MS, TONVIK_AUDIO_REQUEST_MS
    // and TONVIK_AUDIO_AHEAD_MS (whole milliseconds; values out of range are
    // ignored).
    static AudioBuffering fromEnvironment();

    // Frames in a time, rounded to the nearest frame.
    int64_t framesIn(int64_t us) const;
    // Server buffer sizes in bytes, whole blocks, at least one block each;
    // the target holds at least two requests.
    uint32_t targetBytes() const;
    uint32_t requestBytes() const;
    // Frames to render for a request of `bytes`: the whole blocks that
    // cover it (at least one), so the synthesizer stays on its block grid.
    int64_t framesFor(size_t bytes) const;
    // While no server plays: the frames to render now, in whole blocks, to
    // keep the clock at the wall clock's pace since `sinceUs`, when
    // `sinceFrame` frames had been rendered; at most `maxFrames`.
    int64_t idleFramesDue(int64_t sinceUs, int64_t sinceFrame, int64_t nowUs, int64_t rendered,
                          int64_t maxFrames) const;
    // How much audio the server should hold when `rendered` frames have
    // been rendered and sound is scheduled up to frame `soundUntil` (-1:
    // nothing scheduled): the target plus the margin ahead, which shrinks
    // over the last `aheadUs` before the end of the tail, so that the
    // buffer has drained back to the target by the time the sound is over
    // and the next stream, started from silence, is heard after the target
    // alone.
    int64_t wantedUs(int64_t rendered, int64_t soundUntil) const;
    // The first block boundary a stream may start on when `rendered` frames
    // have been rendered and nothing renders meanwhile: the next block, so
    // its first messages still go to the synthesizer before that block.
    int64_t earliestStartFrame(int64_t rendered) const;
};

} // namespace platform::midi
