#include "MidiTestSupport.h"

#include "platform/midi/CaptureDevice.h"

#include <gtest/gtest.h>

using namespace miditest;
using platform::processMessages;

namespace {

class StreamTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        capture = &CaptureDevice::install();
        processMessages();
        capture->clear();
    }
    void TearDown() override
    {
        listener.onMessage = nullptr;
        if (stream) {
            midiStreamStop(stream);
            midiStreamClose(stream);
        }
        processMessages();
        EXPECT_EQ(capture->openStreams(), 0u);
        // Each test starts on a fresh device whose clock is at 0, also when
        // the whole binary runs in one process.
        CaptureDevice::uninstall();
    }
    // Opens a stream at 50 ticks per quarter note (10 ms ticks).
    void open()
    {
        ASSERT_EQ(midiStreamOpen(&stream, MIDI_MAPPER, listener.window.handle(), 0), MMSYSERR_NOERROR);
        ASSERT_EQ(midiStreamSetTimeDivision(stream, 50), MMSYSERR_NOERROR);
    }
    void queue(StreamBuffer &buffer)
    {
        MIDIHDR &header = buffer.header();
        ASSERT_EQ(midiOutPrepareHeader(stream, &header), MMSYSERR_NOERROR);
        ASSERT_EQ(midiStreamOut(stream, &header), MMSYSERR_NOERROR);
    }
    void closeStream()
    {
        ASSERT_EQ(midiStreamClose(stream), MMSYSERR_NOERROR);
        stream = nullptr;
    }

    CaptureDevice *capture = nullptr;
    Listener listener;
    HMIDISTRM stream = nullptr;
};

// Two notes, C then E, 10 ticks each, with a callback at the start.
StreamBuffer twoNotes()
{
    StreamBuffer b;
    b.add(0, shortMsg(0xB0, 121) | MEVT_F_CALLBACK)
        .add(0, shortMsg(0x90, 60, 127))
        .add(10, shortMsg(0x90, 60, 0))
        .add(0, shortMsg(0x90, 64, 127))
        .add(10, shortMsg(0x90, 64, 0));
    return b;
}

} // namespace

TEST_F(StreamTest, PlaysOnlyAfterRestartWithNotificationsInOrderAndNothingAfterClose)
{
    open();
    ASSERT_NE(stream, nullptr);
    // The open notification is already posted when the open returns.
    processMessages();
    ASSERT_EQ(listener.kinds(), std::vector<unsigned>{MM_MOM_OPEN});
    EXPECT_EQ(listener.seen[0].wParam, quintptr(reinterpret_cast<uintptr_t>(stream)));

    StreamBuffer buffer = twoNotes();
    queue(buffer);
    capture->advance(1000);
    processMessages();
    EXPECT_TRUE(capture->messages().empty()) << "a stream opens paused";
    EXPECT_EQ(listener.seen.size(), 1u);

    const int64_t start = capture->clockUs();
    ASSERT_EQ(midiStreamRestart(stream), MMSYSERR_NOERROR);
    capture->advance(150);
    processMessages();
    EXPECT_EQ(listener.kinds(), (std::vector<unsigned>{MM_MOM_OPEN, MM_MOM_POSITIONCB}));
    capture->advance(50);
    processMessages();
    ASSERT_EQ(listener.kinds(), (std::vector<unsigned>{MM_MOM_OPEN, MM_MOM_POSITIONCB, MM_MOM_DONE}));
    EXPECT_EQ(listener.seen[2].lParam, qintptr(reinterpret_cast<uintptr_t>(&buffer.current())));
    EXPECT_EQ(buffer.current().dwFlags & (MHDR_DONE | MHDR_INQUEUE), MHDR_DONE);

    // Times count from the clear() in SetUp; the stream started at 1 s.
    EXPECT_EQ(start, 1000000);
    const auto sent = capture->messages();
    ASSERT_EQ(sent.size(), 5u);
    const int64_t expectedUs[] = {0, 0, 100000, 100000, 200000};
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].timeUs, start + expectedUs[i]) << i;
        EXPECT_TRUE(sent[i].fromStream);
    }
    EXPECT_EQ(sent[2].message(), shortMsg(0x90, 60, 0));
    EXPECT_EQ(sent[4].ticks(), 100 + 20);

    EXPECT_EQ(midiOutUnprepareHeader(stream, &buffer.current()), MMSYSERR_NOERROR);
    closeStream();
    capture->advance(1000);
    processMessages();
    EXPECT_EQ(listener.kinds().back(), MM_MOM_CLOSE);
    EXPECT_EQ(listener.seen.size(), 4u);
}

