#pragma once

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
class TCoolGroupBox : public QWidget, public TBackgroundControl, public TShadowedCaption, public IEraseBackground
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE setCtl3D)
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
    bool Ctl3D() const { return m_ctl3D; }
    void setCtl3D(bool value);

    // Where the caption cell lies (empty without a caption): the measured
    // caption at x = 8 (right-to-left: 8 from the right), H = the height of
    // "0" high, widened by ShadowSize on both sides.
    QRect captionRect() const;

    // The background alone: the ancestor's (Transparent), the wallpaper or
    // the colour; no frame or caption.
    void EraseBackground(platform::TCanvas &canvas) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    // A shadow setter invalidates the box.
    void ShadowChanged() override { update(); }
    void moveEvent(QMoveEvent *event) override;

private:
    QString m_caption;
    platform::TColor m_color = platform::clBtnFace;
    bool m_ctl3D = true;
};

} // namespace coolctrls
