#include "TMidiGen.h"

#include "platform/ErrorReport.h"
#include "platform/MessageLoop.h"

#include <algorithm>
#include <atomic>
#include <limits>

using namespace platform::midi;

namespace {

// Process-wide: each generator takes the next id; the first generator that
// opens a stream becomes its owner for the rest of the process.
std::atomic<int> nextGeneratorId{1};
std::atomic<int> streamOwnerId{0};

constexpr uint32_t TicksPerQuarterNote = 50;

} // namespace

TMidiGen::TMidiGen(QObject *owner)
    : QObject(owner)
    , m_generatorId(nextGeneratorId++)
    , m_notifyWindow(std::make_unique<platform::NotifyWindow>(
          [this](const platform::TMessage &message) { handleNotification(message); }))
{
}

TMidiGen::~TMidiGen()
{
    Stop();
    // Stop leaves a stream that has not reached its first event playing to
    // its end, which may be long; the generator is going away, so it stops
    // that stream too instead of waiting for it.
    if (m_streamOpen && !m_closing)
        m_calls.streamStop(m_stream);
    pumpUntil([this] { return !m_streamOpen; });
    m_notifyWindow.reset();
}

int TMidiGen::StreamOwnerId()
{
    return streamOwnerId;
}

void TMidiGen::ResetStreamOwnerForTests()
{
    streamOwnerId = 0;
}

template<typename Pred>
void TMidiGen::pumpUntil(Pred done)
{
    // waitForMessages sleeps until something is posted, so this never spins.
    while (!done())
        platform::waitForMessages(100);
}

// --- Properties ------------------------------------------------------------

void TMidiGen::showRangeMessage(const QString &text)
{
    // Through the platform's error routine: in a form designer that is the
    // standard error box, in a program without windows standard error.
    platform::showError(text, QStringLiteral("Error"));
}

int TMidiGen::checkRange(int value, int min, int max)
{
    if (value >= min && value <= max)
        return value;
    if (m_designMode)
        showRangeMessage(QStringLiteral("Value must be between %1 and %2").arg(min).arg(max));
    return value > max ? max : min;
}

void TMidiGen::setVolume(int value) { m_volume = checkRange(value, 0, 100); }
void TMidiGen::setPan(int value) { m_pan = checkRange(value, -100, 100); }
void TMidiGen::setReverb(int value) { m_reverb = checkRange(value, 0, 100); }
void TMidiGen::setChorus(int value) { m_chorus = checkRange(value, 0, 100); }
void TMidiGen::setModulation(int value) { m_modulation = checkRange(value, 0, 100); }
void TMidiGen::setPitchBend(int value) { m_pitchBend = checkRange(value, -120, 120); }
void TMidiGen::setPBDelay(int value) { m_pbDelay = checkRange(value, 0, 100); }
void TMidiGen::setPBDuration(int value) { m_pbDuration = checkRange(value, 0, 100); }
void TMidiGen::setOctave(int value) { m_octave = checkRange(value, 0, 10); }
void TMidiGen::setNote(TMGNote value) { m_note = TMGNote(checkRange(value, 0, mgNoteCount - 1)); }
void TMidiGen::setChannel(TMGChannel value) { m_channel = TMGChannel(checkRange(value, 0, mgChannelCount - 1)); }

void TMidiGen::setInstrument(TMGInstrument value)
{
    m_instrument = TMGInstrument(checkRange(value, 0, mgInstrumentCount - 1));
}

// --- Building requests -----------------------------------------------------

TParserSettings TMidiGen::parserSettings(int playChannel) const
{
    return {m_octave, m_duration, m_instrument, playChannel};
}

TStreamSettings TMidiGen::streamSettings(int playChannel) const
{
    TStreamSettings s;
    s.PlayChannel = playChannel;
    s.Instrument = m_instrument;
    s.Volume = m_volume;
    s.Pan = m_pan;
    s.Reverb = m_reverb;
    s.Chorus = m_chorus;
    s.Sustain = m_sustain;
    s.Modulation = m_modulation;
    s.PitchBend = m_pitchBend;
    s.PBDelay = m_pbDelay;
    s.PBDuration = m_pbDuration;
    return s;
}

