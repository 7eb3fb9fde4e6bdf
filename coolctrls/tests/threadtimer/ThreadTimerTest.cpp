#include "coolctrls/TCoolScrollingText.h"
#include "coolctrls/TThreadTimer.h"
#include "coolctrls/TTickSchedule.h"
#include "platform/ErrorReport.h"
#include "platform/Synchronize.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>

#include <sched.h>
#include <sys/resource.h>

using namespace coolctrls;
using namespace std::chrono_literals;

namespace {

// Serves the GUI thread's events and hand-overs until pred holds or the time
// runs out (a limit reached only when something is wrong).
bool pumpUntil(const std::function<bool()> &pred, std::chrono::milliseconds limit = 5000ms)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QCoreApplication::processEvents();
        platform::checkSynchronize();
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

void pumpFor(std::chrono::milliseconds span)
{
    pumpUntil([] { return false; }, span);
}

struct TickLog
{
    int ticks = 0;
    int inside = 0;
    int maxInside = 0;
    bool offGuiThread = false;
};

void record(TThreadTimer &timer, TickLog &log)
{
    timer.OnTimer = [&log](QObject *) {
        ++log.inside;
        log.maxInside = std::max(log.maxInside, log.inside);
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            log.offGuiThread = true;
        // Give the thread a chance to hand over a second tick meanwhile,
        // which it must not do.
        std::this_thread::sleep_for(1ms);
        ++log.ticks;
        --log.inside;
    };
}

} // namespace

TEST(ThreadTimer, CreatedSuspendedThenRunsOnItsOwnThreadAtTheLowestPriority)
{
    TThreadTimer timer;
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 100);
    EXPECT_FALSE(timer.ThreadStarted()) << "created suspended";
    timer.setManual(true);
    timer.setEnabled(true);
    ASSERT_TRUE(timer.ThreadStarted());
    ASSERT_TRUE(pumpUntil([&] { return timer.NativeThreadId() != 0; }));
    const long tid = timer.NativeThreadId();
    EXPECT_NE(tid, static_cast<long>(getpid()));
    const int policy = sched_getscheduler(static_cast<pid_t>(tid));
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
    EXPECT_TRUE(policy == SCHED_IDLE || nice == 19) << "policy " << policy << ", nice " << nice;
    QFile comm(QString("/proc/self/task/%1/comm").arg(tid));
    ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
    EXPECT_EQ(comm.readAll().trimmed(), QByteArray("TThreadTimer"));
}

TEST(ThreadTimer, TicksArriveOnTheGuiThreadOneAtATime)
{
    TThreadTimer timer;
    TickLog log;
    record(timer, log);
    timer.setManual(true);
    timer.setEnabled(true);
    timer.Step();
    timer.Step();
    timer.Step();
    ASSERT_TRUE(pumpUntil([&] { return log.ticks == 3; }));
    pumpFor(20ms);
    EXPECT_EQ(log.ticks, 3) << "one tick per step, none queued beyond";
    EXPECT_EQ(log.maxInside, 1);
    EXPECT_FALSE(log.offGuiThread);
}

TEST(ThreadTimer, RealClockTicksAndIntervalKeepsItsLow16BitsWithAtLeastOneMillisecond)
{
    TThreadTimer timer;
    timer.setInterval(70000);
    EXPECT_EQ(timer.Interval(), 4464);
    timer.setInterval(65536);
    EXPECT_EQ(timer.Interval(), 0);
    EXPECT_EQ(timer.SleepInterval(), 1) << "no 0 ms busy loop of hand-overs";
    timer.setInterval(2);
    EXPECT_EQ(timer.SleepInterval(), 2);

    TickLog log;
    record(timer, log);
    timer.setEnabled(true);
    ASSERT_TRUE(pumpUntil([&] { return log.ticks >= 5; }));
    EXPECT_EQ(log.maxInside, 1);

    // Interval 0: still ticks, each after a real sleep.
    timer.setInterval(0);
    const int before = log.ticks;
    ASSERT_TRUE(pumpUntil([&] { return log.ticks >= before + 5; }));
}

TEST(ThreadTimer, DisablingSuspendsTheThreadOnAConditionWithoutPolling)
{
    TThreadTimer timer;
    TickLog log;
    record(timer, log);
    timer.setInterval(1);
    timer.setEnabled(true);
    ASSERT_TRUE(pumpUntil([&] { return log.ticks >= 3; }));
    timer.setEnabled(false);
    pumpFor(10ms);  // a tick handed over before the switch is dropped
    const int ticks = log.ticks;
    const uint64_t wakeups = timer.Wakeups();
    pumpFor(40ms);
    EXPECT_EQ(log.ticks, ticks) << "no ticks while disabled";
    EXPECT_EQ(timer.Wakeups(), wakeups) << "the thread sleeps, it does not poll";
    timer.trigger();
    EXPECT_EQ(log.ticks, ticks) << "trigger does nothing while disabled";

    timer.setEnabled(true);
    ASSERT_TRUE(pumpUntil([&] { return log.ticks >= ticks + 3; })) << "resumed";
}

