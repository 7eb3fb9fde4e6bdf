#pragma once

// Helpers of the MIDI service tests: a stream buffer builder and a window
// that records the notifications it receives.

#include "platform/MessageLoop.h"
#include "platform/NotifyWindow.h"
#include "platform/midi/MidiOut.h"

#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <functional>
#include <thread>
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

// A quiz question as the MIDI generator builds it (reset, damper pedal
// down, piano): melodic 65, 63, 65 of 150 ticks each, each later note
// starting in the tick of the previous note-off; harmonic 60 and 64
// together for 150 ticks.
inline StreamBuffer questionBuffer(bool melodic)
{
    StreamBuffer b;
    b.add(0, shortMsg(0xB0, 121) | MEVT_F_CALLBACK).add(0, shortMsg(0xB0, 64, 127)).add(0, shortMsg(0xC0, 0));
    if (melodic) {
        b.add(0, shortMsg(0x90, 65, 127)).add(150, shortMsg(0x90, 65, 0)).add(0, shortMsg(0x90, 63, 127));
        b.add(150, shortMsg(0x90, 63, 0)).add(0, shortMsg(0x90, 65, 127)).add(150, shortMsg(0x90, 65, 0));
    } else {
        b.add(0, shortMsg(0x90, 60, 127)).add(0, shortMsg(0x90, 64, 127));
        b.add(150, shortMsg(0x90, 60, 0)).add(0, shortMsg(0x90, 64, 0));
    }
    return b;
}

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

// Where a note starts in audio compared with a reference rendering of the
// same stream: the shift in frames (within +-maxLag) at which the audio
// around frame `at` best matches the reference around frame `refAt`, by the
// peak of the normalised cross-correlation over a window from 2 ms before
// the onset to 30 ms after it (44.1 kHz, interleaved stereo, summed to
// mono). The sound that goes on before the onset is in both, so a note that
// starts while others sound is placed as well as one after silence.
struct OnsetMatch
{
    int lagFrames = 0;
    double correlation = 0;
};

inline OnsetMatch matchOnset(const std::vector<int16_t> &reference, int64_t refAt, const std::vector<int16_t> &audio,
                             int64_t at, int maxLag)
{
    constexpr int kBefore = 88;
    constexpr int kLength = 88 + 1323;
    const auto mono = [](const std::vector<int16_t> &samples, int64_t frame) {
        if (frame < 0 || size_t(frame) * 2 + 1 >= samples.size())
            return 0.0;
        return double(samples[size_t(frame) * 2]) + double(samples[size_t(frame) * 2 + 1]);
    };
    std::vector<double> window(kLength);
    double referenceEnergy = 0;
    for (int i = 0; i < kLength; ++i) {
        window[size_t(i)] = mono(reference, refAt - kBefore + i);
        referenceEnergy += window[size_t(i)] * window[size_t(i)];
    }
    OnsetMatch best{0, -2};
    for (int lag = -maxLag; lag <= maxLag; ++lag) {
        double dot = 0, energy = 0;
        for (int i = 0; i < kLength; ++i) {
            const double a = mono(audio, at + lag - kBefore + i);
            dot += window[size_t(i)] * a;
            energy += a * a;
        }
        const double correlation = energy > 0 && referenceEnergy > 0 ? dot / std::sqrt(energy * referenceEnergy) : 0;
        // Ties go to the smaller shift.
        if (correlation > best.correlation + 1e-12 || (std::abs(correlation - best.correlation) <= 1e-12
                                                       && std::abs(lag) < std::abs(best.lagFrames)))
            best = {lag, correlation};
    }
    return best;
}

inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(std::ceil(p * double(values.size()))) - (p > 0 ? 1 : 0));
    return values[index];
}

// Busy threads on every core for as long as the object lives.
class CpuLoad
{
public:
    explicit CpuLoad(bool on)
    {
        const unsigned cores = on ? std::max(1u, std::thread::hardware_concurrency()) : 0;
        for (unsigned i = 0; i < cores; ++i)
            m_threads.emplace_back([this] {
                volatile double x = 1.0;
                while (!m_stop.load(std::memory_order_relaxed))
                    for (int k = 0; k < 10000; ++k)
                        x = x * 1.0000001 + 1e-9;
            });
    }
    ~CpuLoad()
    {
        m_stop = true;
        for (std::thread &t : m_threads)
            t.join();
    }
    CpuLoad(const CpuLoad &) = delete;
    CpuLoad &operator=(const CpuLoad &) = delete;

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
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
