#include "PresetLoader.h"

#include <fluidsynth.h>

namespace platform::midi {

namespace {
// The General MIDI drum kits' bank in a SoundFont.
constexpr int kDrumKitBank = 128;
constexpr int kMidiChannels = 16;

// The preset a channel plays (FluidSynth's own choice, after its fallback
// for a bank or program the SoundFont lacks), if it is one of the font's.
bool channelPreset(fluid_synth_t *synth, int channel, int font, PresetLoader::Preset *preset)
{
    fluid_preset_t *selected = fluid_synth_get_channel_preset(synth, channel);
    if (!selected || fluid_sfont_get_id(fluid_preset_get_sfont(selected)) != font)
        return false;
    *preset = PresetLoader::Preset{fluid_preset_get_banknum(selected), fluid_preset_get_num(selected)};
    return true;
}
} // namespace

PresetLoader::PresetLoader(fluid_synth_t *synth, int soundFontId, QString soundFont, Exclusive exclusive,
                           Pending pending, std::function<bool()> drumKitPending)
    : m_synth(synth), m_soundFontId(soundFontId), m_soundFont(std::move(soundFont)), m_exclusive(std::move(exclusive)),
      m_pending(std::move(pending)), m_deviceDrumKitPending(std::move(drumKitPending))
{
    m_drumKitPending = m_deviceDrumKitPending();
}

PresetLoader::~PresetLoader()
{
    stopLoader();
}

bool PresetLoader::loaderRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_loader != nullptr;
}

std::set<PresetLoader::Preset> PresetLoader::pinned() const
{
    std::lock_guard lock(m_mutex);
    return m_pinned;
}

int PresetLoader::loads() const
{
    std::lock_guard lock(m_mutex);
    return m_loads;
}

PresetLoader::Key PresetLoader::keyOf(const Channel &channel)
{
    return {channel.drums, channel.bankMsb, channel.bankLsb, channel.program};
}

void PresetLoader::pinSelected()
{
    std::lock_guard lock(m_mutex);
    m_exclusive([&] {
        for (int c = 0; c < kMidiChannels; ++c) {
            Preset preset;
            if (!channelPreset(m_synth, c, m_soundFontId, &preset))
                continue;
            m_resolved[keyOf(m_channels[c])] = preset;
            if (m_pinned.insert(preset).second)
                fluid_synth_pin_preset(m_synth, m_soundFontId, preset.bank, preset.program);
        }
    });
}

void PresetLoader::prepare(const uint32_t *messages, size_t count)
{
    std::lock_guard lock(m_mutex);
    std::set<Preset> needed;
    bool selects = false;
    const int loadsBefore = m_loads;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t message = messages[i];
        const uint32_t status = message & 0xF0;
        const int c = int(message & 0x0F);
        const int data1 = int(message >> 8 & 0x7F);
        const int data2 = int(message >> 16 & 0x7F);
        Channel &channel = m_channels[c];
        bool select = false;
        // As the device plays it: channel 10 takes its drum kit with its
        // first note or program change.
        if (c == 9 && m_drumKitPending && (status == 0xC0 || (status == 0x90 && data2 > 0))) {
            m_drumKitPending = false;
            channel = Channel{true, -1, -1, 0};
            select = true;
        }
        if (status == 0xB0 && data1 == 0) {
            channel.bankMsb = data2;
        } else if (status == 0xB0 && data1 == 32) {
            channel.bankLsb = data2;
        } else if (status == 0xC0) {
            channel.program = data1;
            select = true;
        }
        if (!select)
            continue;
        selects = true;
        Preset preset;
        if (resolve(c, channel, &preset)) {
            needed.insert(preset);
            if (m_pinned.count(preset) == 0)
                pin(preset);
        }
        if (m_loader)
            fluid_synth_unset_program(m_loader, c);
    }
    if (!selects)
        return;
    releaseUnused(needed);
    // The loader's parsed SoundFont costs memory of its own (11.5 MiB for
    // FluidR3_GM): it is kept over a run of requests that read presets, and
    // let go at the first one that needs none.
    if (m_loads == loadsBefore)
        stopLoader();
}

void PresetLoader::stopLoader()
{
    if (m_loader)
        delete_fluid_synth(m_loader);
    m_loader = nullptr;
    if (m_loaderSettings)
        delete_fluid_settings(m_loaderSettings);
    m_loaderSettings = nullptr;
    m_loaderFontId = -1;
}

