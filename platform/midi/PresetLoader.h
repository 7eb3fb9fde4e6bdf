#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <tuple>
#include <vector>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

namespace platform::midi {

// Loads the samples of the instruments a synthesizer is about to select
// before the selection reaches its audio thread.
//
// With FluidSynth's dynamic sample loading, a program change that selects
// a preset no channel uses reads the preset's samples from the SoundFont
// file, in the thread that makes the change and under the synthesizer's
// lock: on the audio thread, a dropout of tens of milliseconds with a large
// SoundFont. FluidSynth keeps loaded samples in a cache of the process,
// shared by every synthesizer that loads the same file, and a preset that
// is pinned keeps a reference to its samples whatever its channels select.
// So, for each preset the coming messages may select, on the caller's
// thread:
// 1. a second, silent synthesizer on the same SoundFont (the loader, made
//    when needed and let go at the first request that needs no reading)
//    selects it on a channel set up as the
//    played one will be: the samples come into the shared cache, read
//    without any lock the audio thread takes;
// 2. the played synthesizer pins the preset while its audio thread is held
//    (the exclusion passed in): every sample is found in the cache, so
//    that takes references only.
// While pinned, selecting or leaving the preset on the audio thread only
// counts references: no file is opened, nothing is read or freed there.
// The presets selected at start (the piano) are pinned by pinSelected().
// A pinned preset that no channel selects any more is unpinned, its memory
// freed on the caller's thread, when nothing is waiting to be played and
// nothing sounds: the memory held follows the instruments played.
//
// Which preset a program change selects depends on the channel's bank and,
// for channel 10, on its drum kit (which the device selects with the
// channel's first note): the loader follows the bank selects and program
// changes of the messages given, in their order.
class PresetLoader
{
public:
    // Runs a function while the played synthesizer's audio thread neither
    // renders nor calls it.
    using Exclusive = std::function<void(const std::function<void()> &)>;
    // Whether messages handed over may still select a preset.
    using Pending = std::function<bool()>;

    struct Preset
    {
        int bank = 0;
        int program = 0;
        bool operator<(const Preset &o) const { return std::tie(bank, program) < std::tie(o.bank, o.program); }
        bool operator==(const Preset &o) const { return bank == o.bank && program == o.program; }
    };

    // drumKitPending: whether the device still waits for channel 10's
    // first note to select its drum kit (read when nothing is pending, to
    // forget a drum kit that a withdrawn stream never selected).
    PresetLoader(fluid_synth_t *synth, int soundFontId, QString soundFont, Exclusive exclusive, Pending pending,
                 std::function<bool()> drumKitPending);
    ~PresetLoader();
    PresetLoader(const PresetLoader &) = delete;
    PresetLoader &operator=(const PresetLoader &) = delete;

    // Pins what the played synthesizer's channels select now.
    void pinSelected();
    // Before these messages are handed over (in their order): loads and
    // pins every preset they may select, then unpins what is no longer
    // needed. Channel 10 is taken to get its drum kit with its first note
    // or program change while drumKitPending (as the device plays it).
    void prepare(const uint32_t *messages, size_t count);

    std::set<Preset> pinned() const;
    // How many presets the loader synthesizer has read, and whether it is
    // there now (diagnostics, tests).
    int loads() const;
    bool loaderRunning() const;

private:
    // A channel's state that decides the preset of a program change.
    struct Channel
    {
        bool drums = false;
        int bankMsb = -1; // -1: no bank select since start (or since the drum kit)
        int bankLsb = -1;
        int program = 0;
    };
    using Key = std::tuple<bool, int, int, int>;
    static Key keyOf(const Channel &channel);
    // The preset a channel in this state selects, loading its samples on
    // the loader synthesizer; false when there is none.
    bool resolve(int channel, const Channel &state, Preset *preset);
    bool startLoader();
    void stopLoader();
    void pin(const Preset &preset);
    // Unpins the presets that neither a channel nor `needed` selects, when
    // nothing is pending.
    void releaseUnused(const std::set<Preset> &needed);

    fluid_synth_t *m_synth;
    int m_soundFontId;
    QString m_soundFont;
    Exclusive m_exclusive;
    Pending m_pending;
    std::function<bool()> m_deviceDrumKitPending;

    // Callers of prepare() on several threads; never taken by the audio
    // thread.
    mutable std::mutex m_mutex;
    int m_loads = 0;

    fluid_settings_t *m_loaderSettings = nullptr;
    fluid_synth_t *m_loader = nullptr;
    int m_loaderFontId = -1;
    bool m_loaderFailed = false;

    Channel m_channels[16];
    bool m_drumKitPending = true;
    std::map<Key, Preset> m_resolved;
    std::set<Preset> m_pinned;
};

} // namespace platform::midi
