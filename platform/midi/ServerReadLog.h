#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

namespace platform::midi {

// The audio server's reports of how far it has read a playback stream,
// and from them when a frame left the server. Unlike a latency estimate
// taken when the frame was written, this holds however long the server
// took to start reading, or stalled, before it got to the frame.
class ServerReadLog
{
public:
    struct Report
    {
        int64_t readFrame = 0;     // frames the server had read (by the owner's frame count)
        int64_t atUs = 0;          // steady clock (microseconds) of the report
        int64_t sinkUs = 0;        // from the read position to the sink's output then
    };

    explicit ServerReadLog(int sampleRate) : m_sampleRate(sampleRate) {}

    // Reports come in order; the latest ones are kept.
    void add(const Report &report);
    void clear() { m_reports.clear(); }

    // The steady-clock time (microseconds) at which `frame` left the
    // server, from the first report that shows it read; -1 while none
    // does. With an underrun between the frame and that report the silence
    // is counted too, so the time is then a bound from above.
    int64_t leftServerUs(int64_t frame) const;

private:
    const Report *firstPast(int64_t frame) const;

    static constexpr size_t kKept = 64;
    int m_sampleRate;
    std::deque<Report> m_reports;
};

} // namespace platform::midi
