#include "TCoolLabel.h"

#include "platform/Application.h"
#include "platform/canvas/TBitmap.h"

#include <QMouseEvent>
#include <QPainter>

namespace coolctrls {

TCoolLabel::TCoolLabel(QWidget *parent)
    : QWidget(parent)
{
    resize(65, 17);
}

void TCoolLabel::setCaption(const QString &value)
{
    if (m_caption == value)
        return;
    m_caption = value;
    AdjustBounds();
    update();
}

void TCoolLabel::setAutoSize(bool value)
{
    if (m_autoSize == value)
        return;
    m_autoSize = value;
    AdjustBounds();
}

void TCoolLabel::setTransparent(bool value)
{
    // The group only stores the flag; the label looks different either way.
    if (m_wallpaper.setTransparent(value))
        update();
}

void TCoolLabel::setWallpaper(const QImage &image)
{
    m_wallpaper.Wallpaper()->Assign(image);
}

void TCoolLabel::setWordWrap(bool value)
{
    if (m_wordWrap == value)
        return;
    m_wordWrap = value;
    AdjustBounds();
    update();
}

void TCoolLabel::setShowAccelChar(bool value)
{
    if (m_showAccelChar == value)
        return;
    m_showAccelChar = value;
    AdjustBounds();
    update();
}

void TCoolLabel::setAlignment(TAlignment value)
{
    if (m_alignment == value)
        return;
    m_alignment = value;
    update();
}

QColor TCoolLabel::Color() const
{
    return m_color.isValid() ? m_color : palette().color(QPalette::Button);
}

void TCoolLabel::setColor(const QColor &value)
{
    if (m_color == value)
        return;
    m_color = value;
    update();
}

QColor TCoolLabel::ShadowColor() const
{
    return m_shadowColor.isValid() ? m_shadowColor : palette().color(QPalette::Active, QPalette::Light);
}

void TCoolLabel::setShadowColor(const QColor &value)
{
    if (m_shadowColor == value)
        return;
    m_shadowColor = value;
    m_simpleView = false;
    AdjustBounds();
    update();
}

void TCoolLabel::setShadowSize(int value)
{
    value = qBound(0, value, 255);
    if (m_shadowSize == value)
        return;
    m_shadowSize = value;
    m_simpleView = false;
    AdjustBounds();
    update();
}

void TCoolLabel::setShadowPos(TShadowPos value)
{
    if (m_shadowPos == value)
        return;
    m_shadowPos = value;
    m_simpleView = false;
    AdjustBounds();
    update();
}

void TCoolLabel::setSimpleView(bool value)
{
    if (m_simpleView == value)
        return;
    m_simpleView = value;
    AdjustBounds();
    update();
}

int TCoolLabel::textFlags() const
{
    int flags = Qt::TextExpandTabs;
    flags |= m_showAccelChar ? Qt::TextShowMnemonic : 0;
    if (m_wordWrap)
        flags |= Qt::TextWordWrap;
    switch (m_alignment) {
    case taLeftJustify: flags |= Qt::AlignLeft; break;
    case taRightJustify: flags |= Qt::AlignRight; break;
    case taCenter: flags |= Qt::AlignHCenter; break;
    }
    return flags | Qt::AlignTop;
}

// Shadowed text: the text and its copy in the shadow colour are both drawn
// from the rectangle, each moved by its offset; the disabled look is a grey
// text with a light copy one pixel right and down.
QPoint TCoolLabel::textOffset() const
{
    if (!isEnabled() || m_simpleView)
        return {0, 0};
    const int s = m_shadowSize;
    switch (m_shadowPos) {
    case spLeftTop: return {s, s};
    case spLeftBottom: return {s, 0};
    case spRightTop: return {0, s};
    case spRightBottom: return {0, 0};
    }
    return {0, 0};
}

QPoint TCoolLabel::shadowOffset() const
{
    if (!isEnabled())
        return {1, 1};
    const int s = m_shadowSize;
    switch (m_shadowPos) {
    case spLeftTop: return {0, 0};
    case spLeftBottom: return {0, s};
    case spRightTop: return {s, 0};
    case spRightBottom: return {s, s};
    }
    return {0, 0};
}

QSize TCoolLabel::textExtent() const
{
    QString text = m_caption;
    if (text.isEmpty() || (m_showAccelChar && text == "&"))
        text += ' ';
    const QFontMetrics fm(font());
    const int maxWidth = m_wordWrap ? qMax(1, width()) : 1 << 20;
    QRect r = fm.boundingRect(QRect(0, 0, maxWidth, 1 << 20), textFlags(), text);
    const QPoint off = textOffset();
    return {r.width() + off.x(), qMax(r.height(), fm.height()) + off.y()};
}

void TCoolLabel::AdjustBounds()
{
    if (!m_autoSize || !parentWidget())
        return;
    const QSize extent = textExtent();
    int left = x();
    if (m_alignment == taRightJustify)
        left += width() - extent.width();
    setGeometry(left, y(), extent.width(), extent.height());
}

void TCoolLabel::drawText(QPainter &painter, QRect rect) const
{
    const int flags = textFlags();
    painter.setFont(font());
    if (!isEnabled()) {
        painter.setPen(palette().color(QPalette::Active, QPalette::Light));
        painter.drawText(rect.translated(shadowOffset()), flags, m_caption);
        painter.setPen(palette().color(QPalette::Active, QPalette::Dark));
        painter.drawText(rect, flags, m_caption);
        return;
    }
    const QColor textColor = palette().color(QPalette::Active, QPalette::WindowText);
    if (!m_simpleView) {
        painter.setPen(ShadowColor());
        painter.drawText(rect.translated(shadowOffset()), flags, m_caption);
    }
    painter.setPen(textColor);
    painter.drawText(rect.translated(textOffset()), flags, m_caption);
}

void TCoolLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Transparent: nothing of its own; Qt has composed the parent beneath,
    // as the control does not fill its background.
    if (!Transparent() && !m_wallpaper.PaintWallpaper(painter, rect()))
        painter.fillRect(rect(), Color());
    drawText(painter, rect());
}

void TCoolLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    if (OnMouseDown) {
        const QPoint p = event->position().toPoint();
        OnMouseDown(this, event->button(), event->modifiers(), p.x(), p.y());
    }
}

void TCoolLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (OnMouseUp) {
        const QPoint p = event->position().toPoint();
        OnMouseUp(this, event->button(), event->modifiers(), p.x(), p.y());
    }
    if (click && OnClick)
        OnClick(this);
}

void TCoolLabel::changeEvent(QEvent *event)
{
    // The disabled look has no shadow offset, and a new font a new extent.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange) {
        AdjustBounds();
        update();
    }
    QWidget::changeEvent(event);
}

} // namespace coolctrls
