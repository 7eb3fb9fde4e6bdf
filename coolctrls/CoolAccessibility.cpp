#include "CoolAccessibility.h"

#include "TCoolGroupBox.h"
#include "TCoolGroupingAccessible.h"
#include "TCoolLabel.h"
#include "TCoolLabelAccessible.h"
#include "TCoolPanel.h"
#include "TCoolScrollingText.h"
#include "TCoolScrollingTextAccessible.h"

#include <QAccessible>

namespace coolctrls {

QAccessibleInterface *CoolAccessibleFactory(const QString &className, QObject *object)
{
    // Asked for each class of the object's class chain, most derived
    // first: a subclass gets the interface of the skinned control it
    // derives from unless a factory of the program answers for it first.
    if (className == QLatin1String(TCoolLabel::staticMetaObject.className()))
        return new TCoolLabelAccessible(qobject_cast<TCoolLabel *>(object));
    if (className == QLatin1String(TCoolScrollingText::staticMetaObject.className()))
        return new TCoolScrollingTextAccessible(qobject_cast<TCoolScrollingText *>(object));
    if (className == QLatin1String(TCoolPanel::staticMetaObject.className())
        || className == QLatin1String(TCoolGroupBox::staticMetaObject.className()))
        return new TCoolGroupingAccessible(qobject_cast<QWidget *>(object));
    return nullptr;
}

void RegisterCoolAccessibility()
{
    static const bool registered = [] {
        QAccessible::installFactory(CoolAccessibleFactory);
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace coolctrls
