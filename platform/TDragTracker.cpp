#include "TDragTracker.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <memory>

namespace platform {

TDragTracker &TDragTracker::instance()
{
    // One tracker for the life of the program; it watches events only
    // while a drag is tracked.
    static const std::unique_ptr<TDragTracker> tracker(new TDragTracker);
    return *tracker;
}

TDragTracker *TDragTracker::Active()
{
    TDragTracker &t = instance();
    return t.m_active ? &t : nullptr;
}

void TDragTracker::Begin(TControl &source, bool immediate, int threshold, QPoint pressGlobal)
{
    TDragTracker &t = instance();
    if (t.m_active) {
        if (t.m_source == &source)
            return;
        t.finish(false);
    }
    t.m_active = true;
    t.m_started = false;
    t.m_source = &source;
    t.m_sourceWidget = source.ControlWidget();
    t.m_dragObject = nullptr;
    t.m_target = nullptr;
    t.m_accepted = false;
    t.m_startGlobal = pressGlobal.isNull() ? QCursor::pos() : pressGlobal;
    t.m_lastGlobal = t.m_startGlobal;
    t.m_threshold = threshold < 0 ? QApplication::startDragDistance() : threshold;
    qApp->installEventFilter(&t);
    if (immediate)
        t.start();
}

void TDragTracker::End(bool drop)
{
    if (TDragTracker *t = Active())
        t->finish(drop);
}

void TDragTracker::Forget(TControl &control)
{
    TDragTracker *t = Active();
    if (!t)
        return;
    if (t->m_source == &control) {
        t->stopTracking();
        return;
    }
    if (t->m_target == control.ControlWidget()) {
        t->m_target = nullptr;
        t->m_accepted = false;
    }
}

QObject *TDragTracker::sourceObject() const
{
    return m_dragObject ? m_dragObject.data() : static_cast<QObject *>(m_sourceWidget.data());
}

void TDragTracker::start()
{
    m_started = true;
    QWidget *source = m_sourceWidget;
    if (m_source->OnStartDrag) {
        QObject *dragObject = nullptr;
        m_source->OnStartDrag(source, dragObject);
        m_dragObject = dragObject;
    }
    if (!m_active || !m_sourceWidget)
        return; // the handler ended the drag
    // The dragged control gets every mouse event, also moves without a
    // button held, so the drag can follow the mouse anywhere.
    m_sourceTracked = source->hasMouseTracking();
    source->setMouseTracking(true);
    source->grabMouse();
    QGuiApplication::setOverrideCursor(QCursor(Qt::ForbiddenCursor));
    m_cursorOverridden = true;
    moveTo(m_lastGlobal);
}

// The control under the mouse (the innermost one that is a TControl) is the
// target; it is told when the mouse enters, moves over and leaves it.
void TDragTracker::moveTo(QPoint global)
{
    m_lastGlobal = global;
    QWidget *target = nullptr;
    for (QWidget *w = QApplication::widgetAt(global); w; w = w->parentWidget()) {
        if (TControl::ControlOf(w)) {
            target = w;
            break;
        }
    }
    if (target != m_target) {
        if (m_target)
            askTarget(m_target, dsDragLeave);
        m_target = target;
        m_accepted = target && askTarget(target, dsDragEnter);
    } else if (m_target) {
        m_accepted = askTarget(m_target, dsDragMove);
    }
    if (m_cursorOverridden && m_source)
        QGuiApplication::changeOverrideCursor(m_accepted ? m_source->DragCursor() : QCursor(Qt::ForbiddenCursor));
}

// A control without OnDragOver accepts nothing.
bool TDragTracker::askTarget(QWidget *target, TDragState state)
{
    TControl *control = TControl::ControlOf(target);
    if (!control || !control->OnDragOver)
        return false;
    bool accept = true;
    const QPoint at = target->mapFromGlobal(m_lastGlobal);
    control->OnDragOver(target, sourceObject(), at.x(), at.y(), state, accept);
    return accept;
}

void TDragTracker::finish(bool drop)
{
    if (!m_active)
        return;
    if (!m_started) {
        stopTracking();
        return;
    }
    QPointer<QWidget> target = m_target;
    QPointer<QObject> source = sourceObject();
    QPointer<QWidget> sourceWidget = m_sourceWidget;
    TControl *sourceControl = m_source;
    const bool dropped = drop && target && m_accepted;
    const QPoint at = dropped ? target->mapFromGlobal(m_lastGlobal) : QPoint(0, 0);
    stopTracking();
    if (dropped) {
        if (TControl *c = TControl::ControlOf(target); c && c->OnDragDrop)
            c->OnDragDrop(target, source, at.x(), at.y());
    } else if (target) {
        if (TControl *c = TControl::ControlOf(target); c && c->OnDragOver) {
            bool accept = false;
            const QPoint p = target->mapFromGlobal(m_lastGlobal);
            c->OnDragOver(target, source, p.x(), p.y(), dsDragLeave, accept);
        }
    }
    if (sourceWidget && sourceControl->OnEndDrag)
        sourceControl->OnEndDrag(sourceWidget, dropped ? target.data() : nullptr, at.x(), at.y());
}

void TDragTracker::stopTracking()
{
    if (!m_active)
        return;
    m_active = false;
    qApp->removeEventFilter(this);
    if (m_cursorOverridden) {
        QGuiApplication::restoreOverrideCursor();
        m_cursorOverridden = false;
    }
    if (m_started && m_sourceWidget) {
        m_sourceWidget->releaseMouse();
        m_sourceWidget->setMouseTracking(m_sourceTracked);
    }
    m_started = false;
    m_source = nullptr;
}

bool TDragTracker::eventFilter(QObject *watched, QEvent *event)
{
    // Mouse events are taken where they reach a widget, after the window
    // has done its own bookkeeping (which widget holds the pressed button).
    if (!m_active || !watched->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint global = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        if (!m_started) {
            m_lastGlobal = global;
            if ((global - m_startGlobal).manhattanLength() < m_threshold)
                return false;
            start();
            return true;
        }
        moveTo(global);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_started) {
            // A click, not a drag: it goes on as usual.
            stopTracking();
            return false;
        }
        m_lastGlobal = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        finish(true);
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return m_started;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            // Before the drag began, Escape is the focus widget's as usual.
            const bool started = m_started;
            finish(false);
            return started;
        }
        return m_started;
    default:
        return false;
    }
}

} // namespace platform
