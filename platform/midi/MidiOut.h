#pragma once

// MIDI output and stream services: the calls and notifications the MIDI
// generator relies on, in the shape of the classic multimedia API, over
// devices of this system (built-in FluidSynth synthesizer, ALSA sequencer
// ports, and a capture device with a steppable clock for tests).
//
// Contract the generator relies on:
// - Streams open paused; a queued buffer plays from its start after
//   midiStreamRestart.
// - Notifications are posted to the NotifyHandle given at open and arrive on
//   the GUI thread: MM_MOM_OPEN (posted before midiStreamOpen returns),
//   MM_MOM_POSITIONCB when an event flagged MEVT_F_CALLBACK is reached,
//   MM_MOM_DONE when the queued buffer has played or the stream was stopped,
//   MM_MOM_CLOSE after midiStreamClose. Position callbacks of a pass come
//   before its done; close comes last; nothing is posted after close.
// - midiStreamStop returns the queued buffer with a done notification.
// The TMessage delivered carries msg = the notification, wParam = the
// stream handle's value, lParam = the MIDIHDR pointer for DONE and
// POSITIONCB (0 otherwise). For POSITIONCB the header's dwOffset is the byte
// offset of the flagged event.
//
// A buffer queued on a running stream whose earlier buffers have played
// starts at once, or where the previous one ended if that is later; so a
// buffer re-queued from its done notification loops.
// Handles are never reused: a closed or made-up handle gives
// MMSYSERR_INVALHANDLE. midiStreamClose fails with MIDIERR_STILLPLAYING
// while buffers are queued (stop first).
//
// Devices: the MIDI mapper (-1) is the built-in FluidSynth synthesizer when
// it has a SoundFont and an audio output, else the first ALSA sequencer
// port, else nothing (opens fail with MMSYSERR_NODRIVER). TONVIK_MIDI_OUT,
// TONVIK_SOUNDFONT and TONVIK_AUDIO_DRIVER change the choice; see
// docs/midi-output.md. Tests use the capture device (CaptureDevice.h).

#include "platform/NotifyWindow.h"

#include <QString>

#include <cstdint>

namespace platform::midi {

using MMRESULT = unsigned;
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT MIDIERR_UNPREPARED = 64;
constexpr MMRESULT MIDIERR_STILLPLAYING = 65;

constexpr unsigned MM_MOM_OPEN = 0x3C7;
constexpr unsigned MM_MOM_CLOSE = 0x3C8;
constexpr unsigned MM_MOM_DONE = 0x3C9;
constexpr unsigned MM_MOM_POSITIONCB = 0x3CA;

// Device id of the MIDI mapper: the default output.
constexpr int MIDI_MAPPER = -1;

// Stream event word: bits 24..31 event type and flags.
constexpr uint32_t MEVT_SHORTMSG = 0x00;
constexpr uint32_t MEVT_F_CALLBACK = 0x40000000;

// MIDI buffer header. The caller owns the data; the stream reads it between
// midiStreamOut and the done notification.
struct MIDIHDR
{
    const uint8_t *lpData = nullptr;
    uint32_t dwBufferLength = 0;
    uint32_t dwBytesRecorded = 0;
    uintptr_t dwUser = 0;
    uint32_t dwFlags = 0;
    uint32_t dwOffset = 0;
};
constexpr uint32_t MHDR_DONE = 0x1;
constexpr uint32_t MHDR_PREPARED = 0x2;
constexpr uint32_t MHDR_INQUEUE = 0x4;

struct MidiOutHandle;
struct MidiStreamHandle;
using HMIDIOUT = MidiOutHandle *;
using HMIDISTRM = MidiStreamHandle *;

// Number of output devices (ids 0..n-1); the mapper (-1) is extra.
unsigned midiOutGetNumDevs();

MMRESULT midiOutOpen(HMIDIOUT *handle, int deviceId);
MMRESULT midiOutClose(HMIDIOUT handle);
MMRESULT midiOutShortMsg(HMIDIOUT handle, uint32_t message);
// Returns the stream's queued buffers (done notifications, as
// midiStreamStop) and turns all notes off on every channel of its device.
MMRESULT midiOutReset(HMIDISTRM stream);

MMRESULT midiStreamOpen(HMIDISTRM *stream, int deviceId, const NotifyHandle &callback, uintptr_t instance);
// Time division in ticks per quarter note (tempo stays 500,000 us).
MMRESULT midiStreamSetTimeDivision(HMIDISTRM stream, uint32_t ticksPerQuarterNote);
MMRESULT midiOutPrepareHeader(HMIDISTRM stream, MIDIHDR *header);
MMRESULT midiOutUnprepareHeader(HMIDISTRM stream, MIDIHDR *header);
MMRESULT midiStreamOut(HMIDISTRM stream, MIDIHDR *header);
MMRESULT midiStreamRestart(HMIDISTRM stream);
MMRESULT midiStreamStop(HMIDISTRM stream);
MMRESULT midiStreamClose(HMIDISTRM stream);

// Name of output device 0..n-1 (empty for other ids).
QString midiOutGetDeviceName(int deviceId);
// Starts loading the sound library, the device list and the default device
// (the SoundFont of the built-in synthesizer) in the background, so the
// first open waits less. Optional.
void midiOutPreload();

} // namespace platform::midi
