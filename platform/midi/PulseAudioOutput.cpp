#include "PulseAudioOutput.h"

#include "DeferredLog.h"
#include "MidiDevice.h"
#include "RealtimeThread.h"

#include <pulse/pulseaudio.h>

#include <QtDebug>

#include <algorithm>
#include <chrono>

namespace platform::midi {

namespace {

// How often the output tries to reach a server that went away, and how
// often it renders meanwhile.
constexpr int64_t kReconnectIntervalUs = 250000;
constexpr int64_t kIdleIntervalUs = 10000;
// How often the output looks at the server's buffer between its requests.
constexpr int64_t kTopUpIntervalUs = 2000;
// At most this much is rendered at once while no server plays (a thread
// that was stopped for long does not render minutes in one go).
constexpr int64_t kIdleMaxUs = 200000;
// Below the servers' own real-time threads (PulseAudio 5 by default,
// PipeWire's data loop higher), above every normal thread.
constexpr int kRealtimePriority = 4;
constexpr size_t kUnderrunsKept = 1000;

} // namespace

int64_t PulseAudioOutput::steadyNowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

PulseAudioOutput::PulseAudioOutput(Options options, Render render)
    : m_options(std::move(options)), m_render(std::move(render))
{
}

PulseAudioOutput::~PulseAudioOutput()
{
    if (!m_mainloop)
        return;
    pa_threaded_mainloop_lock(m_mainloop);
    m_phase = Phase::Stopping;
    dropConnection();
    if (m_timer) {
        pa_threaded_mainloop_get_api(m_mainloop)->time_free(m_timer);
        m_timer = nullptr;
    }
    pa_threaded_mainloop_unlock(m_mainloop);
    pa_threaded_mainloop_stop(m_mainloop);
    pa_threaded_mainloop_free(m_mainloop);
}

bool PulseAudioOutput::start(QString *error)
{
    // The log's thread is started here, not by the output's first line.
    if (MidiDevice::debugOutput())
        DeferredLog::instance();
    m_mainloop = pa_threaded_mainloop_new();
    if (!m_mainloop) {
        *error = QStringLiteral("PulseAudio main loop could not be made");
        return false;
    }
    pa_threaded_mainloop_set_name(m_mainloop, "tonvik-audio");
    pa_threaded_mainloop_lock(m_mainloop);
    m_phase = Phase::Connecting;
    connectContext();
    if (pa_threaded_mainloop_start(m_mainloop) < 0) {
        pa_threaded_mainloop_unlock(m_mainloop);
        *error = QStringLiteral("PulseAudio main loop could not be started");
        return false;
    }
    // The callbacks signal each change; the timer ends the wait.
    setTimer(int64_t(m_options.connectTimeoutMs) * 1000);
    while (m_phase == Phase::Connecting && m_error.isEmpty())
        pa_threaded_mainloop_wait(m_mainloop);
    const bool ok = m_phase == Phase::Playing;
    if (!ok) {
        *error = m_error.isEmpty() ? QStringLiteral("PulseAudio: no answer") : m_error;
        m_phase = Phase::Stopping;
        dropConnection();
    }
    pa_threaded_mainloop_unlock(m_mainloop);
    return ok;
}

void PulseAudioOutput::connectContext()
{
    pa_mainloop_api *api = pa_threaded_mainloop_get_api(m_mainloop);
    m_context = pa_context_new(api, m_options.applicationName.toUtf8().constData());
    if (!m_context) {
        m_error = QStringLiteral("PulseAudio context could not be made");
        return;
    }
    pa_context_set_state_callback(m_context, contextStateCallback, this);
    // No autospawn while reconnecting: a server that went away is awaited,
    // not started by the program.
    const pa_context_flags_t flags = m_phase == Phase::Connecting ? PA_CONTEXT_NOFLAGS : PA_CONTEXT_NOAUTOSPAWN;
    if (pa_context_connect(m_context, nullptr, flags, nullptr) < 0)
        lost("connect");
}

void PulseAudioOutput::contextStateCallback(pa_context *context, void *data)
{
    auto *self = static_cast<PulseAudioOutput *>(data);
    if (context != self->m_context)
        return;
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        self->createStream();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        self->lost("server");
        break;
    default:
        break;
    }
}

