#include "TShadowedCaption.h"

using namespace platform;

namespace coolctrls {

void TShadowedCaption::setShadowColor(TColor value)
{
    if (m_shadow.setColor(value == clDefault ? clBtnHighlight : value))
        ShadowChanged();
}

void TShadowedCaption::setShadowSize(int value)
{
    if (m_shadow.setSize(value))
        ShadowChanged();
}

void TShadowedCaption::setShadowPos(TShadowPosition value)
{
    // A position outside the four (a number from a property editor) is
    // ignored.
    if (value > spRightTop)
        return;
    if (m_shadow.setPos(value))
        ShadowChanged();
}

void TShadowedCaption::setSimpleView(bool value)
{
    if (m_shadow.setSimpleView(value))
        ShadowChanged();
}

} // namespace coolctrls
