#include "platform/midi/SynthCommandQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using platform::midi::SynthCommandQueue;
using Kind = SynthCommandQueue::Command::Kind;

// Commands from several threads reach the one that takes them whole, each
// thread's in its order, none lost or doubled, while the taking goes on.
TEST(SynthCommandQueue, CommandsOfConcurrentSendersArriveOnceInTheirOrder)
{
    SynthCommandQueue queue;
    constexpr int kSenders = 3;
    constexpr uint32_t kEach = 20000;
    std::atomic<int> running{kSenders};
    std::vector<std::thread> senders;
    for (int s = 0; s < kSenders; ++s)
        senders.emplace_back([&, s] {
            for (uint32_t i = 0; i < kEach; ++i)
                queue.push({Kind::Schedule, s, i, i});
            --running;
        });
    std::vector<uint32_t> next(kSenders, 0);
    std::vector<SynthCommandQueue::Command> taken;
    bool done = false;
    while (!done) {
        done = running.load() == 0; // one more take after the last push
        queue.takeAll(taken);
        for (const auto &command : taken) {
            ASSERT_EQ(command.message, next[size_t(command.source)]) << "sender " << command.source;
            ++next[size_t(command.source)];
        }
    }
    for (auto &sender : senders)
        sender.join();
    EXPECT_EQ(next, std::vector<uint32_t>(kSenders, kEach));
    EXPECT_TRUE(queue.empty());
    // Taking replaces what the list held before.
    queue.push({Kind::Play, 0, 0, 7});
    queue.takeAll(taken);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].message, 7u);
    queue.takeAll(taken);
    EXPECT_TRUE(taken.empty());
}
