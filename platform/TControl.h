#pragma once

// TControl: what every control inherits from the toolkit's base control,
// mixed into a widget:
//  - its place in the parent: Align (a side of the parent, or all of what is
//    left) and Anchors (the sides whose distance it keeps when the parent is
//    resized);
//  - Constraints (least and greatest size), OnCanResize (a handler that
//    can change or refuse a new size before the control takes it) and
//    OnConstrainedResize (a handler that can narrow the limits of one
//    resize);
//  - ParentColor (the control takes its parent's colour and follows it);
//  - ShowHint and ParentShowHint (whether its tool tip is shown);
//  - Ctl3D and ParentCtl3D (the three-dimensional look of its frame);
//  - BiDiMode and ParentBiDiMode (reading order and alignment, on Qt's
//    layout direction);
//  - PopupMenu and OnContextPopup (the context menu);
//  - TabOrder (its place among its siblings in the tab order) and TabStop
//    (whether Tab stops at it);
//  - dragging one control onto another inside the program: BeginDrag,
//    DragMode, DragKind, DragCursor, OnStartDrag, OnDragOver, OnDragDrop and OnEndDrag.
//
//     class TMyControl : public QWidget, public platform::TControl
//     {
//         Q_OBJECT
//         Q_PROPERTY(platform::TAlign Align READ Align WRITE setAlign)
//         ...
//     public:
//         explicit TMyControl(QWidget *parent = nullptr) : QWidget(parent), TControl(this) {}
//         // QWidget has a static setTabOrder of its own: keep both.
//         using TControl::setTabOrder;
//         using QWidget::setTabOrder;
//     };
//
// Align and Anchors act on the control's geometry when its parent is
// resized; a parent that manages the control with a Qt layout overrides them.

#include "platform/Events.h"
#include "platform/canvas/Colors.h"

#include <QCursor>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>

#include <functional>
#include <memory>

class QEvent;
class QResizeEvent;
class QWidget;

namespace platform {
Q_NAMESPACE

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
Q_ENUM_NS(TAlign)

enum TAnchorKind { akLeft = 0x1, akTop = 0x2, akRight = 0x4, akBottom = 0x8 };
Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
Q_FLAG_NS(TAnchors)
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
Q_ENUM_NS(TDragState)

// dmAutomatic: a left press on the control begins its drag, which starts
// once the mouse moves beyond the drag distance (BeginDrag(false)).
enum TDragMode { dmManual, dmAutomatic };
Q_ENUM_NS(TDragMode)

// dkDock is kept for forms that name it; there is no docking of controls
// here, so a control of that kind does not begin a drag by itself.
enum TDragKind { dkDrag, dkDock };
Q_ENUM_NS(TDragKind)

// Reading order and alignment: every right-to-left mode lays the control out
// from the right (Qt::RightToLeft).
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
Q_ENUM_NS(TBiDiMode)

class TSizeConstraints;

// NewWidth and NewHeight may be changed; Resize := false keeps the old size.
using TCanResizeEvent = std::function<void(QObject *Sender, int &NewWidth, int &NewHeight, bool &Resize)>;
// The size limits a new size is held to, from Constraints (0: no limit); the
// handler may narrow them for this resize.
using TConstrainedResizeEvent =
    std::function<void(QObject *Sender, int &MinWidth, int &MinHeight, int &MaxWidth, int &MaxHeight)>;
// MousePos in control coordinates, (-1, -1) when asked from the keyboard;
// Handled := true keeps the PopupMenu from showing.
using TContextPopupEvent = std::function<void(QObject *Sender, QPoint MousePos, bool &Handled)>;
// The handler may supply the object that targets receive as Source;
// without one, Source is the dragged control.
using TStartDragEvent = std::function<void(QObject *Sender, QObject *&DragObject)>;
// Accept (true on entry) says whether a drop here would be taken.
using TDragOverEvent =
    std::function<void(QObject *Sender, QObject *Source, int X, int Y, TDragState State, bool &Accept)>;
using TDragDropEvent = std::function<void(QObject *Sender, QObject *Source, int X, int Y)>;
// Target is the control that took the drop (X, Y in its coordinates), or
// null when the drag was cancelled or dropped where nothing accepted it.
using TEndDragEvent = std::function<void(QObject *Sender, QObject *Target, int X, int Y)>;

class TControl
{
public:
    explicit TControl(QWidget *control);
    virtual ~TControl();
    TControl(const TControl &) = delete;
    TControl &operator=(const TControl &) = delete;

