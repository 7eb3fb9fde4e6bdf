#pragma once

#include <QString>

namespace platform::midi {

// Gives the calling thread real-time (SCHED_FIFO) scheduling at `priority`
// when the system allows it: directly where the process may (root, or a
// real-time limit set for the user), else through RealtimeKit on the system
// bus as desktop audio programs do, with the priority lowered to what
// RealtimeKit grants. A thread that renders audio then keeps its deadline
// while every core is busy. Returns the scheduling the thread ends up with,
// e.g. "SCHED_FIFO 10 (RealtimeKit)" or "SCHED_OTHER (not permitted)".
QString makeCurrentThreadRealtime(int priority);

} // namespace platform::midi
