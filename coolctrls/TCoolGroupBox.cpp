#include "TCoolGroupBox.h"

#include "CoolAccessibility.h"

#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QEvent>
#include <QPainter>

using namespace platform;

namespace coolctrls {

TCoolGroupBox::TCoolGroupBox(QWidget *parent)
    : QWidget(parent)
{
    // The background step covers the whole client area.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    resize(185, 105);
    RegisterCoolAccessibility();
}

void TCoolGroupBox::setCaption(const QString &value) { assign(m_caption, value); }
QColor TCoolGroupBox::Color() const { return m_color.isValid() ? m_color : palette().color(QPalette::Button); }
void TCoolGroupBox::setColor(const QColor &value) { assign(m_color, value); }
void TCoolGroupBox::setCtl3D(bool value) { assign(m_ctl3D, value); }

void TCoolGroupBox::setTransparent(bool value)
{
    // The box and its transparent children repaint together.
    if (m_wallpaper.setTransparent(value))
        update();
}

void TCoolGroupBox::setTransparencyLevel(int value)
{
    m_wallpaper.setTransparencyLevel(static_cast<uint8_t>(qBound(0, value, 255)));
}

void TCoolGroupBox::setWallpaper(const QImage &image)
{
    m_wallpaper.Wallpaper()->Assign(image);
}

QColor TCoolGroupBox::ShadowColor() const
{
    return m_shadowColor.isValid() ? m_shadowColor : ColorToQColor(clBtnHighlight);
}

void TCoolGroupBox::setShadowColor(const QColor &value)
{
    if (m_shadowColor == value)
        return;
    m_shadowColor = value;
    m_simpleView = false;
    update();
}

void TCoolGroupBox::setShadowSize(int value)
{
    value = qBound(0, value, 255);
    if (m_shadowSize == value)
        return;
    m_shadowSize = value;
    m_simpleView = false;
    update();
}

void TCoolGroupBox::setShadowPos(TShadowPos value)
{
    if (m_shadowPos == value)
        return;
    m_shadowPos = value;
    m_simpleView = false;
    update();
}

void TCoolGroupBox::setSimpleView(bool value) { assign(m_simpleView, value); }

QRect TCoolGroupBox::captionRect() const
{
    if (m_caption.isEmpty())
        return {};
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.Font.Assign(font());
    const int h = canvas.TextHeight("0");
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    unsigned format = DT_SINGLELINE | (rtl ? DT_RTLREADING : 0u);
    const int left = rtl ? width() - canvas.TextWidth(m_caption) - 8 : 8;
    QRect q = Rect(left, 0, left, h);
    canvas.DrawText(m_caption, q, format | DT_CALCRECT);
    AdjustRectSides(q, -m_shadowSize, 0, m_shadowSize, 0);
    return q;
}

void TCoolGroupBox::EraseBackground(TCanvas &canvas)
{
    const QRect r = rect();
    if (!m_wallpaper.PaintBackground(canvas, r))
        canvas.FillRect(r, QColorToColor(Color()));
}

void TCoolGroupBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    TCanvas canvas(&painter);
    EraseBackground(canvas);

    canvas.Font.Assign(font());
    const TColor fontColor = QColorToColor(palette().color(QPalette::Active, QPalette::WindowText));
    canvas.Font.setColor(fontColor);
    const int h = canvas.TextHeight("0");
    QRect f = Rect(0, h / 2 - 1, width(), height());
    if (m_ctl3D) {
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
    const unsigned format = DT_SINGLELINE | (layoutDirection() == Qt::RightToLeft ? DT_RTLREADING : 0u);
    canvas.SetBkMode(TRANSPARENT);
    if (Transparent()) {
        PaintParentBackgroundClipped(GetParentAtLevel(this, TransparencyLevel()), canvas, q, true);
    } else if (!m_wallpaper.PaintWallpaper(canvas, q, SRCCOPY, Stretched())) {
        // The text output fills its cells with the colour.
        canvas.SetBkMode(OPAQUE);
        canvas.SetBkColor(QColorToColor(Color()));
    }
    if (!isEnabled()) {
        canvas.SetTextColor(fontColor);
        canvas.DrawText(m_caption, q, format);
        canvas.DrawDisabledText(m_caption, Rect(q.left(), q.top(), width(), height()));
    } else if (m_simpleView) {
        canvas.SetTextColor(fontColor);
        canvas.DrawText(m_caption, q, format);
    } else {
        DrawShadowText(canvas, q, static_cast<TShadowPosition>(m_shadowPos), m_shadowSize,
                       QColorToColor(ShadowColor()), fontColor, format, m_caption);
    }
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
