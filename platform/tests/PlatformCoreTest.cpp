#include "platform/Application.h"
#include "platform/CriticalSection.h"
#include "platform/Exception.h"
#include "platform/NotifyWindow.h"
#include "platform/Synchronize.h"
#include "platform/TTimer.h"
#include "platform/WakeWord.h"
#include "platform/testing/ErrorCapture.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

using namespace platform;

namespace {

// Pumps messages until pred holds or the bound passes.
template<typename Pred>
bool pumpUntil(Pred pred, int boundMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > boundMs)
            return false;
        waitForMessages(50);
    }
    return true;
}

} // namespace

TEST(NotifyWindow, DeliversPostedMessagesInOrderOnTheGuiThread)
{
    std::vector<unsigned> seen;
    std::vector<bool> onGui;
    NotifyWindow window([&](const TMessage &m) {
        seen.push_back(m.msg);
        onGui.push_back(isGuiThread());
    });
    NotifyHandle handle = window.handle();
    std::thread poster([handle] {
        for (unsigned i = 1; i <= 100; ++i)
            EXPECT_TRUE(handle.post({i, i, -qintptr(i)}));
    });
    poster.join();
    EXPECT_TRUE(seen.empty()) << "posted messages wait for the message loop";
    ASSERT_TRUE(pumpUntil([&] { return seen.size() == 100; }));
    for (unsigned i = 0; i < 100; ++i)
        EXPECT_EQ(seen[i], i + 1);
    for (bool b : onGui)
        EXPECT_TRUE(b);
}

TEST(NotifyWindow, NothingArrivesAfterDestruction)
{
    int delivered = 0;
    auto window = std::make_unique<NotifyWindow>([&](const TMessage &) { ++delivered; });
    NotifyHandle handle = window->handle();
    EXPECT_TRUE(handle.post({1, 0, 0}));
    window.reset();
    EXPECT_FALSE(handle.isValid());
    EXPECT_FALSE(handle.post({2, 0, 0}));
    processMessages();
    EXPECT_EQ(delivered, 0);
    EXPECT_FALSE(NotifyHandle().post({3, 0, 0}));
}

TEST(NotifyWindow, PostingRacesWithDestructionSafely)
{
    for (int round = 0; round < 20; ++round) {
        std::atomic<int> delivered = 0;
        auto window = std::make_unique<NotifyWindow>([&](const TMessage &) { ++delivered; });
        NotifyHandle handle = window->handle();
        std::atomic<bool> stop = false;
        std::thread poster([&] {
            for (int i = 0; i < 5000 && !stop; ++i)
                handle.post({7, 0, 0});
        });
        processMessages();
        window.reset();
        stop = true;
        poster.join();
        processMessages();
    }
}

TEST(ProcessMessages, WaitReturnsAfterItsBoundWithNothingPosted)
{
    // With nothing posted the wait blocks until its bound. (That it sleeps
    // rather than spins is a matter of CPU time, which is not asserted in a
    // unit test: it depends on the machine and on sanitizers.)
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < 5; ++i)
        waitForMessages(40);
    EXPECT_GE(wall.elapsed(), 150);
}

TEST(ProcessMessages, WaitWakesWhenAMessageArrives)
{
    bool got = false;
    NotifyWindow window([&](const TMessage &) { got = true; });
    NotifyHandle handle = window.handle();
    std::thread poster([handle] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        handle.post({1, 0, 0});
    });
    QElapsedTimer wall;
    wall.start();
    while (!got && wall.elapsed() < 5000)
        waitForMessages(5000);
    poster.join();
    EXPECT_TRUE(got);
    EXPECT_LT(wall.elapsed(), 2000);
}

TEST(TTimer, DefaultsAndSteppedTicks)
{
    TTimer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    timer.setManual(true);
    EXPECT_FALSE(timer.isRunning());
    int ticks = 0;
    QObject *sender = nullptr;
    timer.OnTimer = [&](QObject *s) { ++ticks; sender = s; };
    timer.trigger();
    timer.trigger();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(sender, &timer);
    timer.setEnabled(false);
    timer.trigger();
    EXPECT_EQ(ticks, 2) << "a disabled timer does not tick";
}

TEST(TTimer, RealClockTicksWhileEnabled)
{
    TTimer timer;
    timer.setInterval(10);
    int ticks = 0;
    timer.OnTimer = [&](QObject *) { ++ticks; };
    EXPECT_TRUE(timer.isRunning());
    ASSERT_TRUE(pumpUntil([&] { return ticks >= 3; }));
    timer.setEnabled(false);
    EXPECT_FALSE(timer.isRunning());
    timer.setEnabled(true);
    timer.setInterval(0);
    EXPECT_FALSE(timer.isRunning());
}

