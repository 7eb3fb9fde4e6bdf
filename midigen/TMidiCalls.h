#pragma once

#include "platform/midi/MidiOut.h"

// The MIDI output and stream calls a generator makes, as a table so a test
// can put a failing call in place of the platform's. Defaults to the
// platform's functions.
struct TMidiCalls
{
    using MMRESULT = platform::midi::MMRESULT;
    using HMIDIOUT = platform::midi::HMIDIOUT;
    using HMIDISTRM = platform::midi::HMIDISTRM;
    using MIDIHDR = platform::midi::MIDIHDR;

    unsigned (*outGetNumDevs)() = platform::midi::midiOutGetNumDevs;
    MMRESULT (*outOpen)(HMIDIOUT *, int) = platform::midi::midiOutOpen;
    MMRESULT (*outClose)(HMIDIOUT) = platform::midi::midiOutClose;
    MMRESULT (*outReset)(HMIDISTRM) = platform::midi::midiOutReset;
    MMRESULT (*streamOpen)(HMIDISTRM *, int, const platform::NotifyHandle &, uintptr_t) =
        platform::midi::midiStreamOpen;
    MMRESULT (*streamSetTimeDivision)(HMIDISTRM, uint32_t) = platform::midi::midiStreamSetTimeDivision;
    MMRESULT (*outPrepareHeader)(HMIDISTRM, MIDIHDR *) = platform::midi::midiOutPrepareHeader;
    MMRESULT (*outUnprepareHeader)(HMIDISTRM, MIDIHDR *) = platform::midi::midiOutUnprepareHeader;
    MMRESULT (*streamOut)(HMIDISTRM, MIDIHDR *) = platform::midi::midiStreamOut;
    MMRESULT (*streamRestart)(HMIDISTRM) = platform::midi::midiStreamRestart;
    MMRESULT (*streamStop)(HMIDISTRM) = platform::midi::midiStreamStop;
    MMRESULT (*streamClose)(HMIDISTRM) = platform::midi::midiStreamClose;
};