void PulseAudioOutput::createStream()
{
    const AudioBuffering &b = m_options.buffering;
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_S16LE;
    spec.rate = uint32_t(b.sampleRate);
    spec.channels = 2;
    m_stream = pa_stream_new(m_context, "Intervals", &spec, nullptr);
    if (!m_stream) {
        lost("stream");
        return;
    }
    pa_stream_set_state_callback(m_stream, streamStateCallback, this);
    pa_stream_set_write_callback(m_stream, writeCallback, this);
    pa_stream_set_underflow_callback(m_stream, underflowCallback, this);
    pa_stream_set_latency_update_callback(m_stream, latencyUpdateCallback, this);
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.tlength = b.targetBytes();
    // Playback never waits for the buffer to fill again: after an
    // underrun the server reads on through the silence, so what follows
    // sounds at its time instead of everything after it coming late.
    attr.prebuf = 0;
    attr.minreq = b.requestBytes();
    attr.fragsize = uint32_t(-1);
    // The server sets its own latency so that buffer and device together
    // hold the target length; the timing is interpolated between its
    // reports, which come by themselves.
    const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING
                                         | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(m_stream, nullptr, &attr, flags, nullptr, nullptr) < 0)
        lost("stream");
}

void PulseAudioOutput::streamStateCallback(pa_stream *stream, void *data)
{
    auto *self = static_cast<PulseAudioOutput *>(data);
    if (stream != self->m_stream)
        return;
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY: {
        const bool again = self->m_phase == Phase::Reconnecting;
        self->m_phase = Phase::Playing;
        self->m_connected = true;
        {
            std::lock_guard lock(self->m_statsMutex);
            self->m_streamFirstFrame = self->m_rendered.load();
        }
        if (again) {
            ++self->m_reconnects;
            if (MidiDevice::debugOutput())
                DeferredLog::instance().post("audio output: playing on the audio server again");
        }
        if (const pa_buffer_attr *attr = pa_stream_get_buffer_attr(stream); attr && MidiDevice::debugOutput())
            DeferredLog::instance().post("audio output: server buffer %u bytes, request %u bytes (%s)", attr->tlength, attr->minreq,
                  pa_context_get_server(self->m_context));
        self->setTimer(kTopUpIntervalUs);
        pa_threaded_mainloop_signal(self->m_mainloop, 0);
        break;
    }
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        self->lost("stream");
        break;
    default:
        break;
    }
}

void PulseAudioOutput::lost(const char *what)
{
    if (m_phase == Phase::Stopping)
        return;
    if (m_phase == Phase::Connecting) {
        // At start: the caller learns why and falls back to another output.
        const int error = m_context ? pa_context_errno(m_context) : PA_ERR_UNKNOWN;
        m_error = QStringLiteral("PulseAudio %1: %2").arg(QLatin1String(what), QString::fromUtf8(pa_strerror(error)));
        pa_threaded_mainloop_signal(m_mainloop, 0);
        return;
    }
    const bool wasPlaying = m_phase == Phase::Playing;
    dropConnection();
    m_phase = Phase::Reconnecting;
    if (wasPlaying) {
        if (MidiDevice::debugOutput())
            DeferredLog::instance().post("audio output: the audio server went away (%s); rendering on, reconnecting", what);
        m_idleSinceUs = steadyNowUs();
        m_idleSinceFrame = m_rendered.load();
        m_nextConnectUs = m_idleSinceUs + kReconnectIntervalUs;
        setTimer(kIdleIntervalUs);
    }
}

