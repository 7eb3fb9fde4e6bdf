#include "platform/midi/ServerReadLog.h"

#include <gtest/gtest.h>

using platform::midi::ServerReadLog;

namespace {

ServerReadLog::Report report(int64_t readFrame, int64_t atUs, int64_t sinkUs)
{
    ServerReadLog::Report r;
    r.readFrame = readFrame;
    r.atUs = atUs;
    r.sinkUs = sinkUs;
    return r;
}

} // namespace

TEST(ServerReadLog, AFrameLeftTheServerByTheFirstReportThatShowsItRead)
{
    ServerReadLog log(44100);
    EXPECT_EQ(log.leftServerUs(0), -1);
    // At 1 s the server had read 44,100 frames, 10 ms of them still in the
    // sink: frame 22,050 left half a second earlier, plus those 10 ms.
    log.add(report(44100, 1000000, 10000));
    EXPECT_EQ(log.leftServerUs(22050), 510000);
    EXPECT_EQ(log.leftServerUs(44099), 1000000 + 10000 - 22);
    // Not read yet: no answer, however much was written.
    EXPECT_EQ(log.leftServerUs(44100), -1);
    // A later report answers for the frames it shows read; the earlier one
    // still answers for its own.
    log.add(report(88200, 2000000, 10000));
    EXPECT_EQ(log.leftServerUs(66150), 1510000);
    EXPECT_EQ(log.leftServerUs(22050), 510000);
}

TEST(ServerReadLog, ASinkThatStartsLateShowsInTheTimeAndStaleReportsAreIgnored)
{
    ServerReadLog log(44100);
    // The output had rendered ahead while the server did not read; the
    // server starts reading at 0.6 s: the time follows the reads, not the
    // writes.
    log.add(report(4410, 700000, 5000));
    EXPECT_EQ(log.leftServerUs(0), 605000);
    // A report that shows nothing new read (the stream stalled) is no
    // better than the one before.
    log.add(report(4410, 900000, 5000));
    EXPECT_EQ(log.leftServerUs(0), 605000);
    // After an underrun the silence counts: the later report gives a bound
    // from above for frames read before it.
    log.add(report(8820, 1000000, 5000));
    EXPECT_EQ(log.leftServerUs(4410), 1000000 + 5000 - 100000);
    log.clear();
    EXPECT_EQ(log.leftServerUs(0), -1);
}
