#pragma once

// The published properties every windowed skinned control inherits from the
// toolkit's base control (platform::TControl): one line in the class body of
// a control that mixes TControl in, after Q_OBJECT (moc expands it).

#include "platform/TControl.h"
#include "platform/TSizeConstraints.h"

#define TONVIK_COOL_CONTROL_PROPERTIES \
    Q_PROPERTY(platform::TAlign Align READ Align WRITE setAlign) \
    Q_PROPERTY(platform::TAnchors Anchors READ Anchors WRITE setAnchors) \
    Q_PROPERTY(platform::TSizeConstraints *Constraints READ Constraints CONSTANT) \
    Q_PROPERTY(QCursor DragCursor READ DragCursor WRITE setDragCursor) \
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE setParentColor) \
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint) \
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE setParentShowHint) \
    Q_PROPERTY(QMenu *PopupMenu READ PopupMenu WRITE setPopupMenu) \
    Q_PROPERTY(int TabOrder READ TabOrder WRITE setTabOrder)
