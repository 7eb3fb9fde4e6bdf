#pragma once

#include "CoolControlProperties.h"
#include "CoolControlSupport.h"
#include "TShadowedCaption.h"
#include "TBackgroundControl.h"

#include "CoolUtils.h"

#include <QWidget>

namespace coolctrls {

// A group box: an etched frame with its caption, drawn with a drop shadow,
// cut into the top line, over the box's background (colour, wallpaper or,
// with Transparent, the ancestor's background TransparencyLevel parents up).
// Children are placed relative to the box's top-left corner. The box paints
// its whole area itself, so Qt never composes the parent underneath; its
// background alone is offered to transparent children (IEraseBackground).
//
// What every control inherits (Align, Anchors, Constraints, ParentColor,
// PopupMenu, TabOrder, dragging) is platform::TControl's. A change of the
// parent's colour, of Color or of Transparent is passed on to the children
// (those with ParentColor take the box's colour) and repaints the box.
class TCoolGroupBox : public QWidget,
                      public TBackgroundControl,
                      public platform::TControlEvents,
                      public platform::TControl,
                      public TShadowedCaption,
                      public IEraseBackground
{
    Q_OBJECT
    TONVIK_COOL_CONTROL_PROPERTIES
    TONVIK_COOL_TAB_STOP_PROPERTY
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    TONVIK_COOL_CTL3D_PROPERTIES
    Q_PROPERTY(int idWallpaper READ idWallpaper WRITE setIdWallpaper)
    Q_PROPERTY(bool Stretched READ Stretched WRITE setStretched)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(int TransparencyLevel READ TransparencyLevel WRITE setTransparencyLevel)
    TONVIK_SHADOWED_CAPTION_PROPERTIES
    TONVIK_COOL_FONT_PROPERTIES

public:
    explicit TCoolGroupBox(QWidget *parent = nullptr);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &value);
    // The background without a wallpaper, and the caption cell's.
    platform::TColor Color() const { return m_color; }
    void setColor(platform::TColor value);

    // Where the caption cell lies (empty without a caption): the measured
    // caption at x = 8 (right-to-left: 8 from the right), H = the height of
    // "0" high, widened by ShadowSize on both sides.
    QRect captionRect() const;

    // The background alone: the ancestor's (Transparent), the wallpaper or
    // the colour; no frame or caption.
    void EraseBackground(platform::TCanvas &canvas) override;

signals:
    // The caption's look changed (a shadow property or SimpleView): the
    // toolkit's control-changed notification, for a designer or a window
    // that lays the box out by its look.
    void Changed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    // A shadow setter invalidates the box, then tells it changed.
    void ShadowChanged() override;
    // The etched frame or the flat one.
    void Ctl3DChanged() override { update(); }
    void TransparentChanged() override;
    void ApplyParentColor(platform::TColor color) override { setColor(color); }
    void ParentColorChanged() override;
    void moveEvent(QMoveEvent *event) override;

private:
    QString m_caption;
    platform::TColor m_color = platform::clBtnFace;
};

} // namespace coolctrls
