#include "MidiTestSupport.h"

#include "platform/midi/CaptureDevice.h"

#include <QElapsedTimer>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

using namespace miditest;

namespace {

// Sets TONVIK_MIDI_OUT (and friends) for one test and rebuilds the device
// list from them; restores the capture device afterwards.
class ScopedOutput
{
public:
    explicit ScopedOutput(std::initializer_list<std::pair<const char *, const char *>> vars)
    {
        for (const auto &[name, value] : vars) {
            m_saved.emplace_back(name, qgetenv(name), qEnvironmentVariableIsSet(name));
            qputenv(name, value);
        }
        CaptureDevice::uninstall();
    }
    ~ScopedOutput()
    {
        for (const auto &[name, value, wasSet] : m_saved)
            wasSet ? qputenv(name, value) : qunsetenv(name);
        CaptureDevice::install();
    }

private:
    std::vector<std::tuple<const char *, QByteArray, bool>> m_saved;
};

} // namespace

TEST(MidiDeviceSelection, NoneMeansNoDeviceAndOpensFailCleanly)
{
    ScopedOutput env{{"TONVIK_MIDI_OUT", "none"}};
    EXPECT_EQ(midiOutGetNumDevs(), 0u);
    EXPECT_EQ(CaptureDevice::active(), nullptr);
    HMIDIOUT out = nullptr;
    EXPECT_EQ(midiOutOpen(&out, MIDI_MAPPER), MMSYSERR_NODRIVER);
    EXPECT_EQ(midiOutOpen(&out, 0), MMSYSERR_BADDEVICEID);
    Listener listener;
    HMIDISTRM stream = nullptr;
    EXPECT_EQ(midiStreamOpen(&stream, MIDI_MAPPER, listener.window.handle(), 0), MMSYSERR_NODRIVER);
    EXPECT_EQ(stream, nullptr);
    platform::processMessages();
    EXPECT_TRUE(listener.seen.empty()) << "a failed open posts nothing";
}

TEST(MidiDeviceSelection, SynthesizerWithoutSoundFontFailsQuicklyAndQuietly)
{
    ScopedOutput env{{"TONVIK_MIDI_OUT", "fluidsynth"}, {"TONVIK_SOUNDFONT", "/nonexistent/none.sf2"}};
    ASSERT_EQ(midiOutGetNumDevs(), 1u);
    EXPECT_TRUE(midiOutGetDeviceName(0).contains("FluidSynth"));
    QElapsedTimer clock;
    clock.start();
    HMIDIOUT out = nullptr;
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(midiOutOpen(&out, MIDI_MAPPER), MMSYSERR_NODRIVER);
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST(MidiDeviceSelection, AutoWithoutSoundFontOrPortsHasNoMapper)
{
    ScopedOutput env{{"TONVIK_MIDI_OUT", "auto"}, {"TONVIK_SOUNDFONT", "/nonexistent/none.sf2"}};
    HMIDIOUT out = nullptr;
    const MMRESULT result = midiOutOpen(&out, MIDI_MAPPER);
    if (midiOutGetNumDevs() == 0) {
        EXPECT_EQ(result, MMSYSERR_NODRIVER);
    } else if (result == MMSYSERR_NOERROR) { // a machine with ALSA ports
        EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
    }
}

TEST(MidiDeviceSelection, CaptureIsTheMapperAndDeviceZero)
{
    ScopedOutput env{{"TONVIK_MIDI_OUT", "capture"}};
    CaptureDevice *capture = CaptureDevice::active();
    ASSERT_NE(capture, nullptr);
    EXPECT_EQ(&CaptureDevice::install(), capture) << "install() keeps the one in use";
    EXPECT_EQ(midiOutGetNumDevs(), 1u);
    EXPECT_EQ(midiOutGetDeviceName(0), "Capture");
    EXPECT_EQ(midiOutGetDeviceName(1), "");
    HMIDIOUT out = nullptr;
    ASSERT_EQ(midiOutOpen(&out, 0), MMSYSERR_NOERROR);
    capture->clear();
    midiOutShortMsg(out, shortMsg(0x90, 60, 100));
    ASSERT_EQ(capture->messages().size(), 1u);
    EXPECT_EQ(capture->messages()[0].data2, 100);
    midiOutClose(out);
}

TEST(MidiDeviceSelection, AutoModeWithTheSystemSoundFontOpensOrFailsQuietly)
{
    // Whatever this machine has (sound card or not), opening the mapper
    // either works or fails at once, and prints nothing.
    ScopedOutput env{{"TONVIK_MIDI_OUT", "auto"}};
    QTemporaryFile errors;
    ASSERT_TRUE(errors.open());
    fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(errors.handle(), STDERR_FILENO);
    QElapsedTimer clock;
    clock.start();
    HMIDIOUT out = nullptr;
    const MMRESULT first = midiOutOpen(&out, MIDI_MAPPER);
    if (first == MMSYSERR_NOERROR)
        midiOutClose(out);
    const MMRESULT second = midiOutOpen(&out, MIDI_MAPPER);
    if (second == MMSYSERR_NOERROR)
        midiOutClose(out);
    fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(first == MMSYSERR_NOERROR || first == MMSYSERR_NODRIVER) << first;
    EXPECT_LT(clock.elapsed(), 5000);
    errors.seek(0);
    EXPECT_EQ(errors.readAll(), QByteArray());
}

TEST(MidiDeviceSelection, AlsaPortsByNameAndNoSequencerMeansNoDevice)
{
    ScopedOutput env{{"TONVIK_MIDI_OUT", "alsa:no port has this name"}};
    EXPECT_EQ(midiOutGetNumDevs(), 0u);
    HMIDIOUT out = nullptr;
    EXPECT_EQ(midiOutOpen(&out, MIDI_MAPPER), MMSYSERR_NODRIVER);
    if (access("/dev/snd/seq", F_OK) != 0) {
        ScopedOutput all{{"TONVIK_MIDI_OUT", "alsa"}};
        EXPECT_EQ(midiOutGetNumDevs(), 0u);
    }
}

// midiOutPreload() builds the list (loading the sound library) on a thread
// of its own; whoever needs the list meanwhile waits for it, and a device
// installed while it is being built replaces it instead of being overwritten.
TEST(MidiDeviceSelection, PreloadBuildsTheListInTheBackground)
{
    {
        ScopedOutput env{{"TONVIK_MIDI_OUT", "fluidsynth"}, {"TONVIK_SOUNDFONT", "/nonexistent/none.sf2"}};
        midiOutPreload();
        ASSERT_EQ(midiOutGetNumDevs(), 1u);
        EXPECT_TRUE(midiOutGetDeviceName(0).contains("FluidSynth"));
        HMIDIOUT out = nullptr;
        EXPECT_EQ(midiOutOpen(&out, MIDI_MAPPER), MMSYSERR_NODRIVER);
    }
    for (int round = 0; round < 20; ++round) {
        ScopedOutput env{{"TONVIK_MIDI_OUT", "alsa:no port has this name"}};
        midiOutPreload();
        CaptureDevice &capture = CaptureDevice::install();
        ASSERT_EQ(midiOutGetNumDevs(), 1u) << "round " << round;
        EXPECT_EQ(CaptureDevice::active(), &capture);
        CaptureDevice::uninstall();
    }
}
