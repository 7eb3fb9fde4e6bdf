// Enumeration names and their lookup.
#include "midigen/MidiGenTypes.h"

#include <gtest/gtest.h>

#include <set>

TEST(MidiGenTypes, NamesRoundTrip)
{
    std::set<QString> seen;
    for (int i = 0; i < mgInstrumentCount; ++i) {
        const QString name = TMGInstrumentName(TMGInstrument(i));
        ASSERT_TRUE(name.startsWith("mg")) << i;
        EXPECT_TRUE(seen.insert(name).second) << name.toStdString();
        EXPECT_EQ(TMGInstrumentFromName(name), TMGInstrument(i));
    }
    for (int i = 0; i < mgNoteCount; ++i)
        EXPECT_EQ(TMGNoteFromName(TMGNoteName(TMGNote(i))), TMGNote(i));
    for (int i = 0; i < mgChannelCount; ++i)
        EXPECT_EQ(TMGChannelFromName(TMGChannelName(TMGChannel(i))), TMGChannel(i));
}

TEST(MidiGenTypes, KnownOrdinals)
{
    EXPECT_EQ(TMGInstrumentName(mgAcousticGrandPiano), "mgAcousticGrandPiano");
    EXPECT_EQ(TMGInstrumentFromName(u"mgViolin"), 40);
    EXPECT_EQ(TMGInstrumentFromName(u"mgGunshot"), 127);
    EXPECT_EQ(TMGInstrumentFromName(u"mgAcousticBassDrum"), 128);
    EXPECT_EQ(TMGInstrumentFromName(u"mgSideStick"), 130);
    EXPECT_EQ(TMGInstrumentFromName(u"mgOpenTriangle"), 174);
    EXPECT_EQ(TMGNoteName(mgFsharp), "mgFsharp");
    EXPECT_EQ(TMGChannelName(mgCh10), "mgCh10");
    EXPECT_EQ(int(mgCh10), 9);
    EXPECT_FALSE(TMGInstrumentFromName(u"mgviolin"));
    EXPECT_FALSE(TMGNoteFromName(u"C"));
    EXPECT_TRUE(TMGInstrumentName(TMGInstrument(175)).isEmpty());
}
