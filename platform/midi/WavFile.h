#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace platform::midi {

// 16-bit PCM audio, samples interleaved by channel.
struct PcmAudio
{
    int sampleRate = 44100;
    int channels = 2;
    std::vector<int16_t> samples;

    int64_t frames() const { return channels ? int64_t(samples.size()) / channels : 0; }
    double seconds() const { return sampleRate ? double(frames()) / sampleRate : 0.0; }
};

// Writes a canonical RIFF/WAVE file (PCM, 16 bit). Throws platform::Exception
// with the path and reason when the file cannot be written.
void writeWav(const QString &path, const PcmAudio &audio);
// Reads a 16-bit PCM WAVE file (other chunks are skipped). Throws
// platform::Exception on a missing file or another format.
PcmAudio readWav(const QString &path);

} // namespace platform::midi
