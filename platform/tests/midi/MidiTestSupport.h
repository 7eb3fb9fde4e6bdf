#pragma once

// Helpers of the MIDI service tests: a stream buffer builder and a window
// that records the notifications it receives.

#include "platform/Application.h"
#include "platform/NotifyWindow.h"
#include "platform/midi/MidiOut.h"

#include <QElapsedTimer>

#include <cstdint>
#include <functional>
#include <vector>

namespace miditest {

using namespace platform::midi;

inline uint32_t shortMsg(uint8_t status, uint8_t data1, uint8_t data2 = 0)
{
    return uint32_t(status) | uint32_t(data1) << 8 | uint32_t(data2) << 16;
}

// 12-byte stream events, little-endian.
class StreamBuffer
{
public:
    StreamBuffer &add(uint32_t delta, uint32_t word)
    {
        for (uint32_t value : {delta, 0u, word})
            for (int i = 0; i < 4; ++i)
                m_bytes.push_back(uint8_t(value >> (8 * i)));
        return *this;
    }
    MIDIHDR &header()
    {
        m_header = MIDIHDR{};
        m_header.lpData = m_bytes.data();
        m_header.dwBufferLength = m_header.dwBytesRecorded = uint32_t(m_bytes.size());
        return m_header;
    }
    MIDIHDR &current() { return m_header; }
    std::vector<uint8_t> &bytes() { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
    MIDIHDR m_header;
};

// Records the notifications in order; onMessage may react (re-queue ...).
struct Listener
{
    std::vector<platform::TMessage> seen;
    std::function<void(const platform::TMessage &)> onMessage;
    platform::NotifyWindow window{[this](const platform::TMessage &m) {
        seen.push_back(m);
        if (onMessage)
            onMessage(m);
    }};

    std::vector<unsigned> kinds() const
    {
        std::vector<unsigned> result;
        for (const auto &m : seen)
            result.push_back(m.msg);
        return result;
    }
    int count(unsigned msg) const
    {
        int n = 0;
        for (const auto &m : seen)
            n += m.msg == msg;
        return n;
    }
};

template<typename Pred>
bool pumpUntil(Pred pred, int boundMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > boundMs)
            return false;
        platform::waitForMessages(20);
    }
    return true;
}

} // namespace miditest
