#pragma once

#include "TCustomImage32.h"

#include "platform/TSizeConstraints.h"

#include <QCursor>
#include <QMenu>

namespace raster32 {

// The image view with its properties published. The events are the
// handler members of TCustomImage32 (OnBitmapResize, OnChange,
// OnInitStages, OnPaintStage, the mouse, wheel and key events, OnClick,
// OnDblClick, OnResize), of TCustomPaintBox32 (OnGDIOverlay, OnMouseEnter,
// OnMouseLeave) and of platform::TControl (OnCanResize, OnContextPopup,
// OnDragDrop, OnDragOver, OnEndDrag, OnStartDrag).
class TImage32 : public TCustomImage32
{
    Q_OBJECT
    Q_PROPERTY(platform::TAlign Align READ Align WRITE setAlign)
    Q_PROPERTY(platform::TAnchors Anchors READ Anchors WRITE setAnchors)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(raster32::TBitmap32 *Bitmap READ Bitmap WRITE setBitmap)
    Q_PROPERTY(raster32::TBitmapAlign BitmapAlign READ BitmapAlign WRITE setBitmapAlign)
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    Q_PROPERTY(platform::TSizeConstraints *Constraints READ Constraints CONSTANT)
    Q_PROPERTY(QCursor Cursor READ cursor WRITE setCursor RESET unsetCursor)
    Q_PROPERTY(QCursor DragCursor READ DragCursor WRITE setDragCursor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE setParentColor)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE setParentShowHint)
    Q_PROPERTY(QMenu *PopupMenu READ PopupMenu WRITE setPopupMenu)
    Q_PROPERTY(float Scale READ Scale WRITE setScale)
    Q_PROPERTY(raster32::TScaleMode ScaleMode READ ScaleMode WRITE setScaleMode)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE setShowHint)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE setTabOrder)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
public:
    explicit TImage32(QWidget *parent = nullptr);

    // The control's own visibility, whether or not its parent is shown.
    bool Visible() const { return !isHidden(); }
};

} // namespace raster32
