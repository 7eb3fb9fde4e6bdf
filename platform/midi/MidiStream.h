#pragma once

#include "MidiDevice.h"
#include "MidiOut.h"
#include "StreamEvents.h"

#include <bitset>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <vector>

namespace platform::midi {

// One open MIDI stream: the queue of buffers handed to midiStreamOut, the
// play position and the notifications to its owner. Not locked itself: the
// stream layer calls it while holding its lock (StreamEngine).
class MidiStream
{
public:
    static constexpr int64_t kNever = std::numeric_limits<int64_t>::max();

    MidiStream(uintptr_t handleValue, std::shared_ptr<MidiDevice> device, NotifyHandle notify);
    ~MidiStream();
    MidiStream(const MidiStream &) = delete;
    MidiStream &operator=(const MidiStream &) = delete;

    MidiDevice &device() const { return *m_device; }
    const std::shared_ptr<MidiDevice> &sharedDevice() const { return m_device; }

    void postOpen();
    MMRESULT setTimeDivision(uint32_t ticksPerQuarterNote);
    uint32_t timeDivision() const { return m_division; }
    MMRESULT out(MIDIHDR *header);
    MMRESULT restart();
    // Pauses at the start and returns every queued buffer with a done
    // notification; notes that sound are released.
    MMRESULT stop();
    // stop() and all notes off on the device.
    MMRESULT reset();
    // Posts the close notification; fails while buffers are queued.
    MMRESULT close();
    bool isQueued(const MIDIHDR *header) const;

    // Hands over the messages due before nowUs + the device's lookahead and
    // posts the notifications of the events that nowUs has reached.
    void pump(int64_t nowUs);
    // Device time of the next event that pump() must reach, kNever if none.
    int64_t nextEventUs() const;
    bool isRunning() const { return m_running && !m_queue.empty(); }

private:
    struct Buffer
    {
        MIDIHDR *header = nullptr;
        std::vector<StreamEvent> events;
        uint32_t division = 0;
        int64_t originUs = -1; // device time of tick 0; -1 until started
        size_t sent = 0;       // events handed to the device
        size_t reached = 0;    // events whose time has passed (notified)
        size_t tracked = 0;    // events counted in the sounding notes
    };

    int64_t timeOf(const Buffer &buffer, size_t index) const;
    // Starts the front buffer, unless it has started, on the device's
    // clock as it is now; a real-time device gets its first messages at
    // once, not at the playback thread's next turn.
    void startFront();
    void feed(Buffer &buffer, int64_t nowUs);
    // Counts the handed-over events due by nowUs in the sounding notes.
    void trackThrough(Buffer &buffer, int64_t nowUs);
    void track(uint32_t message);
    // Withdraws what the device has not played and releases the notes that
    // sound.
    void withdraw();
    void releaseSounding();
    void post(unsigned msg, MIDIHDR *header);
    void finish(Buffer &buffer);

    uintptr_t m_handleValue;
    std::shared_ptr<MidiDevice> m_device;
    NotifyHandle m_notify;
    int m_source = 0;
    uint32_t m_division = 96;
    bool m_running = false;
    bool m_closed = false;
    int64_t m_endUs = std::numeric_limits<int64_t>::min(); // end of the last buffer played
    std::deque<Buffer> m_queue;
    std::bitset<16 * 128> m_sounding; // notes whose note-on time has passed
};

} // namespace platform::midi
