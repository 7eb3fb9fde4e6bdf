#include "Synchronize.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

namespace platform {

namespace {

struct PendingCall
{
    std::function<void()> fn;
    std::exception_ptr error;
    bool done = false;
};

struct SyncQueue
{
    std::mutex mutex;
    std::condition_variable finished;
    std::deque<std::shared_ptr<PendingCall>> calls;
};

SyncQueue &queue()
{
    static SyncQueue q;
    return q;
}

} // namespace

bool isGuiThread()
{
    QCoreApplication *app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void synchronize(const std::function<void()> &fn)
{
    if (isGuiThread()) {
        fn();
        return;
    }
    auto call = std::make_shared<PendingCall>();
    call->fn = fn;
    SyncQueue &q = queue();
    {
        std::lock_guard lock(q.mutex);
        q.calls.push_back(call);
    }
    // Wake the GUI thread's event loop; the queued functor runs there.
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [] { checkSynchronize(); }, Qt::QueuedConnection);

    std::unique_lock lock(q.mutex);
    q.finished.wait(lock, [&] { return call->done; });
    if (call->error)
        std::rethrow_exception(call->error);
}

bool checkSynchronize()
{
    SyncQueue &q = queue();
    bool ran = false;
    for (;;) {
        std::shared_ptr<PendingCall> call;
        {
            std::lock_guard lock(q.mutex);
            if (q.calls.empty())
                break;
            call = q.calls.front();
            q.calls.pop_front();
        }
        try {
            call->fn();
        } catch (...) {
            call->error = std::current_exception();
        }
        {
            std::lock_guard lock(q.mutex);
            call->done = true;
        }
        q.finished.notify_all();
        ran = true;
    }
    return ran;
}

} // namespace platform
