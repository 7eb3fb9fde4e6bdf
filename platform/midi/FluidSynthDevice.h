#pragma once

#include "AudioBuffering.h"
#include "MidiDevice.h"
#include "PriorityInheritanceMutex.h"
#include "SynthCommandQueue.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
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

class PresetLoader;
class PulseAudioOutput;

// The built-in synthesizer: FluidSynth with a General MIDI SoundFont, heard
// through a stream of its own on the desktop's audio server (PulseAudio or
// PipeWire's PulseAudio server, see PulseAudioOutput), else through one of
// FluidSynth's audio drivers (ALSA...). The device clock is the
// synthesizer's own sample clock (0 at its first sample): it moves only as
// the audio thread renders, which a driver may do in bursts. Each message
// is scheduled on FluidSynth's sequencer so that it takes effect at the
// first synthesizer block boundary (64 frames) at or after its time, within
// one block after it whatever the thread timing. A stream hands its whole buffer over when it starts, so only the
// first messages depend on the clock read at the start (the lead), and a
// stream starts on a block boundary, like an offline render from frame 0.
// The messages of one stream due at the same time go as one timer event
// that plays them in their order: the sequencer does not keep the order of
// events with equal times, and a "reset all controllers" played after the
// controllers it should precede would undo them.
//
// When the device renders itself (its own server stream, or the owner's
// render()), rendering and the start of a stream exclude each other
// (holdClock), so a stream starts on the very next block: the delay from a
// play request to its sound is then one block plus the server's buffer.
// While the device renders itself, only its audio thread calls FluidSynth:
// messages, schedules and withdrawals from other threads wait in a queue
// of the device's own (SynthCommandQueue) that the audio thread empties
// before each render, so it never waits on FluidSynth's locks held by a
// thread of normal priority.
// Only the samples of the presets in use are loaded
// (synth.dynamic-sample-loading; the drum kit with channel 10's first
// note): a large SoundFont costs the memory of the instruments played, not
// of all of them. They are read before the messages that select them are
// handed over, on the caller's thread (PresetLoader), never by the audio
// thread.
class FluidSynthDevice : public MidiDevice
{
public:
    struct Options
    {
        QString soundFont;   // default: TONVIK_SOUNDFONT or the system's GM SoundFont
        // "pulseaudio": the device's own stream on the audio server; other
        // names are FluidSynth's drivers. Empty: the audio server, then ALSA.
        QString audioDriver;
        AudioBuffering buffering; // of the stream on the audio server
        // Further FluidSynth settings, e.g. {"audio.file.name", "out.raw"}.
        std::vector<std::pair<QString, QString>> settings;
        double sampleRate = 44100.0;
        // No audio driver: the owner makes the sound with render(), which
        // also moves the device clock (tests step the clock this way).
        bool callerRenders = false;

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
    // Loads the instruments the messages select (see PresetLoader).
    void prepare(const std::vector<uint32_t> &messages) override;
    void send(uint32_t message) override;
    void sendAt(int source, int64_t atUs, uint32_t message) override;
    void cancel(int source) override;
    int openSource() override;
    void closeSource(int source) override;
    // The sequencer keeps a whole buffer; handing it over at once leaves
    // nothing later that a slow playback thread could deliver late.
    int64_t lookaheadUs() const override { return kWholeBuffer; }
    // The lead: with a driver's thread rendering on its own, the block in
    // progress and a preempted starting thread; when the device renders
    // itself, one block (the clock stands still while a stream starts).
    int64_t startLatencyUs() const override;
    int64_t streamStartUs(int64_t nowUs) const override;
    void holdClock() override;
    void releaseClock() override;

    // The stream on the audio server, when that is how the device plays
    // (diagnostics, tests, benchmarks); null otherwise or before acquire().
    PulseAudioOutput *serverOutput() const;

    // A controller's present value on the synthesizer (diagnostics, tests);
    // -1 when the device does not play or there is no such controller.
    // While the device renders itself, the audio thread is held meanwhile
    // (briefly, passing its priority on), so that it never waits for
    // FluidSynth's lock held by the caller.
    int controllerValue(int channel, int controller) const;