TEST(ErrorReporting, ExceptionInAnEventHandlerIsShownAndTheProgramGoesOn)
{
    testsupport::ErrorCapture errors;
    TTimer timer;
    timer.setManual(true);
    int ticks = 0;
    timer.OnTimer = [&](QObject *) {
        if (++ticks == 1)
            throw EConvertError(QStringLiteral("'abc' is not a valid integer value"));
    };
    timer.trigger();
    timer.trigger();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(errors.messages(), QStringList{QStringLiteral("'abc' is not a valid integer value")});
}

TEST(ErrorReporting, ExceptionEscapingAQtEventIsCaughtByTheApplication)
{
    testsupport::ErrorCapture errors;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, [] { throw std::runtime_error("boom"); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(errors.messages(), QStringList{QStringLiteral("boom")});
    // Posted messages still flow afterwards.
    bool got = false;
    NotifyWindow window([&](const TMessage &) { got = true; });
    window.handle().post({1, 0, 0});
    processMessages();
    EXPECT_TRUE(got);
}

TEST(Synchronize, RunsOnTheGuiThreadAndWaits)
{
    std::atomic<int> step = 0;
    bool ranOnGui = false;
    std::thread worker([&] {
        synchronize([&] { ranOnGui = isGuiThread(); step = 1; });
        EXPECT_EQ(step.load(), 1) << "synchronize returns only after the call ran";
        step = 2;
    });
    ASSERT_TRUE(pumpUntil([&] { return step == 2; }));
    worker.join();
    EXPECT_TRUE(ranOnGui);
}

TEST(Synchronize, RethrowsInTheCallingThreadAndRunsInlineOnGui)
{
    bool caught = false;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        try {
            synchronize([] { throw Exception(QStringLiteral("x")); });
        } catch (const Exception &e) {
            caught = e.message() == QStringLiteral("x");
        }
        done = true;
    });
    // A GUI thread that waits for a worker keeps the hand-over going.
    while (!done)
        checkSynchronize();
    worker.join();
    EXPECT_TRUE(caught);

    int n = 0;
    synchronize([&] { ++n; });
    EXPECT_EQ(n, 1);
}

TEST(Synchronize, PostReturnsAtOnceAndRunsOnTheGuiThreadReportingWhatItThrows)
{
    testsupport::ErrorCapture errors;
    std::atomic<int> ran = 0;
    bool ranOnGui = false;
    std::atomic<bool> posted = false;
    std::thread worker([&] {
        post([&] {
            ranOnGui = isGuiThread();
            ++ran;
        });
        post([] { throw Exception(QStringLiteral("posted call failed")); });
        EXPECT_EQ(ran.load(), 0) << "nothing ran before the GUI thread served the calls";
        posted = true;
    });
    worker.join();
    ASSERT_TRUE(posted);
    ASSERT_TRUE(pumpUntil([&] { return ran == 1 && errors.messages().size() == 1; }));
    EXPECT_TRUE(ranOnGui);
    EXPECT_TRUE(errors.messages().constLast().contains("posted call failed"));
    // On the GUI thread itself the call runs at once.
    post([&] { ++ran; });
    EXPECT_EQ(ran.load(), 2);
}

TEST(WakeWord, ABumpEndsASleepAndNoBumpIsLostBeforeTheSleep)
{
    WakeWord word;
    // A deadline that has passed: no sleep at all.
    const uint32_t seen = word.Value();
    EXPECT_FALSE(word.WaitUntil(seen, WakeWord::Clock::now() - std::chrono::milliseconds(1)));
    // A bump between reading the word and sleeping on it ends the sleep at
    // once, with or without a deadline far away.
    word.Bump();
    EXPECT_NE(word.Value(), seen);
    EXPECT_TRUE(word.WaitUntil(seen, WakeWord::Clock::now() + std::chrono::hours(1)));
    word.Wait(seen);

    // A sleeper is woken by a bump from another thread.
    std::atomic<bool> woke = false;
    const uint32_t before = word.Value();
    std::thread sleeper([&] {
        uint32_t value = before;
        while (word.Value() == before)
            word.WaitUntil(value, WakeWord::Clock::now() + std::chrono::hours(1));
        woke = true;
    });
    word.Bump();
    sleeper.join();
    EXPECT_TRUE(woke);
}

TEST(CriticalSection, IsReentrantAndExcludesOtherThreads)
{
    TCriticalSection cs;
    cs.Enter();
    cs.Enter();
    std::atomic<bool> otherGot = true;
    std::thread other([&] { otherGot = cs.TryEnter(); });
    other.join();
    EXPECT_FALSE(otherGot);
    cs.Leave();
    cs.Leave();

    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                std::lock_guard lock(cs);
                ++counter;
            }
        });
    for (auto &t : threads)
        t.join();
    EXPECT_EQ(counter, 40000);
}
