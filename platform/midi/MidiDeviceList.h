#pragma once

#include "MidiOut.h"

#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::midi {

class MidiDevice;

// The output devices (ids 0..n-1) and the MIDI mapper (id -1), chosen by
// TONVIK_MIDI_OUT: auto (default: the built-in synthesizer when a SoundFont
// is found, then the ALSA sequencer ports), fluidsynth, alsa,
// alsa:PORT-NAME-PART, capture or none. The list is built on first use, or
// in the background by preload(): the synthesizer and the ALSA ports come
// from the sound library (SoundBackend.h), which is loaded only then.
class MidiDeviceList
{
public:
    static MidiDeviceList &instance();
    ~MidiDeviceList();

    unsigned count();
    QString deviceName(int deviceId);
    // The device for an open, acquired (ready to play). The mapper takes the
    // first device that can play.
    std::shared_ptr<MidiDevice> open(int deviceId, MMRESULT *error);
    // Builds the list (loading the sound library) and then loads the
    // mapper's first device, all on a thread of its own; a call that needs
    // the list meanwhile waits for it.
    void preload();

    // Replaces the devices by the one given (tests); install(nullptr) goes
    // back to the choice of the environment.
    void install(std::shared_ptr<MidiDevice> device);
    // The installed device, if one was installed or TONVIK_MIDI_OUT chose
    // the capture device.
    std::shared_ptr<MidiDevice> installed();

private:
    MidiDeviceList() = default;
    enum class State { Unbuilt, Building, Built };

    std::vector<std::shared_ptr<MidiDevice>> devices();
    // The list TONVIK_MIDI_OUT chooses; the first element is the installed
    // capture device, if any. Called without the lock.
    static std::vector<std::shared_ptr<MidiDevice>> buildFromEnvironment(std::shared_ptr<MidiDevice> *installed);
    // Builds the list unless it is built or being built (then waits for it).
    void ensureBuilt(std::unique_lock<std::mutex> &lock);

    std::mutex m_mutex;
    std::condition_variable m_builtChanged;
    State m_state = State::Unbuilt;
    std::thread m_loader;
    std::shared_ptr<MidiDevice> m_installed;
    std::vector<std::shared_ptr<MidiDevice>> m_devices;
};

} // namespace platform::midi
