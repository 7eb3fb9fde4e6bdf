#include "MidiTestSupport.h"
#include "SteppedSynthFixture.h"

#include "platform/midi/CaptureDevice.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/MidiDeviceList.h"
#include "platform/midi/OfflineRender.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <thread>
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

namespace {

// The synthesizer on a clock the test steps.
class FluidSynthSteppedClock : public SteppedSynthFixture
{
};

} // namespace

// The test renders the audio in bursts of uneven length, as an audio thread
// does under load.
// Melodic questions (each note starting under the damper pedal while the
// previous one sounds, in the tick of its note-off) and harmonic ones sound
// in the very blocks where an offline render of the same buffer has them.
TEST_F(FluidSynthSteppedClock, StreamNotesSoundInTheBlocksOfTheOfflineRender)
{

    std::vector<int16_t> audio;
    uint32_t seed = 7;
    const auto renderInBursts = [&](int64_t frames) {
        while (frames > 0) {
            seed = seed * 1103515245u + 12345u;
            const int n = int(std::min<int64_t>(frames, 1 + (seed >> 8) % 6000));
            const std::vector<int16_t> part = device->render(n);
            ASSERT_EQ(part.size(), size_t(n) * 2);
            audio.insert(audio.end(), part.begin(), part.end());
            frames -= n;
        }
    };
    renderInBursts(1000);

    for (bool melodic : {true, false, true}) {
        SCOPED_TRACE(melodic ? "melodic" : "harmonic");
        StreamBuffer buffer = questionBuffer(melodic);
        Listener listener;
        HMIDISTRM stream = nullptr;
        ASSERT_EQ(midiStreamOpen(&stream, MIDI_MAPPER, listener.window.handle(), 0), MMSYSERR_NOERROR);
        midiStreamSetTimeDivision(stream, 50);
        MIDIHDR &header = buffer.header();
        midiOutPrepareHeader(stream, &header);
        const int64_t rendered = int64_t(audio.size() / 2);
        const int64_t origin = device->frameAt(device->streamStartUs(device->nowUs()));
        EXPECT_EQ(origin % FluidSynthDevice::kBlockFrames, 0);
        // Nothing renders while a stream starts, so the next block will do:
        // the lead is at most two blocks, not tens of milliseconds.
        EXPECT_GT(origin, rendered);
        EXPECT_LE(origin - rendered, 2 * FluidSynthDevice::kBlockFrames);
        midiStreamOut(stream, &header);
        midiStreamRestart(stream);
        renderInBursts(origin + 44100 * 5 - int64_t(audio.size() / 2));
        ASSERT_TRUE(pumpUntil([&] { return listener.count(MM_MOM_DONE) == 1; }));
        midiOutReset(stream); // as the generator does: the pedal up, all notes off
        midiOutUnprepareHeader(stream, &header);
        midiStreamClose(stream);
        platform::processMessages();

        const PcmAudio offline = renderMessages(streamBufferMessages(buffer.bytes().data(), buffer.bytes().size(), 50));
        for (const TimedMessage &m : streamBufferMessages(buffer.bytes().data(), buffer.bytes().size(), 50)) {
            if ((m.message & 0xF0) != 0x90 || (m.message >> 16 & 0x7F) == 0)
                continue;
            const int64_t frame = m.timeUs * 441 / 10000;
            const OnsetMatch match = matchOnset(offline.samples, frame, audio, origin + frame, 441);
            EXPECT_EQ(match.lagFrames, 0) << "note " << (m.message >> 8 & 0x7F) << " at " << m.timeUs / 1000 << " ms";
            EXPECT_GT(match.correlation, 0.9);
        }
    }
}

// No audio server at start: the synthesizer plays through ALSA, or, where
// there is no sound card either, not at all, with both reasons given; a
// missing server is found out at once, not after waiting for an answer.
TEST(FluidSynthAudioServer, WithoutAServerAtStartTheSynthesizerFallsBackToAlsa)
{
    FluidSynthDevice::Options options = FluidSynthDevice::Options::fromEnvironment();
    if (!FluidSynthDevice::soundFontExists(options.soundFont))
        GTEST_SKIP() << "no SoundFont at " << options.soundFont.toStdString();
    options.audioDriver.clear();
    const QByteArray previous = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:/nonexistent/tonvik-test/native");
    FluidSynthDevice device(options);
    const bool plays = device.acquire();
    EXPECT_EQ(device.serverOutput(), nullptr);
    if (!plays) {
        const std::string error = device.lastError().toStdString();
        EXPECT_NE(error.find("pulseaudio:"), std::string::npos) << error;
        EXPECT_NE(error.find("alsa:"), std::string::npos) << error;
        // Refused at once, not given up after the wait for an answer.
        EXPECT_EQ(error.find("did not take the stream"), std::string::npos) << error;
    }
    if (previous.isNull())
        qunsetenv("PULSE_SERVER");
    else
        qputenv("PULSE_SERVER", previous);
}

