#include "FluidSynthDevice.h"

#include "DeferredLog.h"
#include "PresetLoader.h"
#include "PulseAudioOutput.h"

#include <QFileInfo>
#include <QtDebug>

#include <alsa/asoundlib.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>

namespace platform::midi {

namespace {

// Sequencer ticks are milliseconds: FluidSynth moves the sequencer's clock
// in whole milliseconds, once per synthesizer block, whatever the scale.
constexpr double kTicksPerSecond = 1000.0;
constexpr int64_t kUsPerTick = 1000;
// The General MIDI drum kits' bank in a SoundFont.
constexpr int kDrumBank = 128;

// FluidSynth logs from any thread, its audio thread's included.
PriorityInheritanceMutex g_logMutex;
QString g_lastFluidError;

bool debugOutput()
{
    return MidiDevice::debugOutput();
}

void fluidLog(int level, const char *message, void *)
{
    if (level <= FLUID_ERR) {
        std::lock_guard lock(g_logMutex);
        g_lastFluidError = QString::fromUtf8(message);
    }
    if (debugOutput())
        DeferredLog::instance().post("fluidsynth: %s", message);
}

void silentAlsaError(const char *, int, const char *, int, const char *, ...) {}

QString takeFluidError()
{
    std::lock_guard lock(g_logMutex);
    QString error = g_lastFluidError;
    g_lastFluidError.clear();
    return error;
}

} // namespace

FluidSynthDevice::Options FluidSynthDevice::Options::fromEnvironment()
{
    Options options;
    options.soundFont = qEnvironmentVariable("TONVIK_SOUNDFONT");
    if (options.soundFont.isEmpty())
        options.soundFont = defaultSoundFont();
    options.audioDriver = qEnvironmentVariable("TONVIK_AUDIO_DRIVER");
    options.buffering = AudioBuffering::fromEnvironment();
    const QString file = qEnvironmentVariable("TONVIK_AUDIO_FILE");
    if (!file.isEmpty())
        options.settings.emplace_back(QStringLiteral("audio.file.name"), file);
    return options;
}

QString FluidSynthDevice::defaultSoundFont()
{
    return QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2");
}

bool FluidSynthDevice::soundFontExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() && info.isReadable();
}

void FluidSynthDevice::quietLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Made here, on a thread that may wait, not by the first line an
        // audio thread posts.
        if (debugOutput())
            DeferredLog::instance();
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, fluidLog, nullptr);
        // libasound prints its own errors when FluidSynth's ALSA driver finds
        // no sound card; that is an expected state, not worth a warning.
        if (!debugOutput())
            snd_lib_error_set_handler(silentAlsaError);
    });
}

FluidSynthDevice::FluidSynthDevice(Options options) : m_options(std::move(options))
{
    if (m_options.soundFont.isEmpty())
        m_options.soundFont = defaultSoundFont();
}

FluidSynthDevice::~FluidSynthDevice()
{
    if (m_loader.joinable())
        m_loader.join();
    unload();
}

QString FluidSynthDevice::name() const
{
    return QStringLiteral("FluidSynth (%1)").arg(QFileInfo(m_options.soundFont).fileName());
}

QString FluidSynthDevice::lastError() const
{
    std::lock_guard lock(m_mutex);
    return m_error;
}

void FluidSynthDevice::preload()
{
    std::lock_guard lock(m_mutex);
    if (m_state != State::Idle || m_loader.joinable())
        return;
    m_loader = std::thread([this] { acquire(); });
}

bool FluidSynthDevice::acquire()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        switch (m_state) {
        case State::Ready:
            return true;
        case State::Failed:
            return false;
        case State::Loading:
            m_loaded.wait(lock);
            continue;
        case State::Idle:
            break;
        }
        break;
    }
    m_state = State::Loading;
    lock.unlock();
    const bool ok = load();
    lock.lock();
    m_state = ok ? State::Ready : State::Failed;
    m_loaded.notify_all();
    return ok;
}

