#include "TSizeConstraints.h"

#include <QWidget>

#include <algorithm>

namespace platform {

TSizeConstraints::TSizeConstraints(QWidget *control)
    : QObject(control), m_control(control)
{
}

void TSizeConstraints::setMaxHeight(int value)
{
    value = std::max(value, 0);
    if (value == m_maxHeight)
        return;
    m_maxHeight = value;
    if (value > 0 && value < m_minHeight)
        m_minHeight = value;
    changed();
}

void TSizeConstraints::setMaxWidth(int value)
{
    value = std::max(value, 0);
    if (value == m_maxWidth)
        return;
    m_maxWidth = value;
    if (value > 0 && value < m_minWidth)
        m_minWidth = value;
    changed();
}

void TSizeConstraints::setMinHeight(int value)
{
    value = std::max(value, 0);
    if (value == m_minHeight)
        return;
    m_minHeight = value;
    if (m_maxHeight > 0 && value > m_maxHeight)
        m_maxHeight = value;
    changed();
}

void TSizeConstraints::setMinWidth(int value)
{
    value = std::max(value, 0);
    if (value == m_minWidth)
        return;
    m_minWidth = value;
    if (m_maxWidth > 0 && value > m_maxWidth)
        m_maxWidth = value;
    changed();
}

void TSizeConstraints::Assign(const TSizeConstraints &source)
{
    if (&source == this)
        return;
    m_maxHeight = source.m_maxHeight;
    m_maxWidth = source.m_maxWidth;
    m_minHeight = source.m_minHeight;
    m_minWidth = source.m_minWidth;
    changed();
}

void TSizeConstraints::changed()
{
    // Qt resizes the control into the new limits at once.
    m_control->setMinimumSize(m_minWidth, m_minHeight);
    m_control->setMaximumSize(m_maxWidth > 0 ? m_maxWidth : QWIDGETSIZE_MAX,
                              m_maxHeight > 0 ? m_maxHeight : QWIDGETSIZE_MAX);
    if (OnChange)
        OnChange(this);
}

} // namespace platform
