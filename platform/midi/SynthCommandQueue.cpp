#include "SynthCommandQueue.h"

#include <mutex>

namespace platform::midi {

void SynthCommandQueue::push(const Command &command)
{
    std::lock_guard lock(m_mutex);
    m_pending.push_back(command);
}

void SynthCommandQueue::takeAll(std::vector<Command> &into)
{
    into.clear();
    std::lock_guard lock(m_mutex);
    m_pending.swap(into);
}

bool SynthCommandQueue::empty() const
{
    std::lock_guard lock(m_mutex);
    return m_pending.empty();
}

} // namespace platform::midi
