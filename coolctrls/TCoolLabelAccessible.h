#pragma once

#include "TCoolTextAccessible.h"

namespace coolctrls {

class TCoolLabel;

// A skinned label to assistive technology. A label that shows text is
// static text named by its caption, with the text interface; a label that
// reacts to a click (a mouse-down, mouse-up or click handler is set) is a
// button named by its caption whose Press action does what a click does.
// A name or description the program sets (accessibleName,
// accessibleDescription, else the tooltip) wins, as on every widget.
class TCoolLabelAccessible : public TCoolTextAccessible
{
public:
    explicit TCoolLabelAccessible(TCoolLabel *label);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

    // Tells assistive technology that the caption changed from oldCaption:
    // the name and the text as a screen reader follows them.
    static void captionChanged(TCoolLabel *label, const QString &oldCaption);

protected:
    QString plainText() const override;
    QPoint textOrigin() const override;
    bool offersText() const override;

private:
    TCoolLabel *label() const;
};

} // namespace coolctrls
