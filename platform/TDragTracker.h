#pragma once

#include "TControl.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace platform {

// The drag of one control onto another inside the program (TControl's
// BeginDrag): one at a time, process-wide. While it runs it watches every
// mouse and key event of the application, keeps the mouse on the dragged
// control, asks the control under the mouse whether it accepts the drop
// (OnDragOver: enter, move, leave), shows the dragged control's DragCursor
// or the no-drop cursor, and ends with OnDragDrop on the target and
// OnEndDrag on the dragged control.
class TDragTracker : public QObject
{
public:
    // The drag in progress, or null.
    static TDragTracker *Active();
    // Starts tracking a drag of source, which a press at pressGlobal may
    // have begun (a null point: the cursor's position).
    static void Begin(TControl &source, bool immediate, int threshold, QPoint pressGlobal);
    // Ends the drag in progress, if any: dropped when drop is true and the
    // control under the mouse accepts, else cancelled.
    static void End(bool drop);
    // A control goes away: a drag of it ends without events; as a target
    // it is forgotten.
    static void Forget(TControl &control);

    TControl *Source() const { return m_source; }
    // Whether the drag really began (OnStartDrag raised).
    bool Started() const { return m_started; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TDragTracker() = default;
    static TDragTracker &instance();

    void start();
    void moveTo(QPoint global);
    bool askTarget(QWidget *target, TDragState state);
    void finish(bool drop);
    void stopTracking();
    QObject *sourceObject() const;

    bool m_active = false;
    bool m_started = false;
    TControl *m_source = nullptr;
    QPointer<QWidget> m_sourceWidget;
    QPointer<QObject> m_dragObject;
    QPointer<QWidget> m_target;
    bool m_accepted = false;
    QPoint m_startGlobal;
    QPoint m_lastGlobal;
    int m_threshold = 0;
    bool m_sourceTracked = false; // the source's own mouse tracking
    bool m_cursorOverridden = false;
};

} // namespace platform
