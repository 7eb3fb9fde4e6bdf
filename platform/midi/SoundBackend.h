#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace platform::midi {

class MidiDevice;

using SoundDevices = std::vector<std::shared_ptr<MidiDevice>>;

// The devices that make sound - the built-in FluidSynth synthesizer with its
// audio server stream and the ALSA sequencer's ports - live in a library of
// their own, libtonvik-platform_sound, loaded when a program first asks for
// a device (midiOutPreload() does it on a thread of its own). A program
// that links the MIDI output so does not load and relocate FluidSynth and
// its long chain of libraries (glib, libsndfile, libpulse, jack, SDL ...)
// before its window shows. The library stays loaded for the life of the
// process: its devices are kept by the device list until the end.

// The library's entry point: appends the devices TONVIK_MIDI_OUT's choice
// (already lower-cased: auto, fluidsynth, alsa or alsa:PORT-NAME-PART, with
// choice keeping the case of the port name part) selects.
using SoundBackendEntry = void (*)(const QString &choice, SoundDevices &devices);
inline constexpr char SoundBackendEntryName[] = "tonvikSoundBackendDevices";

// Loads the library (first beside the platform library, then by its name
// through the dynamic linker's search) and returns its entry point, or null
// with the reason in *error. Thread-safe; the library is loaded once.
SoundBackendEntry loadSoundBackend(QString *error);

} // namespace platform::midi
