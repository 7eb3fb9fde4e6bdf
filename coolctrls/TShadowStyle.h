#pragma once

#include "CoolTypes.h"
#include "platform/canvas/Colors.h"

#include <QtGlobal>

namespace coolctrls {

// The shadowed-text property group of a control's caption: ShadowColor,
// ShadowSize (0..255), ShadowPos and SimpleView (plain text, no shadow).
// Setting any of the first three turns SimpleView off, so a caption given a
// shadow shows it (also when the value itself is the same). Each setter
// answers whether anything changed, so the control knows whether to
// repaint. Drawn by DrawCaption (CoolUtils.h).
struct TShadowStyle
{
    platform::TColor Color = platform::clBtnHighlight;
    int Size = 1;
    TShadowPosition Pos = spLeftTop;
    bool SimpleView = false;

    bool setColor(platform::TColor value) { return setShadowValue(Color, value); }
    bool setSize(int value) { return setShadowValue(Size, qBound(0, value, 255)); }
    bool setPos(TShadowPosition value) { return setShadowValue(Pos, value); }
    bool setSimpleView(bool value)
    {
        if (SimpleView == value)
            return false;
        SimpleView = value;
        return true;
    }

    bool operator==(const TShadowStyle &) const = default;

private:
    template<typename T>
    bool setShadowValue(T &field, T value)
    {
        const bool changed = field != value || SimpleView;
        field = value;
        SimpleView = false;
        return changed;
    }
};

} // namespace coolctrls