namespace {

// How often a thread of this process has gone to sleep (its voluntary
// context switches).
long sleepsOf(long tid)
{
    QFile status(QString("/proc/self/task/%1/status").arg(tid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("voluntary_ctxt_switches:"))
            return line.mid(line.indexOf(':') + 1).trimmed().toLong();
    return -1;
}

} // namespace

TEST(ThreadTimer, ATickThatEndsInTimeDoesNotWakeTheThread)
{
    // The thread hands a tick over and sleeps on for its next step or
    // deadline; the tick's end wakes it only when a tick is due meanwhile.
    // So each tick costs the thread one sleep, not a second one for the
    // hand-over's end.
    TThreadTimer timer;
    TickLog log;
    record(timer, log);
    timer.setManual(true);
    timer.setEnabled(true);
    ASSERT_TRUE(pumpUntil([&] { return timer.NativeThreadId() != 0 && sleepsOf(timer.NativeThreadId()) > 0; }));
    const long before = sleepsOf(timer.NativeThreadId());
    const int ticks = 40;
    for (int i = 1; i <= ticks; ++i) {
        timer.Step();
        ASSERT_TRUE(pumpUntil([&] { return log.ticks == i; }));
    }
    const long sleeps = sleepsOf(timer.NativeThreadId()) - before;
    EXPECT_GE(sleeps, ticks - 1);
    EXPECT_LE(sleeps, ticks + ticks / 4) << "about one sleep a tick, not two";
}

TEST(ThreadTimer, DestroyedInsideItsOwnTickEndsWithoutALateTick)
{
    auto timer = std::make_unique<TThreadTimer>();
    int ticks = 0;
    timer->setManual(true);
    timer->OnTimer = [&](QObject *) {
        ++ticks;
        timer.reset();
    };
    timer->setEnabled(true);
    timer->Step();
    ASSERT_TRUE(pumpUntil([&] { return timer == nullptr; }));
    pumpFor(20ms);
    EXPECT_EQ(ticks, 1);
}

TEST(ThreadTimer, DestroyedWhileTheGuiThreadIsBlockedServesTheHandOverButRunsNoTick)
{
    auto timer = std::make_unique<TThreadTimer>();
    int ticks = 0;
    timer->setManual(true);
    timer->OnTimer = [&](QObject *) { ++ticks; };
    timer->setEnabled(true);
    const uint64_t wakeups = timer->Wakeups();
    timer->Step();
    // The GUI thread is busy (serves nothing) while the thread hands over.
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (!timer->HandingOver() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(1ms);
    ASSERT_GT(timer->Wakeups(), wakeups);
    ASSERT_TRUE(timer->HandingOver()) << "the thread waits inside the hand-over";
    timer.reset();  // must not hang on the thread waiting in the hand-over
    pumpFor(10ms);
    EXPECT_EQ(ticks, 0) << "the tick handed over was not run for the destroyed owner";
}

TEST(ThreadTimer, AnExceptionFromATickIsReportedOnTheGuiThreadAndTheTicksGoOn)
{
    // Handed back to the timer's thread the exception would escape it and
    // end the program; it is reported like one from any handler instead.
    QStringList errors;
    bool reportedOnGuiThread = true;
    const platform::ErrorReporter previous = platform::setErrorReporter([&](const QString &message) {
        errors << message;
        reportedOnGuiThread = reportedOnGuiThread && platform::isGuiThread();
    });
    TThreadTimer timer;
    int ticks = 0;
    timer.OnTimer = [&](QObject *) {
        if (++ticks == 2)
            throw std::runtime_error("the tick failed");
    };
    timer.setInterval(1);
    timer.setEnabled(true);
    const bool ticking = pumpUntil([&] { return ticks >= 5; });
    timer.Terminate();
    platform::setErrorReporter(previous);
    ASSERT_TRUE(ticking) << "the timer goes on after the failed tick";
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("the tick failed")) << errors[0].toStdString();
    EXPECT_TRUE(reportedOnGuiThread);
}

TEST(ThreadTimer, TerminateEndsTheThreadAndTheTimerTicksNoMore)
{
    TThreadTimer timer;
    TickLog log;
    record(timer, log);
    timer.setInterval(1);
    timer.setEnabled(true);
    ASSERT_TRUE(pumpUntil([&] { return log.ticks >= 2; }));
    timer.Terminate();
    EXPECT_TRUE(timer.Terminated());
    EXPECT_FALSE(timer.ThreadStarted()) << "joined";
    const int ticks = log.ticks;
    timer.setEnabled(true);
    timer.trigger();
    pumpFor(10ms);
    EXPECT_EQ(log.ticks, ticks);
    timer.Terminate();  // twice is harmless
}

namespace {

// A ticker whose every tick is a wrap (no height to cross), so each tick
// shows in OnTextScrolled.
std::unique_ptr<TCoolScrollingText> wrappingTicker(QWidget *parent, int &passes)
{
    auto ticker = std::make_unique<TCoolScrollingText>(parent);
    ticker->resize(50, 0);
    ticker->setScrollDirection(coolctrls::sdTopToBottom);
    ticker->Add("credits");
    ticker->OnTextScrolled = [&passes](QObject *, bool &) { ++passes; };
    ticker->ScrollTimer().setManual(true);
    ticker->setActive(true);
    return ticker;
}

} // namespace

TEST(ScrollingTextThread, TicksComeFromTheTimerThreadAndMoveTheTextOnTheGuiThread)
{
    QWidget parent;
    int passes = 0;
    auto ticker = wrappingTicker(&parent, passes);
    ticker->ScrollTimer().Step();
    ticker->ScrollTimer().Step();
    ASSERT_TRUE(pumpUntil([&] { return passes == 2; }));
    EXPECT_NE(ticker->ScrollTimer().NativeThreadId(), 0);
    ticker->setActive(false);
    ticker->ScrollTimer().Step();
    pumpFor(20ms);
    EXPECT_EQ(passes, 2) << "no ticks once Active is off";
}

TEST(ScrollingTextThread, DestroyedInsideItsOwnTickRunsNoLateTick)
{
    QWidget parent;
    int passes = 0;
    auto ticker = wrappingTicker(&parent, passes);
    ticker->OnTextScrolled = [&](QObject *, bool &) {
        ++passes;
        ticker.reset();
    };
    ticker->ScrollTimer().Step();
    ASSERT_TRUE(pumpUntil([&] { return ticker == nullptr; }));
    pumpFor(20ms);
    EXPECT_EQ(passes, 1);
}

TEST(ScrollingTextThread, DestroyedWhileTheGuiThreadIsBlockedRunsNoLateTick)
{
    QWidget parent;
    int passes = 0;
    auto ticker = wrappingTicker(&parent, passes);
    ticker->ScrollTimer().Step();
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (!ticker->ScrollTimer().HandingOver() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(ticker->ScrollTimer().HandingOver()) << "the thread is inside the hand-over now";
    ticker.reset();
    pumpFor(10ms);
    EXPECT_EQ(passes, 0);
}

// The ticker's period on a stepped clock: the thread sleeps until the
// deadline, the hand-over and the tick take `handOver`, then the next
// deadline is taken. Answers the ticks in one simulated second.
//
// The same speed in the real window (the credits line, one pixel each
// 25 ms: 40 +/- 1 px/s) is measured by tools/startprobe/measure-ticker-rate
// BUILD_DIR [SECONDS]: the program on an Xvfb display of its own, its
// Information page chosen, the window grabbed every 50 ms; the text's left
// edge in each grab against the grab's time gives the slope in pixels per
// second (tools/startprobe/tickerrate.cpp).
namespace {

int ticksInOneSecond(std::chrono::milliseconds period, std::chrono::microseconds handOver,
                     int stallAfterTick = 0, std::chrono::milliseconds stall = 0ms)
{
    TTickSchedule schedule;
    TTickSchedule::TimePoint now{};
    const TTickSchedule::TimePoint start = now;
    schedule.Start(now, period);
    int ticks = 0;
    TTickSchedule::TimePoint last{};
    while (true) {
        now = std::max(now, schedule.Next());  // sleeps until the deadline
        if (now - start > 1s)
            break;
        if (ticks > 0) {
            EXPECT_GE(now - last, period) << "no burst after a missed deadline";
        }
        last = now;
        ++ticks;
        now += handOver;
        if (ticks == stallAfterTick)
            now += stall;  // the GUI thread was busy with something else
        schedule.Advance(now);
    }
    return ticks;
}

} // namespace

TEST(TickSchedule, ThePeriodDoesNotGrowByTheHandOver)
{
    // 25 ms: 40 ticks a second, whether the hand-over takes nothing, 3 ms
    // or almost the whole period.
    EXPECT_EQ(ticksInOneSecond(25ms, 0us), 40);
    EXPECT_EQ(ticksInOneSecond(25ms, 3000us), 40);
    EXPECT_EQ(ticksInOneSecond(25ms, 24000us), 40);
    EXPECT_EQ(ticksInOneSecond(10ms, 2500us), 100);
}

TEST(TickSchedule, MissedDeadlinesAreSkippedNotCaughtUp)
{
    // A 60 ms stall in the fourth tick (at 100 ms) costs the two deadlines
    // it covered (125 and 150 ms); the ticks after it keep to the grid, one
    // period apart.
    EXPECT_EQ(ticksInOneSecond(25ms, 1000us, 4, 60ms), 38);

    TTickSchedule schedule;
    const TTickSchedule::TimePoint t0{};
    schedule.Start(t0, 25ms);
    EXPECT_EQ(schedule.Next(), t0 + 25ms);
    schedule.Advance(t0 + 26ms);  // the tick ran late, within the next period
    EXPECT_EQ(schedule.Next(), t0 + 50ms) << "on the grid, not 25 ms after the late tick";
    schedule.Advance(t0 + 130ms);  // stalled past three deadlines
    EXPECT_EQ(schedule.Next(), t0 + 150ms) << "the first deadline still ahead";
}
