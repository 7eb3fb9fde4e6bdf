#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace platform::midi {

// An output device behind the MIDI output and stream calls. The stream layer
// turns queued buffers into short messages with absolute device times and
// hands them over ahead of time (up to lookaheadUs ahead), so the device can
// play them on its own clock independent of thread wake-ups. A stream that
// starts hands over its first messages at once, on the thread that starts
// it; the playback thread only follows with the later ones.
//
// All calls except acquire() and preload() come from the stream layer while
// it holds its lock, so a device only needs to guard state that its own
// threads touch.
class MidiDevice
{
public:
    MidiDevice() = default;
    MidiDevice(const MidiDevice &) = delete;
    MidiDevice &operator=(const MidiDevice &) = delete;
    virtual ~MidiDevice() = default;

    virtual QString name() const = 0;

    // Makes the device ready to play (loads, connects). May block; safe to
    // call from several threads and more than once. False when the device
    // cannot play; the reason is then in lastError().
    virtual bool acquire() = 0;
    // Starts acquiring in the background so a later acquire() waits less.
    virtual void preload() {}
    virtual QString lastError() const { return {}; }

    // The device clock in microseconds.
    virtual int64_t nowUs() = 0;
    // Readies what these messages will need (a synthesizer reads the
    // instruments they select) before they are handed over with sendAt():
    // a stream calls it with its buffer's messages before it holds the
    // clock and starts. May block; send() does the same for its message.
    virtual void prepare(const std::vector<uint32_t> &messages) { (void)messages; }
    // Plays a short message (status | data1 << 8 | data2 << 16) at once.
    virtual void send(uint32_t message) = 0;
    // Plays a short message at device time atUs. Messages of one source are
    // played in the order given when their times are equal.
    virtual void sendAt(int source, int64_t atUs, uint32_t message) = 0;
    // Withdraws the messages of source that have not been played yet.
    virtual void cancel(int source) = 0;
    // A tag for the messages of one stream.
    virtual int openSource() { return ++m_lastSource; }
    virtual void closeSource(int source) { (void)source; }

    // How far ahead of their time messages are handed over.
    virtual int64_t lookaheadUs() const { return 0; }
    // Delay between the start of a stream and its first event (the lead):
    // time enough to hand the first messages over before they are due.
    virtual int64_t startLatencyUs() const { return 0; }
    // Device time of the first event of a stream started at device time
    // nowUs: nowUs + startLatencyUs(), or a later time the device plays
    // exactly (the start of a synthesizer block).
    virtual int64_t streamStartUs(int64_t nowUs) const { return nowUs + startLatencyUs(); }
    // True when the owner of the device steps its clock (capture device);
    // otherwise the stream layer's playback thread follows the clock.
    virtual bool steppedClock() const { return false; }

    // Damper pedal up and all notes off on every channel (sounding notes
    // fade out through their release).
    void allNotesOff();

    // While held, the device clock does not move (the owner of the device's
    // rendering waits): a stream reads the clock and hands its first
    // messages over under this hold, so they cannot fall behind the clock
    // meanwhile. Devices whose clock moves on its own hold nothing.
    virtual void holdClock() {}
    virtual void releaseClock() {}

    // Whether TONVIK_MIDI_DEBUG asks for the devices' diagnostics.
    static bool debugOutput();

private:
    int m_lastSource = 0;
};

} // namespace platform::midi
