#include "TThreadPersistent.h"

#include "Errors.h"

#include <mutex>

namespace raster32 {

namespace {

// One section shared by all such objects for their lock counters. A
// function-local static is built on first use and torn down at exit, like a
// unit's initialisation and finalisation.
std::mutex &counterSection()
{
    static std::mutex section;
    return section;
}

} // namespace

TThreadPersistent::TThreadPersistent(QObject *parent)
    : QObject(parent)
{
}

TThreadPersistent::~TThreadPersistent() = default;

void TThreadPersistent::NotifyChange()
{
    if (m_updateCount == 0 && OnChange)
        OnChange(this);
}

void TThreadPersistent::BeginUpdate()
{
    ++m_updateCount;
}

void TThreadPersistent::EndUpdate()
{
    if (m_updateCount <= 0)
        throw EAssertionFailed(QStringLiteral("Unpaired TThreadPersistent.EndUpdate"));
    --m_updateCount;
}

void TThreadPersistent::AcquireLock()
{
    {
        std::lock_guard guard(counterSection());
        ++m_lockCount;
    }
    m_lock.Enter();
}

void TThreadPersistent::ReleaseLock()
{
    m_lock.Leave();
    std::lock_guard guard(counterSection());
    --m_lockCount;
}

int TThreadPersistent::LockCount() const
{
    std::lock_guard guard(counterSection());
    return m_lockCount;
}

} // namespace raster32
