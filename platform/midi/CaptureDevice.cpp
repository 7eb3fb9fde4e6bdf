#include "CaptureDevice.h"

#include "MidiDeviceList.h"
#include "StreamEngine.h"

#include <stdexcept>

namespace platform::midi {

CaptureDevice::CaptureDevice() = default;

CaptureDevice &CaptureDevice::install()
{
    if (CaptureDevice *current = active())
        return *current;
    auto device = std::make_shared<CaptureDevice>();
    MidiDeviceList::instance().install(device);
    return *device;
}

CaptureDevice *CaptureDevice::active()
{
    return dynamic_cast<CaptureDevice *>(MidiDeviceList::instance().installed().get());
}

void CaptureDevice::uninstall()
{
    MidiDeviceList::instance().install(nullptr);
}

QString CaptureDevice::name() const
{
    return QStringLiteral("Capture");
}

std::vector<CapturedMessage> CaptureDevice::messages() const
{
    std::lock_guard lock(m_recordMutex);
    return m_record;
}

void CaptureDevice::clear()
{
    std::lock_guard lock(m_recordMutex);
    m_record.clear();
    m_originUs = m_clockUs;
}

void CaptureDevice::advance(int64_t ms)
{
    advanceUs(ms * 1000);
}

void CaptureDevice::advanceTicks(int64_t ticks, uint32_t ticksPerQuarterNote)
{
    if (ticksPerQuarterNote == 0)
        throw std::invalid_argument("time division must not be 0");
    advanceUs(ticks * 500000 / int64_t(ticksPerQuarterNote));
}

void CaptureDevice::advanceUs(int64_t us)
{
    if (us < 0)
        throw std::invalid_argument("the capture clock cannot go back");
    StreamEngine &engine = StreamEngine::instance();
    std::lock_guard lock(engine.mutex());
    engine.step(this, m_clockUs + us, [this](int64_t t) { m_clockUs = t; });
}

int64_t CaptureDevice::nextEventUs() const
{
    StreamEngine &engine = StreamEngine::instance();
    std::lock_guard lock(engine.mutex());
    const int64_t next = engine.nextEventUs(this);
    return next == MidiStream::kNever ? -1 : next;
}

size_t CaptureDevice::openStreams() const
{
    StreamEngine &engine = StreamEngine::instance();
    std::lock_guard lock(engine.mutex());
    return engine.streamCount(this);
}

void CaptureDevice::send(uint32_t message)
{
    record(m_clockUs, message, false);
}

void CaptureDevice::sendAt(int, int64_t atUs, uint32_t message)
{
    record(atUs, message, true);
}

void CaptureDevice::record(int64_t atUs, uint32_t message, bool fromStream)
{
    std::lock_guard lock(m_recordMutex);
    m_record.push_back({atUs - m_originUs, uint8_t(message), uint8_t(message >> 8), uint8_t(message >> 16), fromStream});
}

} // namespace platform::midi
