// The built-in synthesizer through a real audio server (started by
// scripts/audio-servers): the server killed while a question plays and
// started again. Skipped when no server was started for the test, failed
// then when TONVIK_REQUIRE_AUDIO_SERVER is set.

#include "AudioServerFixture.h"
#include "AudioServerSession.h"
#include "MidiTestSupport.h"
#include "PlaybackAnalysis.h"
#include "StartRecorder.h"

#include "platform/midi/CaptureDevice.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/MidiDeviceList.h"
#include "platform/midi/PulseAudioOutput.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>

using namespace miditest;

namespace {

std::atomic<int> g_messages{0};

void countMessage(QtMsgType, const QMessageLogContext &, const QString &)
{
    ++g_messages;
}

// The longest time between the ticks of a 20 ms timer: how long the GUI
// thread was kept from its events.
class TickGaps : public QObject
{
public:
    TickGaps()
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            m_longest = std::max(m_longest, m_clock.restart());
        });
        m_clock.start();
        m_timer.start();
    }
    qint64 longestMs() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

class AudioServerRestart : public AudioServerFixture<>
{
protected:
    // Starts a question and returns its stream; the caller waits for it.
    HMIDISTRM startQuestion(StreamBuffer &buffer, Listener &listener, PlayedStream *played)
    {
        HMIDISTRM stream = nullptr;
        EXPECT_EQ(midiStreamOpen(&stream, MIDI_MAPPER, listener.window.handle(), 0), MMSYSERR_NOERROR);
        midiStreamSetTimeDivision(stream, 50);
        MIDIHDR &header = buffer.header();
        midiOutPrepareHeader(stream, &header);
        midiStreamOut(stream, &header);
        midiStreamRestart(stream);
        played->buffer = buffer.bytes();
        played->startFrame = synth->frameAt(recorder->lastStartUs());
        return stream;
    }
    static void finish(HMIDISTRM stream, StreamBuffer &buffer, Listener &listener)
    {
        midiOutReset(stream);
        midiOutUnprepareHeader(stream, &buffer.current());
        midiStreamClose(stream);
        pumpUntil([&] { return listener.count(MM_MOM_CLOSE) == 1; });
    }

};

} // namespace

TEST_F(AudioServerRestart, TheServerKilledInAQuestionAndStartedAgainTheNextQuestionIsHeard)
{
    PulseAudioOutput *output = synth->serverOutput();
    ASSERT_TRUE(output->connected());

    // A melodic question, killed in its first note.
    StreamBuffer first = questionBuffer(true);
    Listener firstListener;
    PlayedStream firstPlayed;
    HMIDISTRM firstStream = startQuestion(first, firstListener, &firstPlayed);
    ASSERT_TRUE(pumpUntil([&] { return synth->frameAt(synth->nowUs()) > firstPlayed.startFrame + 22050; }));

    const QtMessageHandler previous = qInstallMessageHandler(countMessage);
    g_messages = 0;
    QString error;
    {
        TickGaps gaps;
        ASSERT_TRUE(AudioServerSession::kill(&error)) << error.toStdString();
        ASSERT_TRUE(pumpUntil([&] { return !output->connected(); }, 5000));
        // The synthesizer's clock goes on without a server: the question
        // plays to its end (unheard) and a new one can be asked.
        ASSERT_TRUE(pumpUntil([&] { return firstListener.count(MM_MOM_DONE) == 1; }, 10000));
        finish(firstStream, first, firstListener);
        StreamBuffer unheard = questionBuffer(false);
        Listener unheardListener;
        PlayedStream unheardPlayed;
        HMIDISTRM unheardStream = startQuestion(unheard, unheardListener, &unheardPlayed);
        ASSERT_TRUE(pumpUntil([&] { return unheardListener.count(MM_MOM_DONE) == 1; }, 10000));
        finish(unheardStream, unheard, unheardListener);

        ASSERT_TRUE(AudioServerSession::restart(&error)) << error.toStdString();
        ASSERT_TRUE(pumpUntil([&] { return output->connected(); }, 10000));
        EXPECT_LT(gaps.longestMs(), 250) << "the GUI thread was blocked";
    }
    qInstallMessageHandler(previous);
    if (!MidiDevice::debugOutput()) {
        EXPECT_EQ(g_messages.load(), 0) << "messages printed while the server was away";
    }
    EXPECT_EQ(output->reconnects(), 1);

    // The next question sounds, on time, with nothing missing.
    MonitorRecording recording;
    ASSERT_TRUE(recording.start(&error)) << error.toStdString();
    StreamBuffer next = questionBuffer(true);
    Listener nextListener;
    PlayedStream nextPlayed;
    HMIDISTRM nextStream = startQuestion(next, nextListener, &nextPlayed);
    ASSERT_TRUE(pumpUntil([&] { return nextListener.count(MM_MOM_DONE) == 1; }, 10000));
    const int64_t end = synth->nowUs();
    ASSERT_TRUE(pumpUntil([&] { return synth->nowUs() > end + 300000; }));
    finish(nextStream, next, nextListener);
    const PlaybackReport report = analyzePlayback(recording.stop(), {nextPlayed});
    ASSERT_TRUE(report.found) << "the question after the restart was not heard";
    EXPECT_EQ(report.onsets, 3);
#ifndef __SANITIZE_THREAD__
    // Under ThreadSanitizer the program runs too slowly to keep time; this
    // test is there for its threads.
    EXPECT_LE(report.worstError(), FluidSynthDevice::kBlockFrames);
    EXPECT_GT(report.weakestMatch, 0.9);
    EXPECT_TRUE(report.dropouts.empty()) << report.dropouts.size() << " dropouts, the first at frame "
                                         << report.dropouts.front().frame;
#endif
}
