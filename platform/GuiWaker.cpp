#include "GuiWaker.h"

#include "ErrorReport.h"
#include "Synchronize.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <atomic>
#include <deque>
#include <mutex>

#include <sys/eventfd.h>
#include <unistd.h>

namespace platform {

struct GuiWaker::Private
{
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    std::mutex mutex;
    std::deque<std::function<void()>> queue;
};

namespace {
std::atomic<GuiWaker *> theWaker{nullptr};
std::unique_ptr<GuiWaker> &wakerOwner()
{
    static std::unique_ptr<GuiWaker> owner;
    return owner;
}
} // namespace

GuiWaker *GuiWaker::instance()
{
    return theWaker.load(std::memory_order_acquire);
}

GuiWaker *GuiWaker::ensure()
{
    if (GuiWaker *w = instance())
        return w;
    if (!QCoreApplication::instance() || !isGuiThread())
        return nullptr;
    wakerOwner().reset(new GuiWaker);
    theWaker.store(wakerOwner().get(), std::memory_order_release);
    // Gone with the application: its event dispatcher owns the notifier's fd watch.
    QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] {
        theWaker.store(nullptr, std::memory_order_release);
        wakerOwner().reset();
    });
    return instance();
}

GuiWaker::GuiWaker()
    : d(std::make_unique<Private>())
{
    d->fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    d->notifier = std::make_unique<QSocketNotifier>(d->fd, QSocketNotifier::Read);
    QObject::connect(d->notifier.get(), &QSocketNotifier::activated, [this] {
        eventfd_t value;
        (void)::eventfd_read(d->fd, &value);
        drain();
    });
}

GuiWaker::~GuiWaker()
{
    d->notifier.reset();
    if (d->fd >= 0)
        ::close(d->fd);
}

void GuiWaker::post(std::function<void()> fn)
{
    {
        std::lock_guard lock(d->mutex);
        d->queue.push_back(std::move(fn));
    }
    (void)::eventfd_write(d->fd, 1);
}

bool GuiWaker::drain()
{
    bool ran = false;
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard lock(d->mutex);
            if (d->queue.empty())
                break;
            fn = std::move(d->queue.front());
            d->queue.pop_front();
        }
        guarded(fn);
        ran = true;
    }
    return ran;
}

} // namespace platform
