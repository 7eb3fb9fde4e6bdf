#include "OfflineRender.h"

#include "FluidSynthDevice.h"
#include "StreamEvents.h"
#include "platform/Exception.h"

#include <fluidsynth.h>

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

namespace platform::midi {

std::vector<TimedMessage> streamBufferMessages(const uint8_t *data, size_t size, uint32_t ticksPerQuarterNote)
{
    if (ticksPerQuarterNote == 0)
        throw Exception(QStringLiteral("The time division must not be 0"));
    std::vector<StreamEvent> events;
    if (!parseStreamBuffer(data, size, events))
        throw Exception(QStringLiteral("Malformed MIDI stream buffer (%1 bytes)").arg(size));
    std::vector<TimedMessage> messages;
    for (const StreamEvent &event : events)
        if (event.isShortMessage())
            messages.push_back({ticksToUs(event.tick, ticksPerQuarterNote), event.message()});
    return messages;
}

namespace {

struct SynthDeleter
{
    void operator()(fluid_synth_t *synth) const { delete_fluid_synth(synth); }
};
struct SettingsDeleter
{
    void operator()(fluid_settings_t *settings) const { delete_fluid_settings(settings); }
};

using Sink = std::function<void(const int16_t *, size_t)>;

// Renders frames and hands them to the sink, interleaved stereo, a chunk at
// a time, so the caller decides whether they are kept or written out.
void renderFrames(fluid_synth_t *synth, int64_t frames, std::vector<int16_t> &chunk, const Sink &sink)
{
    constexpr int kChunk = 4096;
    while (frames > 0) {
        const int n = int(std::min<int64_t>(frames, kChunk));
        chunk.resize(size_t(n) * 2);
        fluid_synth_write_s16(synth, n, chunk.data(), 0, 2, chunk.data(), 1, 2);
        sink(chunk.data(), chunk.size());
        frames -= n;
    }
}

void render(std::vector<TimedMessage> messages, const RenderOptions &options, const Sink &sink)
{
    QString soundFont = options.soundFont;
    if (soundFont.isEmpty())
        soundFont = qEnvironmentVariable("TONVIK_SOUNDFONT");
    if (soundFont.isEmpty())
        soundFont = FluidSynthDevice::defaultSoundFont();
    if (!FluidSynthDevice::soundFontExists(soundFont))
        throw Exception(QStringLiteral("SoundFont not found: %1 (set TONVIK_SOUNDFONT to a General MIDI SoundFont)").arg(soundFont));
    if (options.sampleRate < 8000 || options.sampleRate > 192000)
        throw Exception(QStringLiteral("Unsupported sample rate %1").arg(options.sampleRate));

    FluidSynthDevice::quietLog();
    std::unique_ptr<fluid_settings_t, SettingsDeleter> settings(new_fluid_settings());
    if (!settings)
        throw Exception(QStringLiteral("FluidSynth settings could not be made"));
    fluid_settings_setnum(settings.get(), "synth.sample-rate", options.sampleRate);
    fluid_settings_setnum(settings.get(), "synth.gain", options.gain);
    // Only the presets the messages select are read from the SoundFont.
    fluid_settings_setint(settings.get(), "synth.dynamic-sample-loading", 1);
    std::unique_ptr<fluid_synth_t, SynthDeleter> synth(new_fluid_synth(settings.get()));
    if (!synth)
        throw Exception(QStringLiteral("FluidSynth could not be started"));
    if (fluid_synth_sfload(synth.get(), soundFont.toUtf8().constData(), 1) == FLUID_FAILED)
        throw Exception(QStringLiteral("SoundFont could not be loaded: %1").arg(soundFont));

    std::stable_sort(messages.begin(), messages.end(),
                     [](const TimedMessage &a, const TimedMessage &b) { return a.timeUs < b.timeUs; });

    std::vector<int16_t> chunk;
    int64_t frame = 0;
    // Each message takes effect at the next synthesizer block (64 frames)
    // after its sample time.
    for (const TimedMessage &m : messages) {
        const int64_t at = std::max<int64_t>(0, m.timeUs) * options.sampleRate / 1000000;
        if (at > frame) {
            renderFrames(synth.get(), at - frame, chunk, sink);
            frame = at;
        }
        FluidSynthDevice::sendToSynth(synth.get(), m.message);
    }
    if (options.releaseAtEnd)
        for (uint32_t channel = 0; channel < 16; ++channel) {
            FluidSynthDevice::sendToSynth(synth.get(), 0xB0 | channel | 64u << 8);
            FluidSynthDevice::sendToSynth(synth.get(), 0xB0 | channel | 123u << 8);
        }

    // The tail: until silent for silenceMs, at most maxTailMs.
    const int64_t block = 1024;
    const int64_t silenceFrames = int64_t(std::max(0, options.silenceMs)) * options.sampleRate / 1000;
    const int64_t maxTail = int64_t(std::max(0, options.maxTailMs)) * options.sampleRate / 1000;
    int64_t silentRun = 0;
    const Sink tailSink = [&](const int16_t *samples, size_t count) {
        for (size_t i = 0; i + 1 < count; i += 2) {
            const bool silent = std::abs(samples[i]) <= options.silenceLevel
                && std::abs(samples[i + 1]) <= options.silenceLevel;
            silentRun = silent ? silentRun + 1 : 0;
        }
        sink(samples, count);
    };
    for (int64_t tail = 0; tail < maxTail && silentRun < silenceFrames; tail += block)
        renderFrames(synth.get(), block, chunk, tailSink);
}

void putU16(char *p, uint16_t v)
{
    p[0] = char(v);
    p[1] = char(v >> 8);
}

void putU32(char *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char(v >> (8 * i));
}

QByteArray wavHeader(int sampleRate, uint32_t dataBytes)
{
    QByteArray h(44, '\0');
    char *p = h.data();
    std::memcpy(p, "RIFF", 4);
    putU32(p + 4, 36 + dataBytes);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    putU32(p + 16, 16);
    putU16(p + 20, 1); // PCM
    putU16(p + 22, 2);
    putU32(p + 24, uint32_t(sampleRate));
    putU32(p + 28, uint32_t(sampleRate * 4));
    putU16(p + 32, 4);
    putU16(p + 34, 16);
    std::memcpy(p + 36, "data", 4);
    putU32(p + 40, dataBytes);
    return h;
}

} // namespace

PcmAudio renderMessages(std::vector<TimedMessage> messages, const RenderOptions &options)
{
    PcmAudio audio;
    audio.sampleRate = options.sampleRate;
    audio.channels = 2;
    render(std::move(messages), options, [&audio](const int16_t *samples, size_t count) {
        audio.samples.insert(audio.samples.end(), samples, samples + count);
    });
    return audio;
}

uint64_t renderedBytesAtMost(const std::vector<TimedMessage> &messages, const RenderOptions &options)
{
    int64_t last = 0;
    for (const TimedMessage &m : messages)
        last = std::max(last, m.timeUs);
    const double frames = double(last) * options.sampleRate / 1e6 + 1
        + double(std::max(0, options.maxTailMs)) * options.sampleRate / 1000 + 1024;
    return frames * 4 >= 1.8e19 ? UINT64_MAX : uint64_t(frames * 4);
}

void renderMessagesToWav(std::vector<TimedMessage> messages, const QString &wavPath, const RenderOptions &options)
{
    // The length is known before rendering: a stream too long for a WAVE
    // file is refused at once instead of after hours of work.
    if (renderedBytesAtMost(messages, options) > 0xFFFFFFFFull - 36)
        throw Exception(QStringLiteral("Cannot write %1: audio too long for a WAVE file").arg(wavPath));
    QFile file(wavPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Exception(QStringLiteral("Cannot write %1: %2").arg(wavPath, file.errorString()));
    // The samples go to the file as they are rendered, so memory stays a
    // chunk's worth whatever the length; the header is completed at the end.
    bool ok = file.write(wavHeader(options.sampleRate, 0)) == 44;
    uint64_t dataBytes = 0;
    QByteArray bytes;
    render(std::move(messages), options, [&](const int16_t *samples, size_t count) {
        if (!ok)
            return;
        bytes.resize(qsizetype(count * 2));
        for (size_t i = 0; i < count; ++i)
            putU16(bytes.data() + i * 2, uint16_t(samples[i]));
        ok = file.write(bytes) == bytes.size();
        dataBytes += uint64_t(bytes.size());
    });
    ok = ok && file.seek(0) && file.write(wavHeader(options.sampleRate, uint32_t(dataBytes))) == 44 && file.flush();
    file.close();
    if (!ok || file.error() != QFileDevice::NoError)
        throw Exception(QStringLiteral("Cannot write %1: %2").arg(wavPath, file.errorString()));
}

void renderStreamToWav(const uint8_t *data, size_t size, uint32_t ticksPerQuarterNote, const QString &wavPath,
                       const RenderOptions &options)
{
    renderMessagesToWav(streamBufferMessages(data, size, ticksPerQuarterNote), wavPath, options);
}

} // namespace platform::midi
