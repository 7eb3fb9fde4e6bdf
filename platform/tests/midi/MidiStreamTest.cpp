#include "platform/midi/CaptureDevice.h"
#include "platform/midi/MidiOut.h"

#include <gtest/gtest.h>

using namespace platform::midi;

TEST(MidiStream, Placeholder)
{
    EXPECT_NE(CaptureDevice::active(), nullptr);
}