bool PresetLoader::resolve(int c, const Channel &state, Preset *preset)
{
    const auto known = m_resolved.find(keyOf(state));
    if (known != m_resolved.end() && m_pinned.count(known->second) > 0) {
        *preset = known->second;
        return true;
    }
    if (!startLoader())
        return false;
    // The loader's channel is set up as the played one will be when the
    // program change reaches it; FluidSynth then chooses the preset (with
    // its own fallbacks for a missing one) and reads its samples.
    fluid_synth_set_channel_type(m_loader, c, state.drums ? CHANNEL_TYPE_DRUM : CHANNEL_TYPE_MELODIC);
    fluid_synth_bank_select(m_loader, c, state.drums ? kDrumKitBank : 0);
    if (state.bankMsb >= 0)
        fluid_synth_cc(m_loader, c, 0, state.bankMsb);
    if (state.bankLsb >= 0)
        fluid_synth_cc(m_loader, c, 32, state.bankLsb);
    fluid_synth_program_change(m_loader, c, state.program);
    ++m_loads;
    if (!channelPreset(m_loader, c, m_loaderFontId, preset))
        return false;
    m_resolved[keyOf(state)] = *preset;
    return true;
}

bool PresetLoader::startLoader()
{
    if (m_loader)
        return true;
    if (m_loaderFailed)
        return false;
    m_loaderFailed = true;
    stopLoader();
    m_loaderSettings = new_fluid_settings();
    if (!m_loaderSettings)
        return false;
    // Only the samples of the presets selected are read; the loader never
    // sounds, so it needs one voice and no effects.
    fluid_settings_setint(m_loaderSettings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(m_loaderSettings, "synth.polyphony", 1);
    fluid_settings_setint(m_loaderSettings, "synth.reverb.active", 0);
    fluid_settings_setint(m_loaderSettings, "synth.chorus.active", 0);
    // Bank selects must choose the presets they choose on the played one.
    char style[32] = {};
    if (fluid_settings_copystr(fluid_synth_get_settings(m_synth), "synth.midi-bank-select", style, sizeof style)
        == FLUID_OK)
        fluid_settings_setstr(m_loaderSettings, "synth.midi-bank-select", style);
    m_loader = new_fluid_synth(m_loaderSettings);
    if (!m_loader)
        return false;
    // Nothing selected: the presets the played synthesizer uses stay as
    // they are, and the loader holds no samples between loads.
    m_loaderFontId = fluid_synth_sfload(m_loader, m_soundFont.toUtf8().constData(), 0);
    if (m_loaderFontId == FLUID_FAILED) {
        delete_fluid_synth(m_loader);
        m_loader = nullptr;
        return false;
    }
    m_loaderFailed = false;
    return true;
}

void PresetLoader::pin(const Preset &preset)
{
    // The samples are in the shared cache now (the loader holds them), so
    // the audio thread is held only while references are taken.
    m_exclusive([&] { fluid_synth_pin_preset(m_synth, m_soundFontId, preset.bank, preset.program); });
    m_pinned.insert(preset);
}

void PresetLoader::releaseUnused(const std::set<Preset> &needed)
{
    if (m_pending())
        return;
    // Nothing waits: what the device still waits for is what counts.
    if (m_deviceDrumKitPending() && !m_drumKitPending) {
        m_drumKitPending = true;
        m_channels[9] = Channel{};
    }
    m_exclusive([&] {
        // A sounding voice keeps its sample until it ends, and the last
        // such voice would free it on the audio thread: only a silent
        // synthesizer lets presets go.
        if (fluid_synth_get_active_voice_count(m_synth) > 0)
            return;
        std::set<Preset> selected = needed;
        for (int c = 0; c < kMidiChannels; ++c) {
            Preset preset;
            if (channelPreset(m_synth, c, m_soundFontId, &preset))
                selected.insert(preset);
        }
        for (auto it = m_pinned.begin(); it != m_pinned.end();) {
            if (selected.count(*it) > 0) {
                ++it;
                continue;
            }
            fluid_synth_unpin_preset(m_synth, m_soundFontId, it->bank, it->program);
            it = m_pinned.erase(it);
        }
    });
}

} // namespace platform::midi
