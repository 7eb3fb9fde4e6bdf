#include "TCoolMemo.h"

#include "platform/canvas/TBitmap.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>

namespace coolctrls {

TCoolMemo::TCoolMemo(QWidget *parent)
    : QTextEdit(parent)
{
    resize(185, 89);
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    // Room for the border lines drawn over the edges.
    setViewportMargins(2, 2, 2, 2);
    // The text area's background is painted with the text (wallpaper or
    // colour), not erased beforehand.
    viewport()->setAutoFillBackground(false);
    m_wallpaper.OnImagesChanged = [this] { repaintAll(); };
    m_wallpaper.OnWallpaperChanged = [this] { repaintAll(); };
    m_wallpaper.OnStoreRemoved = [this] { repaintAll(); };
}

void TCoolMemo::repaintAll()
{
    update();
    viewport()->update();
}

void TCoolMemo::setCoolImages(TCoolImages *store)
{
    m_wallpaper.setCoolImages(store);
    viewport()->update();
}

void TCoolMemo::setIdWallpaper(int value)
{
    if (m_wallpaper.setIdWallpaper(value))
        viewport()->update();
}

void TCoolMemo::setStretched(bool value)
{
    if (m_wallpaper.setStretched(value))
        viewport()->update();
}

void TCoolMemo::setWallpaper(const QImage &image)
{
    m_wallpaper.Wallpaper()->Assign(image);
}

void TCoolMemo::setTransparencyLevel(int value)
{
    m_wallpaper.setTransparencyLevel(static_cast<uint8_t>(qBound(0, value, 255)));
}

QStringList TCoolMemo::Lines() const
{
    return toPlainText().split('\n');
}

void TCoolMemo::setLines(const QStringList &lines)
{
    setPlainText(lines.join('\n'));
    applyAlignment();
}

void TCoolMemo::setTextAlign(TAlignment value)
{
    if (m_textAlign == value)
        return;
    m_textAlign = value;
    applyAlignment();
}

void TCoolMemo::applyAlignment()
{
    const Qt::Alignment align = m_textAlign == taCenter ? Qt::AlignHCenter
                              : m_textAlign == taRightJustify ? Qt::AlignRight : Qt::AlignLeft;
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(align);
    document()->setDefaultTextOption(option);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(align);
    cursor.mergeBlockFormat(format);
}

void TCoolMemo::setOptions(int value)
{
    if (value & ocPaintTransparently && m_options & ocPaintWallpaper)
        value &= ~ocPaintWallpaper;
    else if (value & ocPaintWallpaper && m_options & ocPaintTransparently)
        value &= ~ocPaintTransparently;
    if (m_options == value)
        return;
    m_options = value;
    update();
}

void TCoolMemo::setEdgeBorders(int value)
{
    if (m_edgeBorders == value)
        return;
    m_edgeBorders = value;
    update();
}

void TCoolMemo::setBordersTrColor(const QColor &value)
{
    if (m_bordersTrColor == value)
        return;
    m_bordersTrColor = value;
    update();
}

QColor TCoolMemo::Color() const
{
    return palette().color(QPalette::Base);
}

void TCoolMemo::setColor(const QColor &value)
{
    coolctrls::detail::setFontColor(this, value, QPalette::Base);
}

bool TCoolMemo::wallpaperActive() const
{
    return (m_options & ocPaintWallpaper) && m_wallpaper.HasWallpaper();
}

void TCoolMemo::paintEvent(QPaintEvent *event)
{
    // The text area: wallpaper first (anchored at the control's corner, so
    // it lines up with the margin around it), then the text over it.
    {
        QPainter p(viewport());
        if (!wallpaperActive() || !m_wallpaper.PaintWallpaper(p, QRect(-viewport()->pos(), size())))
            p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    }
    QTextEdit::paintEvent(event);
}

bool TCoolMemo::event(QEvent *event)
{
    if (event->type() == QEvent::Paint && wallpaperActive()) {
        QPainter p(this);
        m_wallpaper.PaintWallpaper(p, rect());
    }
    const bool result = QTextEdit::event(event);
    // The control's own paint event covers the margin around the text area,
    // where the border lines lie: a 2-pixel frame in BordersTrColor, then
    // 1-pixel lines on the chosen sides, both along the second pixel row and
    // column from the edge.
    if (event->type() == QEvent::Paint && m_edgeBorders != 0) {
        QPainter p(this);
        const QRect r = rect();
        auto side = [&](int edge) {
            switch (edge) {
            case ebTop: p.drawLine(r.left(), r.top() + 1, r.right(), r.top() + 1); break;
            case ebLeft: p.drawLine(r.left() + 1, r.top(), r.left() + 1, r.bottom()); break;
            case ebRight: p.drawLine(r.right() - 1, r.top(), r.right() - 1, r.bottom()); break;
            case ebBottom: p.drawLine(r.left(), r.bottom() - 1, r.right(), r.bottom() - 1); break;
            }
        };
        if (m_bordersTrColor.isValid()) {
            p.setPen(QPen(m_bordersTrColor, 2));
            for (int edge : {ebTop, ebLeft, ebRight, ebBottom})
                side(edge);
        }
        p.setPen(QPen(Qt::black, 1));
        for (int edge : {ebTop, ebLeft, ebRight, ebBottom})
            if (m_edgeBorders & edge)
                side(edge);
    }
    return result;
}

} // namespace coolctrls
