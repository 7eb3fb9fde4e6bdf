#include "Synchronize.h"

#include "ErrorReport.h"
#include "GuiWaker.h"

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
    post([] { checkSynchronize(); });

    std::exception_ptr error;
    {
        std::unique_lock lock(q.mutex);
        q.finished.wait(lock, [&] { return call->done; });
        // Take sole ownership of the exception, so the GUI thread's release of
        // the call never touches it.
        error = std::move(call->error);
    }
    if (error)
        std::rethrow_exception(error);
}

void post(std::function<void()> fn)
{
    if (isGuiThread()) {
        guarded(fn);
        return;
    }
    if (GuiWaker *waker = GuiWaker::instance())
        waker->post(std::move(fn));
    else if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [fn = std::move(fn)] { guarded(fn); }, Qt::QueuedConnection);
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
        std::exception_ptr error;
        try {
            call->fn();
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard lock(q.mutex);
            call->error = std::move(error);
            call->done = true;
        }
        q.finished.notify_all();
        ran = true;
    }
    return ran;
}

} // namespace platform
