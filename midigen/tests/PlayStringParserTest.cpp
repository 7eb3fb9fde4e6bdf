// The play-string language: normalisation of segments, carried-over values,
// note names, numbers and the simultaneous flag.
#include "midigen/MidiGenTypes.h"
#include "midigen/PlayStringParser.h"

#include <gtest/gtest.h>

namespace {

using K = TEventKind;

struct Parsed
{
    TTimedEventList events;
    bool simultaneous = false;
};

Parsed parse(const QString &text, TParserSettings settings = {})
{
    Parsed p;
    p.simultaneous = PlayStringParser(settings).Parse(text, p.events);
    return p;
}

TTimedEvent on(int time, int value, int channel = 0) { return {time, K::NoteOn, value, uint8_t(channel)}; }
TTimedEvent off(int time, int value, int channel = 0) { return {time, K::NoteOff, value, uint8_t(channel)}; }
TTimedEvent pc(int time, int value, int channel = 0) { return {time, K::ProgramChange, value, uint8_t(channel)}; }

// Note ons and note offs per time, in a comparable order.
std::vector<TTimedEvent> notes(const Parsed &p)
{
    std::vector<TTimedEvent> out;
    for (const auto &e : p.events)
        if (e.Kind != K::ProgramChange)
            out.push_back(e);
    return out;
}

} // namespace

TEST(PlayStringParser, NoteNamesChordAtTheStartOctave)
{
    const Parsed p = parse("C,E,G");
    EXPECT_TRUE(p.simultaneous);
    EXPECT_EQ(p.events, (TTimedEventList{on(0, 48), on(0, 52), on(0, 55), off(50, 48), off(50, 52), off(50, 55)}));
}

TEST(PlayStringParser, DelayLengthAndOctaveCarryOver)
{
    Parsed p = parse("C5;100,100;D");
    EXPECT_FALSE(p.simultaneous);
    EXPECT_EQ(p.events, (TTimedEventList{on(0, 60), off(100, 60), on(100, 62), off(200, 62)}));

    p = parse("500;N60,N62,N64");
    EXPECT_EQ(p.events, (TTimedEventList{on(500, 60), off(550, 60), on(1000, 62), off(1050, 62), on(1500, 64),
                                         off(1550, 64)}));
    EXPECT_FALSE(p.simultaneous);
}

TEST(PlayStringParser, CaseAndSpacesDoNotMatter)
{
    EXPECT_EQ(parse("n60,c#5").events, parse("N60,C#5").events);
    EXPECT_EQ(parse("N60,C#5").events, (TTimedEventList{on(0, 60), on(0, 61), off(50, 60), off(50, 61)}));
    EXPECT_EQ(parse(" N 60 , 150 ; N 64 ").events, parse("N60,150;N64").events);
    EXPECT_EQ(parse("\t N60\r\n").events, parse("N60").events);
}

TEST(PlayStringParser, InstrumentChanges)
{
    Parsed p = parse("I40,N60");
    ASSERT_EQ(p.events.size(), 3u);
    EXPECT_EQ(p.events[0], pc(0, mgViolin));
    EXPECT_EQ(notes(p), (std::vector<TTimedEvent>{on(0, 60), off(50, 60)}));

    // A percussion sound moves the notes to channel 10, where they play it.
    p = parse("I128,N60");
    EXPECT_EQ(p.events, (TTimedEventList{pc(0, 128, 9), on(0, 128, 9), off(50, 128, 9)}));
    // Back to a melodic program returns to the play channel.
    p = parse("I128,N60,I5,N61", {4, 50, 0, 3});
    EXPECT_EQ(p.events, (TTimedEventList{pc(0, 128, 9), pc(0, 5, 3), on(0, 128, 9), on(0, 61, 3), off(50, 128, 9),
                                         off(50, 61, 3)}));
    // On channel 10 program changes are dropped.
    p = parse("I40,N60", {4, 50, 0, 9});
    EXPECT_EQ(p.events, (TTimedEventList{on(0, 60, 9), off(50, 60, 9)}));
    // A percussion instrument of the generator starts on channel 10.
    p = parse("N60", {4, 50, mgSideStick, 0});
    EXPECT_EQ(p.events, (TTimedEventList{on(0, mgSideStick, 9), off(50, mgSideStick, 9)}));
    // An instrument above 174 adds nothing.
    EXPECT_EQ(parse("I175,N60").events, (TTimedEventList{on(0, 60), off(50, 60)}));
}

