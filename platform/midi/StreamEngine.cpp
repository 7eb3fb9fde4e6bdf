#include "StreamEngine.h"

#include <algorithm>
#include <chrono>

namespace platform::midi {

namespace {
// How often the playback thread looks at the clocks while streams play. The
// devices get their messages ahead of time, so this only bounds the delay of
// the position and done notifications.
constexpr auto kPollInterval = std::chrono::milliseconds(4);
} // namespace

StreamEngine &StreamEngine::instance()
{
    static StreamEngine engine;
    return engine;
}

StreamEngine::~StreamEngine()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard lock(m_mutex);
    m_streams.clear();
}

HMIDISTRM StreamEngine::addStream(const std::shared_ptr<MidiDevice> &device, const NotifyHandle &notify)
{
    const uintptr_t value = ++m_lastHandle * 16;
    m_streams[value] = std::make_unique<MidiStream>(value, device, notify);
    if (!device->steppedClock() && !m_thread.joinable())
        m_thread = std::thread([this] { run(); });
    return reinterpret_cast<HMIDISTRM>(value);
}

MidiStream *StreamEngine::stream(HMIDISTRM handle) const
{
    const auto it = m_streams.find(reinterpret_cast<uintptr_t>(handle));
    return it == m_streams.end() ? nullptr : it->second.get();
}

void StreamEngine::removeStream(HMIDISTRM handle)
{
    m_streams.erase(reinterpret_cast<uintptr_t>(handle));
}

HMIDIOUT StreamEngine::addOut(const std::shared_ptr<MidiDevice> &device)
{
    const uintptr_t value = ++m_lastHandle * 16 + 8;
    m_outs[value] = device;
    return reinterpret_cast<HMIDIOUT>(value);
}

MidiDevice *StreamEngine::out(HMIDIOUT handle) const
{
    const auto it = m_outs.find(reinterpret_cast<uintptr_t>(handle));
    return it == m_outs.end() ? nullptr : it->second.get();
}

void StreamEngine::removeOut(HMIDIOUT handle)
{
    m_outs.erase(reinterpret_cast<uintptr_t>(handle));
}

void StreamEngine::wake()
{
    m_wake.notify_all();
}

int64_t StreamEngine::nextEventUs(const MidiDevice *device) const
{
    int64_t next = MidiStream::kNever;
    for (const auto &[value, stream] : m_streams)
        if (&stream->device() == device)
            next = std::min(next, stream->nextEventUs());
    return next;
}

size_t StreamEngine::streamCount(const MidiDevice *device) const
{
    return size_t(std::count_if(m_streams.begin(), m_streams.end(),
                                [device](const auto &entry) { return &entry.second->device() == device; }));
}

void StreamEngine::step(MidiDevice *device, int64_t targetUs, const std::function<void(int64_t)> &setClock)
{
    for (;;) {
        const int64_t next = nextEventUs(device);
        if (next > targetUs)
            break;
        setClock(std::max(next, device->nowUs()));
        for (auto &[value, stream] : m_streams)
            if (&stream->device() == device)
                stream->pump(device->nowUs());
    }
    setClock(targetUs);
    for (auto &[value, stream] : m_streams)
        if (&stream->device() == device)
            stream->pump(targetUs);
}

void StreamEngine::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        bool playing = false;
        for (auto &[value, stream] : m_streams) {
            if (stream->device().steppedClock() || !stream->isRunning())
                continue;
            stream->pump(stream->device().nowUs());
            playing = playing || stream->isRunning();
        }
        if (playing)
            m_wake.wait_for(lock, kPollInterval);
        else
            m_wake.wait(lock);
    }
}

} // namespace platform::midi
