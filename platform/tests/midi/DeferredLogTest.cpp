#include "platform/midi/DeferredLog.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using platform::midi::DeferredLog;

namespace {

struct Printed
{
    std::mutex mutex;
    std::vector<std::string> lines;
    std::vector<std::thread::id> threads;

    void add(const char *line)
    {
        std::lock_guard lock(mutex);
        lines.emplace_back(line);
        threads.push_back(std::this_thread::get_id());
    }
};

} // namespace

// Lines posted by a thread are printed by the log's own thread, each once,
// in the order posted; a line longer than a slot is cut, not overrun.
TEST(DeferredLog, LinesArriveOnTheLogsThreadInTheirOrder)
{
    Printed printed;
    DeferredLog log([&](const char *line) { printed.add(line); }, 4096);
    std::thread::id poster;
    std::thread audio([&] {
        poster = std::this_thread::get_id();
        for (int i = 0; i < 2000; ++i)
            log.post("line %d of %s", i, "the audio thread");
        log.post("%s", std::string(1000, 'x').c_str());
    });
    audio.join();
    log.flush();
    std::lock_guard lock(printed.mutex);
    ASSERT_EQ(printed.lines.size(), 2001u);
    for (int i = 0; i < 2000; ++i)
        ASSERT_EQ(printed.lines[size_t(i)], "line " + std::to_string(i) + " of the audio thread");
    EXPECT_EQ(printed.lines.back(), std::string(DeferredLog::kLineBytes - 1, 'x'));
    for (std::thread::id id : printed.threads) {
        EXPECT_NE(id, poster);
        EXPECT_NE(id, std::this_thread::get_id());
    }
    EXPECT_EQ(log.dropped(), 0u);
}

// A printer that blocks (a terminal nobody reads) never holds up the
// thread that posts: what does not fit is dropped and counted, and said so
// once the printer goes on; the lines kept keep their order.
TEST(DeferredLog, ABlockedPrinterDropsLinesInsteadOfBlockingThePoster)
{
    std::promise<void> gate;
    std::shared_future<void> open = gate.get_future().share();
    Printed printed;
    DeferredLog log(
        [&](const char *line) {
            open.wait();
            printed.add(line);
        },
        8);
    for (int i = 0; i < 100; ++i)
        log.post("line %d", i);
    // Eight wait in the ring, one at most is with the blocked printer (and
    // its slot, once taken, holds a later line).
    EXPECT_GE(log.dropped(), 91u);
    EXPECT_LE(log.dropped(), 92u);
    gate.set_value();
    log.flush();
    std::lock_guard lock(printed.mutex);
    ASSERT_EQ(printed.lines.size() - 1 + log.dropped(), 100u) << "a line was lost without being counted";
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(printed.lines[i], "line " + std::to_string(i));
    int last = -1;
    for (size_t i = 0; i + 1 < printed.lines.size(); ++i) {
        const int number = std::stoi(printed.lines[i].substr(5));
        EXPECT_GT(number, last) << "out of order";
        last = number;
    }
    EXPECT_EQ(printed.lines.back(),
              "(" + std::to_string(log.dropped()) + " diagnostic lines dropped: the output did not keep up)");
}
