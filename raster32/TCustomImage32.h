#pragma once

#include "TCustomPaintBox32.h"
#include "TLayerCollection.h"
#include "TPaintStages.h"

#include <functional>

namespace raster32 {

class TCustomImage32;

using TPaintStageEvent = std::function<void(QObject *Sender, TBitmap32 *Buffer, unsigned StageNum)>;
using TImgMouseEvent = std::function<void(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                                          int X, int Y, TCustomLayer *Layer)>;
using TImgMouseMoveEvent =
    std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y, TCustomLayer *Layer)>;
using TKeyEvent32 = std::function<void(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift)>;
using TKeyPressEvent32 = std::function<void(QObject *Sender, QChar &Key)>;
using TMouseWheelEvent32 = std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift, int WheelDelta,
                                              QPoint MousePos, bool &Handled)>;

// An image view: shows its own Bitmap placed by BitmapAlign and sized by
// ScaleMode, through the back buffer of TCustomPaintBox32, painted by a
// list of stages.
class TCustomImage32 : public TCustomPaintBox32
{
    Q_OBJECT
public:
    explicit TCustomImage32(QWidget *parent = nullptr);
    ~TCustomImage32() override;

    TBitmap32 *Bitmap() const { return m_bitmap; }
    // Copies the given image into the view's own bitmap.
    void setBitmap(const TBitmap32 *value);
    TBitmapAlign BitmapAlign() const { return m_bitmapAlign; }
    void setBitmapAlign(TBitmapAlign value);
    TScaleMode ScaleMode() const { return m_scaleMode; }
    void setScaleMode(TScaleMode value);
    float Scale() const { return m_scale; }
    // Values below 0.001 are raised to 0.001.
    void setScale(float value);
    float OffsetX() const { return m_offsetX; }
    void setOffsetX(float value);
    float OffsetY() const { return m_offsetY; }
    void setOffsetY(float value);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool value);
    // Platform colour (0x00BBGGRR or a system colour) of the background.
    platform::TColor Color() const { return m_color; }
    void setColor(platform::TColor value);

    TLayerCollection *Layers() const { return m_layers; }
    TPaintStages &PaintStages() { return m_stages; }

    TRect BitmapBoxCache() const { return m_bitmapBoxCache; }
    // Whether BitmapBoxCache and the transform are current: not after a
    // change of the bitmap, the placement or the control's size (also
    // while the control is hidden and gets no resize event).
    bool CacheValid() const { return m_cacheValid && m_cacheSize == size(); }
    void setCacheValid(bool value);
    // Mapping between control and bitmap coordinates (scales in 16.16).
    int ShiftX() const { return m_shiftX; }
    int ShiftY() const { return m_shiftY; }
    int ScaleX() const { return m_scaleX; }
    int ScaleY() const { return m_scaleY; }
    int RevScaleX() const { return m_revScaleX; }
    int RevScaleY() const { return m_revScaleY; }
    int UpdateCount() const { return m_updateCount; }
    void UpdateCache();

    virtual void BeginUpdate();
    // "Unpaired EndUpdate call" when no update is open.
    virtual void EndUpdate();
    // Repaints and raises OnChange unless an update is open.
    virtual void ViewChanged();
    void Invalidate() override;
    // Called once the stored property values have been applied: raises
    // OnInitStages unless that has been done. Without this call it is
    // raised when the control is first polished (before it is first shown
    // or painted) or on the event loop's next turn after construction,
    // whichever comes first; once in the control's life.
    void Loaded();

    virtual TRect BitmapBox() const;
    virtual QSize BitmapExtent() const;

    platform::TNotifyEvent OnBitmapResize;
    platform::TNotifyEvent OnChange;
    // Raised once, after the control got its stored property values, so
    // that the handler can rebuild the paint stages (see Loaded).
    platform::TNotifyEvent OnInitStages;
    TPaintStageEvent OnPaintStage;
    TImgMouseEvent OnMouseDown;
    TImgMouseMoveEvent OnMouseMove;
    TImgMouseEvent OnMouseUp;
    platform::TNotifyEvent OnClick;
    platform::TNotifyEvent OnDblClick;
    TKeyEvent32 OnKeyDown;
    TKeyEvent32 OnKeyUp;
    TKeyPressEvent32 OnKeyPress;
    TMouseWheelEvent32 OnMouseWheel;
    TMouseWheelEvent32 OnMouseWheelDown;
    TMouseWheelEvent32 OnMouseWheelUp;
    platform::TNotifyEvent OnResize;

protected:
    virtual void AfterBitmapResize();
    virtual void RaiseInitStages();
    virtual void AfterScaleChange() {}
    virtual void SetDefaultStages();
    virtual void RaiseMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void RaiseMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    virtual void RaiseMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void DoBitmapFrame(TBitmap32 &dest);
    virtual void DoClearBuffer(TBitmap32 &dest);
    virtual void DoClearBackground(TBitmap32 &dest);
    virtual void DoControlFrame(TBitmap32 &dest);
    virtual void DoCustomStage(TBitmap32 &dest, unsigned stageNum);
    virtual void DoDrawBitmap(TBitmap32 &dest);
    virtual void DoDrawLayers(TBitmap32 &dest, std::uint32_t mask);

    void PaintBuffer() override;
    void PaintOverlay(QPainter &painter) override;
    void MouseLeft() override;
    void ApplyParentColor(platform::TColor color) override;

    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void bitmapChanged();
    void bitmapResized();
    void initStagesOnce();
    void dottedFrame(TBitmap32 &dest, const TRect &box);

    TBitmap32 *m_bitmap; // child object
    TLayerCollection *m_layers; // child object
    TPaintStages m_stages;
    TBitmapAlign m_bitmapAlign = baTopLeft;
    TScaleMode m_scaleMode = smNormal;
    float m_scale = 1.0f;
    float m_offsetX = 0;
    float m_offsetY = 0;
    bool m_autoSize = false;
    platform::TColor m_color = platform::clBtnFace;
    TRect m_bitmapBoxCache;
    bool m_cacheValid = false;
    QSize m_cacheSize; // the control's size when the cache was made
    int m_shiftX = 0, m_shiftY = 0;
    int m_scaleX = 0, m_scaleY = 0, m_revScaleX = 0, m_revScaleY = 0;
    int m_updateCount = 0;
    bool m_pressed = false;
    bool m_stagesInitialised = false;
};

} // namespace raster32
