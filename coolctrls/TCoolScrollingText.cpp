#include "TCoolScrollingText.h"

#include "platform/canvas/TBitmap.h"

#include <QPainter>

namespace coolctrls {

TCoolScrollingText::TCoolScrollingText(QWidget *parent)
    : QWidget(parent)
{
    resize(97, 15);
    m_timer.setEnabled(false);
    m_timer.setInterval(m_interval);
    m_timer.OnTimer = [this](QObject *) { Step(); };
}

void TCoolScrollingText::setStrings(const QStringList &value)
{
    if (m_strings == value)
        return;
    m_strings = value;
    update();
}

void TCoolScrollingText::setActive(bool value)
{
    if (m_active == value)
        return;
    m_active = value;
    resetPosition(!value);
    updateTimer();
}

void TCoolScrollingText::setInterval(int value)
{
    value = qBound(1, value, 0xFFFF);
    if (m_interval == value)
        return;
    m_interval = value;
    updateTimer();
}

void TCoolScrollingText::setScrollDirection(TScrollDirection value)
{
    if (m_direction == value)
        return;
    m_direction = value;
    resetPosition(!m_active);
}

void TCoolScrollingText::setTransparent(bool value)
{
    // The group only stores the flag; the text looks different either way.
    if (m_wallpaper.setTransparent(value))
        update();
}

void TCoolScrollingText::setWallpaper(const QImage &image)
{
    m_wallpaper.Wallpaper()->Assign(image);
}

QColor TCoolScrollingText::Color() const
{
    return m_color.isValid() ? m_color : palette().color(QPalette::Button);
}

void TCoolScrollingText::setColor(const QColor &value)
{
    if (m_color == value)
        return;
    m_color = value;
    update();
}

void TCoolScrollingText::updateTimer()
{
    m_timer.setInterval(m_interval);
    m_timer.setEnabled(m_active);
}

QSize TCoolScrollingText::textSize() const
{
    const QFontMetrics fm(font());
    const QRect r = fm.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::AlignLeft | Qt::AlignTop, m_strings.join('\n'));
    return {r.width() + 1, r.height() + 1};
}

void TCoolScrollingText::resetPosition(bool initial)
{
    m_scrollX = m_scrollY = 0;
    if (!initial) {
        switch (m_direction) {
        case sdBottomToTop: m_scrollY = height(); break;
        case sdTopToBottom: m_scrollY = -height(); break;
        case sdLeftToRight: m_scrollX = -width(); break;
        case sdRightToLeft: m_scrollX = width(); break;
        }
    }
    update();
}

void TCoolScrollingText::Step()
{
    const QSize text = textSize();
    bool gone = false;
    switch (m_direction) {
    case sdBottomToTop: gone = --m_scrollY + text.height() <= 0; break;
    case sdTopToBottom: gone = ++m_scrollY >= height(); break;
    case sdLeftToRight: gone = ++m_scrollX >= width(); break;
    case sdRightToLeft: gone = --m_scrollX + text.width() <= 0; break;
    }
    if (gone) {
        // Enter again from the side the text moves away from.
        switch (m_direction) {
        case sdBottomToTop: m_scrollY = height(); break;
        case sdTopToBottom: m_scrollY = -text.height(); break;
        case sdLeftToRight: m_scrollX = -text.width(); break;
        case sdRightToLeft: m_scrollX = width(); break;
        }
    }
    update();
}

void TCoolScrollingText::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Transparent: nothing of its own; Qt has composed the parent beneath,
    // as the control does not fill its background.
    if (!Transparent() && !m_wallpaper.PaintWallpaper(p, rect()))
        p.fillRect(rect(), Color());
    p.setFont(font());
    const QRect r(m_scrollX, m_scrollY, 1 << 20, 1 << 20);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic;
    p.setPen(palette().color(QPalette::Active, QPalette::Light));
    p.drawText(r, flags, m_strings.join('\n'));
    p.setPen(palette().color(QPalette::Active, QPalette::WindowText));
    p.drawText(r.translated(1, 1), flags, m_strings.join('\n'));
}

} // namespace coolctrls
