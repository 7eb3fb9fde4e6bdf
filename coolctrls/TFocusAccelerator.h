#pragma once

#include <QChar>
#include <QPointer>
#include <QString>

class QEvent;
class QWidget;

namespace coolctrls {

// The accelerator of a text control with a FocusControl (label, scrolling
// text): Alt and the letter after the first single "&" of its text give
// FocusControl the focus. The control keeps one of these, tells it its text
// and whether the accelerator is active (ShowAccelChar), and hands it the
// shortcut events it receives.
class TFocusAccelerator
{
public:
    explicit TFocusAccelerator(QWidget *control) : m_control(control) {}
    ~TFocusAccelerator();
    TFocusAccelerator(const TFocusAccelerator &) = delete;
    TFocusAccelerator &operator=(const TFocusAccelerator &) = delete;

    QWidget *FocusControl() const { return m_focusControl.data(); }
    void setFocusControl(QWidget *control);
    // The control's text and whether its accelerator is active.
    void setText(const QString &text, bool active);

    // The accelerator letter (lower case) of text, or a null QChar; "&&" is
    // a literal ampersand.
    static QChar AccelCharOf(const QString &text);
    QChar AccelChar() const { return AccelCharOf(m_text); }
    // The key typed with the accelerator modifier: when it is the
    // accelerator, the control is enabled and the accelerator active,
    // FocusControl takes the focus if it can; answers whether the key was
    // handled.
    bool DialogChar(QChar key);
    // A QEvent::Shortcut for this accelerator: DialogChar with its key.
    bool ShortcutEvent(QEvent *event);

private:
    void updateShortcut();

    QWidget *m_control;
    QPointer<QWidget> m_focusControl;
    QString m_text;
    bool m_active = true;
    int m_shortcutId = 0;
};

} // namespace coolctrls
