// The stream buffer: setup block, notes, percussion mapping, pitch glide and
// the size limit, checked byte for byte where it matters.
#include "midigen/MidiGenTypes.h"
#include "midigen/PlayStringParser.h"
#include "midigen/StreamBuilder.h"

#include <gtest/gtest.h>

namespace {

using K = TEventKind;

struct Msg
{
    uint32_t delta;
    int status, d1, d2;
    bool cb = false;
    friend bool operator==(const Msg &, const Msg &) = default;
};

void PrintTo(const Msg &m, std::ostream *os)
{
    *os << "{" << m.delta << ", 0x" << std::hex << m.status << std::dec << ", " << m.d1 << ", " << m.d2
        << (m.cb ? ", cb}" : "}");
}

std::vector<Msg> decode(const std::vector<uint8_t> &buffer)
{
    std::vector<Msg> out;
    for (const TStreamEvent &e : StreamBuilder::Decode(buffer)) {
        EXPECT_EQ(e.StreamId, 0u);
        EXPECT_EQ(e.Event & 0xBF000000u, 0u) << "short message, no flag but the callback";
        out.push_back({e.Delta, e.Status(), e.Data1(), e.Data2(), e.Callback()});
    }
    return out;
}

std::vector<Msg> build(const QString &text, const TStreamSettings &s, uint32_t duration = 50)
{
    TTimedEventList events;
    const bool simultaneous = PlayStringParser({4, duration, s.Instrument, s.PlayChannel}).Parse(text, events);
    return decode(StreamBuilder(s).Build(events, simultaneous));
}

// The setup block for play channel 0 with the given controller values.
std::vector<Msg> setup(int pan, int modulation, int volume, int sustain, int reverb, int chorus, int p = 0)
{
    const int c = 0xB0 | p;
    return {{0, c, 121, 0, true}, {0, 0xB9, 121, 0}, {0, c, 100, 0}, {0, c, 101, 0}, {0, c, 6, 12},
            {0, c, 100, 127}, {0, c, 101, 127}, {0, c, 10, pan}, {0, 0xB9, 10, pan}, {0, c, 1, modulation},
            {0, c, 7, volume}, {0, 0xB9, 7, volume}, {0, c, 64, sustain}, {0, c, 91, reverb},
            {0, c, 93, chorus}};
}

std::vector<Msg> tail(const std::vector<Msg> &all, std::size_t from = 15)
{
    return {all.begin() + std::ptrdiff_t(std::min(from, all.size())), all.end()};
}

TStreamSettings quiz()
{
    TStreamSettings s;
    s.Sustain = true;
    return s;
}

} // namespace

TEST(StreamBuilder, MelodicQuizStringExactBytes)
{
    TTimedEventList events;
    PlayStringParser({4, 150, 0, 0}).Parse(u"N60,150;N64,150;N60,150", events);
    const std::vector<uint8_t> buffer = StreamBuilder(quiz()).Build(events, false);
    ASSERT_EQ(buffer.size(), 22u * 12u);
    // First event: delta 0, stream id 0, controller 121 on channel 1 with the
    // position-callback flag.
    const std::vector<uint8_t> first{0, 0, 0, 0, 0, 0, 0, 0, 0xB0, 121, 0, 0x40};
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 12), first);

    std::vector<Msg> expected = setup(64, 0, 127, 127, 0, 0);
    expected.insert(expected.end(), {{0, 0xC0, 0, 0},
                                     {0, 0x90, 60, 127}, {150, 0x90, 60, 0},
                                     {0, 0x90, 64, 127}, {150, 0x90, 64, 0},
                                     {0, 0x90, 60, 127}, {150, 0x90, 60, 0}});
    EXPECT_EQ(decode(buffer), expected);
}

TEST(StreamBuilder, HarmonicQuizString)
{
    std::vector<Msg> expected = setup(64, 0, 127, 127, 0, 0);
    expected.insert(expected.end(), {{0, 0xC0, 0, 0}, {0, 0x90, 60, 127}, {0, 0x90, 64, 127},
                                     {150, 0x90, 60, 0}, {0, 0x90, 64, 0}});
    EXPECT_EQ(build("N60,0;N64,150", quiz(), 150), expected);
}

TEST(StreamBuilder, SetupValuesFromSettings)
{
    TStreamSettings s;
    s.PlayChannel = 4;
    s.Pan = -100;
    s.Volume = 50;
    s.Modulation = 100;
    s.Reverb = 33;
    s.Chorus = 99;
    EXPECT_EQ(tail(build("N60", s), 0), [&] {
        auto v = setup(1, 127, 63, 0, 41, 125, 4);
        v.insert(v.end(), {{0, 0xC4, 0, 0}, {0, 0x94, 60, 127}, {50, 0x94, 60, 0}});
        return v;
    }());
    EXPECT_EQ(StreamBuilder::PanValue(100), 127);
    EXPECT_EQ(StreamBuilder::PanValue(-1), 64);
    EXPECT_EQ(StreamBuilder::PanValue(-100), 1);
    EXPECT_EQ(StreamBuilder::PanValue(50), 95);
}

TEST(StreamBuilder, ProgramChanges)
{
    TStreamSettings s;
    s.Instrument = mgViolin;
    // A list that starts with notes gets the generator's program first.
    EXPECT_EQ(tail(build("N60", s)).front(), (Msg{0, 0xC0, 40, 0}));
    // A list that starts with a program change gets no extra one.
    EXPECT_EQ(tail(build("I12,N60", s)),
              (std::vector<Msg>{{0, 0xC0, 12, 0}, {0, 0x90, 60, 127}, {50, 0x90, 60, 0}}));
    // Percussion instruments send program 127.
    s.Instrument = mgOpenTriangle;
    EXPECT_EQ(tail(build("N60", s)).front(), (Msg{0, 0xC0, 127, 0}));
}

