#include "WakeWord.h"

#include <cerrno>
#include <climits>
#include <ctime>

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

static_assert(sizeof(std::atomic<uint32_t>) == sizeof(uint32_t), "a futex is a plain 32-bit word");

namespace {

long futex(std::atomic<uint32_t> *word, int op, uint32_t value, const timespec *timeout)
{
    return ::syscall(SYS_futex, reinterpret_cast<uint32_t *>(word), op, value, timeout, nullptr,
                     FUTEX_BITSET_MATCH_ANY);
}

} // namespace

bool WakeWord::WaitUntil(uint32_t seen, Clock::time_point deadline)
{
    // FUTEX_WAIT_BITSET takes an absolute time on CLOCK_MONOTONIC, the
    // steady clock's own on Linux: no conversion to a relative timeout that
    // would drift by the time the call takes to enter the kernel.
    const auto since = deadline.time_since_epoch();
    if (since.count() <= 0)
        return false;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    timespec at{};
    at.tv_sec = static_cast<time_t>(seconds.count());
    at.tv_nsec = static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count());
    const long result = futex(&m_word, FUTEX_WAIT_BITSET_PRIVATE, seen, &at);
    return !(result == -1 && errno == ETIMEDOUT);
}

void WakeWord::Wait(uint32_t seen)
{
    futex(&m_word, FUTEX_WAIT_BITSET_PRIVATE, seen, nullptr);
}

void WakeWord::Bump()
{
    m_word.fetch_add(1, std::memory_order_acq_rel);
    futex(&m_word, FUTEX_WAKE_PRIVATE, INT_MAX, nullptr);
}

} // namespace platform
