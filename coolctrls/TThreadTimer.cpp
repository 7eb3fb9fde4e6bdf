#include "TThreadTimer.h"

#include "TTickSchedule.h"

#include "platform/ErrorReport.h"
#include "platform/GuiWaker.h"
#include "platform/Synchronize.h"

#include <QPointer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace coolctrls {

// State shared by the timer object and its thread. The thread keeps it
// alive, so the timer may go while the thread is still finishing.
struct TThreadTimer::Shared
{
    std::mutex mutex;
    std::condition_variable wake;      // enabling, interval change, step, stop
    std::condition_variable finished;  // the thread has left its loop
    bool enabled = false;
    bool stop = false;
    bool manual = false;
    bool done = false;
    int sleepMs = 100;
    unsigned generation = 0;  // bumped to restart a period under way
    int steps = 0;
    uint64_t wakeups = 0;
    std::atomic<long> tid{0};
    // Set while the thread waits for the GUI thread to run a tick.
    std::atomic<bool> handingOver{false};
    // The timer to tick; read and written on the GUI thread only (the
    // hand-over runs there), cleared when the timer ends.
    TThreadTimer *owner = nullptr;
};

namespace {

// The lowest priority a thread can have: the idle scheduling class, and
// nice 19 for systems or tools that look at the nice value only.
void lowerThreadPriority(long tid)
{
    sched_param param{};
    param.sched_priority = 0;
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
    setpriority(PRIO_PROCESS, static_cast<id_t>(tid), 19);
}

} // namespace

TThreadTimer::TThreadTimer(QObject *owner)
    : QObject(owner), m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    m_shared->sleepMs = SleepInterval();
    // Hand-overs wake the GUI thread through the waker; it must be made on
    // this (the GUI) thread.
    platform::GuiWaker::ensure();
}

TThreadTimer::~TThreadTimer()
{
    Terminate();
}

void TThreadTimer::setEnabled(bool value)
{
    if (m_enabled == value || m_terminated)
        return;
    m_enabled = value;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->enabled = value;
        ++m_shared->generation;
    }
    m_shared->wake.notify_all();
    if (value && !m_thread.joinable())
        startThread();
}

void TThreadTimer::setInterval(unsigned value)
{
    const auto interval = static_cast<uint16_t>(value & 0xFFFFu);
    if (m_interval == interval)
        return;
    m_interval = interval;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->sleepMs = SleepInterval();
        ++m_shared->generation;
    }
    m_shared->wake.notify_all();
}

void TThreadTimer::setManual(bool manual)
{
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->manual == manual)
            return;
        m_shared->manual = manual;
        m_shared->steps = 0;
        ++m_shared->generation;
    }
    m_shared->wake.notify_all();
}

bool TThreadTimer::Manual() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->manual;
}

void TThreadTimer::Step()
{
    {
        std::lock_guard lock(m_shared->mutex);
        ++m_shared->steps;
    }
    m_shared->wake.notify_all();
}

long TThreadTimer::NativeThreadId() const
{
    return m_shared->tid.load();
}

uint64_t TThreadTimer::Wakeups() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->wakeups;
}

bool TThreadTimer::HandingOver() const
{
    return m_shared->handingOver.load();
}

void TThreadTimer::trigger()
{
    tick();
}

void TThreadTimer::tick()
{
    if (m_terminated || !m_enabled || !OnTimer)
        return;
    // OnTimer may destroy this timer (its owner going away in the handler).
    QPointer<TThreadTimer> alive(this);
    m_inTick = true;
    try {
        OnTimer(this);
    } catch (...) {
        if (alive)
            m_inTick = false;
        throw;
    }
    if (alive)
        m_inTick = false;
}

void TThreadTimer::startThread()
{
    m_thread = std::thread(&TThreadTimer::run, m_shared);
}

void TThreadTimer::run(std::shared_ptr<Shared> s)
{
    const long tid = static_cast<long>(::syscall(SYS_gettid));
    pthread_setname_np(pthread_self(), "TThreadTimer");
    lowerThreadPriority(tid);
    s->tid.store(tid);

    std::unique_lock lock(s->mutex);
    // The period runs on an absolute clock (see TTickSchedule); it restarts
    // whenever the timer is enabled or its interval changes.
    TTickSchedule schedule;
    unsigned scheduled = s->generation - 1;
    while (!s->stop) {
        if (!s->enabled) {
            // Suspended: sleeps until enabled or stopped, no polling.
            s->wake.wait(lock, [&] { return s->stop || s->enabled; });
            ++s->wakeups;
            continue;
        }
        const unsigned generation = s->generation;
        auto interrupted = [&] { return s->stop || !s->enabled || s->generation != generation; };
        bool due;
        if (s->manual) {
            s->wake.wait(lock, [&] { return interrupted() || s->steps > 0; });
            due = !interrupted();
            if (due)
                --s->steps;
        } else {
            if (scheduled != generation) {
                schedule.Start(TTickSchedule::Clock::now(), std::chrono::milliseconds(s->sleepMs));
                scheduled = generation;
            }
            due = !s->wake.wait_until(lock, schedule.Next(), interrupted);
        }
        ++s->wakeups;
        if (!due)
            continue;  // what interrupted the wait also restarts the period
        lock.unlock();
        // Waits until the GUI thread has run the tick. The call holds only
        // the shared state; a timer that ended meanwhile is not ticked.
        s->handingOver.store(true);
        // An exception from OnTimer is reported on the GUI thread like one
        // from any other handler, and the timer goes on ticking: handed back
        // to this thread it would escape the thread and end the program.
        platform::synchronize([s] {
            if (TThreadTimer *timer = s->owner)
                platform::guarded([timer] { timer->tick(); });
        });
        s->handingOver.store(false);
        lock.lock();
        // The next deadline lies on the grid of the first one, not one
        // period after the hand-over returned.
        if (!s->manual)
            schedule.Advance(TTickSchedule::Clock::now());
    }
    s->done = true;
    lock.unlock();
    s->finished.notify_all();
}

void TThreadTimer::Terminate()
{
    if (m_terminated)
        return;
    m_terminated = true;
    m_enabled = false;
    m_shared->owner = nullptr;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->stop = true;
    }
    m_shared->wake.notify_all();
    if (!m_thread.joinable())
        return;
    if (m_inTick) {
        // Ended from inside its own tick: the thread waits for this very
        // hand-over to return, so it cannot be joined here. It sees the stop
        // flag right after and leaves; it owns its share of the state.
        m_thread.detach();
        return;
    }
    // Serve hand-overs while waiting, so a thread blocked in one can finish
    // (the call finds no owner and does nothing).
    std::unique_lock lock(m_shared->mutex);
    while (!m_shared->done) {
        lock.unlock();
        platform::checkSynchronize();
        lock.lock();
        m_shared->finished.wait_for(lock, std::chrono::milliseconds(1), [&] { return m_shared->done; });
    }
    lock.unlock();
    m_thread.join();
}

} // namespace coolctrls
