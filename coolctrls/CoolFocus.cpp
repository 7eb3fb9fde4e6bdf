#include "CoolFocus.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <limits>

namespace coolctrls {

namespace {

bool takesTabFocus(const QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible();
}

// How far `to` lies from `from` in the key's direction: the distance along
// that direction plus a penalty for the distance across it, which is
// larger for a control outside the row or column. -1 when it does not lie
// that way.
long long distance(const QRect &from, const QRect &to, Qt::Key key)
{
    const QPoint d = to.center() - from.center();
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down;
    const int along = key == Qt::Key_Up ? -d.y() : key == Qt::Key_Down ? d.y() : key == Qt::Key_Left ? -d.x() : d.x();
    if (along <= 0)
        return -1;
    const int across = vertical ? qAbs(d.x()) : qAbs(d.y());
    const bool inLine = vertical ? (to.left() <= from.right() && from.left() <= to.right())
                                 : (to.top() <= from.bottom() && from.top() <= to.bottom());
    const long long penalty = inLine ? 2LL * across : 1000000LL + 4LL * across;
    return along + penalty;
}

// Follows the kind of the user's input for the whole application.
class InputKindFilter : public QObject
{
public:
    using QObject::QObject;
    bool keyboard = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            keyboard = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::TouchBegin:
            keyboard = false;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

bool LastInputWasKeyboard()
{
    // One filter per application object, owned by it.
    static QPointer<InputKindFilter> filter;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    if (!filter || filter->parent() != app) {
        filter = new InputKindFilter(app);
        app->installEventFilter(filter);
    }
    return filter->keyboard;
}

bool MoveFocusByArrow(QWidget *from, Qt::Key key)
{
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    QWidget *parent = from->parentWidget();
    if (!parent)
        return false;
    QWidget *best = nullptr;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (QWidget *sibling : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (sibling == from || sibling->metaObject() != from->metaObject() || !takesTabFocus(sibling))
            continue;
        const long long d = distance(from->geometry(), sibling->geometry(), key);
        if (d >= 0 && d < bestDistance) {
            best = sibling;
            bestDistance = d;
        }
    }
    if (!best)
        return false;
    const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
    best->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

} // namespace coolctrls
