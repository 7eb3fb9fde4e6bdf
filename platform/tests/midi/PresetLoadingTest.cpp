#include "MidiTestSupport.h"
#include "SteppedSynthFixture.h"

#include "platform/midi/CaptureDevice.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/MidiDeviceList.h"
#include "platform/midi/OfflineRender.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <atomic>
#include <thread>
#include <gtest/gtest.h>

using namespace miditest;

namespace {

// Read system calls the calling thread has made so far (the kernel's count
// per thread), -1 where the kernel does not keep it. One read call each,
// which the next count includes.
int64_t readCallsOfThisThread()
{
    const int fd = ::open("/proc/thread-self/io", O_RDONLY);
    if (fd < 0)
        return -1;
    char text[512] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    const char *syscr = n > 0 ? std::strstr(text, "syscr:") : nullptr;
    return syscr ? std::atoll(syscr + 6) : -1;
}

struct RenderResult
{
    std::vector<int16_t> samples;
    int64_t readCalls = 0;
};

// The synthesizer rendered by the test on a thread of its own, as the audio
// thread renders the device's server stream.
class PresetLoading : public SteppedSynthFixture
{
protected:
    // Renders on another thread; the file reads it made meanwhile.
    RenderResult renderOnAudioThread(int frames)
    {
        RenderResult result;
        std::thread audio([&] {
            const int64_t before = readCallsOfThisThread();
            result.samples = device->render(frames);
            // Less the count's own read.
            result.readCalls = before < 0 ? 0 : readCallsOfThisThread() - before - 1;
        });
        audio.join();
        return result;
    }

    // Plays a buffer from the next block on; the frame its tick 0 sounds at.
    int64_t startStream(StreamBuffer &buffer, Listener &listener, HMIDISTRM *stream)
    {
        EXPECT_EQ(midiStreamOpen(stream, MIDI_MAPPER, listener.window.handle(), 0), MMSYSERR_NOERROR);
        midiStreamSetTimeDivision(*stream, 50);
        MIDIHDR &header = buffer.header();
        midiOutPrepareHeader(*stream, &header);
        const int64_t origin = device->frameAt(device->streamStartUs(device->nowUs()));
        midiStreamOut(*stream, &header);
        midiStreamRestart(*stream);
        return origin;
    }
    void closeStream(StreamBuffer &buffer, Listener &listener, HMIDISTRM stream)
    {
        EXPECT_TRUE(pumpUntil([&] { return listener.count(MM_MOM_DONE) == 1; }));
        midiOutUnprepareHeader(stream, &buffer.current());
        midiStreamClose(stream);
        platform::processMessages();
    }
};

bool holds(const std::vector<int> &presets, int bank, int program)
{
    return std::find(presets.begin(), presets.end(), bank * 128 + program) != presets.end();
}

} // namespace

// An instrument no channel has played (a stream's program change) and the
// drum kit (channel 10's first note) are read before the stream is handed
// over: the thread that renders reads nothing from the SoundFont when they
// take effect, and they sound as in an offline render, where they were
// there from the start.
TEST_F(PresetLoading, ColdInstrumentsAreReadBeforeTheAudioThreadSelectsThem)
{
    if (readCallsOfThisThread() < 0)
        GTEST_SKIP() << "the kernel does not count a thread's reads";
    std::vector<int16_t> audio = renderOnAudioThread(640).samples;
    EXPECT_TRUE(holds(device->loadedPresets(), 0, 0)) << "the piano, selected at start, is kept";

    StreamBuffer buffer;
    buffer.add(0, shortMsg(0xC0, 40)).add(0, shortMsg(0x90, 67, 110)).add(0, shortMsg(0x99, 38, 127));
    buffer.add(50, shortMsg(0x90, 67, 0)).add(0, shortMsg(0x99, 38, 0)).add(0, shortMsg(0x99, 42, 127));
    buffer.add(50, shortMsg(0x99, 42, 0));
    Listener listener;
    HMIDISTRM stream = nullptr;
    const int64_t origin = startStream(buffer, listener, &stream);
    const std::vector<int> loaded = device->loadedPresets();
    EXPECT_TRUE(holds(loaded, 0, 40)) << "the violin was not read before the hand-over";
    EXPECT_TRUE(holds(loaded, 128, 0)) << "the drum kit was not read before the hand-over";
    EXPECT_EQ(device->presetLoads(), 2);

    const RenderResult played = renderOnAudioThread(int(origin - 640 + 44100 * 2));
    EXPECT_EQ(played.readCalls, 0) << "the rendering thread read the SoundFont";
    audio.insert(audio.end(), played.samples.begin(), played.samples.end());
    closeStream(buffer, listener, stream);

    const PcmAudio offline = renderMessages(streamBufferMessages(buffer.bytes().data(), buffer.bytes().size(), 50));
    for (int64_t frame : {int64_t(0), int64_t(22050)}) {
        const OnsetMatch match = matchOnset(offline.samples, frame, audio, origin + frame, 441);
        EXPECT_EQ(match.lagFrames, 0) << "onset at " << frame;
        EXPECT_GT(match.correlation, 0.99) << "onset at " << frame;
    }
}

