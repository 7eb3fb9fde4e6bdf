#pragma once

#include <mutex>

namespace platform {

// A re-entrant lock: the owning thread may enter again, and must leave as
// often as it entered. Also a Lockable, so std::lock_guard and
// std::unique_lock work with it.
class TCriticalSection
{
public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection &) = delete;
    TCriticalSection &operator=(const TCriticalSection &) = delete;

    void Enter() { m_mutex.lock(); }
    void Leave() { m_mutex.unlock(); }
    bool TryEnter() { return m_mutex.try_lock(); }

    void lock() { Enter(); }
    void unlock() { Leave(); }
    bool try_lock() { return TryEnter(); }

private:
    std::recursive_mutex m_mutex;
};

} // namespace platform
