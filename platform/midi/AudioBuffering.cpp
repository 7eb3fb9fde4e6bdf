#include "AudioBuffering.h"

#include <QtGlobal>

#include <algorithm>

namespace platform::midi {

namespace {

int64_t millisecondsFromEnvironment(const char *name, int64_t fallbackUs, int low, int high)
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue(name, &ok);
    return ok && ms >= low && ms <= high ? int64_t(ms) * 1000 : fallbackUs;
}

int64_t roundUp(int64_t value, int64_t step)
{
    return (value + step - 1) / step * step;
}

} // namespace

AudioBuffering AudioBuffering::fromEnvironment()
{
    AudioBuffering b;
    b.targetUs = millisecondsFromEnvironment("TONVIK_AUDIO_BUFFER_MS", b.targetUs, 2, 2000);
    b.requestUs = millisecondsFromEnvironment("TONVIK_AUDIO_REQUEST_MS", b.requestUs, 1, 1000);
    b.aheadUs = millisecondsFromEnvironment("TONVIK_AUDIO_AHEAD_MS", b.aheadUs, 0, 2000);
    return b;
}

int64_t AudioBuffering::framesIn(int64_t us) const
{
    return (std::max<int64_t>(us, 0) * sampleRate + 500000) / 1000000;
}

uint32_t AudioBuffering::requestBytes() const
{
    const int64_t frames = std::max<int64_t>(roundUp(framesIn(requestUs), blockFrames), blockFrames);
    return uint32_t(frames * kBytesPerFrame);
}

uint32_t AudioBuffering::targetBytes() const
{
    const int64_t frames = std::max<int64_t>(roundUp(framesIn(targetUs), blockFrames), blockFrames);
    return std::max(uint32_t(frames * kBytesPerFrame), 2 * requestBytes());
}

int64_t AudioBuffering::framesFor(size_t bytes) const
{
    const int64_t frames = int64_t(bytes + kBytesPerFrame - 1) / kBytesPerFrame;
    return std::max<int64_t>(roundUp(frames, blockFrames), blockFrames);
}

int64_t AudioBuffering::idleFramesDue(int64_t sinceUs, int64_t sinceFrame, int64_t nowUs, int64_t rendered,
                                      int64_t maxFrames) const
{
    const int64_t due = sinceFrame + (std::max<int64_t>(nowUs - sinceUs, 0) * sampleRate) / 1000000;
    const int64_t frames = (due - rendered) / blockFrames * blockFrames;
    return std::clamp<int64_t>(frames, 0, maxFrames / blockFrames * blockFrames);
}

int64_t AudioBuffering::wantedUs(int64_t rendered, int64_t soundUntil) const
{
    if (soundUntil < 0)
        return targetUs;
    const int64_t end = soundUntil + framesIn(tailUs);
    const int64_t left = std::max<int64_t>(end - rendered, 0) * 1000000 / sampleRate;
    return targetUs + std::min(left, aheadUs);
}

int64_t AudioBuffering::earliestStartFrame(int64_t rendered) const
{
    return roundUp(std::max<int64_t>(rendered, 0), blockFrames) + blockFrames;
}

} // namespace platform::midi