    // The presets whose samples the synthesizer keeps loaded for the
    // channels and the messages handed over, as bank * 128 + program, and
    // how many presets were read off the audio thread so far (tests).
    std::vector<int> loadedPresets() const;
    int presetLoads() const;
    // Whether the second synthesizer that reads presets is there now.
    bool presetReaderRunning() const;

    // With Options::callerRenders: renders the next frames (16-bit
    // interleaved stereo) and moves the clock; empty when the device does
    // not play.
    std::vector<int16_t> render(int frames);

    // Frames of the sample clock at device time us (rounded) and the device
    // time of a frame (rounded up, so that frameAt(usAt(f)) == f).
    int64_t frameAt(int64_t us) const;
    int64_t usAt(int64_t frame) const;
    static constexpr int kBlockFrames = 64;

private:
    static constexpr int64_t kWholeBuffer = int64_t(1) << 40;
    // The sequencer tick at which a message due at device time us must be
    // dispatched: that of the block before the one it must sound in.
    unsigned dispatchTick(int64_t us) const;

    struct Bundle
    {
        int source = 0;
        unsigned tick = 0;
        std::vector<uint32_t> messages;
    };
    // The frame by which every message handed over so far has sounded (the
    // newest stream's end, or where the last stream was stopped); -1 before
    // any.
    int64_t scheduledUntilFrame();
    static void timerCallback(unsigned int time, fluid_event_t *event, fluid_sequencer_t *sequencer, void *data);
    void dispatch(uintptr_t bundleId);
    // What send(), sendAt() and cancel() do on the thread that calls
    // FluidSynth: the caller's, or the audio thread's (runQueuedCommands).
    void schedule(int source, unsigned tick, uint32_t message);
    void withdraw(int source);
    // Runs a command where FluidSynth may be called: queued for the audio
    // thread while the device renders itself, else at once.
    void submit(const SynthCommandQueue::Command &command);
    void run(const SynthCommandQueue::Command &command);
    // On the audio thread, before it renders: the commands of other
    // threads, in their order.
    void runQueuedCommands();

    enum class State { Idle, Loading, Ready, Failed };
    bool load();
    bool openAudio();
    void unload();
    // Renders the next frames (whole blocks) into interleaved stereo and
    // moves the clock; the device's own stream and render() call it.
    void renderBlocks(int16_t *samples, int frames);
    bool rendersItself() const { return m_rendersItself.load(std::memory_order_acquire); }
    // Whether messages wait for the synthesizer (queued or scheduled).
    bool messagesPending();
    // Plays a message now (sendToSynth), selecting channel 10's drum kit
    // first when its first note comes.
    void play(uint32_t message);

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
    std::unique_ptr<PulseAudioOutput> m_output;
    std::unique_ptr<PresetLoader> m_presets;
    // Rendering by the device itself: frames rendered so far, moved under
    // m_renderMutex, which also holds the clock while a stream starts.
    std::atomic<bool> m_rendersItself{false};
    mutable PriorityInheritanceMutex m_renderMutex;
    std::atomic<int64_t> m_renderedFrames{0};
    std::atomic<bool> m_drumKitPending{false};
    // Commands for the audio thread while the device renders itself, and
    // the list it runs them from (kept, so that its memory is reused).
    SynthCommandQueue m_commands;
    std::vector<SynthCommandQueue::Command> m_running;
    // One sequencer client carries the timer events of every stream; a
    // stream's source is the device's own number, kept in its bundles.
    int m_client = -1;
    std::atomic<int> m_lastSourceId{0};
    // Messages waiting for their timer event, by bundle id. While the
    // device renders itself only its audio thread touches them; with one
    // of FluidSynth's drivers the scheduling threads and the driver's
    // thread share them.
    PriorityInheritanceMutex m_bundleMutex;
    std::map<uintptr_t, Bundle> m_bundles;
    std::map<int, uintptr_t> m_lastBundle; // per source, the newest bundle
    uintptr_t m_lastBundleId = 0;
    int64_t m_scheduledUntilTick = -1;
};

} // namespace platform::midi
