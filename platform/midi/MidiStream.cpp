#include "MidiStream.h"

#include <algorithm>

namespace platform::midi {

MidiStream::MidiStream(uintptr_t handleValue, std::shared_ptr<MidiDevice> device, NotifyHandle notify)
    : m_handleValue(handleValue), m_device(std::move(device)), m_notify(std::move(notify))
{
    m_source = m_device->openSource();
}

MidiStream::~MidiStream()
{
    if (!m_closed)
        withdraw();
    m_device->closeSource(m_source);
}

void MidiStream::postOpen()
{
    post(MM_MOM_OPEN, nullptr);
}

MMRESULT MidiStream::setTimeDivision(uint32_t ticksPerQuarterNote)
{
    if (ticksPerQuarterNote == 0 || ticksPerQuarterNote > 0x7FFF)
        return MMSYSERR_INVALPARAM;
    m_division = ticksPerQuarterNote;
    return MMSYSERR_NOERROR;
}

MMRESULT MidiStream::out(MIDIHDR *header)
{
    if (!header || (header->lpData == nullptr && header->dwBytesRecorded > 0)
        || header->dwBytesRecorded > header->dwBufferLength)
        return MMSYSERR_INVALPARAM;
    if (!(header->dwFlags & MHDR_PREPARED))
        return MIDIERR_UNPREPARED;
    if (header->dwFlags & MHDR_INQUEUE)
        return MIDIERR_STILLPLAYING;

    // The events are copied now: the caller may not change a queued buffer
    // anyway, and the playback thread never reads caller memory.
    Buffer buffer;
    buffer.header = header;
    if (!parseStreamBuffer(header->lpData, header->dwBytesRecorded, buffer.events))
        return MMSYSERR_INVALPARAM;

    header->dwFlags = (header->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
    header->dwOffset = 0;
    m_queue.push_back(std::move(buffer));
    if (m_running && m_queue.size() == 1)
        startFront();
    return MMSYSERR_NOERROR;
}

MMRESULT MidiStream::restart()
{
    if (!m_running) {
        m_running = true;
        if (!m_queue.empty())
            startFront();
    }
    return MMSYSERR_NOERROR;
}

namespace {

// Holds a device's clock for the life of the object.
class ClockHold
{
public:
    explicit ClockHold(MidiDevice &device) : m_device(device) { m_device.holdClock(); }
    ~ClockHold() { m_device.releaseClock(); }
    ClockHold(const ClockHold &) = delete;
    ClockHold &operator=(const ClockHold &) = delete;

private:
    MidiDevice &m_device;
};

} // namespace

void MidiStream::startFront()
{
    Buffer &front = m_queue.front();
    if (front.originUs >= 0)
        return;
    // What the messages need is made ready first: the clock is held only
    // for the hand-over, never while the device reads instruments.
    std::vector<uint32_t> messages;
    for (const StreamEvent &event : front.events)
        if (event.isShortMessage())
            messages.push_back(event.message());
    m_device->prepare(messages);
    // The clock is read and the first messages handed over at once, while
    // the device holds its clock: waiting for the playback thread could
    // take longer than the lead under load and play the first events late
    // (and so the later ones early compared with them).
    ClockHold hold(*m_device);
    const int64_t nowUs = m_device->nowUs();
    front.division = m_division;
    front.originUs = std::max(m_device->streamStartUs(nowUs), m_endUs);
    if (!m_device->steppedClock())
        feed(front, nowUs);
}

void MidiStream::feed(Buffer &buffer, int64_t nowUs)
{
    const size_t count = buffer.events.size();
    const int64_t horizon = nowUs + m_device->lookaheadUs();
    while (buffer.sent < count && timeOf(buffer, buffer.sent) <= horizon) {
        const StreamEvent &event = buffer.events[buffer.sent];
        // Only short messages sound; other event types (tempo, no-op,
        // long events) keep their place in time and their callback.
        if (event.isShortMessage())
            m_device->sendAt(m_source, timeOf(buffer, buffer.sent), event.message());
        ++buffer.sent;
    }
}

void MidiStream::trackThrough(Buffer &buffer, int64_t nowUs)
{
    for (; buffer.tracked < buffer.sent && timeOf(buffer, buffer.tracked) <= nowUs; ++buffer.tracked)
        if (buffer.events[buffer.tracked].isShortMessage())
            track(buffer.events[buffer.tracked].message());
}

int64_t MidiStream::timeOf(const Buffer &buffer, size_t index) const
{
    return buffer.originUs + ticksToUs(buffer.events[index].tick, buffer.division);
}

void MidiStream::pump(int64_t nowUs)
{
    while (m_running && !m_queue.empty()) {
        Buffer &buffer = m_queue.front();
        startFront();
        const size_t count = buffer.events.size();
        feed(buffer, nowUs);
        trackThrough(buffer, nowUs);
        while (buffer.reached < buffer.sent && timeOf(buffer, buffer.reached) <= nowUs) {
            if (buffer.events[buffer.reached].word & MEVT_F_CALLBACK) {
                buffer.header->dwOffset = uint32_t(buffer.reached * 12);
                post(MM_MOM_POSITIONCB, buffer.header);
            }
            ++buffer.reached;
        }
        if (buffer.reached < count || (count == 0 && buffer.originUs > nowUs))
            return;
        m_endUs = count ? timeOf(buffer, count - 1) : buffer.originUs;
        finish(buffer);
        m_queue.pop_front();
    }
}

int64_t MidiStream::nextEventUs() const
{
    if (!m_running || m_queue.empty())
        return kNever;
    const Buffer &buffer = m_queue.front();
    if (buffer.originUs < 0 || buffer.reached >= buffer.events.size())
        return buffer.originUs < 0 ? kNever : buffer.originUs;
    return timeOf(buffer, buffer.reached);
}

void MidiStream::finish(Buffer &buffer)
{
    buffer.header->dwFlags = (buffer.header->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
    post(MM_MOM_DONE, buffer.header);
}

MMRESULT MidiStream::stop()
{
    m_running = false;
    withdraw();
    for (Buffer &buffer : m_queue)
        finish(buffer);
    m_queue.clear();
    m_endUs = std::numeric_limits<int64_t>::min();
    return MMSYSERR_NOERROR;
}

MMRESULT MidiStream::reset()
{
    stop();
    m_device->allNotesOff();
    return MMSYSERR_NOERROR;
}

MMRESULT MidiStream::close()
{
    if (!m_queue.empty())
        return MIDIERR_STILLPLAYING;
    post(MM_MOM_CLOSE, nullptr);
    m_closed = true;
    return MMSYSERR_NOERROR;
}

bool MidiStream::isQueued(const MIDIHDR *header) const
{
    return std::any_of(m_queue.begin(), m_queue.end(), [header](const Buffer &b) { return b.header == header; });
}

void MidiStream::track(uint32_t message)
{
    const uint32_t status = message & 0xF0;
    const uint32_t channel = message & 0x0F;
    const uint32_t data1 = message >> 8 & 0x7F;
    const uint32_t data2 = message >> 16 & 0x7F;
    if (status == 0x90 && data2 > 0)
        m_sounding.set(channel * 128 + data1);
    else if (status == 0x80 || status == 0x90)
        m_sounding.reset(channel * 128 + data1);
    else if (status == 0xB0 && (data1 == 120 || data1 == 123))
        for (uint32_t key = 0; key < 128; ++key)
            m_sounding.reset(channel * 128 + key);
}

void MidiStream::withdraw()
{
    m_device->cancel(m_source);
    if (!m_queue.empty() && m_queue.front().originUs >= 0) {
        // Handed-over events due by now have played (or were withdrawn just
        // now, for which a note-off does no harm). A device may play a
        // message a little before its time, so the later note-ons count as
        // sounding too, while their note-offs may have been withdrawn.
        Buffer &front = m_queue.front();
        trackThrough(front, m_device->nowUs());
        for (size_t i = front.tracked; i < front.sent; ++i) {
            const StreamEvent &event = front.events[i];
            const uint32_t message = event.message();
            if (event.isShortMessage() && (message & 0xF0) == 0x90 && (message >> 16 & 0x7F) > 0)
                track(message);
        }
        front.tracked = front.sent;
    }
    releaseSounding();
}

void MidiStream::releaseSounding()
{
    if (m_sounding.none())
        return;
    for (uint32_t i = 0; i < m_sounding.size(); ++i)
        if (m_sounding.test(i))
            m_device->send(0x80 | (i / 128) | (i % 128) << 8);
    m_sounding.reset();
}

void MidiStream::post(unsigned msg, MIDIHDR *header)
{
    if (m_closed)
        return;
    m_notify.post({msg, quintptr(m_handleValue), qintptr(reinterpret_cast<uintptr_t>(header))});
}

} // namespace platform::midi
