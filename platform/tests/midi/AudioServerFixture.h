#pragma once

#include "AudioServerSession.h"
#include "StartRecorder.h"

#include "platform/midi/CaptureDevice.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/MidiDeviceList.h"

#include <gtest/gtest.h>

#include <memory>

namespace miditest {

// A test through the real audio server: the program's own output (as the
// MIDI mapper chooses it) with a StartRecorder in front, installed as the
// mapper. Skipped when no server was started for the test, failed then
// when TONVIK_REQUIRE_AUDIO_SERVER is set.
template<typename Base = ::testing::Test>
class AudioServerFixture : public Base
{
protected:
    void SetUp() override
    {
        if (!AudioServerSession::present()) {
            if (AudioServerSession::required())
                FAIL() << "no audio server was started for this test (scripts/audio-servers run KIND -- ...)";
            GTEST_SKIP() << "no audio server (scripts/audio-servers run KIND -- ...)";
        }
        QString error;
        synth = AudioServerSession::programOutput(&error);
        ASSERT_TRUE(synth) << error.toStdString();
        recorder = std::make_shared<StartRecorder>(synth);
        platform::midi::MidiDeviceList::instance().install(recorder);
    }
    void TearDown() override
    {
        platform::midi::CaptureDevice::install();
    }

    std::shared_ptr<platform::midi::FluidSynthDevice> synth;
    std::shared_ptr<StartRecorder> recorder;
};

} // namespace miditest
