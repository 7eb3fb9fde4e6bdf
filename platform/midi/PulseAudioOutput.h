#pragma once

#include "AudioBuffering.h"
#include "PriorityInheritanceMutex.h"
#include "ServerReadLog.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

struct pa_threaded_mainloop;
struct pa_mainloop_api;
struct pa_context;
struct pa_stream;
struct pa_time_event;
struct timeval;

namespace platform::midi {

// A playback stream of the program's own on the desktop's audio server
// (PulseAudio, or PipeWire's PulseAudio server), through libpulse's
// asynchronous API. The server asks for audio as its buffer drains; the
// render function makes it on the output's thread, in whole synthesizer
// blocks, so every frame rendered is played, in order, and the output
// knows where each one is and when it leaves the server.
//
// The render function also keeps time for its owner (a synthesizer's
// sample clock), so it is called at the audio's pace even while no server
// is there: when the server goes away the output renders into nothing at
// the wall clock's pace and tries to connect again every few hundred
// milliseconds; the stream resumes on the server that comes back.
//
// Underruns (the server ran out of audio) are counted with their position
// and length and, with TONVIK_MIDI_DEBUG set, reported one line each. The
// server plays on through an underrun, so the sound after it keeps its
// time.
class PulseAudioOutput
{
public:
    // Fills `frames` frames (a multiple of the block size) of interleaved
    // 16-bit stereo. Called on the output's thread.
    using Render = std::function<void(int16_t *samples, int frames)>;
    // The frame up to which the owner has sound scheduled, -1 when nothing
    // is: the output renders further ahead while there is (see
    // AudioBuffering::wantedUs). Called on the output's thread.
    using ScheduledUntil = std::function<int64_t()>;

    struct Options
    {
        QString applicationName = QStringLiteral("Tonvik - Intervals");
        AudioBuffering buffering;
        // Run the output's thread with real-time scheduling when the
        // system grants it (directly or through RealtimeKit).
        bool realtime = true;
        // How long start() waits for the server to take the stream.
        int connectTimeoutMs = 3000;
        // Unset: the buffer stays at its target.
        ScheduledUntil scheduledUntil;
    };

    struct Underrun
    {
        int64_t atUs = 0;       // steady clock (microseconds) when it was reported
        int64_t frame = 0;      // frames rendered up to the moment the server ran dry
        // Until the server reported playing again (a little more than the
        // silence); -1 until then.
        int64_t durationUs = 0;
        // The longest the output's thread waited for its next turn (its
        // timer is due every 2 ms) since the underrun before: much more
        // than the buffer when the program was late, a few milliseconds
        // when the server was.
        int64_t threadGapUs = 0;
        // The longest one render took since the underrun before (waits for
        // the synthesizer's locks included): a few milliseconds at most
        // when nothing holds the output's thread up.
        int64_t renderUs = 0;
    };

    PulseAudioOutput(Options options, Render render);
    ~PulseAudioOutput();
    PulseAudioOutput(const PulseAudioOutput &) = delete;
    PulseAudioOutput &operator=(const PulseAudioOutput &) = delete;

    // Connects to the server and starts the stream. False with the reason
    // when no server takes it within the timeout; the output then does
    // nothing and may be destroyed.
    bool start(QString *error);

    // Whether the stream plays on a server now (false while reconnecting).
    bool connected() const { return m_connected.load(); }
    // How many times the stream was set up again after the server went away.
    int reconnects() const { return m_reconnects.load(); }
    // Frames rendered so far (the owner's clock).
    int64_t renderedFrames() const { return m_rendered.load(); }
    // The underruns so far (the latest thousand).
    std::vector<Underrun> underruns() const;
    // The steady-clock time (microseconds) at which a frame left the
    // server, from the server's first report that it had read the frame;
    // -1 until such a report came (see ServerReadLog).
    int64_t playbackTimeUs(int64_t frame) const;
    // The latency the server reported at the last write: from a frame
    // written then to its playing, in microseconds; -1 before any.
    int64_t latencyUs() const;
    // Scheduling of the output's thread, for diagnostics ("SCHED_FIFO 10",
    // "SCHED_OTHER"...); empty before the thread ran.
    QString scheduling() const;

    static int64_t steadyNowUs();

private:
    enum class Phase { Connecting, Playing, Reconnecting, Stopping };

    static void contextStateCallback(pa_context *context, void *data);
    static void streamStateCallback(pa_stream *stream, void *data);
    static void writeCallback(pa_stream *stream, size_t bytes, void *data);
    static void underflowCallback(pa_stream *stream, void *data);
    static void timingCallback(pa_stream *stream, int success, void *data);
    static void latencyUpdateCallback(pa_stream *stream, void *data);
    static void timerCallback(pa_mainloop_api *api, pa_time_event *event, const timeval *tv, void *data);

    // All of these run on the output's thread.
    void connectContext();
    void createStream();
    void write(size_t bytes);
    void topUp();
    void writeFrames(int64_t frames);
    void lost(const char *what);
    void dropConnection();
    void onTimer();
    void renderIdle();
    void setTimer(int64_t inUs);
    void noteLatency();
    void makeRealtimeOnce();
    // m_render, timed for the underrun reports.
    void render(int64_t frames);

    Options m_options;
    Render m_render;
    pa_threaded_mainloop *m_mainloop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    pa_time_event *m_timer = nullptr;
    Phase m_phase = Phase::Connecting;
    QString m_error;
    std::vector<int16_t> m_scratch;
    bool m_realtimeTried = false;
    // Wall-clock pacing of the rendering while no server plays.
    int64_t m_idleSinceUs = 0;
    int64_t m_idleSinceFrame = 0;
    int64_t m_nextConnectUs = 0;
    int64_t m_lastTurnUs = -1;
    int64_t m_longestTurnGapUs = 0;
    int64_t m_longestRenderUs = 0;

    std::atomic<bool> m_connected{false};
    std::atomic<int> m_reconnects{0};
    std::atomic<int64_t> m_rendered{0};
    // Taken by the output's thread at each write and by whoever asks for
    // the figures; a holder it waits for gets its priority.
    mutable PriorityInheritanceMutex m_statsMutex;
    std::vector<Underrun> m_underruns;
    ServerReadLog m_reads{m_options.buffering.sampleRate};
    int64_t m_latencyUs = -1;
    int64_t m_streamFirstFrame = -1; // the first synth frame of the current stream
    QString m_scheduling;
};

} // namespace platform::midi
