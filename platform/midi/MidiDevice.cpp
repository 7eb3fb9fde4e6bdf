#include "MidiDevice.h"

#include <QtGlobal>

namespace platform::midi {

bool MidiDevice::debugOutput()
{
    static const bool debug = !qEnvironmentVariableIsEmpty("TONVIK_MIDI_DEBUG");
    return debug;
}

void MidiDevice::allNotesOff()
{
    for (uint32_t channel = 0; channel < 16; ++channel) {
        send(0xB0 | channel | (64u << 8));  // damper pedal up
        send(0xB0 | channel | (123u << 8)); // all notes off
    }
}

} // namespace platform::midi
