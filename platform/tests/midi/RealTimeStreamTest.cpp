// The stream layer on a real-time device, one that keeps the whole buffer
// ahead (as the built-in synthesizer does), with a clock the test moves. The
// clock of such a device moves on its own (an audio thread renders, in
// bursts under load), so what counts is on which clock reading a message is
// handed over, not how long threads take.

#include "MidiTestSupport.h"

#include "platform/midi/CaptureDevice.h"
#include "platform/midi/MidiDevice.h"
#include "platform/midi/MidiDeviceList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace miditest;

namespace {

// A device whose clock the test sets. Reads from other threads than the
// test's (the playback thread) wait until the test opens the gate: so the
// test decides that the playback thread comes late, after a burst of the
// clock.
class GatedClockDevice : public MidiDevice
{
public:
    struct Handover
    {
        int64_t atUs;      // the message's device time
        int64_t clockUs;   // the clock when it was handed over
        uint32_t message;
    };

    QString name() const override { return QStringLiteral("Gated clock"); }
    bool acquire() override { return true; }
    int64_t nowUs() override
    {
        if (std::this_thread::get_id() != m_owner) {
            std::unique_lock lock(m_gateMutex);
            m_gateOpened.wait(lock, [this] { return m_gateOpen; });
        }
        return m_clockUs;
    }
    void send(uint32_t message) override
    {
        std::lock_guard lock(m_recordMutex);
        m_direct.push_back(message);
    }
    void sendAt(int, int64_t atUs, uint32_t message) override
    {
        std::lock_guard lock(m_recordMutex);
        m_handovers.push_back({atUs, m_clockUs, message});
    }
    void cancel(int) override {}
    int64_t lookaheadUs() const override { return int64_t(1) << 40; }
    int64_t startLatencyUs() const override { return 20000; }

    void setClock(int64_t us) { m_clockUs = us; }
    void openGate()
    {
        {
            std::lock_guard lock(m_gateMutex);
            m_gateOpen = true;
        }
        m_gateOpened.notify_all();
    }
    std::vector<Handover> handovers() const
    {
        std::lock_guard lock(m_recordMutex);
        return m_handovers;
    }
    std::vector<uint32_t> direct() const
    {
        std::lock_guard lock(m_recordMutex);
        return m_direct;
    }

private:
    const std::thread::id m_owner = std::this_thread::get_id();
    std::atomic<int64_t> m_clockUs{1000000};
    std::mutex m_gateMutex;
    std::condition_variable m_gateOpened;
    bool m_gateOpen = false;
    mutable std::mutex m_recordMutex;
    std::vector<Handover> m_handovers;
    std::vector<uint32_t> m_direct;
};

class RealTimeStream : public ::testing::Test
{
protected:
    void SetUp() override
    {
        device = std::make_shared<GatedClockDevice>();
        MidiDeviceList::instance().install(device);
        ASSERT_EQ(midiStreamOpen(&stream, MIDI_MAPPER, listener.window.handle(), 0), MMSYSERR_NOERROR);
        ASSERT_EQ(midiStreamSetTimeDivision(stream, 50), MMSYSERR_NOERROR);
    }
    void TearDown() override
    {
        device->openGate();
        midiStreamStop(stream);
        midiStreamClose(stream);
        platform::processMessages();
        CaptureDevice::install();
    }
    void play(StreamBuffer &buffer)
    {
        MIDIHDR &header = buffer.header();
        ASSERT_EQ(midiOutPrepareHeader(stream, &header), MMSYSERR_NOERROR);
        ASSERT_EQ(midiStreamOut(stream, &header), MMSYSERR_NOERROR);
        ASSERT_EQ(midiStreamRestart(stream), MMSYSERR_NOERROR);
    }

    std::shared_ptr<GatedClockDevice> device;
    Listener listener;
    HMIDISTRM stream = nullptr;
};

// A melodic question with the damper pedal down: each later note starts in
// the tick of the previous note's note-off.
StreamBuffer melodicQuestion()
{
    StreamBuffer b;
    b.add(0, shortMsg(0xB0, 121) | MEVT_F_CALLBACK).add(0, shortMsg(0xB0, 64, 127)).add(0, shortMsg(0xC0, 0));
    b.add(0, shortMsg(0x90, 65, 127)).add(150, shortMsg(0x90, 65, 0)).add(0, shortMsg(0x90, 63, 127));
    b.add(150, shortMsg(0x90, 63, 0)).add(0, shortMsg(0x90, 65, 127)).add(150, shortMsg(0x90, 65, 0));
    return b;
}

} // namespace

TEST_F(RealTimeStream, EveryMessageIsHandedOverBeforeItsTimeWhenTheClockJumpsBeforeThePlaybackThreadRuns)
{
    StreamBuffer buffer = melodicQuestion();
    play(buffer);
    // The audio thread renders 100 ms at once before the playback thread
    // gets the processor.
    device->setClock(1100000);
    device->openGate();
    device->setClock(10000000);
    ASSERT_TRUE(pumpUntil([&] { return listener.count(MM_MOM_DONE) == 1; }));

    const auto handovers = device->handovers();
    ASSERT_EQ(handovers.size(), 9u);
    const int64_t origin = handovers.front().atUs;
    EXPECT_GE(origin, 1000000 + device->startLatencyUs());
    const int64_t ticks[] = {0, 0, 0, 0, 150, 150, 300, 300, 450};
    for (size_t i = 0; i < handovers.size(); ++i) {
        EXPECT_LT(handovers[i].clockUs, handovers[i].atUs) << "message " << i << " handed over late";
        EXPECT_EQ(handovers[i].atUs - origin, ticks[i] * 10000) << "message " << i;
    }
}

TEST_F(RealTimeStream, StopReleasesTheNotesThatSoundThoughTheirNoteOffsWereHandedOver)
{
    StreamBuffer buffer = melodicQuestion();
    play(buffer);
    device->openGate();
    // During the second note: its note-off and the third note were handed
    // over long ago and are withdrawn now.
    device->setClock(1000000 + 20000 + 2000000);
    ASSERT_EQ(midiStreamStop(stream), MMSYSERR_NOERROR);
    const auto direct = device->direct();
    EXPECT_NE(std::find(direct.begin(), direct.end(), shortMsg(0x80, 63)), direct.end());
    EXPECT_EQ(std::find(direct.begin(), direct.end(), shortMsg(0x80, 60)), direct.end());
}
