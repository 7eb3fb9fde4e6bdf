#pragma once

#include "MidiDevice.h"

#include <QString>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_sequencer_t fluid_sequencer_t;
typedef struct _fluid_audio_driver_t fluid_audio_driver_t;
typedef struct _fluid_event_t fluid_event_t;

namespace platform::midi {

// The built-in synthesizer: FluidSynth with a General MIDI SoundFont, heard
// through one of FluidSynth's audio drivers. Messages are scheduled on
// FluidSynth's sequencer at absolute times of the synthesizer's own sample
// clock, so they sound at the right sample whatever the thread timing.
// The messages of one stream due at the same time go as one timer event
// that plays them in their order: the sequencer does not keep the order of
// events with equal times, and a "reset all controllers" played after the
// controllers it should precede would undo them.
class FluidSynthDevice : public MidiDevice
{
public:
    struct Options
    {
        QString soundFont;   // default: TONVIK_SOUNDFONT or the system's GM SoundFont
        QString audioDriver; // empty: FluidSynth's default, then other drivers
        // Further FluidSynth settings, e.g. {"audio.file.name", "out.raw"}.
        std::vector<std::pair<QString, QString>> settings;
        double sampleRate = 44100.0;

        static Options fromEnvironment();
    };

    static QString defaultSoundFont();
    static bool soundFontExists(const QString &path);
    // Silences FluidSynth's log except when TONVIK_MIDI_DEBUG is set; its
    // messages about expected failures (no sound card) are noise.
    static void quietLog();
    // Plays a short message on a synthesizer at once.
    static void sendToSynth(fluid_synth_t *synth, uint32_t message);

    explicit FluidSynthDevice(Options options);
    ~FluidSynthDevice() override;

    QString name() const override;
    bool acquire() override;
    void preload() override;
    QString lastError() const override;

    int64_t nowUs() override;
    void send(uint32_t message) override;
    void sendAt(int source, int64_t atUs, uint32_t message) override;
    void cancel(int source) override;
    int openSource() override;
    void closeSource(int source) override;
    int64_t lookaheadUs() const override { return 60000; }
    int64_t startLatencyUs() const override { return 30000; }

    // A controller's present value on the synthesizer (diagnostics, tests);
    // -1 when the device does not play.
    int controllerValue(int channel, int controller) const;

private:
    struct Bundle
    {
        int source = 0;
        unsigned tick = 0;
        std::vector<uint32_t> messages;
    };
    static void timerCallback(unsigned int time, fluid_event_t *event, fluid_sequencer_t *sequencer, void *data);
    void dispatch(uintptr_t bundleId);

    enum class State { Idle, Loading, Ready, Failed };
    bool load();
    void unload();

    Options m_options;
    mutable std::mutex m_mutex;
    std::condition_variable m_loaded;
    State m_state = State::Idle;
    QString m_error;
    std::thread m_loader;

    fluid_settings_t *m_settings = nullptr;
    fluid_synth_t *m_synth = nullptr;
    fluid_sequencer_t *m_sequencer = nullptr;
    fluid_audio_driver_t *m_driver = nullptr;
    // Messages waiting for their timer event, by bundle id.
    std::mutex m_bundleMutex;
    std::map<uintptr_t, Bundle> m_bundles;
    std::map<int, uintptr_t> m_lastBundle; // per source, the newest bundle
    uintptr_t m_lastBundleId = 0;
};

} // namespace platform::midi
