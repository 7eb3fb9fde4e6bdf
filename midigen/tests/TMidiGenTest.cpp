// The generator with the capture device: properties and clamps, the play
// requests, playback lifecycle, loops, Stop, the owner rule and failures.
#include "midigen/TMidiGen.h"
#include "platform/Application.h"
#include "platform/midi/CaptureDevice.h"

#include <QMetaProperty>
#include <QVariant>
#include <gtest/gtest.h>

#include <algorithm>

using namespace platform::midi;

namespace {

// Dispatches the notifications posted so far and those their handlers post.
void settle()
{
    for (int i = 0; i < 4; ++i)
        platform::processMessages();
}

class TMidiGenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TMidiGen::ResetStreamOwnerForTests();
        capture = &CaptureDevice::install();
        settle();
        capture->clear();
    }

    // Walks the clock tick by tick, handling notifications in between as the
    // message loop does while a real device plays.
    void step(int ticks)
    {
        for (int i = 0; i < ticks; ++i) {
            capture->advanceTicks(1);
            settle();
        }
    }

    std::vector<CapturedMessage> streamed(uint8_t kind = 0) const
    {
        std::vector<CapturedMessage> out;
        for (const CapturedMessage &m : capture->messages())
            if (m.fromStream && (kind == 0 || m.kind() == kind))
                out.push_back(m);
        return out;
    }

    // Start times in microseconds of the sounding note ons.
    std::vector<int64_t> noteOnTimes() const
    {
        std::vector<int64_t> out;
        for (const CapturedMessage &m : streamed(0x90))
            if (m.data2 > 0)
                out.push_back(m.timeUs);
        return out;
    }

    CaptureDevice *capture = nullptr;
};

class RecordingGen : public TMidiGen
{
public:
    using TMidiGen::TMidiGen;
    QStringList shown;

protected:
    void showRangeMessage(const QString &text) override { shown << text; }
};

} // namespace

TEST_F(TMidiGenTest, DefaultsAndClamps)
{
    RecordingGen gen;
    EXPECT_EQ(gen.Volume(), 100);
    EXPECT_EQ(gen.PBDuration(), 100);
    EXPECT_EQ(gen.Duration(), 50u);
    EXPECT_EQ(gen.Octave(), 4);
    EXPECT_EQ(gen.Loops(), 1u);
    EXPECT_EQ(gen.Instrument(), mgAcousticGrandPiano);
    EXPECT_EQ(gen.Channel(), mgCh01);
    EXPECT_EQ(gen.DeviceId(), -1);
    EXPECT_FALSE(gen.IsPlaying());

    gen.setVolume(150);
    gen.setPan(-300);
    gen.setInstrument(TMGInstrument(200));
    gen.setPitchBend(-121);
    gen.setOctave(11);
    gen.setChannel(TMGChannel(-1));
    gen.setNote(TMGNote(12));
    EXPECT_EQ(gen.Volume(), 100);
    EXPECT_EQ(gen.Pan(), -100);
    EXPECT_EQ(gen.Instrument(), mgOpenTriangle);
    EXPECT_EQ(gen.PitchBend(), -120);
    EXPECT_EQ(gen.Octave(), 10);
    EXPECT_EQ(gen.Channel(), mgCh01);
    EXPECT_EQ(gen.Note(), mgB);
    EXPECT_TRUE(gen.shown.isEmpty()) << "clamped silently at run time";

    // Through the property system, as a form description sets them.
    EXPECT_TRUE(gen.setProperty("Duration", 150u));
    EXPECT_TRUE(gen.setProperty("Sustain", true));
    EXPECT_TRUE(gen.setProperty("Reverb", 101));
    EXPECT_EQ(gen.Duration(), 150u);
    EXPECT_TRUE(gen.Sustain());
    EXPECT_EQ(gen.property("Reverb").toInt(), 100);
    EXPECT_FALSE(gen.setProperty("IsPlaying", true));

    gen.setDesignMode(true);
    gen.setPan(101);
    gen.setChorus(-1);
    gen.setInstrument(TMGInstrument(175));
    EXPECT_EQ(gen.shown, (QStringList{"Value must be between -100 and 100", "Value must be between 0 and 100",
                                      "Value must be between 0 and 174"}));
    EXPECT_EQ(gen.Pan(), 100);
}