// What is held follows what is played: an instrument that no channel
// selects any more is let go once nothing waits to be played, and the
// piano, selected again, needs no reading (it never left).
TEST_F(PresetLoading, AnInstrumentNoChannelSelectsIsReleasedOnceNothingWaits)
{
    renderOnAudioThread(640);
    StreamBuffer buffer;
    buffer.add(0, shortMsg(0xC0, 73)).add(0, shortMsg(0x90, 72, 100)).add(50, shortMsg(0x90, 72, 0));
    Listener listener;
    HMIDISTRM stream = nullptr;
    const int64_t origin = startStream(buffer, listener, &stream);
    EXPECT_TRUE(holds(device->loadedPresets(), 0, 73));
    EXPECT_TRUE(device->presetReaderRunning());
    renderOnAudioThread(int(origin + 44100 - 640));
    closeStream(buffer, listener, stream);

    // Back to the piano: while channel 1 still has the flute, it stays.
    // Nothing had to be read, so the reading synthesizer (and the memory
    // of its parsed SoundFont) goes.
    device->send(0xC0);
    EXPECT_TRUE(holds(device->loadedPresets(), 0, 73));
    EXPECT_FALSE(device->presetReaderRunning());
    // The flute's last note dies away meanwhile: a sounding voice would
    // keep it (its last voice would free it on the audio thread).
    const RenderResult after = renderOnAudioThread(44100 * 3);
    EXPECT_EQ(after.readCalls, 0);
    // The next selection finds it unused, nothing waiting, nothing sounding.
    device->send(0xC1);
    const std::vector<int> loaded = device->loadedPresets();
    EXPECT_FALSE(holds(loaded, 0, 73)) << "the flute is still held";
    EXPECT_TRUE(holds(loaded, 0, 0));
    EXPECT_EQ(device->presetLoads(), 1) << "the piano was read again";

    // Bad program changes and bank selects change nothing held and crash
    // nothing: a bank the SoundFont lacks falls back as FluidSynth does.
    device->send(0xB2 | 0 << 8 | 99u << 16);
    device->send(0xC2 | 0x7F << 8);
    device->send(0xFFFFFFFFu);
    EXPECT_EQ(renderOnAudioThread(128).readCalls, 0);
}

// A controller's value as the synthesizer has it, asked for while another
// thread renders, and -1 for a channel or controller that does not exist.
TEST_F(PresetLoading, ControllerValuesAreReadWhileTheAudioThreadRenders)
{
    std::atomic<bool> quit{false};
    std::thread audio([&] {
        while (!quit.load())
            device->render(64);
    });
    for (int value : {5, 64, 127, 0}) {
        device->send(0xB3 | 7u << 8 | uint32_t(value) << 16);
        EXPECT_TRUE(pumpUntil([&] { return device->controllerValue(3, 7) == value; })) << value;
        EXPECT_EQ(device->controllerValue(4, 7), 100) << "another channel changed";
    }
    quit = true;
    audio.join();
    EXPECT_EQ(device->controllerValue(16, 7), -1);
    EXPECT_EQ(device->controllerValue(-1, 7), -1);
    EXPECT_EQ(device->controllerValue(0, 128), -1);
}
