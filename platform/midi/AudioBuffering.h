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

    // Defaults, changed by TONVIK_AUDIO_BUFFER_MS and TONVIK_AUDIO_REQUEST_MS
    // (whole milliseconds; values out of range are ignored).
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
    // The first block boundary a stream may start on when `rendered` frames
    // have been rendered and nothing renders meanwhile: the next block, so
    // its first messages still go to the synthesizer before that block.
    int64_t earliestStartFrame(int64_t rendered) const;
};

} // namespace platform::midi
