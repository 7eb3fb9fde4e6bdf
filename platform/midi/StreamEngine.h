#pragma once

#include "MidiOut.h"
#include "MidiStream.h"

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace platform::midi {

// Keeps the open streams and output handles, and the playback thread that
// follows the clocks of the real devices. One lock guards all streams; the
// MIDI calls, the playback thread and the stepping of the capture clock take
// it. Handles are numbers that are never reused, so a stale or made-up handle
// is found to be invalid instead of being dereferenced.
class StreamEngine
{
public:
    static StreamEngine &instance();
    ~StreamEngine();

    std::mutex &mutex() { return m_mutex; }

    // With the lock held:
    HMIDISTRM addStream(const std::shared_ptr<MidiDevice> &device, const NotifyHandle &notify);
    MidiStream *stream(HMIDISTRM handle) const;
    void removeStream(HMIDISTRM handle);
    HMIDIOUT addOut(const std::shared_ptr<MidiDevice> &device);
    MidiDevice *out(HMIDIOUT handle) const;
    void removeOut(HMIDIOUT handle);
    // Wakes the playback thread after a stream started.
    void wake();
    // Device time of the next event of the device's streams, kNever if none.
    int64_t nextEventUs(const MidiDevice *device) const;
    // Plays the streams of a device with a stepped clock up to targetUs:
    // setClock moves the device clock from event to event, so messages and
    // notifications come in time order across streams.
    void step(MidiDevice *device, int64_t targetUs, const std::function<void(int64_t)> &setClock);
    size_t streamCount(const MidiDevice *device) const;

private:
    StreamEngine() = default;
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<uintptr_t, std::unique_ptr<MidiStream>> m_streams;
    std::map<uintptr_t, std::shared_ptr<MidiDevice>> m_outs;
    uintptr_t m_lastHandle = 0;
    bool m_quit = false;
    std::thread m_thread;
};

} // namespace platform::midi
