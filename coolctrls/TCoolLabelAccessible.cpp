#include "TCoolLabelAccessible.h"

#include "TCoolLabel.h"

#include <QAccessible>
#include <QShortcut>

namespace coolctrls {

TCoolLabelAccessible::TCoolLabelAccessible(TCoolLabel *label)
    : TCoolTextAccessible(label, QAccessible::StaticText)
{
}

TCoolLabel *TCoolLabelAccessible::label() const
{
    return static_cast<TCoolLabel *>(widget());
}

QAccessible::Role TCoolLabelAccessible::role() const
{
    return label()->ReactsToClick() ? QAccessible::Button : QAccessible::StaticText;
}

bool TCoolLabelAccessible::offersText() const
{
    return !label()->ReactsToClick();
}

QString TCoolLabelAccessible::plainText() const
{
    return label()->ShowAccelChar() ? stripAccelerator(label()->Caption()) : label()->Caption();
}

QPoint TCoolLabelAccessible::textOrigin() const
{
    // The shadow to the left and above moves the text by its size.
    const bool shadowFirst = label()->isEnabled() && !label()->SimpleView()
                          && label()->ShadowPos() == spLeftTop;
    const int offset = shadowFirst ? label()->ShadowSize() : 0;
    return {offset, offset};
}

QString TCoolLabelAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && label()->accessibleName().isEmpty())
        return plainText();
    return QAccessibleWidget::text(t);
}

QStringList TCoolLabelAccessible::actionNames() const
{
    QStringList names;
    if (label()->ReactsToClick() && label()->isEnabled())
        names << pressAction();
    return names + QAccessibleWidget::actionNames();
}

void TCoolLabelAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction())
        label()->Click();
    else
        QAccessibleWidget::doAction(actionName);
}

QStringList TCoolLabelAccessible::keyBindingsForAction(const QString &actionName) const
{
    // The direct keys a program gave the label (shortcuts owned by it).
    QStringList keys;
    if (actionName == pressAction())
        for (const QShortcut *shortcut : label()->findChildren<QShortcut *>(Qt::FindDirectChildrenOnly))
            if (shortcut->isEnabled() && !shortcut->key().isEmpty())
                keys << shortcut->key().toString(QKeySequence::NativeText);
    return keys;
}

void TCoolLabelAccessible::captionChanged(TCoolLabel *label, const QString &oldCaption)
{
    if (!QAccessible::isActive())
        return;
    if (label->accessibleName().isEmpty()) {
        QAccessibleEvent nameChanged(label, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameChanged);
    }
    if (!label->ReactsToClick()) {
        const auto shown = [label](const QString &caption) {
            return label->ShowAccelChar() ? stripAccelerator(caption) : caption;
        };
        const QString before = shown(oldCaption);
        const QString after = shown(label->Caption());
        QAccessibleTextUpdateEvent textChanged(label, 0, before, after);
        QAccessible::updateAccessibility(&textChanged);
    }
}

} // namespace coolctrls
