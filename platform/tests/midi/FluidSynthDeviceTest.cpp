#include "MidiTestSupport.h"

#include "platform/midi/CaptureDevice.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/MidiDeviceList.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace miditest;

namespace {

// The built-in synthesizer writing to a file instead of a sound card, as
// the MIDI mapper for the length of a test.
class FluidSynthTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FluidSynthDevice::Options options = FluidSynthDevice::Options::fromEnvironment();
        if (!FluidSynthDevice::soundFontExists(options.soundFont))
            GTEST_SKIP() << "no SoundFont at " << options.soundFont.toStdString();
        options.audioDriver = "file";
        options.settings = {{"audio.file.name", dir.filePath("out.raw")}, {"audio.file.type", "raw"}};
        device = std::make_shared<FluidSynthDevice>(options);
        device->preload();
        MidiDeviceList::instance().install(device);
    }
    void TearDown() override
    {
        CaptureDevice::install();
    }

    QTemporaryDir dir;
    std::shared_ptr<FluidSynthDevice> device;
};

} // namespace

TEST_F(FluidSynthTest, PlaysAStreamInRealTimeWithNotificationsInOrder)
{
    ASSERT_EQ(midiOutGetNumDevs(), 1u);
    Listener listener;
    HMIDISTRM stream = nullptr;
    ASSERT_EQ(midiStreamOpen(&stream, MIDI_MAPPER, listener.window.handle(), 0), MMSYSERR_NOERROR)
        << device->lastError().toStdString();
    midiStreamSetTimeDivision(stream, 50);
    StreamBuffer buffer;
    buffer.add(0, shortMsg(0xB0, 121) | MEVT_F_CALLBACK).add(0, shortMsg(0x90, 60, 100)).add(15, shortMsg(0x90, 60, 0));
    MIDIHDR &header = buffer.header();
    midiOutPrepareHeader(stream, &header);
    midiStreamOut(stream, &header);
    midiStreamRestart(stream);
    ASSERT_TRUE(pumpUntil([&] { return listener.count(MM_MOM_DONE) == 1; }));
    EXPECT_EQ(listener.kinds(), (std::vector<unsigned>{MM_MOM_OPEN, MM_MOM_POSITIONCB, MM_MOM_DONE}));

    // A looping stream stopped in the middle returns its buffer at once.
    listener.onMessage = [&](const platform::TMessage &m) {
        if (m.msg == MM_MOM_DONE && listener.count(MM_MOM_DONE) < 3) {
            midiStreamOut(stream, &header);
            midiStreamRestart(stream);
        }
    };
    midiStreamOut(stream, &header);
    ASSERT_TRUE(pumpUntil([&] { return listener.count(MM_MOM_POSITIONCB) == 2; }));
    listener.onMessage = nullptr;
    EXPECT_EQ(midiStreamStop(stream), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags & MHDR_INQUEUE, 0u);
    ASSERT_EQ(midiOutUnprepareHeader(stream, &header), MMSYSERR_NOERROR);
    ASSERT_EQ(midiStreamClose(stream), MMSYSERR_NOERROR);
    ASSERT_TRUE(pumpUntil([&] { return listener.count(MM_MOM_CLOSE) == 1; }));
    EXPECT_EQ(listener.kinds().back(), MM_MOM_CLOSE);
    EXPECT_EQ(listener.count(MM_MOM_DONE), 2);
}

TEST_F(FluidSynthTest, AMissingAudioDriverMakesTheDeviceUnavailable)
{
    FluidSynthDevice::Options options = FluidSynthDevice::Options::fromEnvironment();
    options.audioDriver = "no-such-driver";
    auto broken = std::make_shared<FluidSynthDevice>(options);
    MidiDeviceList::instance().install(broken);
    HMIDIOUT out = nullptr;
    EXPECT_EQ(midiOutOpen(&out, MIDI_MAPPER), MMSYSERR_NODRIVER);
    EXPECT_TRUE(broken->lastError().contains("no-such-driver")) << broken->lastError().toStdString();
}

TEST_F(FluidSynthTest, MessagesWithEqualTimesTakeEffectInTheirOrder)
{
    Listener listener;
    HMIDISTRM stream = nullptr;
    ASSERT_EQ(midiStreamOpen(&stream, MIDI_MAPPER, listener.window.handle(), 0), MMSYSERR_NOERROR);
    midiStreamSetTimeDivision(stream, 50);
    StreamBuffer buffer;
    // Reset all controllers, then the damper pedal down; and many volume
    // changes, all in one tick: only the order tells the final values.
    buffer.add(2, shortMsg(0xB0, 121)).add(0, shortMsg(0xB0, 64, 127));
    for (int i = 0; i < 40; ++i)
        buffer.add(0, shortMsg(0xB0, 7, uint8_t(100 - i)));
    buffer.add(0, shortMsg(0xB0, 7, 17)).add(3, shortMsg(0xB1, 7, 5));
    MIDIHDR &header = buffer.header();
    midiOutPrepareHeader(stream, &header);
    midiStreamOut(stream, &header);
    midiStreamRestart(stream);
    ASSERT_TRUE(pumpUntil([&] { return listener.count(MM_MOM_DONE) == 1; }));
    // The last message comes at the end of its block; give the audio thread
    // a moment to render it.
    ASSERT_TRUE(pumpUntil([&] { return device->controllerValue(1, 7) == 5; }));
    EXPECT_EQ(device->controllerValue(0, 64), 127);
    EXPECT_EQ(device->controllerValue(0, 7), 17);
    midiOutUnprepareHeader(stream, &header);
    midiStreamClose(stream);
    platform::processMessages();
}
