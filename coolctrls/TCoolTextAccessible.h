#pragma once

#include <QAccessibleWidget>

namespace coolctrls {

// The accessible side of a control that shows read-only text: the text
// interface over the control's plain text (what a screen reader reads
// character by character or word by word), with character rectangles from
// the control's font. The control's kind says where its text starts and
// which text it is; the text is never selected or edited.
class TCoolTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    TCoolTextAccessible(QWidget *widget, QAccessible::Role role);

    void *interface_cast(QAccessible::InterfaceType type) override;

    // Read-only text: no selection and no cursor to move.
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override { return plainText().size(); }
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    using QAccessibleWidget::text;

protected:
    // The text as shown, line breaks included.
    virtual QString plainText() const = 0;
    // Where the first character's cell starts, in the control's coordinates.
    virtual QPoint textOrigin() const { return {}; }
    // Whether the text interface is offered (a label that acts as a button
    // has none).
    virtual bool offersText() const { return true; }
};

// The caption as read: a single "&" marks the accelerator and is not read,
// "&&" is one "&".
QString stripAccelerator(const QString &caption);

} // namespace coolctrls
