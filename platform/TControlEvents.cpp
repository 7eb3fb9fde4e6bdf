#include "TControlEvents.h"

#include "EventFilterWatch.h"
#include "TControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <map>
#include <vector>

namespace platform {

// Follows the application's focus and tells the controls it moved out of
// and into. Each window keeps the control that had its focus last, so a
// window that is deactivated and activated again, or a popup of its own,
// does not count as a move.
class TFocusWatcher : public QObject
{
public:
    static void Ensure()
    {
        static QPointer<TFocusWatcher> watcher;
        if (!watcher && qApp)
            watcher = new TFocusWatcher;
    }

private:
    TFocusWatcher() : QObject(qApp)
    {
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
    }

    void focusChanged(QWidget *now)
    {
        if (!now)
            return; // the window lost the activation; its focus stays where it was
        QWidget *window = now->window();
        auto [at, added] = m_lastFocus.try_emplace(window);
        if (added)
            connect(window, &QObject::destroyed, this, [this, window] { m_lastFocus.erase(window); });
        const QPointer<QWidget> previous = at->second;
        at->second = now;
        if (previous == now)
            return;

        std::vector<QPointer<QWidget>> exits, enters;
        for (QWidget *w = previous; w; w = w->parentWidget()) {
            if (w == now || w->isAncestorOf(now))
                break;
            exits.emplace_back(w);
        }
        for (QWidget *w = now; w; w = w->parentWidget()) {
            if (previous && (w == previous || w->isAncestorOf(previous)))
                break;
            enters.emplace_back(w);
        }
        std::reverse(enters.begin(), enters.end());
        // A handler may delete a control further on: each is looked up anew.
        for (const QPointer<QWidget> &w : exits)
            if (auto *c = dynamic_cast<TControlEvents *>(w.data()); c && c->OnExit)
                c->OnExit(w);
        for (const QPointer<QWidget> &w : enters)
            if (auto *c = dynamic_cast<TControlEvents *>(w.data()); c && c->OnEnter)
                c->OnEnter(w);
    }

    std::map<QWidget *, QPointer<QWidget>> m_lastFocus;
};

class TControlEvents::Filter : public QObject
{
public:
    explicit Filter(TControlEvents &owner) : QObject(owner.m_control), m_owner(owner) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *source = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return m_owner.filterMouse(source, static_cast<QMouseEvent *>(event));
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return watched == m_owner.m_control && m_owner.filterKey(static_cast<QKeyEvent *>(event));
        default:
            return false;
        }
    }

private:
    TControlEvents &m_owner;
};

TControlEvents::TControlEvents(QWidget *control) : m_control(control), m_filter(new Filter(*this))
{
    // Moves without a button pressed are reported too.
    m_control->setMouseTracking(true);
    m_control->installEventFilter(m_filter);
    TFocusWatcher::Ensure();
}

TControlEvents::~TControlEvents()
{
    // The filter is a child of the widget, which outlives this part of the
    // control: it must not call back once this part is gone.
    m_control->removeEventFilter(m_filter);
    if (m_watchedChild)
        m_watchedChild->removeEventFilter(m_filter);
    delete m_filter;
}

void TControlEvents::WatchMouseOf(QWidget *child)
{
    if (child)
        child->setMouseTracking(true);
    moveEventFilter(m_filter, m_watchedChild, child);
    // The base control's presses and context menu come from the child too;
    // installed after this filter, its own sees each event first.
    if (TControl *control = TControl::ControlOf(m_control))
        control->WatchChild(child);
}

void TControlEvents::RaiseClick()
{
    if (OnClick && m_control->isEnabled())
        OnClick(m_control);
}

void TControlEvents::RaiseDblClick()
{
    if (OnDblClick && m_control->isEnabled())
        OnDblClick(m_control);
}

