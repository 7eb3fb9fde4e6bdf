#pragma once

#include "platform/midi/MidiDevice.h"

#include <map>
#include <memory>
#include <mutex>

namespace miditest {

// In front of a real device: notes the device time of each stream's first
// message, which is the stream's tick 0, and passes everything on.
class StartRecorder : public platform::midi::MidiDevice
{
public:
    explicit StartRecorder(std::shared_ptr<platform::midi::MidiDevice> device) : m_device(std::move(device)) {}

    QString name() const override { return m_device->name(); }
    bool acquire() override { return m_device->acquire(); }
    QString lastError() const override { return m_device->lastError(); }
    int64_t nowUs() override { return m_device->nowUs(); }
    void prepare(const std::vector<uint32_t> &messages) override { m_device->prepare(messages); }
    void send(uint32_t message) override { m_device->send(message); }
    void sendAt(int source, int64_t atUs, uint32_t message) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_starts.try_emplace(source, atUs);
        }
        m_device->sendAt(source, atUs, message);
    }
    void cancel(int source) override { m_device->cancel(source); }
    int openSource() override { return m_device->openSource(); }
    void closeSource(int source) override { m_device->closeSource(source); }
    int64_t lookaheadUs() const override { return m_device->lookaheadUs(); }
    int64_t startLatencyUs() const override { return m_device->startLatencyUs(); }
    int64_t streamStartUs(int64_t nowUs) const override { return m_device->streamStartUs(nowUs); }
    void holdClock() override { m_device->holdClock(); }
    void releaseClock() override { m_device->releaseClock(); }

    // Start of the stream that played last (sources are not reused).
    int64_t lastStartUs() const
    {
        std::lock_guard lock(m_mutex);
        return m_starts.empty() ? -1 : m_starts.rbegin()->second;
    }

private:
    std::shared_ptr<platform::midi::MidiDevice> m_device;
    mutable std::mutex m_mutex;
    std::map<int, int64_t> m_starts;
};

} // namespace miditest
