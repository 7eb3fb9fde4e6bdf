#include "TControl.h"

#include "EventFilterWatch.h"

#include "TDragTracker.h"
#include "TSizeConstraints.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QSet>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace platform {

namespace {

// Sent to a control whose parent's colour changed (NotifyColorChanged).
QEvent::Type parentColorChangedEvent()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

// Sent to a control whose parent's Ctl3D changed.
QEvent::Type parentCtl3DChangedEvent()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

// Sends an event of the given type to each of parent's child controls.
void sendToChildren(QWidget *parent, QEvent::Type type)
{
    for (QObject *child : parent->children()) {
        if (auto *w = qobject_cast<QWidget *>(child); w && !w->isWindow()) {
            QEvent event(type);
            QCoreApplication::sendEvent(w, &event);
        }
    }
}

// The colour a widget describes by its "Color" property or its palette.
TColor propertyColor(const QWidget *widget)
{
    const QVariant value = widget->property("Color");
    if (value.metaType() == QMetaType::fromType<TColor>())
        return value.value<TColor>();
    if (value.metaType() == QMetaType::fromType<QColor>())
        return QColorToColor(value.value<QColor>());
    bool ok = false;
    const uint color = value.toUInt(&ok);
    if (value.isValid() && ok)
        return TColor(color);
    return QColorToColor(widget->palette().color(QPalette::Window));
}

// The direct children of parent in the order of the focus chain.
std::vector<QWidget *> tabSiblings(QWidget *parent)
{
    std::vector<QWidget *> siblings;
    // The chain is a ring through every widget of the window.
    for (QWidget *w = parent->nextInFocusChain(); w && w != parent; w = w->nextInFocusChain())
        if (w->parentWidget() == parent && !w->isWindow())
            siblings.push_back(w);
    return siblings;
}

// Puts parent's children right after parent in the focus chain, in the
// given order. Each is placed after one that is already in place, so none is
// ever placed after the last widget of the ring (which Qt ignores). Qt
// orders only widgets that take the focus, and a control keeps its place in
// the tab order whether or not it is a tab stop: for the moves the parent
// and the children take the focus.
void orderSiblings(QWidget *parent, const std::vector<QWidget *> &order)
{
    std::vector<std::pair<QWidget *, Qt::FocusPolicy>> policies;
    for (QWidget *w : order)
        policies.emplace_back(w, w->focusPolicy());
    policies.emplace_back(parent, parent->focusPolicy());
    for (auto [w, policy] : policies)
        if (policy == Qt::NoFocus)
            w->setFocusPolicy(Qt::TabFocus);
    QWidget *previous = parent;
    for (QWidget *w : order) {
        QWidget::setTabOrder(previous, w);
        previous = w;
    }
    for (auto [w, policy] : policies)
        w->setFocusPolicy(policy);
}

} // namespace

// Watches the control and its parent for the events the mixin answers.
class TControl::Filter : public QObject
{
public:
    explicit Filter(TControl &owner) : QObject(owner.m_control), m_owner(owner) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_owner.m_control)
            return m_owner.filterControlEvent(event);
        if (watched == m_owner.m_watchedChild)
            return m_owner.filterPressOrMenu(m_owner.m_watchedChild, event);
        if (watched == m_owner.m_watchedParent)
            m_owner.filterParentEvent(event);
        return false;
    }

private:
    TControl &m_owner;
};

TControl::TControl(QWidget *control)
    : m_control(control), m_filter(new Filter(*this)), m_constraints(new TSizeConstraints(control))
{
    m_control->installEventFilter(m_filter);
    watchParent();
}

TControl::~TControl()
{
    TDragTracker::Forget(*this);
    // The filter is a child of the widget, which outlives this part of the
    // control: it must not call back once this part is gone.
    m_control->removeEventFilter(m_filter);
    if (m_watchedParent)
        m_watchedParent->removeEventFilter(m_filter);
    if (m_watchedChild)
        m_watchedChild->removeEventFilter(m_filter);
    delete m_filter;
}

void TControl::WatchChild(QWidget *child)
{
    moveEventFilter(m_filter, m_watchedChild, child);
}

