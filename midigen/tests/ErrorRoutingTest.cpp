// The generator reports its design-mode range message through the platform's
// error routine, with the caption "Error"; at run time it reports nothing.
#include "midigen/TMidiGen.h"
#include "platform/testing/ErrorCapture.h"
#include "platform/testing/ErrorDisplayCapture.h"

#include <QVariant>
#include <gtest/gtest.h>

using Shown = std::vector<std::pair<QString, QString>>;

TEST(TMidiGenErrors, DesignModeRangeMessagesReachThePlatformErrorRoutine)
{
    platform::testsupport::ErrorDisplayCapture display;
    TMidiGen gen;
    gen.setVolume(101);
    gen.setProperty("Pan", -101);
    EXPECT_TRUE(display.shown().empty()) << "clamped silently at run time";

    gen.setDesignMode(true);
    gen.setVolume(101);
    gen.setProperty("Pan", -101);
    gen.setInstrument(TMGInstrument(-1));
    gen.setOctave(4);
    EXPECT_EQ(display.shown(), (Shown{{"Error", "Value must be between 0 and 100"},
                                      {"Error", "Value must be between -100 and 100"},
                                      {"Error", "Value must be between 0 and 174"}}));
    EXPECT_EQ(gen.Volume(), 100);
    EXPECT_EQ(gen.Pan(), -100);
    EXPECT_EQ(gen.Instrument(), mgAcousticGrandPiano);

    // A reporter (here the tests' capture) sees the same texts.
    platform::testsupport::ErrorCapture captured;
    gen.setReverb(200);
    EXPECT_EQ(captured.messages(), QStringList{"Value must be between 0 and 100"});
}
