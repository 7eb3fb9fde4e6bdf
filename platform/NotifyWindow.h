#pragma once

#include <QObject>
#include <QtGlobal>
#include <functional>
#include <memory>

namespace platform {

// A message as posted to a hidden window: an identifier and two parameters.
struct TMessage
{
    unsigned msg = 0;
    quintptr wParam = 0;
    qintptr lParam = 0;
};

class NotifyWindow;

// Thread-safe address of a NotifyWindow. Any thread may post through it;
// once the window is destroyed posting does nothing and returns false, and
// messages still queued are discarded, so none arrives after destruction.
class NotifyHandle
{
public:
    NotifyHandle() = default;
    bool post(const TMessage &message) const;
    bool isValid() const;

private:
    friend class NotifyWindow;
    struct Target;
    explicit NotifyHandle(std::shared_ptr<Target> target) : m_target(std::move(target)) {}
    std::shared_ptr<Target> m_target;
};

// A hidden window that receives posted messages and delivers each one on the
// thread it lives in (the GUI thread) to its owner's handler.
class NotifyWindow : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(const TMessage &)>;

    explicit NotifyWindow(Handler handler, QObject *parent = nullptr);
    ~NotifyWindow() override;

    NotifyHandle handle() const { return NotifyHandle(m_target); }
    // Delivers a message synchronously, as if it had been sent.
    void send(const TMessage &message);

protected:
    bool event(QEvent *event) override;

private:
    Handler m_handler;
    std::shared_ptr<NotifyHandle::Target> m_target;
};

} // namespace platform