TControl *TControl::ControlOf(QWidget *widget)
{
    return dynamic_cast<TControl *>(widget);
}

// --- place in the parent ------------------------------------------------------

void TControl::setAlign(TAlign value)
{
    if (value == m_align)
        return;
    m_align = value;
    if (m_control->parentWidget())
        AlignControls(m_control->parentWidget());
}

void TControl::setAnchors(TAnchors value)
{
    m_anchors = value;
}

void TControl::AlignControls(QWidget *parent)
{
    // Placing a control resizes it, which asks for another alignment of the
    // same parent: that one is already under way.
    static QSet<QWidget *> aligning;
    if (!parent || aligning.contains(parent))
        return;
    aligning.insert(parent);

    std::vector<QWidget *> byAlign[alCustom];
    for (QObject *child : parent->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || w->isWindow() || w->isHidden())
            continue;
        if (TControl *c = ControlOf(w); c && c->m_align != alNone && c->m_align != alCustom)
            byAlign[c->m_align].push_back(w);
    }
    auto sortBy = [](std::vector<QWidget *> &list, auto key) {
        std::stable_sort(list.begin(), list.end(), [&](QWidget *a, QWidget *b) { return key(a) < key(b); });
    };
    sortBy(byAlign[alTop], [](QWidget *w) { return w->y(); });
    sortBy(byAlign[alBottom], [](QWidget *w) { return -(w->y() + w->height()); });
    sortBy(byAlign[alLeft], [](QWidget *w) { return w->x(); });
    sortBy(byAlign[alRight], [](QWidget *w) { return -(w->x() + w->width()); });

    const QRect area = parent->contentsRect();
    int left = area.x(), top = area.y();
    int right = left + area.width(), bottom = top + area.height();
    auto span = [](int from, int to) { return std::max(to - from, 0); };
    for (QWidget *w : byAlign[alTop]) {
        w->setGeometry(left, top, span(left, right), w->height());
        top += w->height();
    }
    for (QWidget *w : byAlign[alBottom]) {
        w->setGeometry(left, bottom - w->height(), span(left, right), w->height());
        bottom -= w->height();
    }
    for (QWidget *w : byAlign[alLeft]) {
        w->setGeometry(left, top, w->width(), span(top, bottom));
        left += w->width();
    }
    for (QWidget *w : byAlign[alRight]) {
        w->setGeometry(right - w->width(), top, w->width(), span(top, bottom));
        right -= w->width();
    }
    for (QWidget *w : byAlign[alClient])
        w->setGeometry(left, top, span(left, right), span(top, bottom));
    aligning.remove(parent);
}

// Keeps the distance to the anchored sides: anchored on both sides the
// control stretches, on one side it keeps that distance, on neither it keeps
// its centre at the same fraction of the parent.
void TControl::anchorToParent(QSize oldSize, QSize newSize)
{
    if (!oldSize.isValid() || (m_align != alNone && m_align != alCustom) || oldSize == newSize)
        return;
    auto follow = [](int pos, int length, int oldExtent, int newExtent, bool nearSide, bool farSide) {
        const int delta = newExtent - oldExtent;
        if (nearSide && farSide)
            return std::pair(pos, length + delta);
        if (farSide)
            return std::pair(pos + delta, length);
        if (!nearSide && oldExtent > 0) {
            const double centre = (pos + length / 2.0) * newExtent / oldExtent;
            return std::pair(int(std::lround(centre - length / 2.0)), length);
        }
        return std::pair(pos, length);
    };
    const QRect g = m_control->geometry();
    const auto [x, w] = follow(g.x(), g.width(), oldSize.width(), newSize.width(), m_anchors & akLeft,
                               m_anchors & akRight);
    const auto [y, h] = follow(g.y(), g.height(), oldSize.height(), newSize.height(), m_anchors & akTop,
                               m_anchors & akBottom);
    if (QRect(x, y, w, h) != g)
        m_control->setGeometry(x, y, std::max(w, 0), std::max(h, 0));
}

void TControl::watchParent()
{
    moveEventFilter(m_filter, m_watchedParent, m_control->isWindow() ? nullptr : m_control->parentWidget());
}

