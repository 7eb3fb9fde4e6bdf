#pragma once

#include <pthread.h>

namespace platform::midi {

// A mutex whose holder runs at the priority of the highest thread waiting
// for it. A real-time audio thread that waits for a normal thread (one that
// briefly holds the synthesizer still to schedule a stream) then waits only
// for the held section itself, not for every other busy thread the holder
// would queue behind. Meets the Lockable requirements (std::lock_guard).
class PriorityInheritanceMutex
{
public:
    PriorityInheritanceMutex()
    {
        pthread_mutexattr_t attr;
        pthread_mutexattr_init(&attr);
        pthread_mutexattr_setprotocol(&attr, PTHREAD_PRIO_INHERIT);
        pthread_mutex_init(&m_mutex, &attr);
        pthread_mutexattr_destroy(&attr);
    }
    ~PriorityInheritanceMutex() { pthread_mutex_destroy(&m_mutex); }
    PriorityInheritanceMutex(const PriorityInheritanceMutex &) = delete;
    PriorityInheritanceMutex &operator=(const PriorityInheritanceMutex &) = delete;

    void lock() { pthread_mutex_lock(&m_mutex); }
    bool try_lock() { return pthread_mutex_trylock(&m_mutex) == 0; }
    void unlock() { pthread_mutex_unlock(&m_mutex); }

private:
    pthread_mutex_t m_mutex;
};

} // namespace platform::midi