bool FluidSynthDevice::load()
{
    quietLog();
    const auto fail = [this](const QString &reason) {
        unload();
        std::lock_guard lock(m_mutex);
        m_error = reason;
        if (debugOutput())
            DeferredLog::instance().post("FluidSynth device: %s", qPrintable(reason));
        return false;
    };
    if (!soundFontExists(m_options.soundFont))
        return fail(QStringLiteral("SoundFont not found: %1").arg(m_options.soundFont));

    m_settings = new_fluid_settings();
    if (!m_settings)
        return fail(QStringLiteral("FluidSynth settings could not be made"));
    fluid_settings_setnum(m_settings, "synth.sample-rate", m_options.sampleRate);
    // Only the samples of the presets selected on a channel are held in
    // memory (at start the piano); others are read before a program change
    // that selects them is handed over (PresetLoader).
    fluid_settings_setint(m_settings, "synth.dynamic-sample-loading", 1);
    for (const auto &[key, value] : m_options.settings) {
        const QByteArray k = key.toUtf8();
        const QByteArray v = value.toUtf8();
        switch (fluid_settings_get_type(m_settings, k.constData())) {
        case FLUID_NUM_TYPE:
            fluid_settings_setnum(m_settings, k.constData(), value.toDouble());
            break;
        case FLUID_INT_TYPE:
            fluid_settings_setint(m_settings, k.constData(), value.toInt());
            break;
        case FLUID_STR_TYPE:
            fluid_settings_setstr(m_settings, k.constData(), v.constData());
            break;
        default:
            return fail(QStringLiteral("Unknown FluidSynth setting: %1").arg(key));
        }
    }
    m_synth = new_fluid_synth(m_settings);
    if (!m_synth)
        return fail(QStringLiteral("FluidSynth could not be started: %1").arg(takeFluidError()));

    // The sequencer follows the synthesizer's sample clock (no system timer).
    m_sequencer = new_fluid_sequencer2(0);
    if (!m_sequencer)
        return fail(QStringLiteral("FluidSynth sequencer could not be made"));
    fluid_sequencer_set_time_scale(m_sequencer, kTicksPerSecond);
    // Registering the synthesizer makes it drive the sequencer's clock
    // block by block; the stream messages themselves go through timer
    // events of one client of the device's own (timerCallback).
    if (fluid_sequencer_register_fluidsynth(m_sequencer, m_synth) == FLUID_FAILED)
        return fail(QStringLiteral("FluidSynth sequencer could not be connected"));
    // Registered before any audio thread runs; streams never register or
    // unregister anything while the sequencer plays.
    m_client = fluid_sequencer_register_client(m_sequencer, "streams", timerCallback, this);
    if (m_client == FLUID_FAILED)
        return fail(QStringLiteral("FluidSynth sequencer could not be connected"));

    if (m_options.callerRenders)
        m_rendersItself.store(true, std::memory_order_release);
    else if (!openAudio())
        return false;
    // The SoundFont last: without an audio output its loading would be
    // wasted time. (The output renders silence meanwhile.)
    // Loading selects the piano on every channel but 10 and the drum kit
    // on 10. The kit waits until channel 10 plays (play()): meanwhile the
    // channel counts as melodic and selects the piano too, so a program
    // that plays no drums never reads the kit's samples.
    if (fluid_synth_set_channel_type(m_synth, 9, CHANNEL_TYPE_MELODIC) == FLUID_OK
        && fluid_synth_bank_select(m_synth, 9, 0) == FLUID_OK)
        m_drumKitPending = true;
    const int font = fluid_synth_sfload(m_synth, m_options.soundFont.toUtf8().constData(), 1);
    if (font == FLUID_FAILED)
        return fail(QStringLiteral("SoundFont could not be loaded: %1").arg(m_options.soundFont));
    // From now on the audio thread never reads a preset's samples itself:
    // those selected now stay pinned, others are read before they are
    // selected.
    m_presets = std::make_unique<PresetLoader>(
        m_synth, font, m_options.soundFont,
        [this](const std::function<void()> &work) {
            if (rendersItself()) {
                std::lock_guard lock(m_renderMutex);
                work();
            } else {
                work();
            }
        },
        [this] { return messagesPending(); }, [this] { return m_drumKitPending.load(); });
    m_presets->pinSelected();
    return true;
}

