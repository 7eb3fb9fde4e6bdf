#pragma once

#include "PriorityInheritanceMutex.h"

#include <cstdint>
#include <vector>

namespace platform::midi {

// What other threads ask of the synthesizer while its audio thread renders:
// play a message now, schedule one for a sequencer tick, withdraw a
// stream's messages. Only the audio thread calls FluidSynth then, taking
// the commands before each render in the order they came, so it never
// waits on FluidSynth's own locks (its sequencer's and its API's, plain
// mutexes) held by a thread of normal priority that a busy machine keeps
// off the processor for a hundred milliseconds.
//
// The queue's own lock is held only to append a command or to swap the
// whole list out, and passes the audio thread's priority on to a holder
// it waits for.
class SynthCommandQueue
{
public:
    struct Command
    {
        enum class Kind : uint8_t { Play, Schedule, Withdraw };
        Kind kind = Kind::Play;
        int source = 0;        // Schedule, Withdraw
        unsigned tick = 0;     // Schedule: the sequencer tick to dispatch at
        uint32_t message = 0;  // Play, Schedule
    };

    void push(const Command &command);
    // Replaces `into` with the commands waiting, oldest first, and empties
    // the queue. Both lists keep their memory, so once they have grown the
    // audio thread allocates nothing here.
    void takeAll(std::vector<Command> &into);
    bool empty() const;

private:
    mutable PriorityInheritanceMutex m_mutex;
    std::vector<Command> m_pending;
};

} // namespace platform::midi