    QWidget *ControlWidget() const { return m_control; }

    TAlign Align() const { return m_align; }
    void setAlign(TAlign value);
    // Default: left and top, which keeps the position.
    TAnchors Anchors() const { return m_anchors; }
    void setAnchors(TAnchors value);
    TSizeConstraints *Constraints() const { return m_constraints; }

    // The cursor over a control that would accept the drop while this
    // control is dragged; elsewhere the no-drop cursor shows.
    QCursor DragCursor() const { return m_dragCursor; }
    void setDragCursor(const QCursor &value) { m_dragCursor = value; }

    // dmManual (the default): only BeginDrag begins a drag.
    TDragMode DragMode() const { return m_dragMode; }
    void setDragMode(TDragMode value) { m_dragMode = value; }
    TDragKind DragKind() const { return m_dragKind; }
    void setDragKind(TDragKind value) { m_dragKind = value; }

    // True (the default): the control's colour is its parent's. Setting the
    // control's colour makes it False.
    bool ParentColor() const { return m_parentColor; }
    void setParentColor(bool value);

    // Whether the tool tip is shown; follows the parent's while
    // ParentShowHint is True (the default). Setting it clears ParentShowHint.
    bool ShowHint() const;
    void setShowHint(bool value);
    bool ParentShowHint() const { return m_parentShowHint; }
    void setParentShowHint(bool value);

    // Shown at the mouse on a context-menu request that OnContextPopup did
    // not handle. Without one the request goes on to the parent. Not owned.
    QMenu *PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu *value) { m_popupMenu = value; }

    // Whether the control's frame has the three-dimensional look; follows
    // the parent's (a parent without one: True) while ParentCtl3D is True
    // (the default). Setting it clears ParentCtl3D. A change reaches the
    // control's Ctl3DChanged and the children that follow it.
    bool Ctl3D() const;
    void setCtl3D(bool value);
    bool ParentCtl3D() const { return m_parentCtl3D; }
    void setParentCtl3D(bool value);

    // The control's reading order. While ParentBiDiMode is True (the
    // default) it is the parent's: a control parent's mode, else what the
    // parent's layout direction gives. Setting it clears ParentBiDiMode; it
    // becomes the control's layout direction, which Qt hands on to the
    // children that follow it. Setting ParentBiDiMode True again takes the
    // parent's back; False keeps the current mode as the control's own.
    TBiDiMode BiDiMode() const;
    void setBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const;
    void setParentBiDiMode(bool value);

    // Place among the siblings in the tab order, from 0; -1 without parent.
    // Values beyond the last place move the control to the end.
    int TabOrder() const;
    void setTabOrder(int value);

    // Whether Tab and Shift+Tab stop at the control. Only that part of its
    // focus policy changes: whether a click focuses it stays as the control
    // is (a button, an edit or a list takes the focus on a click either
    // way; a panel never does).
    bool TabStop() const;
    void setTabStop(bool value);

    // Starts dragging this control: at once, or once the mouse has moved by
    // threshold pixels (-1: the system's drag distance) with a button held.
    // A release before that ends the drag quietly. Escape cancels.
    void BeginDrag(bool immediate, int threshold = -1);
    // Ends the drag: on the control under the mouse when drop is true and
    // it accepts, else cancelled.
    void EndDrag(bool drop);
    bool Dragging() const;

    // A context-menu request at pos (control coordinates; fromMouse false
    // for the keyboard's): OnContextPopup, then PopupMenu. Answers whether
    // either took it. The control's own requests come here by themselves,
    // and so do the mouse's over a watched child (WatchChild).
    bool ContextPopup(QPoint pos, QPoint globalPos, bool fromMouse);

