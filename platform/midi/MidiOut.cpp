// The MIDI output and stream calls over the devices of MidiDeviceList; the
// stream work itself is MidiStream's, run by StreamEngine.
#include "MidiOut.h"

#include "MidiDeviceList.h"
#include "StreamEngine.h"

namespace platform::midi {

namespace {

StreamEngine &engine()
{
    return StreamEngine::instance();
}

} // namespace

unsigned midiOutGetNumDevs()
{
    return MidiDeviceList::instance().count();
}

QString midiOutGetDeviceName(int deviceId)
{
    return MidiDeviceList::instance().deviceName(deviceId);
}

void midiOutPreload()
{
    MidiDeviceList::instance().preload();
}

MMRESULT midiOutOpen(HMIDIOUT *handle, int deviceId)
{
    if (!handle)
        return MMSYSERR_INVALPARAM;
    *handle = nullptr;
    MMRESULT result = MMSYSERR_NOERROR;
    const std::shared_ptr<MidiDevice> device = MidiDeviceList::instance().open(deviceId, &result);
    if (!device)
        return result;
    std::lock_guard lock(engine().mutex());
    *handle = engine().addOut(device);
    return MMSYSERR_NOERROR;
}

MMRESULT midiOutClose(HMIDIOUT handle)
{
    std::lock_guard lock(engine().mutex());
    if (!engine().out(handle))
        return MMSYSERR_INVALHANDLE;
    engine().removeOut(handle);
    return MMSYSERR_NOERROR;
}

MMRESULT midiOutShortMsg(HMIDIOUT handle, uint32_t message)
{
    std::lock_guard lock(engine().mutex());
    MidiDevice *device = engine().out(handle);
    if (!device)
        return MMSYSERR_INVALHANDLE;
    // Channel messages only; running status is not kept between calls.
    const uint32_t status = message & 0xFF;
    if (status < 0x80 || status >= 0xF0)
        return MMSYSERR_INVALPARAM;
    device->send(message & 0x7F7FFF);
    return MMSYSERR_NOERROR;
}

MMRESULT midiOutReset(HMIDISTRM stream)
{
    std::lock_guard lock(engine().mutex());
    MidiStream *s = engine().stream(stream);
    if (!s)
        return MMSYSERR_INVALHANDLE;
    return s->reset();
}

MMRESULT midiStreamOpen(HMIDISTRM *stream, int deviceId, const NotifyHandle &callback, uintptr_t instance)
{
    (void)instance; // notifications identify the stream by its handle
    if (!stream)
        return MMSYSERR_INVALPARAM;
    *stream = nullptr;
    MMRESULT result = MMSYSERR_NOERROR;
    const std::shared_ptr<MidiDevice> device = MidiDeviceList::instance().open(deviceId, &result);
    if (!device)
        return result;
    std::lock_guard lock(engine().mutex());
    HMIDISTRM handle = engine().addStream(device, callback);
    engine().stream(handle)->postOpen();
    *stream = handle;
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamSetTimeDivision(HMIDISTRM stream, uint32_t ticksPerQuarterNote)
{
    std::lock_guard lock(engine().mutex());
    MidiStream *s = engine().stream(stream);
    if (!s)
        return MMSYSERR_INVALHANDLE;
    return s->setTimeDivision(ticksPerQuarterNote);
}

MMRESULT midiOutPrepareHeader(HMIDISTRM stream, MIDIHDR *header)
{
    std::lock_guard lock(engine().mutex());
    if (!engine().stream(stream))
        return MMSYSERR_INVALHANDLE;
    if (!header)
        return MMSYSERR_INVALPARAM;
    header->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT midiOutUnprepareHeader(HMIDISTRM stream, MIDIHDR *header)
{
    std::lock_guard lock(engine().mutex());
    MidiStream *s = engine().stream(stream);
    if (!s)
        return MMSYSERR_INVALHANDLE;
    if (!header)
        return MMSYSERR_INVALPARAM;
    if (s->isQueued(header))
        return MIDIERR_STILLPLAYING;
    header->dwFlags &= ~(MHDR_PREPARED | MHDR_INQUEUE);
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamOut(HMIDISTRM stream, MIDIHDR *header)
{
    std::lock_guard lock(engine().mutex());
    MidiStream *s = engine().stream(stream);
    if (!s)
        return MMSYSERR_INVALHANDLE;
    const MMRESULT result = s->out(header);
    engine().wake();
    return result;
}

MMRESULT midiStreamRestart(HMIDISTRM stream)
{
    std::lock_guard lock(engine().mutex());
    MidiStream *s = engine().stream(stream);
    if (!s)
        return MMSYSERR_INVALHANDLE;
    const MMRESULT result = s->restart();
    engine().wake();
    return result;
}

MMRESULT midiStreamStop(HMIDISTRM stream)
{
    std::lock_guard lock(engine().mutex());
    MidiStream *s = engine().stream(stream);
    if (!s)
        return MMSYSERR_INVALHANDLE;
    return s->stop();
}

MMRESULT midiStreamClose(HMIDISTRM stream)
{
    std::lock_guard lock(engine().mutex());
    MidiStream *s = engine().stream(stream);
    if (!s)
        return MMSYSERR_INVALHANDLE;
    const MMRESULT result = s->close();
    if (result == MMSYSERR_NOERROR)
        engine().removeStream(stream);
    return result;
}

} // namespace platform::midi
