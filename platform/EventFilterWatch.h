#pragma once

#include <QPointer>
#include <QWidget>

namespace platform {

// Moves filter from the widget watched so far to widget (or to none).
inline void moveEventFilter(QObject *filter, QPointer<QWidget> &watched, QWidget *widget)
{
    if (widget == watched)
        return;
    if (watched)
        watched->removeEventFilter(filter);
    watched = widget;
    if (widget)
        widget->installEventFilter(filter);
}

} // namespace platform
