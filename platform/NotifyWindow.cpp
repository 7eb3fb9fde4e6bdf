#include "NotifyWindow.h"

#include "GuiWaker.h"

#include <QCoreApplication>
#include <QEvent>
#include <mutex>

namespace platform {

namespace {

const QEvent::Type kMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class MessageEvent : public QEvent
{
public:
    explicit MessageEvent(const TMessage &message) : QEvent(kMessageEvent), message(message) {}
    TMessage message;
};

} // namespace

struct NotifyHandle::Target
{
    std::mutex mutex;
    NotifyWindow *window = nullptr;
};

bool NotifyHandle::post(const TMessage &message) const
{
    if (!m_target)
        return false;
    std::lock_guard lock(m_target->mutex);
    if (!m_target->window)
        return false;
    if (GuiWaker *waker = GuiWaker::instance()) {
        // Delivered on the GUI thread unless the window is gone by then; the
        // window is only destroyed on that thread, so the check cannot race.
        waker->post([target = m_target, message] {
            NotifyWindow *window;
            {
                std::lock_guard lock(target->mutex);
                window = target->window;
            }
            if (window)
                window->send(message);
        });
        return true;
    }
    // No waker (window living outside a GUI application): Qt's own queue.
    QCoreApplication::postEvent(m_target->window, new MessageEvent(message));
    return true;
}

bool NotifyHandle::isValid() const
{
    if (!m_target)
        return false;
    std::lock_guard lock(m_target->mutex);
    return m_target->window != nullptr;
}

NotifyWindow::NotifyWindow(Handler handler, QObject *parent)
    : QObject(parent), m_handler(std::move(handler)), m_target(std::make_shared<NotifyHandle::Target>())
{
    m_target->window = this;
    GuiWaker::ensure();
}

NotifyWindow::~NotifyWindow()
{
    {
        std::lock_guard lock(m_target->mutex);
        m_target->window = nullptr;
    }
    // Events posted before the handle was cleared are still queued.
    QCoreApplication::removePostedEvents(this, kMessageEvent);
}

void NotifyWindow::send(const TMessage &message)
{
    if (m_handler)
        m_handler(message);
}

bool NotifyWindow::event(QEvent *event)
{
    if (event->type() == kMessageEvent) {
        send(static_cast<MessageEvent *>(event)->message);
        return true;
    }
    return QObject::event(event);
}

} // namespace platform
