#pragma once

#include "platform/midi/CaptureDevice.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/MidiDeviceList.h"

#include <memory>
#include <gtest/gtest.h>

namespace miditest {

// The built-in synthesizer as the MIDI mapper, on a clock the test steps:
// the test renders the audio itself (render()), on whichever thread it
// chooses. Skipped where no SoundFont is installed.
class SteppedSynthFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        using platform::midi::FluidSynthDevice;
        FluidSynthDevice::Options options = FluidSynthDevice::Options::fromEnvironment();
        if (!FluidSynthDevice::soundFontExists(options.soundFont))
            GTEST_SKIP() << "no SoundFont at " << options.soundFont.toStdString();
        options.callerRenders = true;
        device = std::make_shared<FluidSynthDevice>(options);
        ASSERT_TRUE(device->acquire()) << device->lastError().toStdString();
        platform::midi::MidiDeviceList::instance().install(device);
    }
    void TearDown() override
    {
        platform::midi::CaptureDevice::install();
    }

    std::shared_ptr<platform::midi::FluidSynthDevice> device;
};

} // namespace miditest