void TControl::filterParentEvent(QEvent *event)
{
    if (event->type() != QEvent::Resize)
        return;
    const auto *resize = static_cast<QResizeEvent *>(event);
    if (m_align != alNone && m_align != alCustom)
        AlignControls(m_watchedParent);
    else
        anchorToParent(resize->oldSize(), resize->size());
}

// --- size -----------------------------------------------------------------------

// OnCanResize sees a new size before the control takes it. A size the
// handler changes is applied instead, a refused one is undone; the control
// itself only ever sees the sizes that were accepted. (A hidden control gets
// its resize events when it is shown, so the handler is asked then.)
bool TControl::canResize(QResizeEvent *event)
{
    const QSize size = event->size();
    if (m_applyingSize) {
        if (size == m_acceptedSize)
            return true; // back to the size the control has
        m_acceptedSize = size;
        return false;
    }
    const QSize old = m_acceptedSize.isValid() ? m_acceptedSize : event->oldSize();
    if ((!OnCanResize && !OnConstrainedResize) || size == old) {
        m_acceptedSize = size;
        return false;
    }
    QSize wanted = size;
    if (OnCanResize) {
        int width = size.width(), height = size.height();
        bool resize = true;
        OnCanResize(m_control, width, height, resize);
        wanted = resize ? QSize(std::max(width, 0), std::max(height, 0)) : (old.isValid() ? old : size);
    }
    if (OnConstrainedResize)
        wanted = constrainedSize(wanted);
    if (wanted == size) {
        m_acceptedSize = size;
        return false;
    }
    m_applyingSize = true;
    const bool sendsEvents = m_control->isVisible();
    m_control->resize(wanted);
    if (!sendsEvents && m_control->size() != old) {
        // Hidden: resize() only notes the size; tell the control now.
        QResizeEvent taken(m_control->size(), old);
        QCoreApplication::sendEvent(m_control, &taken);
        m_control->setAttribute(Qt::WA_PendingResizeEvent, false);
    }
    m_applyingSize = false;
    return true;
}

// Qt has held the size to the Constraints already; the handler can only
// narrow the limits further.
QSize TControl::constrainedSize(QSize size)
{
    int minWidth = m_constraints->MinWidth(), minHeight = m_constraints->MinHeight();
    int maxWidth = m_constraints->MaxWidth(), maxHeight = m_constraints->MaxHeight();
    OnConstrainedResize(m_control, minWidth, minHeight, maxWidth, maxHeight);
    auto limit = [](int value, int least, int greatest) {
        if (greatest > 0)
            value = std::min(value, greatest);
        return std::max(value, std::max(least, 0));
    };
    return {limit(size.width(), minWidth, maxWidth), limit(size.height(), minHeight, maxHeight)};
}

// --- colour -------------------------------------------------------------------

bool TControl::ContextPopup(QPoint pos, QPoint globalPos, bool fromMouse)
{
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(m_control, fromMouse ? pos : QPoint(-1, -1), handled);
    if (!handled && m_popupMenu) {
        m_popupMenu->popup(globalPos);
        handled = true;
    }
    return handled;
}

TColor TControl::ColorOf(const QWidget *widget)
{
    if (const TControl *c = ControlOf(const_cast<QWidget *>(widget)))
        return c->ControlColor();
    return propertyColor(widget);
}

TColor TControl::ControlColor() const
{
    return propertyColor(m_control);
}

void TControl::ApplyParentColor(TColor)
{
}

void TControl::ParentColorChanged()
{
    takeParentColor();
}

void TControl::setParentColor(bool value)
{
    if (value == m_parentColor)
        return;
    m_parentColor = value;
    takeParentColor();
}

void TControl::takeParentColor()
{
    QWidget *parent = m_control->parentWidget();
    if (!m_parentColor || !parent || m_control->isWindow())
        return;
    m_applyingParentColor = true;
    ApplyParentColor(ColorOf(parent));
    m_applyingParentColor = false;
}

void TControl::ColorChanged()
{
    if (!m_applyingParentColor)
        m_parentColor = false;
    NotifyColorChanged(m_control);
}

void TControl::NotifyColorChanged(QWidget *parent)
{
    sendToChildren(parent, parentColorChangedEvent());
}

// --- hints --------------------------------------------------------------------

