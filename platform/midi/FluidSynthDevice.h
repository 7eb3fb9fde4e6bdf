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

namespace platform::midi {

// The built-in synthesizer: FluidSynth with a General MIDI SoundFont, heard
// through one of FluidSynth's audio drivers. Messages are scheduled on
// FluidSynth's sequencer at absolute times of the synthesizer's own sample
// clock, so they sound at the right sample whatever the thread timing.
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

private:
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
    short m_synthDest = -1;
};

} // namespace platform::midi