bool FluidSynthDevice::openAudio()
{
    QStringList drivers;
    if (!m_options.audioDriver.isEmpty())
        drivers << m_options.audioDriver;
    else
        drivers << QStringLiteral("pulseaudio") << QStringLiteral("alsa");
    QStringList reasons;
    for (const QString &driver : drivers) {
        if (driver == QLatin1String("pulseaudio")) {
            // The device's own stream on the server, not FluidSynth's
            // driver: it chooses its buffer, knows its latency and its
            // underruns, and outlives a server that restarts.
            PulseAudioOutput::Options options;
            options.buffering = m_options.buffering;
            options.buffering.sampleRate = int(std::lround(m_options.sampleRate));
            options.buffering.blockFrames = kBlockFrames;
            options.scheduledUntil = [this] { return scheduledUntilFrame(); };
            auto output = std::make_unique<PulseAudioOutput>(
                options, [this](int16_t *samples, int frames) { renderBlocks(samples, frames); });
            m_rendersItself.store(true, std::memory_order_release);
            QString error;
            if (output->start(&error)) {
                m_output = std::move(output);
                return true;
            }
            m_rendersItself.store(false, std::memory_order_release);
            reasons << QStringLiteral("pulseaudio: %1").arg(error);
            continue;
        }
        if (fluid_settings_setstr(m_settings, "audio.driver", driver.toUtf8().constData()) != FLUID_OK) {
            reasons << QStringLiteral("%1: no such audio driver").arg(driver);
            continue;
        }
        m_driver = new_fluid_audio_driver(m_settings, m_synth);
        if (m_driver)
            return true;
        reasons << QStringLiteral("%1: %2").arg(driver, takeFluidError());
    }
    unload();
    std::lock_guard lock(m_mutex);
    m_error = QStringLiteral("No audio output (%1)").arg(reasons.join(QStringLiteral("; ")));
    if (debugOutput())
        DeferredLog::instance().post("FluidSynth device: %s", qPrintable(m_error));
    return false;
}

void FluidSynthDevice::unload()
{
    // The outputs first: they stop the audio thread that renders the synth.
    m_output.reset();
    if (m_driver)
        delete_fluid_audio_driver(m_driver);
    m_driver = nullptr;
    m_presets.reset();
    if (m_sequencer)
        delete_fluid_sequencer(m_sequencer);
    m_sequencer = nullptr;
    if (m_synth)
        delete_fluid_synth(m_synth);
    m_synth = nullptr;
    if (m_settings)
        delete_fluid_settings(m_settings);
    m_settings = nullptr;
}

int64_t FluidSynthDevice::nowUs()
{
    if (rendersItself())
        return usAt(m_renderedFrames.load(std::memory_order_acquire));
    return m_sequencer ? int64_t(fluid_sequencer_get_tick(m_sequencer)) * kUsPerTick : 0;
}

int64_t FluidSynthDevice::startLatencyUs() const
{
    return rendersItself() ? usAt(kBlockFrames) : 20000;
}

void FluidSynthDevice::holdClock()
{
    if (rendersItself())
        m_renderMutex.lock();
}

void FluidSynthDevice::releaseClock()
{
    if (rendersItself())
        m_renderMutex.unlock();
}

PulseAudioOutput *FluidSynthDevice::serverOutput() const
{
    std::lock_guard lock(m_mutex);
    return m_state == State::Ready ? m_output.get() : nullptr;
}

void FluidSynthDevice::renderBlocks(int16_t *samples, int frames)
{
    std::lock_guard lock(m_renderMutex);
    runQueuedCommands();
    fluid_synth_write_s16(m_synth, frames, samples, 0, 2, samples, 1, 2);
    m_renderedFrames.fetch_add(frames, std::memory_order_release);
}

int64_t FluidSynthDevice::frameAt(int64_t us) const
{
    const int64_t rate = std::llround(m_options.sampleRate);
    return (std::max<int64_t>(us, 0) * rate + 500000) / 1000000;
}

int64_t FluidSynthDevice::usAt(int64_t frame) const
{
    const int64_t rate = std::llround(m_options.sampleRate);
    return (std::max<int64_t>(frame, 0) * 1000000 + rate - 1) / rate;
}

int64_t FluidSynthDevice::streamStartUs(int64_t nowUs) const
{
    // Nothing renders while the stream starts: the next block will do.
    if (rendersItself()) {
        AudioBuffering grid;
        grid.blockFrames = kBlockFrames;
        return usAt(grid.earliestStartFrame(frameAt(nowUs)));
    }
    // A block boundary, so the stream's block grid is that of an offline
    // render from frame 0 and every event lands in the same block as there.
    const int64_t frame = frameAt(nowUs + startLatencyUs());
    return usAt((frame + kBlockFrames - 1) / kBlockFrames * kBlockFrames);
}

unsigned FluidSynthDevice::dispatchTick(int64_t us) const
{
    // A message sounds from the first block boundary at or after its frame.
    // The sequencer runs the timer events of a block as the synthesizer
    // starts rendering it, and what they play starts with the next block:
    // so the event goes to the block before that boundary.
    const int64_t boundary = (frameAt(us) + kBlockFrames - 1) / kBlockFrames;
    const int64_t block = std::max<int64_t>(boundary - 1, 0);
    // The sequencer's clock at a block is the block's first frame in whole
    // milliseconds, computed as FluidSynth's sample timer computes it. A
    // block lasts more than a millisecond (below 64 kHz), so that tick is
    // reached first in this very block.
    return unsigned(int64_t(1000.0 * double(block * kBlockFrames) / m_options.sampleRate));
}

