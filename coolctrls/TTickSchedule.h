#pragma once

#include <chrono>

namespace coolctrls {

// The deadlines of a periodic tick on an absolute clock. Each deadline is
// the one before plus the period, so the time a tick takes to be handed to
// the GUI thread and run does not stretch the period: a 25 ms ticker ticks
// 40 times a second however long each hand-over takes, as long as it takes
// less than the period. Deadlines that have passed while a tick was still
// running (a busy machine) are skipped, not made up for in a burst.
class TTickSchedule
{
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;
    using Duration = Clock::duration;

    // The first deadline is one period after now.
    void Start(TimePoint now, Duration period)
    {
        m_period = period > Duration::zero() ? period : Duration(1);
        m_next = now + m_period;
    }

    TimePoint Next() const { return m_next; }
    Duration Period() const { return m_period; }

    // After the tick of Next() has run, now being the time it ended: the
    // following deadline, the first one after now that lies on the grid.
    void Advance(TimePoint now)
    {
        m_next += m_period;
        if (m_next <= now)
            m_next += ((now - m_next) / m_period + 1) * m_period;
    }

private:
    Duration m_period{1};
    TimePoint m_next{};
};

} // namespace coolctrls
