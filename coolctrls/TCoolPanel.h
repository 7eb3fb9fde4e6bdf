#pragma once

#include "CoolControlProperties.h"
#include "CoolControlSupport.h"
#include "TBackgroundControl.h"

#include "CoolUtils.h"

#include <QWidget>

namespace coolctrls {

// A container panel: its background (its colour, a wallpaper, or with
// Transparent the background of the ancestor TransparencyLevel parents up),
// the raised or lowered bevels, the border and the caption. Children (labels
// included) paint over it. The panel paints its whole area itself, so Qt
// never composes the parent underneath. Its background alone is offered to
// transparent children through IEraseBackground.
//
// What every control inherits (Align, Anchors, Constraints, ParentColor,
// PopupMenu, TabOrder, OnCanResize, OnConstrainedResize, dragging) is
// platform::TControl's; the mouse, key and focus events platform::
// TControlEvents'. As the toolkit's panel sets its own colour, ParentColor
// starts off.
//
// The frame (single border, outer bevel, border width, inner bevel) is the
// panel's contents margin: aligned children fill what lies inside it.
// AutoSize fits the panel around its children: the panel takes the size of
// their bounds plus its frame, and the children move so that their bounds
// start just inside the frame. Aligned children follow the panel and are not
// counted. FullRepaint False
// repaints only what a resize uncovers. Locked is stored for forms that set
// it: it keeps an in-place embedded object from replacing the panel, and
// there are no such objects here.
class TCoolPanel : public QWidget,
                   public TBackgroundControl,
                   public platform::TControlEvents,
                   public platform::TControl,
                   public IEraseBackground
{
    Q_OBJECT
    TONVIK_COOL_CONTROL_PROPERTIES
    TONVIK_COOL_TAB_STOP_PROPERTY
    TONVIK_COOL_CTL3D_PROPERTIES
    Q_PROPERTY(coolctrls::TBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    Q_PROPERTY(coolctrls::TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(coolctrls::TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
    Q_PROPERTY(coolctrls::TBevelCut BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE setBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(bool Stretched READ Stretched WRITE setStretched)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(int TransparencyLevel READ TransparencyLevel WRITE setTransparencyLevel)
    Q_PROPERTY(platform::TColor InactiveFontColor READ InactiveFontColor WRITE setInactiveFontColor)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool FullRepaint READ FullRepaint WRITE setFullRepaint)
    Q_PROPERTY(bool Locked READ Locked WRITE setLocked)
    TONVIK_COOL_FONT_PROPERTIES

public:
    explicit TCoolPanel(QWidget *parent = nullptr);

    // The wallpaper properties: TBackgroundControl. Transparent repaints at
    // once; a wallpaper of its own turns transparency off.
    using TWallpaperControl::setWallpaper;
    void setWallpaper(const platform::TBitmap *bitmap) override;

    QString Caption() const { return m_caption; }
    void setCaption(const QString &value);
    // The background without a wallpaper, and the colour of the border.
    platform::TColor Color() const { return m_color; }
    void setColor(platform::TColor value);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment value);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void setBevelInner(TBevelCut value);
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int value);
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int value);
    // Stored only; the caption is drawn in the font colour either way.
    platform::TColor InactiveFontColor() const { return m_inactiveFontColor; }
    void setInactiveFontColor(platform::TColor value) { m_inactiveFontColor = value; }
    // bsSingle: a one-pixel window-frame line around the panel, outside the
    // bevels. The contents rectangle (where aligned children go) lies inside
    // the whole frame: border, bevels and BorderWidth.
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(TBorderStyle value);

    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool value);
    bool FullRepaint() const { return !testAttribute(Qt::WA_StaticContents); }
    void setFullRepaint(bool value) { setAttribute(Qt::WA_StaticContents, !value); }
    bool Locked() const { return m_locked; }
    void setLocked(bool value) { m_locked = value; }
    // The width of the frame on each side: single border, bevels, border.
    int FrameWidth() const;

    // After the panel took a new size.
    platform::TNotifyEvent OnResize;

    // The background alone: the ancestor's (Transparent), the wallpaper or
    // the colour; no bevels, border or caption.
    void EraseBackground(platform::TCanvas &canvas) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void childEvent(QChildEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void TransparentChanged() override { repaint(); }
    void ApplyParentColor(platform::TColor color) override { setColor(color); }

private:
    // AutoSize: fits the panel around its unaligned children.
    void fitToChildren();
    // A frame property changed: the border, the bevels or the border width.
    void frameChanged();

    QString m_caption;
    platform::TColor m_color = platform::clBtnFace;
    TAlignment m_alignment = taCenter;
    TBevelCut m_bevelOuter = bvRaised;
    TBevelCut m_bevelInner = bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    platform::TColor m_inactiveFontColor = platform::clWhite;
    TBorderStyle m_borderStyle = bsNone;
    bool m_autoSize = false;
    bool m_fitting = false;
    bool m_locked = false;
};

} // namespace coolctrls