TEST(PlayStringParser, UnusableSegmentsAddNothing)
{
    const TTimedEventList both{on(0, 60), on(0, 64), off(50, 60), off(50, 64)};
    EXPECT_EQ(parse("N60,,N64").events, both);
    EXPECT_EQ(parse("N60,E#4,N64").events, both);
    EXPECT_EQ(parse("N60,B+,N64").events, both);
    EXPECT_EQ(parse("N60,C11,N64").events, both);
    EXPECT_EQ(parse("N60,N-1,N64").events, both);
    EXPECT_EQ(parse("N60,X;N62,N64").events, both);
    EXPECT_EQ(parse("N60,0;N62;7;8,N64").events, both) << "a third ';' makes the length unreadable";
    EXPECT_TRUE(parse("G#10").events.empty());
    EXPECT_TRUE(parse("N128").events.empty());
    EXPECT_EQ(parse("G10").events, (TTimedEventList{on(0, 127), off(50, 127)}));
}

TEST(PlayStringParser, ParsingEnds)
{
    EXPECT_EQ(parse("N60,150").events, (TTimedEventList{on(0, 60), off(50, 60)}));
    EXPECT_EQ(parse("N60,150,N64").events, (TTimedEventList{on(0, 60), off(50, 60)}));
    EXPECT_EQ(parse("N60,\x01,N64").events, (TTimedEventList{on(0, 60), off(50, 60)}))
        << "a segment of control characters ends the text";
    for (const char *blank : {"", "   ", "\t\n"}) {
        const Parsed p = parse(blank);
        EXPECT_TRUE(p.events.empty());
        EXPECT_FALSE(p.simultaneous);
    }
    EXPECT_EQ(parse("0;N60;0").events, (TTimedEventList{on(0, 60), off(50, 60)}));
}

TEST(PlayStringParser, QuizForms)
{
    const TParserSettings quiz{4, 150, 0, 0};
    Parsed p = parse("N60,150;N64,150;N60,150", quiz);
    EXPECT_FALSE(p.simultaneous);
    EXPECT_EQ(p.events,
              (TTimedEventList{on(0, 60), off(150, 60), on(150, 64), off(300, 64), on(300, 60), off(450, 60)}));

    p = parse("N60,0;N64,150", quiz);
    EXPECT_FALSE(p.simultaneous);
    EXPECT_EQ(p.events, (TTimedEventList{on(0, 60), on(0, 64), off(150, 60), off(150, 64)}));
}

TEST(PlayStringParser, SimultaneousFlag)
{
    EXPECT_TRUE(parse("N60,0;N64").simultaneous);
    EXPECT_TRUE(parse("N60;80,N64;80").simultaneous);
    EXPECT_TRUE(parse("N60;50,N64;0").simultaneous);
    EXPECT_FALSE(parse("N60;80,N64;70").simultaneous);
    EXPECT_FALSE(parse("N60,1;N64").simultaneous);
    EXPECT_FALSE(parse("N60,1X;N64").simultaneous) << "an unreadable delay clears it";
}

TEST(PlayStringParser, RepeatedNoteEndsBeforeItStartsAgain)
{
    const Parsed p = parse("N60;50,50;N60");
    EXPECT_EQ(p.events, (TTimedEventList{on(0, 60), off(50, 60), on(50, 60), off(100, 60)}));
}

TEST(PlayStringParser, ANoteOfLengthZeroEndsAfterItStarts)
{
    // Duration 0 gives notes of length 0: each one's own note off must
    // follow its note on, or the note would sound until the stream ends.
    TParserSettings zero;
    zero.Duration = 0;
    EXPECT_EQ(parse("N60", zero).events, (TTimedEventList{on(0, 60), off(0, 60)}));
    EXPECT_EQ(parse("I40,N60,50;N60", zero).events,
              (TTimedEventList{pc(0, 40), on(0, 60), off(0, 60), on(50, 60), off(50, 60)}));
    EXPECT_EQ(parse("C,E", zero).events, (TTimedEventList{on(0, 48), on(0, 52), off(0, 48), off(0, 52)}));

    // On one tick: the note that began earlier ends first, then the notes
    // start, then the notes of length 0 end.
    TTimedEventList events{on(50, 60), off(50, 60), on(0, 60), off(50, 60), pc(50, 3)};
    sortTimedEvents(events);
    EXPECT_EQ(events, (TTimedEventList{on(0, 60), pc(50, 3), off(50, 60), on(50, 60), off(50, 60)}));
    // Another channel or value is another note.
    events = {on(0, 60, 1), on(0, 61), off(0, 60), off(0, 61)};
    sortTimedEvents(events);
    EXPECT_EQ(events, (TTimedEventList{off(0, 60), on(0, 60, 1), on(0, 61), off(0, 61)}));
}

