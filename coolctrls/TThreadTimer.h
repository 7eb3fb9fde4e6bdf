#pragma once

#include "platform/Events.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <thread>

namespace coolctrls {

// A timer that sleeps in a thread of its own, at the lowest priority the
// system offers a thread (Linux: the idle scheduling class, else nice 19),
// and hands each tick to the GUI thread synchronously: it hands over no
// tick before the GUI thread has run the one before, so a busy GUI thread
// slows the ticks instead of queueing them. It waits for a tick's end and
// for its next deadline in one sleep, so a tick that ends before the next
// deadline (the usual case) wakes nobody: one wake-up of the thread a tick.
// The deadlines lie on an absolute clock, one Interval apart
// (TTickSchedule): the hand-over does not lengthen the period, and
// deadlines missed while a tick was still running are skipped rather than
// ticked in a burst. While disabled the thread sleeps; it does not poll.
//
// The thread is created suspended: it starts with the first Enabled := true.
//
// An exception that escapes OnTimer is shown by the program's error routine
// on the GUI thread, as one from any event handler; the timer ticks on.
//
// Ending is cooperative (Terminate(), also run by the destructor): a stop
// flag is set, the thread is woken and joined; it never waits for the GUI
// thread, so it leaves at once even while a tick it handed over waits for
// a GUI thread that is busy. A tick handed over that runs after
// Terminate() began never calls OnTimer, so no tick runs for an owner that
// is being destroyed.
//
// All members are for the GUI thread (the thread that created the timer).
class TThreadTimer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)

public:
    explicit TThreadTimer(QObject *owner = nullptr);
    ~TThreadTimer() override;

    bool Enabled() const { return m_enabled; }
    // Resumes the thread when it becomes true, suspends it when false.
    void setEnabled(bool value);
    // Milliseconds slept before each tick: the low 16 bits of the value set.
    int Interval() const { return m_interval; }
    void setInterval(unsigned value);
    // What the thread actually sleeps: Interval, but at least 1 ms, so an
    // Interval of 0 (65536 taken modulo 65536) is no busy loop of ticks.
    int SleepInterval() const { return m_interval > 0 ? m_interval : 1; }

    // Called on the GUI thread for each tick.
    platform::TNotifyEvent OnTimer;

    // Raises one tick now on the calling (GUI) thread, as the thread would;
    // nothing while disabled or ended. For tests of the owner's tick.
    void trigger();

    // Manual mode, for tests: the thread does not sleep on the clock but
    // waits for Step(), which lets it hand over exactly one tick each.
    void setManual(bool manual);
    bool Manual() const;
    void Step();

    // Ends the thread cooperatively (see above); the timer ticks no more.
    // Safe to call more than once, and from inside OnTimer.
    void Terminate();
    bool Terminated() const { return m_terminated; }

    // Whether the thread has been started (it starts at the first enabling).
    bool ThreadStarted() const { return m_thread.joinable(); }
    // The thread's system id (Linux tid), 0 before the thread has started.
    long NativeThreadId() const;
    // How often the thread's loop woke up, for tests that a disabled timer
    // does not poll.
    uint64_t Wakeups() const;
    // Whether a tick the thread handed over waits for the GUI thread to run
    // it, for tests that need a tick caught in a hand-over.
    bool HandingOver() const;

private:
    struct Shared;
    static void run(std::shared_ptr<Shared> shared);
    void tick();
    void startThread();

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
    bool m_enabled = false;
    uint16_t m_interval = 100;
    bool m_terminated = false;
};

} // namespace coolctrls