bool TControl::parentsShowHint() const
{
    QWidget *parent = m_control->parentWidget();
    if (!parent)
        return true;
    if (const TControl *c = ControlOf(parent))
        return c->ShowHint();
    const QVariant value = parent->property("ShowHint");
    return value.isValid() ? value.toBool() : true;
}

bool TControl::ShowHint() const
{
    return m_parentShowHint ? parentsShowHint() : m_showHint;
}

void TControl::setShowHint(bool value)
{
    m_showHint = value;
    m_parentShowHint = false;
}

void TControl::setParentShowHint(bool value)
{
    if (value == m_parentShowHint)
        return;
    // Leaving the parent's value keeps it as the control's own.
    if (!value)
        m_showHint = parentsShowHint();
    m_parentShowHint = value;
}

// --- three-dimensional look -----------------------------------------------------

bool TControl::parentsCtl3D() const
{
    QWidget *parent = m_control->isWindow() ? nullptr : m_control->parentWidget();
    if (!parent)
        return true;
    if (const TControl *c = ControlOf(parent))
        return c->Ctl3D();
    const QVariant value = parent->property("Ctl3D");
    return value.isValid() ? value.toBool() : true;
}

bool TControl::Ctl3D() const
{
    return m_parentCtl3D ? parentsCtl3D() : m_ctl3D;
}

void TControl::setCtl3D(bool value)
{
    const bool before = Ctl3D();
    m_ctl3D = value;
    m_parentCtl3D = false;
    ctl3DChangedFrom(before);
}

void TControl::setParentCtl3D(bool value)
{
    if (value == m_parentCtl3D)
        return;
    const bool before = Ctl3D();
    // Leaving the parent's value keeps it as the control's own.
    if (!value)
        m_ctl3D = before;
    m_parentCtl3D = value;
    ctl3DChangedFrom(before);
}

void TControl::ctl3DChangedFrom(bool before)
{
    if (Ctl3D() == before)
        return;
    Ctl3DChanged();
    sendToChildren(m_control, parentCtl3DChangedEvent());
}

void TControl::Ctl3DChanged()
{
}

// --- reading order -----------------------------------------------------------

// Qt keeps the following: a widget without its own layout direction takes
// its parent's, now and on each change.
bool TControl::ParentBiDiMode() const
{
    return !m_control->testAttribute(Qt::WA_SetLayoutDirection);
}

TBiDiMode TControl::BiDiMode() const
{
    if (!ParentBiDiMode())
        return m_biDiMode;
    if (QWidget *parent = m_control->isWindow() ? nullptr : m_control->parentWidget())
        if (const TControl *c = ControlOf(parent))
            return c->BiDiMode();
    return m_control->layoutDirection() == Qt::RightToLeft ? bdRightToLeft : bdLeftToRight;
}

void TControl::setBiDiMode(TBiDiMode value)
{
    m_biDiMode = value;
    m_control->setLayoutDirection(value == bdLeftToRight ? Qt::LeftToRight : Qt::RightToLeft);
}

void TControl::setParentBiDiMode(bool value)
{
    if (value == ParentBiDiMode())
        return;
    if (value)
        m_control->unsetLayoutDirection();
    else
        setBiDiMode(BiDiMode());
}

// --- tab order ----------------------------------------------------------------

int TControl::TabOrder() const
{
    QWidget *parent = m_control->parentWidget();
    if (!parent || m_control->isWindow())
        return -1;
    const std::vector<QWidget *> siblings = tabSiblings(parent);
    const auto at = std::find(siblings.begin(), siblings.end(), m_control);
    return at == siblings.end() ? -1 : int(at - siblings.begin());
}

void TControl::setTabOrder(int value)
{
    QWidget *parent = m_control->parentWidget();
    if (!parent || m_control->isWindow() || value < 0 || value == TabOrder())
        return;
    std::vector<QWidget *> order = tabSiblings(parent);
    order.erase(std::remove(order.begin(), order.end(), m_control), order.end());
    if (order.empty())
        return;
    order.insert(order.begin() + std::min(value, int(order.size())), m_control);
    orderSiblings(parent, order);
}