std::vector<int16_t> FluidSynthDevice::render(int frames)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_state != State::Ready || !m_options.callerRenders || frames <= 0)
            return {};
    }
    std::vector<int16_t> samples(size_t(frames) * 2);
    renderBlocks(samples.data(), frames);
    return samples;
}


void FluidSynthDevice::prepare(const std::vector<uint32_t> &messages)
{
    if (m_presets)
        m_presets->prepare(messages.data(), messages.size());
}

void FluidSynthDevice::send(uint32_t message)
{
    if (!m_synth)
        return;
    if (m_presets)
        m_presets->prepare(&message, 1);
    submit({SynthCommandQueue::Command::Kind::Play, 0, 0, message});
}

void FluidSynthDevice::play(uint32_t message)
{
    // Channel 10 gets its drum kit with its first note (or the program
    // change that chooses another): until then its samples stay on disk.
    if ((message & 0x0F) == 9 && m_drumKitPending.load(std::memory_order_relaxed)) {
        const uint32_t status = message & 0xF0;
        const bool noteOn = status == 0x90 && (message >> 16 & 0x7F) > 0;
        if (status == 0xC0 || noteOn) {
            m_drumKitPending = false;
            fluid_synth_set_channel_type(m_synth, 9, CHANNEL_TYPE_DRUM);
            fluid_synth_bank_select(m_synth, 9, kDrumBank);
            if (noteOn)
                fluid_synth_program_change(m_synth, 9, 0);
        }
    }
    sendToSynth(m_synth, message);
}

void FluidSynthDevice::sendToSynth(fluid_synth_t *synth, uint32_t message)
{
    const int channel = int(message & 0x0F);
    const int data1 = int(message >> 8 & 0x7F);
    const int data2 = int(message >> 16 & 0x7F);
    switch (message & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(synth, channel, data1);
        break;
    case 0x90:
        if (data2 == 0)
            fluid_synth_noteoff(synth, channel, data1);
        else
            fluid_synth_noteon(synth, channel, data1, data2);
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth, channel, data1, data2);
        break;
    case 0xB0:
        fluid_synth_cc(synth, channel, data1, data2);
        break;
    case 0xC0:
        fluid_synth_program_change(synth, channel, data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth, channel, data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(synth, channel, data1 | data2 << 7);
        break;
    default:
        break;
    }
}

void FluidSynthDevice::sendAt(int source, int64_t atUs, uint32_t message)
{
    if (!m_sequencer || source < 0)
        return;
    const unsigned tick = dispatchTick(atUs);
    submit({SynthCommandQueue::Command::Kind::Schedule, source, tick, message});
}

void FluidSynthDevice::schedule(int source, unsigned tick, uint32_t message)
{
    uintptr_t id = 0;
    {
        std::lock_guard lock(m_bundleMutex);
        const auto last = m_lastBundle.find(source);
        if (last != m_lastBundle.end()) {
            const auto bundle = m_bundles.find(last->second);
            if (bundle != m_bundles.end() && bundle->second.tick == tick) {
                bundle->second.messages.push_back(message);
                return;
            }
        }
        id = ++m_lastBundleId;
        m_bundles[id] = Bundle{source, tick, {message}};
        m_lastBundle[source] = id;
        m_scheduledUntilTick = std::max(m_scheduledUntilTick, int64_t(tick));
    }
    fluid_event_t *event = new_fluid_event();
    if (!event)
        return;
    fluid_event_timer(event, reinterpret_cast<void *>(id));
    fluid_event_set_source(event, fluid_seq_id_t(m_client));
    fluid_event_set_dest(event, fluid_seq_id_t(m_client));
    fluid_sequencer_send_at(m_sequencer, event, tick, 1);
    delete_fluid_event(event);
}

void FluidSynthDevice::submit(const SynthCommandQueue::Command &command)
{
    if (rendersItself())
        m_commands.push(command);
    else
        run(command);
}

void FluidSynthDevice::run(const SynthCommandQueue::Command &command)
{
    switch (command.kind) {
    case SynthCommandQueue::Command::Kind::Play:
        play(command.message);
        break;
    case SynthCommandQueue::Command::Kind::Schedule:
        schedule(command.source, command.tick, command.message);
        break;
    case SynthCommandQueue::Command::Kind::Withdraw:
        withdraw(command.source);
        break;
    }
}

