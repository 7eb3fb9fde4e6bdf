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
    setMaximum(m_maxHeight, m_minHeight, value);
}

void TSizeConstraints::setMaxWidth(int value)
{
    setMaximum(m_maxWidth, m_minWidth, value);
}

void TSizeConstraints::setMinHeight(int value)
{
    setMinimum(m_minHeight, m_maxHeight, value);
}

void TSizeConstraints::setMinWidth(int value)
{
    setMinimum(m_minWidth, m_maxWidth, value);
}

void TSizeConstraints::setMaximum(int &maximum, int &minimum, int value)
{
    value = std::max(value, 0);
    if (value == maximum)
        return;
    maximum = value;
    if (value > 0 && value < minimum)
        minimum = value;
    changed();
}

void TSizeConstraints::setMinimum(int &minimum, int &maximum, int value)
{
    value = std::max(value, 0);
    if (value == minimum)
        return;
    minimum = value;
    if (maximum > 0 && value > maximum)
        maximum = value;
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