bool TControl::TabStop() const
{
    return m_control->focusPolicy() & Qt::TabFocus;
}

void TControl::setTabStop(bool value)
{
    const int policy = m_control->focusPolicy();
    m_control->setFocusPolicy(Qt::FocusPolicy(value ? policy | Qt::TabFocus : policy & ~Qt::TabFocus));
}

// --- dragging -----------------------------------------------------------------

void TControl::BeginDrag(bool immediate, int threshold)
{
    const bool pressed = QGuiApplication::mouseButtons() != Qt::NoButton;
    TDragTracker::Begin(*this, immediate, threshold, pressed ? m_pressGlobal : QPoint());
}

void TControl::EndDrag(bool drop)
{
    if (TDragTracker *t = TDragTracker::Active(); t && t->Source() == this)
        TDragTracker::End(drop);
}

void TControl::PressedAt(QPoint globalPos, Qt::MouseButton button)
{
    m_pressGlobal = globalPos;
    // The press goes on to the control as usual: released before the
    // mouse has moved far, it is a click.
    if (m_dragMode == dmAutomatic && m_dragKind == dkDrag && button == Qt::LeftButton && !TDragTracker::Active())
        TDragTracker::Begin(*this, false, -1, m_pressGlobal);
}

bool TControl::Dragging() const
{
    const TDragTracker *t = TDragTracker::Active();
    return t && t->Source() == this && t->Started();
}

// --- events of the control ----------------------------------------------------

bool TControl::filterControlEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize: {
        auto *resize = static_cast<QResizeEvent *>(event);
        if (canResize(resize))
            return true;
        if (m_align != alNone && m_align != alCustom && m_watchedParent) {
            // An aligned control keeps its place: aligning may resize it
            // again, and then this event is out of date.
            AlignControls(m_watchedParent);
            return m_control->size() != resize->size();
        }
        return false;
    }
    case QEvent::Move:
        // An aligned control keeps its place.
        if (m_align != alNone && m_align != alCustom && m_watchedParent)
            AlignControls(m_watchedParent);
        return false;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (m_align != alNone && m_align != alCustom && m_watchedParent)
            AlignControls(m_watchedParent);
        return false;
    case QEvent::ParentChange:
        watchParent();
        takeParentColor();
        // The new parent's look may differ; the reparented control is
        // painted anew anyway.
        if (m_parentCtl3D)
            Ctl3DChanged();
        return false;
    case QEvent::Polish:
    case QEvent::PaletteChange:
        takeParentColor();
        return false;
    case QEvent::ToolTip:
        return !ShowHint();
    case QEvent::MouseButtonPress:
    case QEvent::ContextMenu:
        return filterPressOrMenu(m_control, event);
    default:
        if (event->type() == parentColorChangedEvent()) {
            ParentColorChanged();
            return true;
        }
        if (event->type() == parentCtl3DChangedEvent()) {
            // The parent's look changed; it is this control's while it
            // follows the parent.
            if (m_parentCtl3D) {
                Ctl3DChanged();
                sendToChildren(m_control, parentCtl3DChangedEvent());
            }
            return true;
        }
        return false;
    }
}

// A press on the control or its watched child (source) is remembered; a
// context-menu request there asks OnContextPopup and PopupMenu. The
// keyboard's requests go to the control, which has the focus; the mouse's
// over the child arrive at the child, before it shows a menu of its own,
// and one the child leaves unanswered comes on to the control: it was
// asked for already.
bool TControl::filterPressOrMenu(QWidget *source, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        PressedAt(press->globalPosition().toPoint(), press->button());
        return false;
    }
    if (event->type() != QEvent::ContextMenu)
        return false;
    auto *menu = static_cast<QContextMenuEvent *>(event);
    const bool fromMouse = menu->reason() == QContextMenuEvent::Mouse;
    const bool overChild = source == m_control && m_watchedChild && m_watchedChild->isVisible()
                           && m_watchedChild->geometry().contains(menu->pos());
    if (source != m_control ? !fromMouse : fromMouse && overChild)
        return false;
    if (!ContextPopup(source->mapTo(m_control, menu->pos()), menu->globalPos(), fromMouse))
        return false;
    menu->accept();
    return true;
}

} // namespace platform
