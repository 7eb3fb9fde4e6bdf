#include "TCoolPanel.h"

#include "platform/canvas/TBitmap.h"

#include <QPainter>

namespace coolctrls {

namespace {

// Draws one 1-pixel 3-D frame and shrinks rect by it.
void frame3D(QPainter &p, QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    p.setPen(topLeft);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(bottomRight);
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    r.adjust(1, 1, -1, -1);
}

} // namespace

TCoolPanel::TCoolPanel(QWidget *parent)
    : QWidget(parent)
{
    resize(185, 41);
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
    // The group only stores the flag; the panel looks different either way.
    if (m_wallpaper.setTransparent(value))
        update();
}

void TCoolPanel::setTransparencyLevel(int value)
{
    m_wallpaper.setTransparencyLevel(static_cast<uint8_t>(qBound(0, value, 255)));
}

void TCoolPanel::setWallpaper(const platform::TBitmap *bitmap)
{
    if (m_wallpaper.setTransparent(false))
        update();
    m_wallpaper.setWallpaper(bitmap);
}

void TCoolPanel::setWallpaper(const QImage &image)
{
    if (m_wallpaper.setTransparent(false))
        update();
    m_wallpaper.Wallpaper()->Assign(image);
}

void TCoolPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QRect r = rect();
    // Transparent: nothing of its own; Qt has composed the parent beneath,
    // as the panel does not fill its background.
    if (!Transparent() && !m_wallpaper.PaintWallpaper(p, r))
        p.fillRect(r, Color());

    const QColor light = palette().color(QPalette::Active, QPalette::Light);
    const QColor dark = palette().color(QPalette::Active, QPalette::Dark);
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        for (int i = 0; i < m_bevelWidth; ++i) {
            if (cut == bvLowered)
                frame3D(p, r, dark, light);
            else
                frame3D(p, r, light, dark);
        }
    };
    bevel(m_bevelOuter);
    for (int i = 0; i < m_borderWidth; ++i)
        frame3D(p, r, Color(), Color());
    bevel(m_bevelInner);

    if (m_caption.isEmpty())
        return;
    int align = Qt::AlignVCenter;
    align |= m_alignment == taLeftJustify ? Qt::AlignLeft
           : m_alignment == taRightJustify ? Qt::AlignRight : Qt::AlignHCenter;
    p.setFont(font());
    p.setPen(palette().color(QPalette::Active, QPalette::WindowText));
    p.drawText(r, align | Qt::TextExpandTabs, m_caption);
}

} // namespace coolctrls
