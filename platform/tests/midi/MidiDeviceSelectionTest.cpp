#include "MidiTestSupport.h"

#include "platform/midi/CaptureDevice.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

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