TEST_F(StreamTest, StopReturnsTheQueuedBufferWithDoneAndReleasesSoundingNotes)
{
    open();
    StreamBuffer buffer = twoNotes();
    queue(buffer);
    ASSERT_EQ(midiStreamRestart(stream), MMSYSERR_NOERROR);
    capture->advance(50); // C sounds
    ASSERT_EQ(midiOutUnprepareHeader(stream, &buffer.current()), MIDIERR_STILLPLAYING);
    ASSERT_EQ(midiStreamClose(stream), MIDIERR_STILLPLAYING);
    capture->clear();
    ASSERT_EQ(midiStreamStop(stream), MMSYSERR_NOERROR);
    processMessages();
    EXPECT_EQ(listener.kinds(), (std::vector<unsigned>{MM_MOM_OPEN, MM_MOM_POSITIONCB, MM_MOM_DONE}));
    EXPECT_EQ(buffer.current().dwFlags & (MHDR_DONE | MHDR_INQUEUE), MHDR_DONE);
    // The held note is released at once; the rest of the buffer never plays.
    auto sent = capture->messages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].kind(), 0x80);
    EXPECT_EQ(sent[0].data1, 60);
    capture->advance(1000);
    processMessages();
    EXPECT_EQ(capture->messages().size(), 1u);
    EXPECT_EQ(listener.seen.size(), 3u);

    // Stop with nothing queued is harmless; a stopped stream is paused again.
    EXPECT_EQ(midiStreamStop(stream), MMSYSERR_NOERROR);
    queue(buffer);
    capture->advance(1000);
    EXPECT_EQ(capture->messages().size(), 1u);
    ASSERT_EQ(midiStreamStop(stream), MMSYSERR_NOERROR);

    // midiOutReset returns buffers too, and turns every channel's notes off.
    queue(buffer);
    ASSERT_EQ(midiStreamRestart(stream), MMSYSERR_NOERROR);
    capture->clear();
    ASSERT_EQ(midiOutReset(stream), MMSYSERR_NOERROR);
    sent = capture->messages();
    EXPECT_EQ(sent.size(), 32u);
    processMessages();
    EXPECT_EQ(listener.count(MM_MOM_DONE), 3);
    ASSERT_EQ(midiOutUnprepareHeader(stream, &buffer.current()), MMSYSERR_NOERROR);
    closeStream();
    processMessages();
    EXPECT_EQ(listener.kinds().back(), MM_MOM_CLOSE);
}

TEST_F(StreamTest, PositionCallbacksComeWhenTheirEventIsReached)
{
    open();
    StreamBuffer buffer;
    buffer.add(0, shortMsg(0xC0, 5) | MEVT_F_CALLBACK)
        .add(30, MEVT_F_CALLBACK | 0x02000000) // a no-op event with a callback
        .add(30, shortMsg(0x90, 70, 100))
        .add(40, shortMsg(0x80, 70) | MEVT_F_CALLBACK);
    queue(buffer);
    midiStreamRestart(stream);
    std::vector<int> callbacksAt;
    std::vector<uint32_t> offsets;
    listener.onMessage = [&](const platform::TMessage &m) {
        if (m.msg == MM_MOM_POSITIONCB) {
            callbacksAt.push_back(int(capture->clockMs()));
            offsets.push_back(reinterpret_cast<MIDIHDR *>(m.lParam)->dwOffset);
        }
    };
    for (int i = 0; i < 120; ++i) {
        capture->advance(10);
        processMessages();
    }
    EXPECT_EQ(callbacksAt, (std::vector<int>{10, 300, 1000}));
    EXPECT_EQ(offsets, (std::vector<uint32_t>{0, 12, 36}));
    EXPECT_EQ(listener.kinds().back(), MM_MOM_DONE);
    EXPECT_EQ(capture->messages().size(), 3u) << "the no-op plays nothing";
}