    TCanResizeEvent OnCanResize;
    // Asked after OnCanResize, with the limits of Constraints.
    TConstrainedResizeEvent OnConstrainedResize;
    TContextPopupEvent OnContextPopup;
    TStartDragEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

    // The TControl mixed into a widget, or null.
    static TControl *ControlOf(QWidget *widget);
    // Places parent's visible children by their Align: top ones from the top
    // down, bottom ones from the bottom up, then left, right, and the client
    // ones in what is left of parent's contents rectangle.
    static void AlignControls(QWidget *parent);
    // The colour a control shows: a TControl's ControlColor, else its
    // "Color" property (a QColor or a colour value), else its palette's
    // window colour.
    static TColor ColorOf(const QWidget *widget);
    // Tells parent's children with ParentColor to take its colour anew; a
    // control whose colour property changed calls it for its children.
    static void NotifyColorChanged(QWidget *parent);

protected:
    // The colour children with ParentColor take from this control.
    virtual TColor ControlColor() const;
    // Gives the control its parent's colour (ParentColor). The default does
    // nothing: override it in a control that has a colour.
    virtual void ApplyParentColor(TColor color);
    // The parent's colour changed (NotifyColorChanged). The default takes
    // it when ParentColor is set; a control that passes the news on to its
    // own children or repaints for it overrides this and calls the default.
    virtual void ParentColorChanged();
    // Ctl3D changed, by the control's setters or through its parent. The
    // default does nothing: a control that draws it repaints.
    virtual void Ctl3DChanged();
    // For the control's own colour setter: ParentColor becomes False unless
    // the colour comes from the parent, and the children are told.
    void ColorChanged();

private:
    class Filter;
    friend class Filter;
    friend class TDragTracker;
    friend class TControlEvents;

    // For a control whose mouse arrives at a child (a scroll area's
    // viewport; TControlEvents::WatchMouseOf calls it): a press there is the
    // control's, seen before OnMouseDown runs, so a drag begun from it
    // measures its threshold from the press and DragMode dmAutomatic begins
    // one; the mouse's context-menu requests there go to OnContextPopup and
    // PopupMenu before the child's own menu.
    void WatchChild(QWidget *child);
    // Remembers where a press was (a drag's start); a left press begins
    // the drag of a dmAutomatic control.
    void PressedAt(QPoint globalPos, Qt::MouseButton button);
    bool filterPressOrMenu(QWidget *source, QEvent *event);

    bool filterControlEvent(QEvent *event);
    void filterParentEvent(QEvent *event);
    bool canResize(QResizeEvent *event);
    QSize constrainedSize(QSize size);
    void anchorToParent(QSize oldSize, QSize newSize);
    void watchParent();
    void takeParentColor();
    bool parentsShowHint() const;
    bool parentsCtl3D() const;
    // Ctl3D was `before`: tells the control and its children if it changed.
    void ctl3DChangedFrom(bool before);

    QWidget *m_control;
    Filter *m_filter; // child of the control
    QPointer<QWidget> m_watchedParent;
    QPointer<QWidget> m_watchedChild;
    TSizeConstraints *m_constraints; // child of the control
    TAlign m_align = alNone;
    TAnchors m_anchors = TAnchors(akLeft) | akTop;
    QCursor m_dragCursor{Qt::DragMoveCursor};
    TDragMode m_dragMode = dmManual;
    TDragKind m_dragKind = dkDrag;
    bool m_parentColor = true;
    bool m_applyingParentColor = false;
    bool m_showHint = true;
    bool m_parentShowHint = true;
    bool m_ctl3D = true;
    bool m_parentCtl3D = true;
    TBiDiMode m_biDiMode = bdLeftToRight;
    QPointer<QMenu> m_popupMenu;
    // OnCanResize: the size the control last took, and whether a size the
    // handler chose is being applied.
    QSize m_acceptedSize;
    bool m_applyingSize = false;
    // Where the last mouse press on the control was (a drag's start).
    QPoint m_pressGlobal;
};

} // namespace platform
