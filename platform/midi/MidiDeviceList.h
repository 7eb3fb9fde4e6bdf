#pragma once

#include "MidiOut.h"

#include <QString>

#include <memory>
#include <mutex>
#include <vector>

namespace platform::midi {

class MidiDevice;

// The output devices (ids 0..n-1) and the MIDI mapper (id -1), chosen by
// TONVIK_MIDI_OUT: auto (default: the built-in synthesizer when a SoundFont
// is found, then the ALSA sequencer ports), fluidsynth, alsa,
// alsa:PORT-NAME-PART, capture or none. The list is built on first use.
class MidiDeviceList
{
public:
    static MidiDeviceList &instance();

    unsigned count();
    QString deviceName(int deviceId);
    // The device for an open, acquired (ready to play). The mapper takes the
    // first device that can play.
    std::shared_ptr<MidiDevice> open(int deviceId, MMRESULT *error);
    // Starts loading the mapper's first device in the background.
    void preload();

    // Replaces the devices by the one given (tests); install(nullptr) goes
    // back to the choice of the environment.
    void install(std::shared_ptr<MidiDevice> device);
    // The installed device, if one was installed or TONVIK_MIDI_OUT chose
    // the capture device.
    std::shared_ptr<MidiDevice> installed();

private:
    MidiDeviceList() = default;
    std::vector<std::shared_ptr<MidiDevice>> devices();
    void buildFromEnvironment();

    std::mutex m_mutex;
    bool m_built = false;
    std::shared_ptr<MidiDevice> m_installed;
    std::vector<std::shared_ptr<MidiDevice>> m_devices;
};

} // namespace platform::midi
