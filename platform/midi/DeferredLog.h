#pragma once

#include "PriorityInheritanceMutex.h"

#include <semaphore.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::midi {

// Diagnostic lines from threads that must never wait for the terminal (the
// audio thread, FluidSynth's log from inside a render): post() formats the
// line into a slot of a fixed ring and returns; a thread of normal priority
// prints the lines, in the order posted. A terminal or pipe that blocks
// holds up only that thread. When the ring is full, new lines are dropped
// and counted, and the printer says how many before the next line it
// prints.
//
// post() neither allocates nor makes a system call that can block: the
// ring's lock is held only to copy one line in or out and passes a waiting
// thread's priority on to its holder, and the printer is woken through a
// semaphore.
class DeferredLog
{
public:
    using Sink = std::function<void(const char *line)>;
    static constexpr size_t kLineBytes = 256;

    // Lines go to the sink (default: qInfo) on the log's own thread.
    explicit DeferredLog(Sink sink = {}, size_t capacity = 256);
    ~DeferredLog();
    DeferredLog(const DeferredLog &) = delete;
    DeferredLog &operator=(const DeferredLog &) = delete;

    // The process's log of the MIDI devices, printing with qInfo. It is
    // never destroyed: real-time threads may post until the process ends.
    static DeferredLog &instance();

    // Longer lines are cut to kLineBytes - 1 bytes.
    void post(const char *format, ...) __attribute__((format(printf, 2, 3)));
    // Waits until every line posted before the call has been printed or
    // dropped.
    void flush();
    // Lines dropped so far because the ring was full.
    uint64_t dropped() const;

private:
    struct Line
    {
        char text[kLineBytes];
    };
    void run();

    Sink m_sink;
    mutable PriorityInheritanceMutex m_mutex;
    std::vector<Line> m_ring;
    size_t m_first = 0;       // the oldest line not yet taken by the printer
    size_t m_count = 0;
    uint64_t m_posted = 0;    // lines posted or dropped
    uint64_t m_dropped = 0;
    uint64_t m_droppedReported = 0;
    bool m_quit = false;
    sem_t m_wake;

    // The printer's progress, for flush(): a plain mutex, never taken by a
    // thread that posts.
    std::mutex m_doneMutex;
    std::condition_variable m_doneChanged;
    uint64_t m_done = 0;

    std::thread m_thread;
};

} // namespace platform::midi