TTimedEventList TMidiGen::noteEvents(int note, int playChannel) const
{
    TTimedEventList events;
    int noteChannel = mgPercussionChannel;
    if (playChannel != mgPercussionChannel) {
        noteChannel = m_instrument >= mgFirstPercussion ? mgPercussionChannel : playChannel;
        events.push_back({0, TEventKind::ProgramChange, m_instrument, uint8_t(noteChannel)});
    }
    // A percussion instrument on a melodic channel plays its own key.
    const int value = (noteChannel == mgPercussionChannel && playChannel != mgPercussionChannel)
        ? int(m_instrument) : note;
    const auto end = int32_t(std::min<uint32_t>(m_duration, std::numeric_limits<int32_t>::max()));
    events.push_back({0, TEventKind::NoteOn, value, uint8_t(noteChannel)});
    events.push_back({end, TEventKind::NoteOff, value, uint8_t(noteChannel)});
    return events;
}

std::vector<uint8_t> TMidiGen::BufferForString(const QString &text) const
{
    TTimedEventList events;
    const bool simultaneous = PlayStringParser(parserSettings(m_channel)).Parse(text, events);
    if (events.empty())
        return {};
    return StreamBuilder(streamSettings(m_channel)).Build(events, simultaneous);
}

std::vector<uint8_t> TMidiGen::BufferForNote(int note) const
{
    return StreamBuilder(streamSettings(m_channel)).Build(noteEvents(std::clamp(note, 0, 127), m_channel), true);
}

// --- Play requests ---------------------------------------------------------

bool TMidiGen::PlayString(const QString &text)
{
    if (!beginRequest())
        return false;
    TTimedEventList events;
    const bool simultaneous = PlayStringParser(parserSettings(m_playChannel)).Parse(text, events);
    if (events.empty()) {
        failRequest();
        return false;
    }
    return buildAndPlay(events, simultaneous);
}

bool TMidiGen::PlayNote(int note)
{
    if (!beginRequest())
        return false;
    const int key = checkRange(note, 0, 127);
    return buildAndPlay(noteEvents(key, m_playChannel), true);
}

bool TMidiGen::Play()
{
    return PlayNote(int(m_note) + m_octave * 12);
}

bool TMidiGen::beginRequest()
{
    if (!m_ready || !MidiAvailable())
        return false;
    m_ready = false;
    m_repeatEnabled = false;
    if (m_streamOpen) {
        // The old stream finishes without repeating and closes, freeing its
        // buffer, before the new one is built.
        if (!m_closing)
            m_calls.streamStop(m_stream);
        pumpUntil([this] { return !m_streamOpen; });
    }
    m_loopsLeft = m_loops;
    m_playChannel = m_channel;
    return true;
}

// A request that fails lets the generator take the next one: the first event
// of a stream that never started cannot make it ready again.
void TMidiGen::failRequest()
{
    m_ready = true;
}

bool TMidiGen::buildAndPlay(const TTimedEventList &events, bool glideAllowed)
{
    const int owner = streamOwnerId;
    if (owner != 0 && owner != m_generatorId) {
        failRequest();
        return false;
    }
    m_playChannel = m_channel;
    std::vector<uint8_t> buffer = StreamBuilder(streamSettings(m_playChannel)).Build(events, glideAllowed);

    pumpUntil([this] { return !m_streamOpen; });
    m_eventBuffer = std::move(buffer);

    HMIDISTRM stream = nullptr;
    if (m_calls.streamOpen(&stream, int(m_deviceId), m_notifyWindow->handle(), uintptr_t(this)) != MMSYSERR_NOERROR
        || !stream) {
        m_eventBuffer.clear();
        failRequest();
        return false;
    }
    m_stream = stream;
    pumpUntil([this] { return m_streamOpen; });

    streamOwnerId = m_generatorId;
    m_calls.outReset(m_stream);
    if (m_calls.streamSetTimeDivision(m_stream, TicksPerQuarterNote) != MMSYSERR_NOERROR) {
        closeAfterFailure();
        return false;
    }
    m_streamHeader = MIDIHDR{};
    m_streamHeader.lpData = m_eventBuffer.data();
    m_streamHeader.dwBufferLength = uint32_t(m_eventBuffer.size());
    m_streamHeader.dwBytesRecorded = uint32_t(m_eventBuffer.size());
    if (m_calls.outPrepareHeader(m_stream, &m_streamHeader) != MMSYSERR_NOERROR) {
        closeAfterFailure();
        return false;
    }
    m_headerPrepared = true;
    if (m_calls.streamOut(m_stream, &m_streamHeader) != MMSYSERR_NOERROR
        || m_calls.streamRestart(m_stream) != MMSYSERR_NOERROR) {
        closeAfterFailure();
        return false;
    }
    return true;
}