TEST(StreamBuilder, PercussionMapping)
{
    TStreamSettings s;
    // On a melodic play channel, notes on channel 10 play the key of their
    // percussion instrument; the program change of 128+ becomes 127.
    EXPECT_EQ(tail(build("I128,N60,20;I174,0;N61", s)),
              (std::vector<Msg>{{0, 0xC9, 127, 0}, {0, 0x99, 35, 127}, {20, 0xC9, 127, 0},
                                {0, 0x99, 81, 127}, {30, 0x99, 35, 0}, {20, 0x99, 81, 0}}));
    // Direct events: the percussion key is limited to 35..81.
    TTimedEventList events{{0, K::NoteOn, 130, 9}, {0, K::NoteOn, 60, 9}, {0, K::NoteOn, 200, 9}};
    const auto msgs = tail(decode(StreamBuilder(s).Build(events, false)), 16);
    EXPECT_EQ(msgs, (std::vector<Msg>{{0, 0x99, 37, 127}, {0, 0x99, 35, 127}, {0, 0x99, 81, 127}}));
    // With channel 10 as the play channel, note numbers are keys.
    s.PlayChannel = 9;
    EXPECT_EQ(tail(build("I40,N60", s)),
              (std::vector<Msg>{{0, 0xC9, 0, 0}, {0, 0x99, 60, 127}, {50, 0x99, 60, 0}}));
}

TEST(StreamBuilder, GlideExample)
{
    // PitchBend 120, PBDelay 50, PBDuration 100 over a note of 100 ticks:
    // start 50, 50 steps of 163 from 8355, the note off 100 ticks after.
    TStreamSettings s;
    s.PitchBend = 120;
    s.PBDelay = 50;
    s.PBDuration = 100;
    TTimedEventList events{{0, K::ProgramChange, 0, 0}, {0, K::NoteOn, 60, 0}, {100, K::NoteOff, 60, 0}};
    const auto msgs = tail(decode(StreamBuilder(s).Build(events, true)));
    ASSERT_EQ(msgs.size(), 2u + 50u + 1u);
    EXPECT_EQ(msgs[1], (Msg{0, 0x90, 60, 127}));
    for (int i = 0; i < 50; ++i) {
        const int v = 8355 + 163 * i;
        EXPECT_EQ(msgs[2 + i], (Msg{i == 0 ? 51u : 1u, 0xE0, v & 0x7F, v >> 7})) << i;
    }
    EXPECT_EQ(msgs.back(), (Msg{100, 0x90, 60, 0}));

    // Not allowed by the caller, or without a bend: no glide.
    EXPECT_EQ(tail(decode(StreamBuilder(s).Build(events, false))).size(), 3u);
    s.PitchBend = 0;
    EXPECT_EQ(tail(decode(StreamBuilder(s).Build(events, true))).size(), 3u);
}

TEST(StreamBuilder, GlideLimits)
{
    TStreamSettings s;
    s.PitchBend = -120;
    auto glide = [&](uint32_t len) {
        TTimedEventList events{{0, K::NoteOn, 60, 2}, {int32_t(len), K::NoteOff, 60, 2}};
        return tail(decode(StreamBuilder(s).Build(events, true)), 16);
    };
    // Downward over the whole note, on the note's channel.
    auto m = glide(10);
    ASSERT_EQ(m.size(), 1u + 10u + 1u);
    EXPECT_EQ(m[1], (Msg{1, 0xE2, (8192 - 819) & 0x7F, (8192 - 819) >> 7}));
    EXPECT_EQ(m[10], (Msg{1, 0xE2, (8192 - 8190) & 0x7F, (8192 - 8190) >> 7}));
    EXPECT_EQ(glide(0).size(), 2u);
    EXPECT_EQ(glide(8191).size(), StreamBuilder::MaxEvents - 16) << "the buffer limit cuts a long glide";
    EXPECT_EQ(glide(8192).size(), 2u) << "more than 8191 steps";
    s.PBDelay = 100;
    EXPECT_EQ(glide(10).size(), 2u);
    s.PBDelay = 0;
    s.PBDuration = 0;
    EXPECT_EQ(glide(10).size(), 2u);
    s.PBDuration = 5;
    EXPECT_EQ(glide(10).size(), 2u) << "zero steps";
}

TEST(StreamBuilder, GlideOnlyForSimultaneousStrings)
{
    TStreamSettings s;
    s.PitchBend = 60;
    EXPECT_EQ(build("C,E", s).size(), 15u + 1u + 2u + 50u + 2u);
    EXPECT_EQ(build("C,1;E", s).size(), 15u + 1u + 4u);
}

TEST(StreamBuilder, BufferLimit)
{
    TTimedEventList events;
    for (int i = 0; i < 6000; ++i)
        events.push_back({i, K::NoteOn, 60, 0});
    const auto buffer = StreamBuilder({}).Build(events, false);
    EXPECT_EQ(buffer.size(), 65532u);
    EXPECT_EQ(StreamBuilder::Decode(buffer).size(), StreamBuilder::MaxEvents);
    EXPECT_EQ(StreamBuilder::MaxEvents, 5461u);
}
