#include "OfflineRender.h"

#include "FluidSynthDevice.h"
#include "StreamEvents.h"
#include "platform/Exception.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdlib>
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

// Renders frames and appends them, interleaved stereo.
void renderFrames(fluid_synth_t *synth, int64_t frames, std::vector<int16_t> &out)
{
    constexpr int kChunk = 4096;
    while (frames > 0) {
        const int n = int(std::min<int64_t>(frames, kChunk));
        const size_t at = out.size();
        out.resize(at + size_t(n) * 2);
        fluid_synth_write_s16(synth, n, out.data() + at, 0, 2, out.data() + at, 1, 2);
        frames -= n;
    }
}

} // namespace

PcmAudio renderMessages(std::vector<TimedMessage> messages, const RenderOptions &options)
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
    std::unique_ptr<fluid_synth_t, SynthDeleter> synth(new_fluid_synth(settings.get()));
    if (!synth)
        throw Exception(QStringLiteral("FluidSynth could not be started"));
    if (fluid_synth_sfload(synth.get(), soundFont.toUtf8().constData(), 1) == FLUID_FAILED)
        throw Exception(QStringLiteral("SoundFont could not be loaded: %1").arg(soundFont));

    std::stable_sort(messages.begin(), messages.end(),
                     [](const TimedMessage &a, const TimedMessage &b) { return a.timeUs < b.timeUs; });

    PcmAudio audio;
    audio.sampleRate = options.sampleRate;
    audio.channels = 2;
    int64_t frame = 0;
    // Each message takes effect at the next synthesizer block (64 frames)
    // after its sample time.
    for (const TimedMessage &m : messages) {
        const int64_t at = std::max<int64_t>(0, m.timeUs) * options.sampleRate / 1000000;
        if (at > frame) {
            renderFrames(synth.get(), at - frame, audio.samples);
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
    for (int64_t tail = 0; tail < maxTail && silentRun < silenceFrames; tail += block) {
        const size_t at = audio.samples.size();
        renderFrames(synth.get(), block, audio.samples);
        for (size_t i = at; i < audio.samples.size(); i += 2) {
            const bool silent = std::abs(audio.samples[i]) <= options.silenceLevel
                && std::abs(audio.samples[i + 1]) <= options.silenceLevel;
            silentRun = silent ? silentRun + 1 : 0;
        }
    }
    return audio;
}

void renderMessagesToWav(std::vector<TimedMessage> messages, const QString &wavPath, const RenderOptions &options)
{
    writeWav(wavPath, renderMessages(std::move(messages), options));
}

void renderStreamToWav(const uint8_t *data, size_t size, uint32_t ticksPerQuarterNote, const QString &wavPath,
                       const RenderOptions &options)
{
    renderMessagesToWav(streamBufferMessages(data, size, ticksPerQuarterNote), wavPath, options);
}

} // namespace platform::midi
