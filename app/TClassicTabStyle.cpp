#include "TClassicTabStyle.h"

#include <QStyleFactory>

namespace app {

TClassicTabStyle::TClassicTabStyle(QObject *parent)
    : QProxyStyle(QStyleFactory::create("Windows"))
{
    setParent(parent);
}

QRect TClassicTabStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    QRect r = QProxyStyle::subElementRect(element, option, widget);
    if (element == SE_TabWidgetTabContents)
        r.adjust(2, 2, -2, 0);
    return r;
}

} // namespace app