TEST_F(StreamTest, RequeueingOnDoneLoopsWithoutGapsWhenDispatchedInTime)
{
    open();
    StreamBuffer buffer = twoNotes();
    int passes = 0;
    listener.onMessage = [&](const platform::TMessage &m) {
        if (m.msg == MM_MOM_DONE && ++passes < 3) {
            MIDIHDR *header = reinterpret_cast<MIDIHDR *>(m.lParam);
            EXPECT_EQ(midiStreamOut(stream, header), MMSYSERR_NOERROR);
            EXPECT_EQ(midiStreamRestart(stream), MMSYSERR_NOERROR);
        }
    };
    queue(buffer);
    midiStreamRestart(stream);
    for (int i = 0; i < 100; ++i) {
        capture->advance(10);
        processMessages();
    }
    EXPECT_EQ(passes, 3);
    EXPECT_EQ(listener.count(MM_MOM_POSITIONCB), 3);
    const auto sent = capture->messages();
    ASSERT_EQ(sent.size(), 15u);
    // Each pass starts where the previous one ended (200 ms).
    for (int pass = 0; pass < 3; ++pass)
        EXPECT_EQ(sent[size_t(pass) * 5].timeUs, pass * 200000) << pass;

    // Dispatched late, the next pass starts at the clock time of the re-queue.
    passes = 0;
    capture->clear();
    queue(buffer);
    capture->advance(1000);
    processMessages(); // done of pass 1: re-queued at 1000 ms
    capture->advance(500);
    processMessages();
    const auto late = capture->messages();
    ASSERT_EQ(late.size(), 10u);
    EXPECT_EQ(late[5].timeUs, 1000000);
    listener.onMessage = nullptr;
    midiStreamStop(stream); // before the buffer goes out of scope
}