void PulseAudioOutput::dropConnection()
{
    m_connected = false;
    m_lastTurnUs = -1;
    m_longestTurnGapUs = 0;
    m_longestRenderUs = 0;
    if (m_stream) {
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(m_stream, nullptr, nullptr);
        pa_stream_set_latency_update_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    if (m_context) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    std::lock_guard lock(m_statsMutex);
    m_streamFirstFrame = -1;
    m_reads.clear();
}

void PulseAudioOutput::setTimer(int64_t inUs)
{
    pa_mainloop_api *api = pa_threaded_mainloop_get_api(m_mainloop);
    // The main loop's own timers count wall-clock time.
    timeval tv{};
    pa_gettimeofday(&tv);
    pa_timeval_add(&tv, pa_usec_t(inUs));
    if (m_timer)
        api->time_restart(m_timer, &tv);
    else
        m_timer = api->time_new(api, &tv, timerCallback, this);
}

void PulseAudioOutput::timerCallback(pa_mainloop_api *, pa_time_event *, const timeval *, void *data)
{
    static_cast<PulseAudioOutput *>(data)->onTimer();
}

void PulseAudioOutput::onTimer()
{
    switch (m_phase) {
    case Phase::Connecting:
        // The start-up wait is over.
        m_error = QStringLiteral("PulseAudio: the server did not take the stream within %1 ms")
                      .arg(m_options.connectTimeoutMs);
        pa_threaded_mainloop_signal(m_mainloop, 0);
        return;
    case Phase::Playing: {
        const int64_t now = steadyNowUs();
        if (m_lastTurnUs >= 0)
            m_longestTurnGapUs = std::max(m_longestTurnGapUs, now - m_lastTurnUs);
        m_lastTurnUs = now;
        topUp();
        if (m_phase == Phase::Playing)
            setTimer(kTopUpIntervalUs);
        return;
    }
    case Phase::Stopping:
        return;
    case Phase::Reconnecting:
        break;
    }
    renderIdle();
    const int64_t now = steadyNowUs();
    if (!m_context && now >= m_nextConnectUs) {
        m_nextConnectUs = now + kReconnectIntervalUs;
        connectContext();
    }
    if (m_phase == Phase::Reconnecting)
        setTimer(kIdleIntervalUs);
}

void PulseAudioOutput::renderIdle()
{
    const AudioBuffering &b = m_options.buffering;
    int64_t frames = b.idleFramesDue(m_idleSinceUs, m_idleSinceFrame, steadyNowUs(), m_rendered.load(),
                                     b.framesIn(kIdleMaxUs));
    while (frames > 0) {
        const int64_t n = std::min<int64_t>(frames, 4096);
        render(n);
        frames -= n;
    }
}

void PulseAudioOutput::writeCallback(pa_stream *stream, size_t bytes, void *data)
{
    auto *self = static_cast<PulseAudioOutput *>(data);
    if (stream == self->m_stream)
        self->write(bytes);
}

void PulseAudioOutput::write(size_t bytes)
{
    writeFrames(m_options.buffering.framesFor(bytes));
}

void PulseAudioOutput::topUp()
{
    // Until the server reports that it reads the stream (a sink that
    // starts or resumes may take hundreds of milliseconds to), its latency
    // report does not tell how much is queued: libpulse advances its
    // estimate of the read position with the wall clock all the same, and
    // topping up by it would queue everything rendered meanwhile ahead of
    // the next sound. The server's own requests fill the buffer to its
    // target meanwhile.
    const pa_timing_info *timing = pa_stream_get_timing_info(m_stream);
    if (!timing || !timing->playing)
        return;
    pa_usec_t usec = 0;
    int negative = 0;
    if (pa_stream_get_latency(m_stream, &usec, &negative) < 0)
        return; // no timing report from the server yet
    const AudioBuffering &b = m_options.buffering;
    const int64_t queuedUs = negative ? 0 : int64_t(usec);
    const int64_t soundUntil = m_options.scheduledUntil ? m_options.scheduledUntil() : -1;
    const int64_t wantedUs = b.wantedUs(m_rendered.load(), soundUntil);
    if (queuedUs >= wantedUs - b.requestUs)
        return;
    // Written beyond the server's target length, which the server takes
    // (up to its maximum length) and plays in order. In pieces, so that a
    // stream starting meanwhile waits for one piece at most.
    int64_t frames = b.framesFor(size_t(b.framesIn(wantedUs - queuedUs)) * AudioBuffering::kBytesPerFrame);
    const int64_t piece = b.framesFor(b.requestBytes() * 4);
    while (frames > 0 && m_phase == Phase::Playing) {
        const int64_t n = std::min(frames, piece);
        writeFrames(n);
        frames -= n;
    }
}

void PulseAudioOutput::writeFrames(int64_t frames)
{
    makeRealtimeOnce();
    render(frames);
    if (pa_stream_write(m_stream, m_scratch.data(), m_scratch.size() * sizeof(int16_t), nullptr, 0, PA_SEEK_RELATIVE) < 0) {
        lost("write");
        return;
    }
    noteLatency();
}

void PulseAudioOutput::render(int64_t frames)
{
    m_scratch.resize(size_t(frames) * 2);
    const int64_t startUs = steadyNowUs();
    m_render(m_scratch.data(), int(frames));
    m_longestRenderUs = std::max(m_longestRenderUs, steadyNowUs() - startUs);
    m_rendered += frames;
}

void PulseAudioOutput::noteLatency()
{
    pa_usec_t usec = 0;
    int negative = 0;
    if (pa_stream_get_latency(m_stream, &usec, &negative) < 0)
        return; // no timing report from the server yet
    std::lock_guard lock(m_statsMutex);
    m_latencyUs = negative ? -int64_t(usec) : int64_t(usec);
}

void PulseAudioOutput::underflowCallback(pa_stream *stream, void *data)
{
    auto *self = static_cast<PulseAudioOutput *>(data);
    if (stream != self->m_stream)
        return;
    const int64_t index = pa_stream_get_underflow_index(stream);
    if (index <= 0)
        return; // the server started before the first write reached it
    {
        std::lock_guard lock(self->m_statsMutex);
        Underrun underrun;
        underrun.atUs = steadyNowUs();
        underrun.durationUs = -1;
        underrun.frame = self->m_streamFirstFrame + index / AudioBuffering::kBytesPerFrame;
        underrun.threadGapUs = self->m_longestTurnGapUs;
        underrun.renderUs = self->m_longestRenderUs;
        self->m_longestTurnGapUs = 0;
        self->m_longestRenderUs = 0;
        // The latest ones: a machine that crackles for hours keeps no more.
        if (self->m_underruns.size() >= kUnderrunsKept)
            self->m_underruns.erase(self->m_underruns.begin());
        self->m_underruns.push_back(underrun);
    }
    // It lasts until the server reports that it plays again.
    if (pa_operation *op = pa_stream_update_timing_info(stream, timingCallback, self))
        pa_operation_unref(op);
}

void PulseAudioOutput::timingCallback(pa_stream *stream, int success, void *data)
{
    auto *self = static_cast<PulseAudioOutput *>(data);
    if (stream != self->m_stream || !success)
        return;
    const pa_timing_info *timing = pa_stream_get_timing_info(stream);
    if (!timing)
        return;
    if (!timing->playing) {
        if (pa_operation *op = pa_stream_update_timing_info(stream, timingCallback, self))
            pa_operation_unref(op);
        return;
    }
    std::lock_guard lock(self->m_statsMutex);
    if (self->m_underruns.empty() || self->m_underruns.back().durationUs >= 0)
        return;
    // From the server's report of the underrun to its report of playing
    // again, as this thread learns of them: a little more than the silence.
    Underrun &underrun = self->m_underruns.back();
    const AudioBuffering &b = self->m_options.buffering;
    underrun.durationUs = steadyNowUs() - underrun.atUs;
    if (MidiDevice::debugOutput())
        DeferredLog::instance().post("audio output: underrun at frame %lld (%.3f s of audio), %.1f ms without sound; "
              "the output's thread waited at most %.1f ms for its turn before, one render took at most %.1f ms",
              static_cast<long long>(underrun.frame), double(underrun.frame) / b.sampleRate,
              double(underrun.durationUs) / 1000.0, double(underrun.threadGapUs) / 1000.0,
              double(underrun.renderUs) / 1000.0);
}

void PulseAudioOutput::latencyUpdateCallback(pa_stream *stream, void *data)
{
    auto *self = static_cast<PulseAudioOutput *>(data);
    if (stream != self->m_stream)
        return;
    const pa_timing_info *timing = pa_stream_get_timing_info(stream);
    // Only a stream the server reads tells where its frames are.
    if (!timing || !timing->playing || timing->read_index_corrupt || timing->read_index < 0)
        return;
    ServerReadLog::Report report;
    // The report's time is the wall clock's; the output's times are steady.
    report.atUs = steadyNowUs() - int64_t(pa_timeval_age(&timing->timestamp));
    report.sinkUs = int64_t(timing->sink_usec);
    std::lock_guard lock(self->m_statsMutex);
    if (self->m_streamFirstFrame < 0)
        return;
    report.readFrame = self->m_streamFirstFrame + timing->read_index / AudioBuffering::kBytesPerFrame;
    self->m_reads.add(report);
}

void PulseAudioOutput::makeRealtimeOnce()
{
    if (m_realtimeTried)
        return;
    m_realtimeTried = true;
    const QString scheduling = m_options.realtime ? makeCurrentThreadRealtime(kRealtimePriority)
                                                  : QStringLiteral("SCHED_OTHER (real-time not asked for)");
    if (MidiDevice::debugOutput())
        DeferredLog::instance().post("audio output: thread scheduling %s", qPrintable(scheduling));
    std::lock_guard lock(m_statsMutex);
    m_scheduling = scheduling;
}

std::vector<PulseAudioOutput::Underrun> PulseAudioOutput::underruns() const
{
    std::lock_guard lock(m_statsMutex);
    return m_underruns;
}

int64_t PulseAudioOutput::playbackTimeUs(int64_t frame) const
{
    std::lock_guard lock(m_statsMutex);
    return m_reads.leftServerUs(frame);
}

int64_t PulseAudioOutput::latencyUs() const
{
    std::lock_guard lock(m_statsMutex);
    return m_latencyUs;
}

QString PulseAudioOutput::scheduling() const
{
    std::lock_guard lock(m_statsMutex);
    return m_scheduling;
}

} // namespace platform::midi
