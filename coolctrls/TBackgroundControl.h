#pragma once

#include "TWallpaperControl.h"

namespace coolctrls {

// A control that chooses its background by properties of its own (panel,
// group box, label, scrolling text): the wallpaper properties and
//   Stretched    stretch the wallpaper instead of tiling it
//   Transparent  show an ancestor's background (TransparencyLevel parents
//                up) instead; the label shows none of its own at all.
// What a change of Transparent repaints is the control's
// TransparentChanged().
class TBackgroundControl : public TWallpaperControl
{
public:
    using TWallpaperControl::setStretched;
    using TWallpaperControl::setTransparent;
    using TWallpaperControl::Stretched;
    using TWallpaperControl::Transparent;

protected:
    using TWallpaperControl::TWallpaperControl;
};

} // namespace coolctrls
