#pragma once

// The published properties the skinned controls inherit from the toolkit's
// base control (platform::TControl, mixed into the control beside
// platform::TControlEvents). One line in the class body, after Q_OBJECT
// (moc expands these macros):
//   TONVIK_COOL_CONTROL_PROPERTIES          a windowed control's: Align,
//                                           Anchors, Constraints, DragCursor,
//                                           DragMode, DragKind, ParentColor,
//                                           ShowHint, ParentShowHint,
//                                           PopupMenu, TabOrder, BiDiMode,
//                                           ParentBiDiMode
//   TONVIK_COOL_GRAPHIC_CONTROL_PROPERTIES  the same without TabOrder, for a
//                                           control that takes no part in the
//                                           tab order (label, scrolling text)
//   TONVIK_COOL_BIDI_PROPERTIES             BiDiMode and ParentBiDiMode alone,
//                                           for a control that lists its
//                                           other properties itself (button)
//   TONVIK_COOL_CTL3D_PROPERTIES            Ctl3D and ParentCtl3D, for a
//                                           control with a frame
//   TONVIK_COOL_TAB_STOP_PROPERTY           TabStop (TControl's), and
//                                           both setTabOrder of TControl and
//                                           QWidget's static one

#include "platform/TControl.h"
#include "platform/TSizeConstraints.h"

#include <QCursor>
#include <QMenu>

#define TONVIK_COOL_GRAPHIC_CONTROL_PROPERTIES \
    Q_PROPERTY(platform::TAlign Align READ Align WRITE setAlign) \
    Q_PROPERTY(platform::TAnchors Anchors READ Anchors WRITE setAnchors) \
    Q_PROPERTY(platform::TSizeConstraints *Constraints READ Constraints CONSTANT) \
    Q_PROPERTY(QCursor DragCursor READ DragCursor WRITE setDragCursor) \
    Q_PROPERTY(platform::TDragMode DragMode READ DragMode WRITE setDragMode) \
    Q_PROPERTY(platform::TDragKind DragKind READ DragKind WRITE setDragKind) \
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE setParentColor) \
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint) \
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE setParentShowHint) \
    Q_PROPERTY(QMenu *PopupMenu READ PopupMenu WRITE setPopupMenu) \
    TONVIK_COOL_BIDI_PROPERTIES

#define TONVIK_COOL_BIDI_PROPERTIES \
    Q_PROPERTY(platform::TBiDiMode BiDiMode READ BiDiMode WRITE setBiDiMode) \
    Q_PROPERTY(bool ParentBiDiMode READ ParentBiDiMode WRITE setParentBiDiMode)

#define TONVIK_COOL_CONTROL_PROPERTIES \
    TONVIK_COOL_GRAPHIC_CONTROL_PROPERTIES \
    Q_PROPERTY(int TabOrder READ TabOrder WRITE setTabOrder)

#define TONVIK_COOL_CTL3D_PROPERTIES \
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE setCtl3D) \
    Q_PROPERTY(bool ParentCtl3D READ ParentCtl3D WRITE setParentCtl3D)

#define TONVIK_COOL_TAB_STOP_PROPERTY \
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop) \
    TONVIK_COOL_TAB_ACCESSORS

// TabStop is TControl's: whether Tab stops at the control; a click focuses
// it or not as the control itself decides. QWidget has a static setTabOrder
// of its own: both stay reachable.
#define TONVIK_COOL_TAB_ACCESSORS                  \
public:                                            \
    using platform::TControl::setTabOrder;         \
    using QWidget::setTabOrder;                    \
                                                   \
private:
