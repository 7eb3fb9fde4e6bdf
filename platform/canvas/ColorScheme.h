#pragma once

// The one fixed colour scheme of the skinned controls: the classic light grey
// desktop (button face #D4D0C8, shadow #808080, highlight white, dark shadow
// #404040, selection #0A246A). It is fixed so the program looks the same on
// any desktop theme.

#include <QPalette>

namespace platform {

// A QPalette filled from the classic scheme (active, inactive and disabled
// groups), for Qt's own widgets.
QPalette classicPalette();

// Start-up set-up of the classic look: installs the font substitutions
// (Fonts.h), the Fusion style (so the desktop theme cannot change how Qt's own
// controls are drawn), the classic palette and the classic default font
// ("MS Sans Serif", 11-pixel character height). Call once after the
// QApplication exists.
void applyClassicLook();

} // namespace platform
