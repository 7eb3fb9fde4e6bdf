#pragma once

// TControlEvents: the mouse, keyboard and focus events every control
// inherits from the toolkit's base control, mixed into a widget:
//  - OnMouseDown, OnMouseMove, OnMouseUp with the button, the shift state
//    and the position in the control's coordinates. A control that has the
//    mouse pressed keeps it until the release (the release and moves go to
//    it, wherever the mouse is). The mouse over a disabled control goes to
//    its nearest enabled ancestor; a disabled control raises nothing.
//  - OnClick after a left-button press and release inside the control (a
//    release outside gives none), raised before OnMouseUp; OnDblClick on a
//    double click, whose second release gives no OnClick. A control whose
//    click means something else (a button's activation, a list's selection)
//    turns the mouse's click off and raises OnClick itself (RaiseClick).
//  - OnKeyDown, OnKeyPress (the character typed) and OnKeyUp while the
//    control has the focus, before the control acts on the key: a handler
//    that sets Key to 0 swallows it, one that changes it passes the new key
//    on. Tab and Backtab move the focus and reach the handlers only in a
//    control whose "WantTabs" property is set.
//  - OnEnter and OnExit when the focus moves into or out of the control or
//    one of its children within its window: exits from the control that had
//    the focus up to the common ancestor, then enters from there down to the
//    control that has it. A window losing and regaining the activation, or
//    a popup or dialog of its own taking the focus for a while, changes
//    nothing.
//
//     class TMyControl : public QWidget, public platform::TControlEvents
//     {
//     public:
//         explicit TMyControl(QWidget *parent = nullptr) : QWidget(parent), TControlEvents(this) {}
//     };

#include "platform/Events.h"

#include <QChar>
#include <QPoint>
#include <QPointer>

#include <functional>

class QEvent;
class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace platform {

// Sender, button, shift state, position in the sender's client coordinates.
using TMouseEvent =
    std::function<void(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;
// Key is a Qt::Key; 0 swallows the key.
using TKeyEvent = std::function<void(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift)>;
// The character typed; a null character swallows it.
using TKeyPressEvent = std::function<void(QObject *Sender, QChar &Key)>;

class TControlEvents
{
public:
    explicit TControlEvents(QWidget *control);
    virtual ~TControlEvents();
    TControlEvents(const TControlEvents &) = delete;
    TControlEvents &operator=(const TControlEvents &) = delete;

    // Raises OnClick (not while the control is disabled).
    void RaiseClick();
    void RaiseDblClick();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    // Whether a left press and release inside the control raise OnClick
    // (true by default).
    void setClickFromMouse(bool value) { m_clickFromMouse = value; }
    // Also takes the mouse events of child (a scroll area's viewport), with
    // their positions in the control's coordinates. A control that is a
    // TControl too (call it from the control's own constructor, when both
    // parts exist) takes its presses and mouse context-menu requests from
    // there as well (TControl::WatchChild).
    void WatchMouseOf(QWidget *child);

private:
    class Filter;
    friend class Filter;
    friend class TFocusWatcher;

    bool filterMouse(QWidget *source, QMouseEvent *event);
    bool filterKey(QKeyEvent *event);
    bool ownsMouseAt(QWidget *source, QPoint pos) const;
    bool wantsKey(const QKeyEvent *event) const;

    QWidget *m_control;
    Filter *m_filter; // child of the control
    QPointer<QWidget> m_watchedChild;
    bool m_clickFromMouse = true;
    bool m_captured = false;     // a press raised OnMouseDown; its release is ours
    bool m_clickPending = false; // a left press that a release inside makes a click
    bool m_pressRaised = false;  // the last mouse event was a press we raised
    bool m_resending = false;    // a key changed by a handler is on its way
};

} // namespace platform
