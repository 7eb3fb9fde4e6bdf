#include "TShadowedCaption.h"

using namespace platform;

namespace coolctrls {

QColor TShadowedCaption::ShadowColor() const
{
    return ColorToQColor(m_shadow.Color);
}

void TShadowedCaption::setShadowColor(const QColor &value)
{
    if (m_shadow.setColor(value.isValid() ? QColorToColor(value) : clBtnHighlight))
        ShadowChanged();
}

void TShadowedCaption::setShadowSize(int value)
{
    if (m_shadow.setSize(value))
        ShadowChanged();
}

void TShadowedCaption::setShadowPos(TShadowPosition value)
{
    if (m_shadow.setPos(value))
        ShadowChanged();
}

void TShadowedCaption::setSimpleView(bool value)
{
    if (m_shadow.setSimpleView(value))
        ShadowChanged();
}

} // namespace coolctrls
