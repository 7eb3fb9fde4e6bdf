#pragma once

// The capture device: a MIDI output for tests that records every message
// with its time and runs on a clock that the test steps.
//
// Getting it: ctest runs every test with TONVIK_MIDI_OUT=capture, so the
// mapper (device -1) and device 0 are the capture device; CaptureDevice::
// active() returns it. A test (or tool) can also put one in place
// programmatically with CaptureDevice::install(), whatever the environment.
//
// Time: the clock starts at 0 and moves only in advance()/advanceTicks().
// A stream started by midiStreamRestart at clock time T plays its first
// event at T. advance() walks the clock forward from event to event:
// messages are recorded at their exact stream times and the position, done
// notifications are posted as the clock passes them. Posted notifications
// reach their window when the GUI thread dispatches messages
// (platform::processMessages()); so a generator that re-queues its buffer on
// done continues at the clock time where the test dispatched the done.
//
//     auto &capture = platform::midi::CaptureDevice::install();
//     generator.PlayString("N60,150");          // opens, queues, restarts
//     capture.advanceTicks(150);                 // 1.5 s in microseconds
//     platform::processMessages();               // done, close delivered
//     auto sent = capture.messages();            // [{timeMs, status, ...}]

#include "MidiDevice.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace platform::midi {

// One recorded short message.
struct CapturedMessage
{
    int64_t timeUs = 0; // clock time since the last clear()
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    bool fromStream = false; // played by a stream (else sent directly)

    double timeMs() const { return double(timeUs) / 1000.0; }
    // Time in stream ticks at the given time division (tempo 500,000 us per
    // quarter note): 50 ticks per quarter note gives 10 ms ticks.
    int64_t ticks(uint32_t ticksPerQuarterNote = 50) const
    {
        return timeUs * int64_t(ticksPerQuarterNote) / 500000;
    }
    uint32_t message() const { return uint32_t(status) | uint32_t(data1) << 8 | uint32_t(data2) << 16; }
    uint8_t channel() const { return status & 0x0F; }
    uint8_t kind() const { return status & 0xF0; }
};

class CaptureDevice : public MidiDevice
{
public:
    CaptureDevice();

    // The capture device the MIDI mapper and device 0 use from now on; the
    // one already in use when there is one (TONVIK_MIDI_OUT=capture).
    static CaptureDevice &install();
    // The capture device in use, or nullptr.
    static CaptureDevice *active();
    // Back to the device choice of TONVIK_MIDI_OUT.
    static void uninstall();

    // Everything recorded since the last clear(), in time order.
    std::vector<CapturedMessage> messages() const;
    // Forgets the record; later times count from the clock's present time.
    void clear();

    // Clock time in microseconds / milliseconds since the device was made.
    int64_t clockUs() const { return m_clockUs; }
    double clockMs() const { return double(m_clockUs) / 1000.0; }
    // Steps the clock, playing what falls due and posting notifications.
    // advance(0) plays what is due at the present time.
    void advance(int64_t ms);
    void advanceUs(int64_t us);
    // Steps by stream ticks of the given time division (10 ms at 50).
    void advanceTicks(int64_t ticks, uint32_t ticksPerQuarterNote = 50);
    // Device time of the next event that a stream must play, or -1 when no
    // stream of this device is playing.
    int64_t nextEventUs() const;
    // Streams open on this device.
    size_t openStreams() const;

    // MidiDevice
    QString name() const override;
    bool acquire() override { return true; }
    int64_t nowUs() override { return m_clockUs; }
    void send(uint32_t message) override;
    void sendAt(int source, int64_t atUs, uint32_t message) override;
    void cancel(int) override {}
    bool steppedClock() const override { return true; }

private:
    void record(int64_t atUs, uint32_t message, bool fromStream);

    std::atomic<int64_t> m_clockUs{0};
    mutable std::mutex m_recordMutex;
    int64_t m_originUs = 0;
    std::vector<CapturedMessage> m_record;
};

} // namespace platform::midi
