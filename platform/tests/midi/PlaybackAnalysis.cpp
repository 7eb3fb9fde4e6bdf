#include "PlaybackAnalysis.h"

#include "platform/midi/OfflineRender.h"

#include <algorithm>
#include <cstdlib>

namespace miditest {

namespace {

constexpr int kSampleRate = 44100;
constexpr int kSoundLevel = 64;

int frameLevel(const std::vector<int16_t> &samples, int64_t frame)
{
    return std::max(std::abs(int(samples[size_t(frame) * 2])), std::abs(int(samples[size_t(frame) * 2 + 1])));
}

} // namespace

std::vector<Dropout> findDropouts(const std::vector<int16_t> &recording, const std::vector<int16_t> &expected,
                                  int64_t minFrames, int level)
{
    std::vector<Dropout> dropouts;
    const int64_t frames = int64_t(recording.size() / 2);
    const int64_t expectedFrames = int64_t(expected.size() / 2);
    int64_t runStart = -1;
    int expectedPeak = 0;
    for (int64_t f = 0; f <= frames; ++f) {
        const bool silent = f < frames && recording[size_t(f) * 2] == 0 && recording[size_t(f) * 2 + 1] == 0;
        if (silent) {
            if (runStart < 0) {
                runStart = f;
                expectedPeak = 0;
            }
            // Where the sound stopped: silence that only begins late (a
            // stream that starts late) is an onset error, not a dropout.
            if (f < expectedFrames && f - runStart < minFrames)
                expectedPeak = std::max(expectedPeak, frameLevel(expected, f));
            continue;
        }
        if (runStart >= 0 && f - runStart >= minFrames && expectedPeak >= level)
            dropouts.push_back({runStart, f - runStart});
        runStart = -1;
    }
    return dropouts;
}

int64_t firstSound(const std::vector<int16_t> &samples, int level)
{
    const int64_t frames = int64_t(samples.size() / 2);
    for (int64_t f = 0; f < frames; ++f)
        if (frameLevel(samples, f) > level)
            return f;
    return -1;
}

int PlaybackReport::worstError() const
{
    int worst = 0;
    for (int e : errors)
        worst = std::max(worst, std::abs(e));
    return worst;
}

PlaybackReport analyzePlayback(const std::vector<int16_t> &recording, const std::vector<PlayedStream> &streams,
                               int maxLag, int64_t minDropout)
{
    PlaybackReport report;
    if (streams.empty())
        return report;

    struct Rendered
    {
        platform::midi::PcmAudio audio;
        std::vector<int64_t> onsets; // frames from the stream's tick 0
    };
    std::vector<Rendered> rendered;
    for (const PlayedStream &stream : streams) {
        Rendered r;
        const auto messages = platform::midi::streamBufferMessages(stream.buffer.data(), stream.buffer.size(), 50);
        r.audio = platform::midi::renderMessages(messages);
        int64_t last = -1;
        for (const auto &m : messages) {
            if ((m.message & 0xF0) != 0x90 || (m.message >> 16 & 0x7F) == 0 || m.timeUs == last)
                continue;
            last = m.timeUs;
            r.onsets.push_back(m.timeUs * kSampleRate / 1000000);
        }
        rendered.push_back(std::move(r));
    }

    // Tie the device clock to the recording by the first note: the first
    // sound in each, then the best match around it.
    const Rendered &first = rendered.front();
    const int64_t heard = firstSound(recording, kSoundLevel);
    const int64_t renderedSound = firstSound(first.audio.samples, kSoundLevel);
    if (first.onsets.empty() || heard < 0 || renderedSound < 0)
        return report;
    report.found = true;
    report.anchorFrame = heard - (streams.front().startFrame + renderedSound);
    const OnsetMatch tie = matchOnset(first.audio.samples, first.onsets.front(), recording,
                                      report.anchorFrame + streams.front().startFrame + first.onsets.front(), maxLag);
    report.anchorFrame += tie.lagFrames;

    std::vector<int16_t> expected(recording.size(), 0);
    for (size_t i = 0; i < streams.size(); ++i) {
        const int64_t at = report.anchorFrame + streams[i].startFrame;
        for (int64_t onset : rendered[i].onsets) {
            const OnsetMatch match = matchOnset(rendered[i].audio.samples, onset, recording, at + onset, maxLag);
            report.errors.push_back(match.lagFrames);
            report.weakestMatch = std::min(report.weakestMatch, match.correlation);
            ++report.onsets;
        }
        // The renders laid out where the streams should sound, for telling
        // dropouts from silence that belongs there.
        const std::vector<int16_t> &audio = rendered[i].audio.samples;
        for (size_t s = 0; s < audio.size(); ++s) {
            const int64_t index = at * 2 + int64_t(s);
            if (index >= 0 && size_t(index) < expected.size())
                expected[size_t(index)] = int16_t(std::max(std::abs(int(expected[size_t(index)])),
                                                           std::min(std::abs(int(audio[s])), 32767)));
        }
    }
    report.dropouts = findDropouts(recording, expected, minDropout, 4 * kSoundLevel);
    return report;
}

} // namespace miditest
