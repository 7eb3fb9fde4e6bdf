#pragma once

// The published properties every skinned control inherits from the
// toolkit's base control, served by platform::TControl (mixed into the
// control beside platform::TControlEvents). One line in the class body,
// after Q_OBJECT (moc expands these macros):
//   TONVIK_COOL_CONTROL_PROPERTIES   Align, Anchors, Constraints, DragCursor,
//                                    ParentShowHint, PopupMenu, ShowHint
//   TONVIK_COOL_PARENT_COLOR_PROPERTY  ParentColor (a control with a Color)
//   TONVIK_COOL_TAB_PROPERTIES       TabOrder, TabStop (windowed controls;
//                                    the class also declares the accessors
//                                    of TONVIK_COOL_TAB_ACCESSORS)

#include "platform/TControl.h"
#include "platform/TSizeConstraints.h"

#include <QCursor>
#include <QMenu>

#define TONVIK_COOL_CONTROL_PROPERTIES \
    Q_PROPERTY(platform::TAlign Align READ Align WRITE setAlign) \
    Q_PROPERTY(platform::TAnchors Anchors READ Anchors WRITE setAnchors) \
    Q_PROPERTY(platform::TSizeConstraints *Constraints READ Constraints CONSTANT) \
    Q_PROPERTY(QCursor DragCursor READ DragCursor WRITE setDragCursor) \
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE setParentShowHint) \
    Q_PROPERTY(QMenu *PopupMenu READ PopupMenu WRITE setPopupMenu) \
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint)

#define TONVIK_COOL_PARENT_COLOR_PROPERTY \
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE setParentColor)

#define TONVIK_COOL_TAB_PROPERTIES \
    Q_PROPERTY(int TabOrder READ TabOrder WRITE setTabOrder) \
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop) \
    TONVIK_COOL_TAB_ACCESSORS

// TabStop is Qt's focus policy: a tab stop takes the focus by Tab and by a
// click. QWidget has a static setTabOrder of its own: both stay reachable.
#define TONVIK_COOL_TAB_ACCESSORS                                                         \
public:                                                                                   \
    using platform::TControl::setTabOrder;                                                \
    using QWidget::setTabOrder;                                                           \
    bool TabStop() const { return focusPolicy() & Qt::TabFocus; }                         \
    void setTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus); } \
                                                                                          \
private:
