#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace platform {

// A counter one thread sleeps on until another bumps it or an absolute
// deadline passes: one futex word. A waiting thread costs one system call
// a sleep, and a bump wakes it with one more only when it waits; a mutex
// with a condition variable takes two or three more (the condition
// variable re-takes its mutex as contended and wakes it at every unlock),
// which on a timer that sleeps 40 times a second is a good part of its cost.
//
// Use: read Value(), look at the state the bumps announce, then sleep with
// WaitUntil(the value read); a bump between the read and the sleep ends the
// sleep at once, so no bump is lost.
class WakeWord
{
public:
    using Clock = std::chrono::steady_clock;

    uint32_t Value() const { return m_word.load(std::memory_order_acquire); }

    // Sleeps while the word still holds `seen`, until `deadline` (on the
    // steady clock). Returns false when the deadline passed, true when the
    // word changed or the sleep ended otherwise (a signal).
    bool WaitUntil(uint32_t seen, Clock::time_point deadline);
    // The same without a deadline.
    void Wait(uint32_t seen);

    // Changes the word and wakes the threads sleeping on it. Any thread.
    void Bump();

private:
    std::atomic<uint32_t> m_word{0};
};

} // namespace platform
