#include "TCoolGroupBox.h"

#include "CoolAccessibility.h"

#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QEvent>
#include <QPainter>

using namespace platform;

namespace coolctrls {

TCoolGroupBox::TCoolGroupBox(QWidget *parent)
    : QWidget(parent), TBackgroundControl(this), TControlEvents(this), TControl(this)
{
    // The background step covers the whole client area.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    resize(185, 105);
    // A new look of the own wallpaper is a colour change: transparent
    // children and those with ParentColor hear of it.
    m_wallpaper.OnWallpaperChanged = [this] {
        update();
        NotifyColorChanged(this);
    };
    RegisterCoolAccessibility();
    // ParentColor: the colour of the parent it is made in.
    TControl::ParentColorChanged();
}

void TCoolGroupBox::setCaption(const QString &value) { StoreAndUpdate(this, m_caption, value); }
void TCoolGroupBox::setColor(TColor value)
{
    if (!StoreChanged(m_color, value))
        return;
    update();
    ColorChanged();
}

void TCoolGroupBox::ShadowChanged()
{
    update();
    emit Changed();
}

void TCoolGroupBox::TransparentChanged()
{
    // Transparent children show the box's background: tell them, as for a
    // colour change.
    NotifyColorChanged(this);
    update();
}

void TCoolGroupBox::ParentColorChanged()
{
    TControl::ParentColorChanged();
    NotifyColorChanged(this);
    update();
}

QRect TCoolGroupBox::captionRect() const
{
    if (m_caption.isEmpty())
        return {};
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.Font.Assign(font());
    const int h = canvas.TextHeight("0");
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    const unsigned format = BiDiFormat(DT_SINGLELINE, rtl, false);
    const int left = rtl ? width() - canvas.TextWidth(m_caption) - 8 : 8;
    QRect q = Rect(left, 0, left, h);
    canvas.DrawText(m_caption, q, format | DT_CALCRECT);
    AdjustRectSides(q, -shadowStyle().Size, 0, shadowStyle().Size, 0);
    return q;
}

void TCoolGroupBox::EraseBackground(TCanvas &canvas)
{
    const QRect r = rect();
    if (!m_wallpaper.PaintBackground(canvas, r))
        canvas.FillRect(r, m_color);
}

void TCoolGroupBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    TCanvas canvas(&painter);
    EraseBackground(canvas);

    canvas.Font.Assign(font());
    const TColor fontColor = ControlFontColor(this);
    canvas.Font.setColor(fontColor);
    const int h = canvas.TextHeight("0");
    QRect f = Rect(0, h / 2 - 1, width(), height());
    if (Ctl3D()) {
        AdjustRectSides(f, 1, 1, 0, 0);
        canvas.FrameRect(f, clBtnHighlight);
        f.translate(-1, -1);
        canvas.FrameRect(f, clBtnShadow);
    } else {
        canvas.FrameRect(f, clWindowFrame);
    }
    if (m_caption.isEmpty())
        return;

    QRect q = captionRect();
    const unsigned format = BiDiFormat(DT_SINGLELINE, layoutDirection() == Qt::RightToLeft, false);
    canvas.SetBkMode(TRANSPARENT);
    if (Transparent()) {
        PaintParentBackgroundClipped(GetParentAtLevel(this, TransparencyLevel()), canvas, q, true);
    } else if (!m_wallpaper.PaintWallpaper(canvas, q, SRCCOPY, Stretched())) {
        // The text output fills its cells with the colour.
        canvas.SetBkMode(OPAQUE);
        canvas.SetBkColor(m_color);
    }
    DrawCaption(canvas, q, format, m_caption, shadowStyle(), fontColor, isEnabled(), TDisabledCaption::SystemDisabled,
                rect());
}

void TCoolGroupBox::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
    case QEvent::FontChange:
    case QEvent::PaletteChange:  // the parent's colour: children follow with the box
        update();
        break;
    default:
        break;
    }
}

void TCoolGroupBox::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // A transparent box shows another part of its ancestor now.
    update();
}

} // namespace coolctrls
