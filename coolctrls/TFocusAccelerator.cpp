#include "TFocusAccelerator.h"

#include <QKeySequence>
#include <QShortcutEvent>
#include <QWidget>

namespace coolctrls {

TFocusAccelerator::~TFocusAccelerator()
{
    // The control is still whole here: it owns this part.
    if (m_shortcutId != 0)
        m_control->releaseShortcut(m_shortcutId);
}

void TFocusAccelerator::setFocusControl(QWidget *control)
{
    if (m_focusControl == control)
        return;
    m_focusControl = control;
    updateShortcut();
}

void TFocusAccelerator::setText(const QString &text, bool active)
{
    if (text == m_text && active == m_active)
        return;
    m_text = text;
    m_active = active;
    updateShortcut();
}

QChar TFocusAccelerator::AccelCharOf(const QString &text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return text[i + 1].toLower();
        ++i;  // "&&" is a literal ampersand
    }
    return {};
}

bool TFocusAccelerator::DialogChar(QChar key)
{
    const QChar accel = AccelChar();
    if (!m_focusControl || !m_control->isEnabled() || !m_active || accel.isNull() || key.toLower() != accel)
        return false;
    if (m_focusControl->isEnabled() && m_focusControl->isVisible() && m_focusControl->focusPolicy() != Qt::NoFocus)
        m_focusControl->setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool TFocusAccelerator::ShortcutEvent(QEvent *event)
{
    if (event->type() != QEvent::Shortcut)
        return false;
    const auto *e = static_cast<QShortcutEvent *>(event);
    if (m_shortcutId == 0 || e->shortcutId() != m_shortcutId || e->key().isEmpty())
        return false;
    return DialogChar(QChar(e->key()[0].key()));
}

void TFocusAccelerator::updateShortcut()
{
    if (m_shortcutId != 0) {
        m_control->releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    const QChar accel = AccelChar();
    if (!m_focusControl || !m_active || accel.isNull())
        return;
    m_shortcutId =
        m_control->grabShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(accel.toUpper().unicode()))));
}

} // namespace coolctrls
