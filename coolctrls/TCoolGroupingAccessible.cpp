#include "TCoolGroupingAccessible.h"

#include "TCoolTextAccessible.h"

#include <QVariant>
#include <QWidget>

namespace coolctrls {

TCoolGroupingAccessible::TCoolGroupingAccessible(QWidget *container)
    : QAccessibleWidget(container, QAccessible::Grouping)
{
}

QString TCoolGroupingAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return stripAccelerator(widget()->property("Caption").toString());
    return QAccessibleWidget::text(t);
}

} // namespace coolctrls
