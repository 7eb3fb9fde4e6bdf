#include "platform/canvas/TPen.h"

#include <algorithm>

namespace platform {

void TPen::Assign(const TPen &source)
{
    if (&source == this)
        return;
    m_color = source.m_color;
    m_width = source.m_width;
    m_style = source.m_style;
    m_mode = source.m_mode;
    changed();
}

void TPen::setColor(TColor value)
{
    if (value == m_color)
        return;
    m_color = value;
    changed();
}

void TPen::setWidth(int value)
{
    value = std::max(1, value);
    if (value == m_width)
        return;
    m_width = value;
    changed();
}

void TPen::setStyle(TPenStyle value)
{
    if (value == m_style)
        return;
    m_style = value;
    changed();
}

void TPen::setMode(TPenMode value)
{
    if (value == m_mode)
        return;
    m_mode = value;
    changed();
}

bool TPen::operator==(const TPen &other) const
{
    return m_color == other.m_color && m_width == other.m_width && m_style == other.m_style
        && m_mode == other.m_mode;
}

void TPen::changed()
{
    ++m_changes;
    if (OnChange)
        OnChange(this);
}

} // namespace platform