// A mouse event that a child did not take comes on to its parent. It is
// this control's when the control itself is the nearest enabled widget
// under the mouse: a disabled child's mouse is its parent's.
bool TControlEvents::ownsMouseAt(QWidget *source, QPoint pos) const
{
    if (source != m_control)
        return true; // the watched child is part of the control
    QWidget *hit = m_control->childAt(pos);
    while (hit && hit != m_control && !hit->isEnabled())
        hit = hit->parentWidget();
    return !hit || hit == m_control || hit == m_watchedChild;
}

bool TControlEvents::filterMouse(QWidget *source, QMouseEvent *event)
{
    if (!m_control->isEnabled())
        return false;
    const QPoint local = event->position().toPoint();
    const QPoint p = source == m_control ? local : source->mapTo(m_control, local);
    const Qt::MouseButton button = event->button();
    const Qt::KeyboardModifiers shift = event->modifiers();
    // A child that did not take the event passes it on: the watched child
    // was reported already.
    if (source == m_control && m_watchedChild && m_control->childAt(p) == m_watchedChild)
        return false;

    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (!ownsMouseAt(source, p))
            return false;
        m_captured = true;
        m_pressRaised = true;
        if (button == Qt::LeftButton)
            m_clickPending = m_clickFromMouse;
        if (OnMouseDown)
            OnMouseDown(m_control, button, shift, p.x(), p.y());
        return false;
    case QEvent::MouseButtonDblClick: {
        if (!ownsMouseAt(source, p))
            return false;
        // Qt reports the second press of a double click as a press and then
        // the double click, or as the double click alone.
        const bool pressReported = m_pressRaised;
        m_clickPending = false;
        m_captured = true;
        RaiseDblClick();
        if (!pressReported && OnMouseDown)
            OnMouseDown(m_control, button, shift, p.x(), p.y());
        m_pressRaised = false;
        return false;
    }
    case QEvent::MouseButtonRelease: {
        m_pressRaised = false;
        if (!m_captured)
            return false;
        if (event->buttons() == Qt::NoButton)
            m_captured = false;
        const bool click = button == Qt::LeftButton && m_clickPending && m_control->rect().contains(p);
        if (button == Qt::LeftButton)
            m_clickPending = false;
        if (click)
            RaiseClick();
        if (OnMouseUp)
            OnMouseUp(m_control, button, shift, p.x(), p.y());
        return false;
    }
    case QEvent::MouseMove:
        if (event->buttons() != Qt::NoButton ? !m_captured : !ownsMouseAt(source, p))
            return false;
        m_pressRaised = false;
        if (OnMouseMove)
            OnMouseMove(m_control, shift, p.x(), p.y());
        return false;
    default:
        return false;
    }
}

bool TControlEvents::wantsKey(const QKeyEvent *event) const
{
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return m_control->property("WantTabs").toBool();
    return true;
}

bool TControlEvents::filterKey(QKeyEvent *event)
{
    if (m_resending || !wantsKey(event))
        return false;
    const bool press = event->type() == QEvent::KeyPress;
    const int original = event->key();
    int key = original;
    const TKeyEvent &handler = press ? OnKeyDown : OnKeyUp;
    if (handler) {
        handler(m_control, key, event->modifiers());
        if (key == 0)
            return true;
    }
    QString text = event->text();
    if (press && OnKeyPress && !text.isEmpty()) {
        QChar ch = text.at(0);
        OnKeyPress(m_control, ch);
        if (ch.isNull()) {
            if (key == original)
                return true;
            text.clear(); // the key still acts, without its character
        } else {
            text[0] = ch;
        }
    }
    if (key == original && text == event->text())
        return false;
    // A handler changed the key or its character: the control gets those.
    QKeyEvent changed(event->type(), key, event->modifiers(), event->nativeScanCode(), event->nativeVirtualKey(),
                      event->nativeModifiers(), text, event->isAutoRepeat(), event->count());
    m_resending = true;
    QCoreApplication::sendEvent(m_control, &changed);
    m_resending = false;
    event->setAccepted(changed.isAccepted());
    return true;
}

} // namespace platform