TEST(PlayStringParser, NoteNameTable)
{
    const std::pair<const char *, int> names[] = {
        {"C", 0}, {"C+", 1}, {"C#", 1}, {"D", 2}, {"D-", 1}, {"D+", 3}, {"D#", 3}, {"E", 4},
        {"E-", 3}, {"F", 5}, {"F+", 6}, {"F#", 6}, {"G", 7}, {"G-", 6}, {"G+", 8}, {"G#", 8},
        {"A", 9}, {"A-", 8}, {"A+", 10}, {"A#", 10}, {"B", 11}, {"B-", 10},
    };
    for (auto [name, semitone] : names)
        EXPECT_EQ(PlayStringParser::NoteSemitone(QString::fromLatin1(name)), semitone) << name;
    for (const char *bad : {"E+", "E#", "F-", "B+", "B#", "C-", "H", "1C", "0C", "C0", "+", "", "CC"})
        EXPECT_FALSE(PlayStringParser::NoteSemitone(QString::fromLatin1(bad))) << bad;
    EXPECT_TRUE(parse("A10").events.empty()) << "note 129";
    EXPECT_EQ(parse("A9").events.front().Value, 117);
    EXPECT_EQ(parse("B-").events.front().Value, 58);
    EXPECT_EQ(parse("C0").events.front().Value, 0);
}

TEST(PlayStringParser, NameAboveTheTopNoteStillSetsItsOctave)
{
    // G#10 is note 128 and adds nothing, but its octave 10 is carried on.
    EXPECT_EQ(parse("G#10,C").events, (TTimedEventList{on(0, 120), off(50, 120)}));
    // An unusable octave leaves the current one.
    EXPECT_EQ(parse("C11,D").events, (TTimedEventList{on(0, 50), off(50, 50)}));
}

TEST(PlayStringParser, IntegerConversion)
{
    using P = PlayStringParser;
    EXPECT_EQ(P::ToInteger(u"150"), 150);
    EXPECT_EQ(P::ToInteger(u"+7"), 7);
    EXPECT_EQ(P::ToInteger(u"-7"), -7);
    EXPECT_EQ(P::ToInteger(u"$3C"), 60);
    EXPECT_EQ(P::ToInteger(u"X3C"), 60);
    EXPECT_EQ(P::ToInteger(u"0X3c"), 60);
    EXPECT_EQ(P::ToInteger(u"-$10"), -16);
    EXPECT_EQ(P::ToInteger(u"$FFFFFFFF"), -1);
    EXPECT_EQ(P::ToInteger(u"2147483647"), 2147483647);
    EXPECT_EQ(P::ToInteger(u"-2147483648"), -2147483647 - 1);
    for (const char16_t *bad : {u"", u"-", u"$", u"0X", u"12A", u"1 2", u"2147483648", u"$100000000", u"--1", u"1.5"})
        EXPECT_FALSE(P::ToInteger(bad)) << QString::fromUtf16(bad).toStdString();
    EXPECT_EQ(parse("N$3C;X32").events, (TTimedEventList{on(0, 60), off(50, 60)}));
}

TEST(PlayStringParser, HugeTimesAreDroppedNotWrapped)
{
    const Parsed p = parse("N60,2000000000;N62,2000000000;N64");
    ASSERT_EQ(p.events.size(), 4u);
    EXPECT_EQ(p.events.back(), off(2000000050, 62));
}

TEST(PlayStringParser, DurationAboveSignedRangeIsUnreadable)
{
    EXPECT_TRUE(parse("N60", {4, 3000000000u, 0, 0}).events.empty());
}