// A stream that opened but could not be started is closed again, so IsPlaying
// clears, Stop and the destructor do not wait for a stream that never plays,
// and the generator can take the next request.
void TMidiGen::closeAfterFailure()
{
    m_repeatEnabled = false;
    m_closing = true;
    m_calls.streamStop(m_stream);
    if (m_headerPrepared) {
        m_calls.outUnprepareHeader(m_stream, &m_streamHeader);
        m_headerPrepared = false;
    }
    m_calls.outReset(m_stream);
    if (m_calls.streamClose(m_stream) == MMSYSERR_NOERROR) {
        pumpUntil([this] { return !m_streamOpen; });
    } else {
        // No close notification will come for a stream that cannot close.
        m_streamOpen = false;
        m_isPlaying = false;
        m_closing = false;
        m_stream = nullptr;
    }
    m_eventBuffer.clear();
    failRequest();
}

void TMidiGen::finishStream()
{
    m_closing = true;
    if (m_headerPrepared) {
        m_calls.outUnprepareHeader(m_stream, &m_streamHeader);
        m_headerPrepared = false;
    }
    m_calls.streamStop(m_stream);
    m_calls.outReset(m_stream);
    m_eventBuffer.clear();
    m_eventBuffer.shrink_to_fit();
    if (m_calls.streamClose(m_stream) != MMSYSERR_NOERROR) {
        m_streamOpen = false;
        m_isPlaying = false;
        m_repeatEnabled = false;
        m_closing = false;
        m_stream = nullptr;
    }
}

void TMidiGen::Stop()
{
    m_repeatEnabled = false;
    // Before the first event the buffer plays once to its end and closes.
    if (m_streamOpen && m_ready && !m_closing)
        m_calls.streamStop(m_stream);
}

bool TMidiGen::MidiAvailable()
{
    if (m_streamOpen)
        return true;
    HMIDIOUT out = nullptr;
    if (m_calls.outOpen(&out, int(m_deviceId)) != MMSYSERR_NOERROR)
        return false;
    m_calls.outClose(out);
    return true;
}

bool TMidiGen::SetDevice(int id)
{
    m_deviceId = uint32_t(id);
    const unsigned devices = m_calls.outGetNumDevs();
    return devices > 0 && (id < 0 || unsigned(id) < devices);
}

// --- Notifications ---------------------------------------------------------

void TMidiGen::handleNotification(const platform::TMessage &message)
{
    switch (message.msg) {
    case MM_MOM_OPEN:
        m_streamOpen = true;
        m_isPlaying = true;
        m_repeatEnabled = true;
        m_loopsLeft = m_loops;
        break;
    case MM_MOM_POSITIONCB:
        m_ready = true;
        break;
    case MM_MOM_DONE:
        if (!m_streamOpen || m_closing || !m_stream)
            break;
        if (m_repeatEnabled && (m_loopsLeft == 0 || m_loopsLeft > 1)) {
            // A pass that cannot be queued again ends the playback instead of
            // leaving an open stream that never finishes.
            if (m_calls.streamOut(m_stream, &m_streamHeader) != MMSYSERR_NOERROR
                || m_calls.streamRestart(m_stream) != MMSYSERR_NOERROR) {
                finishStream();
                break;
            }
            if (m_loopsLeft > 1)
                --m_loopsLeft;
        } else {
            finishStream();
        }
        break;
    case MM_MOM_CLOSE:
        m_streamOpen = false;
        m_stream = nullptr;
        m_isPlaying = false;
        m_repeatEnabled = false;
        m_closing = false;
        break;
    default:
        break;
    }
}