TEST_F(StreamTest, EveryCallRejectsBadHandlesAndBadBuffers)
{
    HMIDISTRM bogus = reinterpret_cast<HMIDISTRM>(uintptr_t(0x12345678));
    MIDIHDR header;
    for (HMIDISTRM h : {HMIDISTRM(nullptr), bogus}) {
        EXPECT_EQ(midiStreamSetTimeDivision(h, 50), MMSYSERR_INVALHANDLE);
        EXPECT_EQ(midiOutPrepareHeader(h, &header), MMSYSERR_INVALHANDLE);
        EXPECT_EQ(midiOutUnprepareHeader(h, &header), MMSYSERR_INVALHANDLE);
        EXPECT_EQ(midiStreamOut(h, &header), MMSYSERR_INVALHANDLE);
        EXPECT_EQ(midiStreamRestart(h), MMSYSERR_INVALHANDLE);
        EXPECT_EQ(midiStreamStop(h), MMSYSERR_INVALHANDLE);
        EXPECT_EQ(midiStreamClose(h), MMSYSERR_INVALHANDLE);
        EXPECT_EQ(midiOutReset(h), MMSYSERR_INVALHANDLE);
    }
    EXPECT_EQ(midiOutClose(nullptr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiOutShortMsg(reinterpret_cast<HMIDIOUT>(bogus), 0x90), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiStreamOpen(nullptr, MIDI_MAPPER, listener.window.handle(), 0), MMSYSERR_INVALPARAM);
    EXPECT_EQ(midiOutOpen(nullptr, MIDI_MAPPER), MMSYSERR_INVALPARAM);
    HMIDISTRM unused = bogus;
    EXPECT_EQ(midiStreamOpen(&unused, 7, listener.window.handle(), 0), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(unused, nullptr);

    open();
    EXPECT_EQ(midiStreamSetTimeDivision(stream, 0), MMSYSERR_INVALPARAM);
    EXPECT_EQ(midiOutPrepareHeader(stream, nullptr), MMSYSERR_INVALPARAM);
    EXPECT_EQ(midiStreamOut(stream, nullptr), MMSYSERR_INVALPARAM);

    StreamBuffer notPrepared = twoNotes();
    EXPECT_EQ(midiStreamOut(stream, &notPrepared.header()), MIDIERR_UNPREPARED);

    StreamBuffer ragged = twoNotes();
    ragged.bytes().resize(ragged.bytes().size() - 5);
    MIDIHDR &raggedHeader = ragged.header();
    midiOutPrepareHeader(stream, &raggedHeader);
    EXPECT_EQ(midiStreamOut(stream, &raggedHeader), MMSYSERR_INVALPARAM);
    raggedHeader.dwBytesRecorded = raggedHeader.dwBufferLength + 12;
    EXPECT_EQ(midiStreamOut(stream, &raggedHeader), MMSYSERR_INVALPARAM);

    StreamBuffer longEvent; // a long event whose parameters run past the end
    longEvent.add(0, 0x80000000u | 100);
    MIDIHDR &longHeader = longEvent.header();
    midiOutPrepareHeader(stream, &longHeader);
    EXPECT_EQ(midiStreamOut(stream, &longHeader), MMSYSERR_INVALPARAM);

    StreamBuffer twice = twoNotes();
    queue(twice);
    EXPECT_EQ(midiStreamOut(stream, &twice.current()), MIDIERR_STILLPLAYING);

    // A closed handle stays invalid.
    midiStreamStop(stream);
    HMIDISTRM closed = stream;
    closeStream();
    EXPECT_EQ(midiStreamRestart(closed), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiStreamClose(closed), MMSYSERR_INVALHANDLE);
    capture->advance(100);
    processMessages();
    EXPECT_EQ(listener.kinds().back(), MM_MOM_CLOSE);
}

TEST_F(StreamTest, CaptureClockPlaysStreamsInTimeOrderAndDirectMessagesAtTheClock)
{
    Listener other;
    HMIDISTRM second = nullptr;
    open();
    ASSERT_EQ(midiStreamOpen(&second, 0, other.window.handle(), 0), MMSYSERR_NOERROR);
    midiStreamSetTimeDivision(second, 96); // 500000 / 96 us per tick
    StreamBuffer a, b;
    a.add(5, shortMsg(0x90, 1, 1)).add(10, shortMsg(0x90, 2, 1));
    b.add(96, shortMsg(0x91, 3, 1)).add(96, shortMsg(0x91, 4, 1));
    queue(a);
    MIDIHDR &hb = b.header();
    midiOutPrepareHeader(second, &hb);
    midiStreamOut(second, &hb);
    midiStreamRestart(stream);
    midiStreamRestart(second);

    HMIDIOUT out = nullptr;
    ASSERT_EQ(midiOutOpen(&out, MIDI_MAPPER), MMSYSERR_NOERROR);
    capture->advanceTicks(10);
    EXPECT_EQ(capture->nextEventUs(), 150000);
    EXPECT_EQ(midiOutShortMsg(out, shortMsg(0xC2, 9)), MMSYSERR_NOERROR);
    EXPECT_EQ(midiOutShortMsg(out, 0x7F), MMSYSERR_INVALPARAM);
    EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
    EXPECT_EQ(midiOutClose(out), MMSYSERR_INVALHANDLE);
    capture->advance(2000);
    EXPECT_EQ(capture->nextEventUs(), -1);

    const auto sent = capture->messages();
    std::vector<std::pair<int64_t, int>> got;
    for (const auto &m : sent)
        got.emplace_back(m.timeUs, m.data1);
    EXPECT_EQ(got, (std::vector<std::pair<int64_t, int>>{{50000, 1}, {100000, 9}, {150000, 2}, {500000, 3}, {1000000, 4}}));
    EXPECT_FALSE(sent[1].fromStream);
    EXPECT_EQ(sent[3].channel(), 1);
    EXPECT_THROW(capture->advance(-1), std::invalid_argument);

    processMessages();
    EXPECT_EQ(other.kinds(), (std::vector<unsigned>{MM_MOM_OPEN, MM_MOM_DONE}));
    midiOutUnprepareHeader(second, &hb);
    EXPECT_EQ(midiStreamClose(second), MMSYSERR_NOERROR);
}
