#pragma once

#include <Qt>

class QWidget;

namespace coolctrls {

// Arrow-key focus movement as in a group of buttons: the focus goes from
// `from` to the nearest sibling of the same class in the key's direction
// that takes the focus with Tab (enabled, visible, with a tab focus
// policy). Controls in the same row (for Left and Right) or column (for Up
// and Down) come first. Answers whether the focus moved; at the edge of the
// group it stays.
bool MoveFocusByArrow(QWidget *from, Qt::Key key);

// Whether the user's last input was a key rather than a mouse button or a
// touch: a control that takes the focus then shows it (a focus rectangle),
// and one focused by a click, or moved to after one, does not. Input is
// followed from the first call on (a call before any input answers false).
bool LastInputWasKeyboard();

} // namespace coolctrls
