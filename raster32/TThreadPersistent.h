#pragma once

#include "platform/CriticalSection.h"
#include "platform/Events.h"

#include <QObject>

namespace raster32 {

// A persistent object that can be locked by the threads that share it and
// that batches its change notifications between BeginUpdate and EndUpdate.
class TThreadPersistent : public QObject
{
    Q_OBJECT
public:
    explicit TThreadPersistent(QObject *parent = nullptr);
    ~TThreadPersistent() override;

    // Raises OnChange unless an update is in progress.
    virtual void NotifyChange();

    void BeginUpdate();
    // Throws EAssertionFailed "Unpaired TThreadPersistent.EndUpdate" when no
    // update is open. Raises no event itself.
    void EndUpdate();

    // Counts the lock under the process-wide section, then takes the own
    // (re-entrant) lock; ReleaseLock undoes both in reverse order.
    void AcquireLock();
    void ReleaseLock();

    int LockCount() const;
    int UpdateCount() const { return m_updateCount; }

    platform::TNotifyEvent OnChange;

protected:
    // Runs change between BeginUpdate and EndUpdate and raises one change
    // notification afterwards, also when change throws (which then goes on).
    template<typename Change>
    void Changing(Change &&change)
    {
        BeginUpdate();
        try {
            change();
        } catch (...) {
            EndUpdate();
            NotifyChange();
            throw;
        }
        EndUpdate();
        NotifyChange();
    }

    int m_updateCount = 0;

private:
    platform::TCriticalSection m_lock;
    int m_lockCount = 0; // guarded by the process-wide section
};

// Holds a TThreadPersistent's lock for a scope.
class TLockGuard32
{
public:
    explicit TLockGuard32(TThreadPersistent &object) : m_object(object) { m_object.AcquireLock(); }
    ~TLockGuard32() { m_object.ReleaseLock(); }
    TLockGuard32(const TLockGuard32 &) = delete;
    TLockGuard32 &operator=(const TLockGuard32 &) = delete;

private:
    TThreadPersistent &m_object;
};

} // namespace raster32
