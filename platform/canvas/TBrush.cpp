#include "platform/canvas/TBrush.h"

namespace platform {

void TBrush::Assign(const TBrush &source)
{
    if (&source == this)
        return;
    m_color = source.m_color;
    m_style = source.m_style;
    changed();
}

void TBrush::setColor(TColor value)
{
    if (value == m_color && m_style != TBrushStyle::bsClear)
        return;
    m_color = value;
    m_style = TBrushStyle::bsSolid;
    changed();
}

void TBrush::setStyle(TBrushStyle value)
{
    if (value == m_style)
        return;
    m_style = value;
    changed();
}

bool TBrush::operator==(const TBrush &other) const
{
    return m_color == other.m_color && m_style == other.m_style;
}

void TBrush::changed()
{
    ++m_changes;
    if (OnChange)
        OnChange(this);
}

} // namespace platform
