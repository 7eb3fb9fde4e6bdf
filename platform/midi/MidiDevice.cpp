#include "MidiDevice.h"

namespace platform::midi {

void MidiDevice::allNotesOff()
{
    for (uint32_t channel = 0; channel < 16; ++channel) {
        send(0xB0 | channel | (64u << 8));  // damper pedal up
        send(0xB0 | channel | (123u << 8)); // all notes off
    }
}

} // namespace platform::midi