// The drum kit is read only when channel 10 first plays, and then sounds as
// it does where it was there from the start (the offline render).
TEST_F(FluidSynthSteppedClock, ChannelTenPlaysItsDrumKitFromItsFirstNote)
{
    std::vector<int16_t> audio = device->render(640);

    StreamBuffer buffer;
    buffer.add(0, shortMsg(0x99, 38, 127)).add(50, shortMsg(0x99, 38, 0)).add(0, shortMsg(0x99, 42, 127));
    buffer.add(50, shortMsg(0x99, 42, 0));
    Listener listener;
    HMIDISTRM stream = nullptr;
    ASSERT_EQ(midiStreamOpen(&stream, MIDI_MAPPER, listener.window.handle(), 0), MMSYSERR_NOERROR);
    midiStreamSetTimeDivision(stream, 50);
    MIDIHDR &header = buffer.header();
    midiOutPrepareHeader(stream, &header);
    const int64_t origin = device->frameAt(device->streamStartUs(device->nowUs()));
    midiStreamOut(stream, &header);
    midiStreamRestart(stream);
    const std::vector<int16_t> played = device->render(int(origin - 640 + 44100 * 2));
    audio.insert(audio.end(), played.begin(), played.end());
    ASSERT_TRUE(pumpUntil([&] { return listener.count(MM_MOM_DONE) == 1; }));
    midiOutUnprepareHeader(stream, &header);
    midiStreamClose(stream);
    platform::processMessages();

    const PcmAudio offline = renderMessages(streamBufferMessages(buffer.bytes().data(), buffer.bytes().size(), 50));
    for (int64_t frame : {int64_t(0), int64_t(22050)}) {
        const OnsetMatch match = matchOnset(offline.samples, frame, audio, origin + frame, 441);
        EXPECT_EQ(match.lagFrames, 0) << "drum at " << frame;
        EXPECT_GT(match.correlation, 0.99) << "drum at " << frame;
    }
}

// While the device renders itself, other threads never call FluidSynth:
// what they send waits for the rendering thread and takes effect, in
// order, before the next block it renders. A stream withdrawn before that
// render plays nothing at all.
TEST_F(FluidSynthSteppedClock, OtherThreadsReachTheSynthesizerOnlyThroughTheRenderingThread)
{
    device->render(640);
    std::thread caller([&] {
        device->send(0xB0 | 7u << 8 | 33u << 16);
        device->send(0xB0 | 7u << 8 | 44u << 16);
    });
    caller.join();
    const int before = device->controllerValue(0, 7);
    EXPECT_NE(before, 44) << "the caller's thread changed the synthesizer";
    device->render(64);
    EXPECT_EQ(device->controllerValue(0, 7), 44);

    StreamBuffer buffer;
    buffer.add(0, shortMsg(0x90, 60, 127)).add(50, shortMsg(0x90, 60, 0));
    Listener listener;
    HMIDISTRM stream = nullptr;
    ASSERT_EQ(midiStreamOpen(&stream, MIDI_MAPPER, listener.window.handle(), 0), MMSYSERR_NOERROR);
    midiStreamSetTimeDivision(stream, 50);
    MIDIHDR &header = buffer.header();
    midiOutPrepareHeader(stream, &header);
    midiStreamOut(stream, &header);
    midiStreamRestart(stream);
    midiStreamStop(stream);
    const std::vector<int16_t> after = device->render(44100 / 2);
    // Silence, but for the last bit of dither.
    EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](int16_t s) { return std::abs(s) <= 2; }))
        << "a note of the withdrawn stream sounded";
    midiOutUnprepareHeader(stream, &header);
    midiStreamClose(stream);
    platform::processMessages();
}
