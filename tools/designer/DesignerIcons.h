#pragma once

// The widget box icons of the controls, drawn in the classic colours.

#include <QIcon>

namespace designer {

QIcon PanelIcon();
QIcon GroupBoxIcon();
QIcon LabelIcon();
QIcon ButtonIcon();
QIcon ComboBoxIcon();
QIcon ListBoxIcon();
QIcon MemoIcon();
QIcon ScrollingTextIcon();
QIcon Image32Icon();
QIcon MidiGenIcon();

} // namespace designer
