#include "TCoolPanel.h"

#include "CoolAccessibility.h"

#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QEvent>
#include <QPainter>

using namespace platform;

namespace coolctrls {

TCoolPanel::TCoolPanel(QWidget *parent)
    : QWidget(parent)
{
    // Every pixel is painted by the panel (its background step covers the
    // whole client area), so Qt must not fill or compose anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    resize(185, 41);
    RegisterCoolAccessibility();
}

void TCoolPanel::setCaption(const QString &value) { assign(m_caption, value); }
QColor TCoolPanel::Color() const { return m_color.isValid() ? m_color : palette().color(QPalette::Button); }
void TCoolPanel::setColor(const QColor &value) { assign(m_color, value); }
void TCoolPanel::setAlignment(TAlignment value) { assign(m_alignment, value); }
void TCoolPanel::setBevelOuter(TBevelCut value) { assign(m_bevelOuter, value); }
void TCoolPanel::setBevelInner(TBevelCut value) { assign(m_bevelInner, value); }
void TCoolPanel::setBevelWidth(int value) { assign(m_bevelWidth, qMax(1, value)); }
void TCoolPanel::setBorderWidth(int value) { assign(m_borderWidth, qMax(0, value)); }

void TCoolPanel::setTransparent(bool value)
{
    if (m_wallpaper.setTransparent(value))
        repaint();
}

void TCoolPanel::setTransparencyLevel(int value)
{
    m_wallpaper.setTransparencyLevel(static_cast<uint8_t>(qBound(0, value, 255)));
}

void TCoolPanel::setWallpaper(const platform::TBitmap *bitmap)
{
    if (bitmap && bitmap == m_wallpaper.source().existingBitmap())
        return;
    // A wallpaper of its own turns transparency off, without a repaint of
    // its own: the copy below invalidates.
    m_wallpaper.setTransparent(false);
    m_wallpaper.setWallpaper(bitmap);
    update();
}

void TCoolPanel::setWallpaper(const QImage &image)
{
    m_wallpaper.setTransparent(false);
    m_wallpaper.Wallpaper()->Assign(image);
    update();
}

void TCoolPanel::EraseBackground(TCanvas &canvas)
{
    const QRect r = rect();
    if (!m_wallpaper.PaintBackground(canvas, r))
        canvas.FillRect(r, QColorToColor(Color()));
}

void TCoolPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    TCanvas canvas(&painter);
    QRect r = rect();
    EraseBackground(canvas);
    canvas.Brush.setStyle(TBrushStyle::bsClear);

    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        if (cut == bvLowered)
            canvas.Frame3D(r, clBtnShadow, clBtnHighlight, m_bevelWidth);
        else
            canvas.Frame3D(r, clBtnHighlight, clBtnShadow, m_bevelWidth);
    };
    bevel(m_bevelOuter);
    if (m_borderWidth > 0)
        canvas.Frame3D(r, QColorToColor(Color()), QColorToColor(Color()), m_borderWidth);
    bevel(m_bevelInner);

    // The caption: one line of the height of "W", centred vertically, in
    // the font colour whether enabled or not.
    canvas.Font.Assign(font());
    canvas.Font.setColor(QColorToColor(palette().color(QPalette::Active, QPalette::WindowText)));
    const int h = canvas.TextHeight("W");
    const int top = (r.top() + Bottom(r) - h) / 2;
    QRect text = Rect(r.left(), top, Right(r), top + h);
    TAlignment alignment = m_alignment;
    unsigned format = DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE;
    if (layoutDirection() == Qt::RightToLeft) {
        // Right-to-left reading mirrors the horizontal alignment.
        format |= DT_RTLREADING;
        if (alignment == taLeftJustify)
            alignment = taRightJustify;
        else if (alignment == taRightJustify)
            alignment = taLeftJustify;
    }
    format |= alignment == taLeftJustify ? DT_LEFT : alignment == taRightJustify ? DT_RIGHT : DT_CENTER;
    canvas.SetBkMode(TRANSPARENT);
    canvas.DrawText(m_caption, text, format);
}

void TCoolPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The parent's look changed: a transparent panel shows it.
    if ((event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) && Transparent())
        update();
}

} // namespace coolctrls