void FluidSynthDevice::runQueuedCommands()
{
    m_commands.takeAll(m_running);
    for (const SynthCommandQueue::Command &command : m_running)
        run(command);
    m_running.clear();
}

int64_t FluidSynthDevice::scheduledUntilFrame()
{
    // Asked by the audio thread before it renders: a stream handed over
    // since the last render counts too.
    if (rendersItself()) {
        std::lock_guard clock(m_renderMutex);
        runQueuedCommands();
    }
    std::lock_guard lock(m_bundleMutex);
    if (m_scheduledUntilTick < 0)
        return -1;
    // The tick is that of the block before the one the messages sound in.
    return int64_t(std::llround(double(m_scheduledUntilTick) * m_options.sampleRate / 1000.0)) + 2 * kBlockFrames;
}

void FluidSynthDevice::timerCallback(unsigned int, fluid_event_t *event, fluid_sequencer_t *, void *data)
{
    if (fluid_event_get_type(event) == FLUID_SEQ_TIMER)
        static_cast<FluidSynthDevice *>(data)->dispatch(reinterpret_cast<uintptr_t>(fluid_event_get_data(event)));
}

// Runs on the audio thread, inside the synthesizer's rendering, at the
// block before the one the bundle's messages must sound in.
void FluidSynthDevice::dispatch(uintptr_t bundleId)
{
    std::vector<uint32_t> messages;
    {
        std::lock_guard lock(m_bundleMutex);
        const auto bundle = m_bundles.find(bundleId);
        if (bundle == m_bundles.end())
            return;
        messages = std::move(bundle->second.messages);
        const auto last = m_lastBundle.find(bundle->second.source);
        if (last != m_lastBundle.end() && last->second == bundleId)
            m_lastBundle.erase(last);
        m_bundles.erase(bundle);
    }
    for (uint32_t message : messages)
        play(message);
}

void FluidSynthDevice::cancel(int source)
{
    if (!m_sequencer || source < 0)
        return;
    submit({SynthCommandQueue::Command::Kind::Withdraw, source, 0, 0});
}

void FluidSynthDevice::withdraw(int source)
{
    // The timer events of the withdrawn bundles stay in the sequencer and
    // find nothing to play. With one of FluidSynth's drivers this runs on
    // the caller's thread, and removing them would take the sequencer's
    // lock that the driver's thread needs for every block.
    std::lock_guard lock(m_bundleMutex);
    for (auto it = m_bundles.begin(); it != m_bundles.end();)
        it = it->second.source == source ? m_bundles.erase(it) : std::next(it);
    m_lastBundle.erase(source);
    // A stream stopped early ends now, unless another source's goes on. A
    // stream that has ended stays where it ended: a new stream that stops
    // it first must not find the buffer asked to grow before its own first
    // messages are handed over, or they would wait behind that growth.
    if (m_scheduledUntilTick >= 0)
        m_scheduledUntilTick = std::min(m_scheduledUntilTick, int64_t(fluid_sequencer_get_tick(m_sequencer)));
    for (const auto &[id, bundle] : m_bundles)
        m_scheduledUntilTick = std::max(m_scheduledUntilTick, int64_t(bundle.tick));
}

int FluidSynthDevice::openSource()
{
    return m_sequencer ? ++m_lastSourceId : -1;
}

void FluidSynthDevice::closeSource(int source)
{
    cancel(source);
}

int FluidSynthDevice::controllerValue(int channel, int controller) const
{
    if (!m_synth)
        return -1;
    int value = -1;
    int result = FLUID_FAILED;
    if (rendersItself()) {
        std::lock_guard lock(m_renderMutex);
        result = fluid_synth_get_cc(m_synth, channel, controller, &value);
    } else {
        result = fluid_synth_get_cc(m_synth, channel, controller, &value);
    }
    return result == FLUID_OK ? value : -1;
}

bool FluidSynthDevice::messagesPending()
{
    if (!m_commands.empty())
        return true;
    std::lock_guard lock(m_bundleMutex);
    return !m_bundles.empty();
}

std::vector<int> FluidSynthDevice::loadedPresets() const
{
    std::vector<int> result;
    if (m_presets)
        for (const PresetLoader::Preset &preset : m_presets->pinned())
            result.push_back(preset.bank * 128 + preset.program);
    return result;
}

int FluidSynthDevice::presetLoads() const
{
    return m_presets ? m_presets->loads() : 0;
}

bool FluidSynthDevice::presetReaderRunning() const
{
    return m_presets && m_presets->loaderRunning();
}

} // namespace platform::midi
