#include "TCoolGroupBox.h"

#include "platform/canvas/TBitmap.h"

#include <QEvent>
#include <QPainter>

namespace coolctrls {

TCoolGroupBox::TCoolGroupBox(QWidget *parent)
    : QWidget(parent)
{
    resize(185, 105);
}

void TCoolGroupBox::setCaption(const QString &value) { assign(m_caption, value); }
QColor TCoolGroupBox::Color() const { return m_color.isValid() ? m_color : palette().color(QPalette::Button); }
void TCoolGroupBox::setColor(const QColor &value) { assign(m_color, value); }
void TCoolGroupBox::setCtl3D(bool value) { assign(m_ctl3D, value); }

void TCoolGroupBox::setTransparent(bool value)
{
    // The group only stores the flag; the box looks different either way.
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
    return m_shadowColor.isValid() ? m_shadowColor : palette().color(QPalette::Active, QPalette::Light);
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

void TCoolGroupBox::setSimpleView(bool value) { assign(m_simpleView, value); }

QRect TCoolGroupBox::captionRect() const
{
    if (m_caption.isEmpty())
        return {};
    const QFontMetrics fm(font());
    const int w = fm.horizontalAdvance(m_caption);
    // The shadow widens the cell on both sides.
    return QRect(8 - m_shadowSize, 0, w + 2 * m_shadowSize, fm.height() + m_shadowSize);
}

void TCoolGroupBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Transparent: nothing of its own; Qt has composed the parent beneath,
    // as the box does not fill its background.
    if (!Transparent() && !m_wallpaper.PaintWallpaper(p, rect()))
        p.fillRect(rect(), Color());

    const QFontMetrics fm(font());
    const int h = fm.height();
    QRect f(0, h / 2 - 1, width(), height() - (h / 2 - 1));
    const QColor light = palette().color(QPalette::Active, QPalette::Light);
    const QColor dark = palette().color(QPalette::Active, QPalette::Dark);
    p.setBrush(Qt::NoBrush);
    if (m_ctl3D) {
        p.setPen(light);
        p.drawRect(f.adjusted(1, 1, -1, -1));
        p.setPen(dark);
        p.drawRect(f.adjusted(0, 0, -2, -2));
    } else {
        p.setPen(palette().color(QPalette::Active, QPalette::Shadow));
        p.drawRect(f.adjusted(0, 0, -1, -1));
    }

    if (m_caption.isEmpty())
        return;
    const QRect cell = captionRect();
    // The caption cell covers the frame line; a wallpaper starts over at
    // the cell's corner.
    if (!Transparent() && !m_wallpaper.PaintWallpaper(p, cell))
        p.fillRect(cell, Color());
    p.setFont(font());
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic;
    // The cell starts ShadowSize left of x = 8; the shadow copy lies at the
    // cell's corner, the text ShadowSize right and down from it.
    const int s = m_simpleView ? 0 : m_shadowSize;
    if (!isEnabled()) {
        const QRect text(cell.left(), 0, cell.width(), cell.height());
        p.setPen(light);
        p.drawText(text.translated(1, 1), flags, m_caption);
        p.setPen(dark);
        p.drawText(text, flags, m_caption);
        return;
    }
    if (!m_simpleView) {
        p.setPen(ShadowColor());
        p.drawText(cell, flags, m_caption);
    }
    p.setPen(palette().color(QPalette::Active, QPalette::WindowText));
    p.drawText(cell.translated(s, s), flags, m_caption);
}

void TCoolGroupBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

} // namespace coolctrls
