#include "DeferredLog.h"

#include <QtDebug>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace platform::midi {

DeferredLog::DeferredLog(Sink sink, size_t capacity)
    : m_sink(sink ? std::move(sink) : Sink([](const char *line) { qInfo("%s", line); })),
      m_ring(std::max<size_t>(capacity, 1))
{
    sem_init(&m_wake, 0, 0);
    m_thread = std::thread([this] { run(); });
}

DeferredLog::~DeferredLog()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    sem_post(&m_wake);
    m_thread.join();
    sem_destroy(&m_wake);
}

DeferredLog &DeferredLog::instance()
{
    // Deliberately without an owner: destroying it at exit would race with
    // an audio thread that still posts while the devices shut down.
    static DeferredLog *const log = new DeferredLog;
    return *log;
}

void DeferredLog::post(const char *format, ...)
{
    char text[kLineBytes];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    {
        std::lock_guard lock(m_mutex);
        ++m_posted;
        if (m_count == m_ring.size()) {
            ++m_dropped;
        } else {
            std::memcpy(m_ring[(m_first + m_count) % m_ring.size()].text, text, sizeof text);
            ++m_count;
        }
    }
    sem_post(&m_wake);
}

uint64_t DeferredLog::dropped() const
{
    std::lock_guard lock(m_mutex);
    return m_dropped;
}

void DeferredLog::flush()
{
    uint64_t posted = 0;
    {
        std::lock_guard lock(m_mutex);
        posted = m_posted;
    }
    std::unique_lock lock(m_doneMutex);
    m_doneChanged.wait(lock, [&] { return m_done >= posted; });
}

void DeferredLog::run()
{
    Line line;
    for (;;) {
        while (sem_wait(&m_wake) != 0 && errno == EINTR) {
        }
        // One wake-up per post, a dropped line's included.
        bool have = false;
        bool quit = false;
        uint64_t newlyDropped = 0;
        uint64_t done = 0;
        {
            std::lock_guard lock(m_mutex);
            if (m_count > 0) {
                std::memcpy(line.text, m_ring[m_first].text, sizeof line.text);
                m_first = (m_first + 1) % m_ring.size();
                --m_count;
                have = true;
            }
            // Dropped lines came after those still in the ring: they are
            // reported once the ring is empty.
            if (m_count == 0) {
                newlyDropped = m_dropped - m_droppedReported;
                m_droppedReported = m_dropped;
            }
            quit = m_quit && m_count == 0;
            // Every line before the next one in the ring has been handled
            // once this one is printed (dropped ones count as handled).
            done = m_posted - m_count;
        }
        if (have)
            m_sink(line.text);
        if (newlyDropped > 0) {
            char notice[96];
            std::snprintf(notice, sizeof notice, "(%llu diagnostic lines dropped: the output did not keep up)",
                          static_cast<unsigned long long>(newlyDropped));
            m_sink(notice);
        }
        {
            std::lock_guard lock(m_doneMutex);
            m_done = std::max(m_done, done);
        }
        m_doneChanged.notify_all();
        if (quit)
            return;
    }
}

} // namespace platform::midi