TEST_F(TMidiGenTest, EveryPublishedPropertyDefaultAndOrder)
{
    TMidiGen gen;
    EXPECT_EQ(gen.Pan(), 0);
    EXPECT_EQ(gen.Reverb(), 0);
    EXPECT_EQ(gen.Chorus(), 0);
    EXPECT_FALSE(gen.Sustain());
    EXPECT_EQ(gen.Modulation(), 0);
    EXPECT_EQ(gen.PitchBend(), 0);
    EXPECT_EQ(gen.PBDelay(), 0);
    EXPECT_EQ(gen.Note(), mgC);

    const QMetaObject *meta = gen.metaObject();
    QStringList names;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        names << QString::fromLatin1(meta->property(i).name());
    EXPECT_EQ(names, (QStringList{"Volume", "Pan", "Reverb", "Chorus", "Sustain", "Modulation", "PitchBend",
                                  "PBDelay", "PBDuration", "Duration", "Note", "Octave", "Instrument", "Channel",
                                  "Loops", "IsPlaying"}));
}

TEST_F(TMidiGenTest, MelodicQuestionLifecycle)
{
    TMidiGen gen;
    gen.setDuration(150);
    gen.setSustain(true);
    ASSERT_TRUE(gen.PlayString("N60,150;N64,150;N60,150"));
    EXPECT_TRUE(gen.IsPlaying()) << "the open notification is handled during the request";

    step(449);
    EXPECT_TRUE(gen.IsPlaying());
    step(1);
    EXPECT_FALSE(gen.IsPlaying());
    EXPECT_EQ(capture->openStreams(), 0u);

    const auto all = streamed();
    ASSERT_EQ(all.size(), 22u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(all[i].timeUs, 0) << i;
    EXPECT_EQ(all[0].message(), 0x0079B0u);
    EXPECT_EQ(all[12].message(), 0x7F40B0u) << "damper pedal down";
    EXPECT_EQ(noteOnTimes(), (std::vector<int64_t>{0, 1500000, 3000000}));
    EXPECT_EQ(all.back().timeUs, 4500000);
    EXPECT_EQ(all.back().message(), 0x003C90u);
}

TEST_F(TMidiGenTest, HarmonicQuestion)
{
    TMidiGen gen;
    gen.setDuration(150);
    ASSERT_TRUE(gen.PlayString("N60,0;N64,150"));
    step(150);
    EXPECT_FALSE(gen.IsPlaying());
    EXPECT_EQ(noteOnTimes(), (std::vector<int64_t>{0, 0}));
    EXPECT_EQ(streamed().back().timeUs, 1500000);
}

TEST_F(TMidiGenTest, LoopsPlayTheBufferAgainWithItsSetup)
{
    TMidiGen gen;
    gen.setLoops(3);
    ASSERT_TRUE(gen.PlayString("N60;20"));
    step(60);
    EXPECT_FALSE(gen.IsPlaying());
    EXPECT_EQ(noteOnTimes(), (std::vector<int64_t>{0, 200000, 400000}));
    std::vector<int64_t> resets;
    for (const auto &m : streamed(0xB0))
        if (m.data1 == 121 && m.channel() == 0)
            resets.push_back(m.timeUs);
    EXPECT_EQ(resets, (std::vector<int64_t>{0, 200000, 400000}));
    step(40);
    EXPECT_EQ(noteOnTimes().size(), 3u);
}

TEST_F(TMidiGenTest, LoopsZeroRepeatsUntilStop)
{
    TMidiGen gen;
    gen.setLoops(0);
    ASSERT_TRUE(gen.PlayString("N60;10"));
    step(55);
    EXPECT_TRUE(gen.IsPlaying());
    EXPECT_EQ(noteOnTimes().size(), 6u);
    gen.Stop();
    EXPECT_TRUE(gen.IsPlaying()) << "until the close notification is handled";
    settle();
    EXPECT_FALSE(gen.IsPlaying());
    step(30);
    EXPECT_EQ(noteOnTimes().size(), 6u);
    EXPECT_EQ(capture->openStreams(), 0u);
}

TEST_F(TMidiGenTest, StopBeforeTheFirstEventLetsOnePassFinish)
{
    TMidiGen gen;
    gen.setLoops(0);
    ASSERT_TRUE(gen.PlayString("N60;10"));
    gen.Stop();
    settle();
    EXPECT_TRUE(gen.IsPlaying());
    step(10);
    EXPECT_FALSE(gen.IsPlaying());
    step(30);
    EXPECT_EQ(noteOnTimes().size(), 1u);
}

TEST_F(TMidiGenTest, RequestsWhileStartingAndWhilePlaying)
{
    TMidiGen gen;
    ASSERT_TRUE(gen.PlayString("N60;100"));
    EXPECT_FALSE(gen.PlayString("N62")) << "the first event has not been reached";
    EXPECT_FALSE(gen.PlayNote(62));
    step(10);
    // A new request stops the playing stream, waits for its close and plays.
    ASSERT_TRUE(gen.PlayString("N64;30"));
    EXPECT_TRUE(gen.IsPlaying());
    step(30);
    EXPECT_FALSE(gen.IsPlaying());
    std::vector<int> keys;
    for (const auto &m : streamed(0x90))
        if (m.data2 > 0)
            keys.push_back(m.data1);
    EXPECT_EQ(keys, (std::vector<int>{60, 64}));
}

TEST_F(TMidiGenTest, PlayNoteAndPercussion)
{
    TMidiGen gen;
    gen.setNote(mgB);
    gen.setOctave(10);
    ASSERT_TRUE(gen.Play());
    step(50);
    ASSERT_EQ(streamed(0x90).size(), 2u);
    EXPECT_EQ(streamed(0x90)[0].message(), 0x7F7F90u) << "note 131 is clamped to 127";
    EXPECT_EQ(streamed(0x90)[1].timeUs, 500000);

    capture->clear();
    gen.setInstrument(mgSideStick);
    ASSERT_TRUE(gen.PlayNote(60));
    step(50);
    EXPECT_EQ(streamed(0xC0).front().message(), 0x007FC9u);
    EXPECT_EQ(streamed(0x90).front().message(), 0x7F2599u) << "key 37 on channel 10";

    capture->clear();
    gen.setChannel(mgCh10);
    ASSERT_TRUE(gen.PlayNote(60));
    step(50);
    EXPECT_EQ(streamed(0xC0).front().message(), 0x007FC9u);
    EXPECT_EQ(streamed(0x90).front().message(), 0x7F3C99u) << "note 60 on channel 10";
}

TEST_F(TMidiGenTest, OnlyTheFirstGeneratorThatOpenedAStreamPlays)
{
    TMidiGen first;
    TMidiGen second;
    EXPECT_GT(second.GeneratorId(), first.GeneratorId());
    ASSERT_TRUE(first.PlayString("N60;10"));
    step(10);
    EXPECT_EQ(TMidiGen::StreamOwnerId(), first.GeneratorId());
    EXPECT_FALSE(second.PlayString("N60"));
    EXPECT_FALSE(second.IsPlaying());
    ASSERT_TRUE(first.PlayString("N62;10")) << "the owner keeps playing";
    step(10);
    EXPECT_FALSE(second.PlayNote(60));
}

TEST_F(TMidiGenTest, DevicesAndAvailability)
{
    TMidiGen gen;
    const unsigned devices = midiOutGetNumDevs();
    ASSERT_GT(devices, 0u);
    EXPECT_TRUE(gen.MidiAvailable());
    EXPECT_FALSE(gen.SetDevice(int(devices)));
    EXPECT_EQ(gen.DeviceId(), int(devices));
    EXPECT_FALSE(gen.MidiAvailable());
    EXPECT_FALSE(gen.PlayString("N60"));
    EXPECT_TRUE(gen.SetDevice(-1));
    EXPECT_TRUE(gen.PlayString("N60")) << "a refused request does not block later ones";
    step(50);
}

namespace {

// Failing stand-ins for single calls; the rest stay the platform's.
MMRESULT failOpen(HMIDISTRM *stream, int, const platform::NotifyHandle &, uintptr_t)
{
    *stream = nullptr;
    return MMSYSERR_ALLOCATED;
}
MMRESULT failDivision(HMIDISTRM, uint32_t) { return MMSYSERR_ERROR; }
MMRESULT failRestart(HMIDISTRM) { return MMSYSERR_ERROR; }
MMRESULT failOut(HMIDISTRM, MIDIHDR *) { return MMSYSERR_ERROR; }

int streamOutCalls = 0;
MMRESULT outOnce(HMIDISTRM stream, MIDIHDR *header)
{
    return ++streamOutCalls == 1 ? midiStreamOut(stream, header) : MMSYSERR_ERROR;
}

} // namespace

TEST_F(TMidiGenTest, RepeatThatCannotBeQueuedEndsThePlayback)
{
    TMidiGen gen;
    gen.setLoops(0);
    TMidiCalls calls;
    calls.streamOut = outOnce;
    streamOutCalls = 0;
    gen.setMidiCalls(calls);
    ASSERT_TRUE(gen.PlayString("N60;10"));
    step(10);
    EXPECT_EQ(streamOutCalls, 2);
    EXPECT_FALSE(gen.IsPlaying());
    EXPECT_EQ(capture->openStreams(), 0u);
}

TEST_F(TMidiGenTest, FailedRequestsLeaveTheGeneratorReady)
{
    TMidiGen gen;
    EXPECT_FALSE(gen.PlayString(""));
    EXPECT_FALSE(gen.PlayString("E#4"));
    TMidiCalls calls;
    calls.streamOpen = failOpen;
    gen.setMidiCalls(calls);
    EXPECT_FALSE(gen.PlayString("N60"));
    EXPECT_FALSE(gen.IsPlaying());
    EXPECT_EQ(TMidiGen::StreamOwnerId(), 0) << "no stream was opened";
    gen.setMidiCalls(TMidiCalls{});
    ASSERT_TRUE(gen.PlayString("N60;10"));
    step(10);
    EXPECT_FALSE(gen.IsPlaying());
    EXPECT_EQ(noteOnTimes().size(), 1u);
}

TEST_F(TMidiGenTest, FailureAfterTheOpenClosesTheStream)
{
    for (int which = 0; which < 3; ++which) {
        SCOPED_TRACE(which);
        TMidiGen::ResetStreamOwnerForTests();
        auto gen = std::make_unique<TMidiGen>();
        TMidiCalls calls;
        if (which == 0)
            calls.streamSetTimeDivision = failDivision;
        else if (which == 1)
            calls.streamOut = failOut;
        else
            calls.streamRestart = failRestart;
        gen->setMidiCalls(calls);
        EXPECT_FALSE(gen->PlayString("N60"));
        EXPECT_EQ(TMidiGen::StreamOwnerId(), gen->GeneratorId()) << "the stream had opened";
        EXPECT_FALSE(gen->IsPlaying());
        EXPECT_EQ(capture->openStreams(), 0u);
        gen->Stop();
        gen->setMidiCalls(TMidiCalls{});
        ASSERT_TRUE(gen->PlayString("N60;5"));
        step(5);
        EXPECT_FALSE(gen->IsPlaying());
        gen.reset(); // must not wait for anything
    }
}

TEST_F(TMidiGenTest, DestructorStopsAndWaitsForTheClose)
{
    {
        TMidiGen gen;
        gen.setLoops(0);
        ASSERT_TRUE(gen.PlayString("N60;10"));
        step(15);
    } // started: Stop ends it
    TMidiGen::ResetStreamOwnerForTests();
    {
        TMidiGen gen;
        gen.setLoops(0);
        ASSERT_TRUE(gen.PlayString("N60;10000"));
    } // first event not reached: the destructor does not wait for 100 s
    EXPECT_EQ(capture->openStreams(), 0u);
    const auto before = noteOnTimes().size();
    step(20);
    EXPECT_EQ(noteOnTimes().size(), before);
}

TEST_F(TMidiGenTest, BufferForRequestMatchesWhatPlays)
{
    TMidiGen gen;
    gen.setPitchBend(120);
    gen.setPBDelay(50);
    gen.setDuration(100);
    const auto events = StreamBuilder::Decode(gen.BufferForNote(60));
    ASSERT_TRUE(gen.PlayNote(60));
    step(260);
    EXPECT_FALSE(gen.IsPlaying());
    const auto played = streamed();
    ASSERT_EQ(played.size(), events.size());
    int64_t t = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        t += int64_t(events[i].Delta) * 10000;
        EXPECT_EQ(played[i].timeUs, t) << i;
        EXPECT_EQ(played[i].message(), events[i].Event & 0xFFFFFFu) << i;
    }
    EXPECT_EQ(t, 2000000) << "glide from 0.51 s to 1.0 s, note off 1 s later";
}
