#include "TCoolScrollingTextAccessible.h"

#include "TCoolScrollingText.h"

namespace coolctrls {

TCoolScrollingTextAccessible::TCoolScrollingTextAccessible(TCoolScrollingText *control)
    : TCoolTextAccessible(control, QAccessible::StaticText)
{
}

TCoolScrollingText *TCoolScrollingTextAccessible::control() const
{
    return static_cast<TCoolScrollingText *>(widget());
}

QString TCoolScrollingTextAccessible::plainText() const
{
    // Here the "&" is an ordinary character unless ShowAccelChar is off.
    const QString text = control()->Strings().join('\n');
    return control()->ShowAccelChar() ? text : stripAccelerator(text);
}

QPoint TCoolScrollingTextAccessible::textOrigin() const
{
    return {control()->ScrollX(), control()->ScrollY()};
}

QString TCoolScrollingTextAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && control()->accessibleName().isEmpty())
        return plainText().replace('\n', ' ');
    return QAccessibleWidget::text(t);
}

} // namespace coolctrls
