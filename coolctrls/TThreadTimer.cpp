#include "TThreadTimer.h"

#include "TTickSchedule.h"

#include "platform/ErrorReport.h"
#include "platform/GuiWaker.h"
#include "platform/Synchronize.h"
#include "platform/WakeWord.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

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
    std::mutex mutex;  // over the settings below, never held while sleeping
    bool enabled = false;
    bool stop = false;
    bool manual = false;
    int sleepMs = 100;
    unsigned generation = 0;  // bumped to restart a period under way
    int steps = 0;
    // Bumped by every change the thread must see (enabling, interval, step,
    // stop) and by the end of a tick the thread is waiting for.
    platform::WakeWord wake;
    std::atomic<uint64_t> wakeups{0};
    std::atomic<long> tid{0};
    // Set while a tick handed to the GUI thread has not run yet; cleared by
    // the GUI thread when it has.
    std::atomic<bool> handingOver{false};
    // Set while the thread sleeps for that tick's end and for nothing else:
    // only then does the tick's end wake it.
    std::atomic<bool> waitingForTick{false};
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
    m_shared->wake.Bump();
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
    m_shared->wake.Bump();
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
    m_shared->wake.Bump();
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
    m_shared->wake.Bump();
}

long TThreadTimer::NativeThreadId() const
{
    return m_shared->tid.load();
}

uint64_t TThreadTimer::Wakeups() const
{
    return m_shared->wakeups.load();
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
    // OnTimer may destroy this timer (its owner going away in the handler):
    // nothing of it is touched after the call.
    OnTimer(this);
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

    // The period runs on an absolute clock (see TTickSchedule); it restarts
    // whenever the timer is enabled or its interval changes.
    TTickSchedule schedule;
    unsigned scheduled = 0;
    bool started = false;
    // Each turn reads the wake word first, then the settings, then sleeps
    // on the word: a change made meanwhile ends the sleep at once.
    auto sleepOn = [&s](uint32_t seen, const TTickSchedule::TimePoint *deadline) {
        if (deadline)
            s->wake.WaitUntil(seen, *deadline);
        else
            s->wake.Wait(seen);
    };
    for (;;) {
        // Each turn of the loop looks at the settings once: at its start,
        // and after each sleep.
        ++s->wakeups;
        const uint32_t seen = s->wake.Value();
        std::unique_lock lock(s->mutex);
        if (s->stop)
            break;
        if (!s->enabled) {
            // Suspended: sleeps until enabled or stopped, no polling.
            lock.unlock();
            sleepOn(seen, nullptr);
            continue;
        }
        const bool manual = s->manual;
        TTickSchedule::TimePoint now{};
        if (manual) {
            if (s->steps == 0) {
                lock.unlock();
                sleepOn(seen, nullptr);
                continue;
            }
        } else {
            now = TTickSchedule::Clock::now();
            if (!started || scheduled != s->generation) {
                schedule.Start(now, std::chrono::milliseconds(s->sleepMs));
                scheduled = s->generation;
                started = true;
            }
            if (now < schedule.Next()) {
                const auto deadline = schedule.Next();
                lock.unlock();
                sleepOn(seen, &deadline);
                continue;
            }
        }
        if (s->handingOver.load()) {
            // A tick is due but the one handed over last has not run yet (a
            // busy GUI thread): the thread waits for it, so ticks slow down
            // instead of queueing, and the deadlines that pass meanwhile are
            // skipped. The GUI thread wakes it only in this case.
            lock.unlock();
            s->waitingForTick.store(true);
            if (s->handingOver.load())
                sleepOn(seen, nullptr);
            s->waitingForTick.store(false);
            if (!manual)
                schedule.Advance(TTickSchedule::Clock::now());
            continue;
        }
        if (manual)
            --s->steps;
        else
            // The next deadline lies on the grid of the first one, not one
            // period after this tick ends.
            schedule.Advance(now);
        lock.unlock();
        // The tick goes to the GUI thread and the thread sleeps on at once:
        // it waits for the tick's end together with its next deadline (or
        // step) in that one sleep, and hands over no other tick before the
        // GUI thread has run this one (above). A tick that ends in time
        // therefore wakes nobody. A timer that ended meanwhile is not
        // ticked; an exception from OnTimer is reported on the GUI thread
        // like one from any other handler, and the timer goes on ticking.
        s->handingOver.store(true);
        platform::post([s] {
            if (TThreadTimer *timer = s->owner)
                platform::guarded([timer] { timer->tick(); });
            s->handingOver.store(false);
            if (s->waitingForTick.load())
                s->wake.Bump();
        });
    }
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
    m_shared->wake.Bump();
    if (!m_thread.joinable())
        return;
    // The thread never waits for the GUI thread (a tick it handed over is
    // only queued there), so it sees the stop at once and leaves, also when
    // the timer ends inside its own tick.
    m_thread.join();
}

} // namespace coolctrls
