#include "TCoolLabel.h"

#include "CoolAccessibility.h"
#include "CoolFocus.h"
#include "CoolUtils.h"
#include "TCoolLabelAccessible.h"
#include "TFormLoading.h"

#include "platform/Application.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

using namespace platform;

namespace coolctrls {

TCoolLabel::TCoolLabel(QWidget *parent)
    : QWidget(parent), TBackgroundControl(this), TControlEvents(this), TControl(this)
{
    m_glyph.OnChange = [this](TGlyph *) { update(); };
    m_borderPen.OnChange = [this](TPen *) { update(); };
    // Painted by its parent's paint cycle, like every windowless control.
    setProperty(GraphicControlProperty, true);
    resize(65, 17);
    RegisterCoolAccessibility();
    LastInputWasKeyboard();  // starts following the input's kind
    // ParentColor: the colour of the parent it is made in.
    TControl::ParentColorChanged();
}

void TCoolLabel::setCaption(const QString &value)
{
    if (m_caption == value)
        return;
    const QString old = std::exchange(m_caption, value);
    m_accelerator.setText(m_caption, m_showAccelChar);
    AdjustBounds();
    update();
    if (m_announceChanges)
        TCoolLabelAccessible::captionChanged(this, old);
}

void TCoolLabel::setAutoSize(bool value)
{
    if (!StoreChanged(m_autoSize, value))
        return;
    AdjustBounds();
}

void TCoolLabel::setWordWrap(bool value)
{
    if (!StoreChanged(m_wordWrap, value))
        return;
    AdjustBounds();
    update();
}

void TCoolLabel::setShowAccelChar(bool value)
{
    if (!StoreChanged(m_showAccelChar, value))
        return;
    m_accelerator.setText(m_caption, m_showAccelChar);
    AdjustBounds();
    update();
}

void TCoolLabel::setAlignment(TAlignment value)
{
    if (!StoreChanged(m_alignment, value))
        return;
    update();
}

void TCoolLabel::setColor(TColor value)
{
    if (!StoreChanged(m_color, value))
        return;
    update();
    ColorChanged();
}

void TCoolLabel::setWallpaper(const platform::TBitmap *bitmap)
{
    m_wallpaper.setWallpaper(bitmap);
    repaint();
}

bool TCoolLabel::event(QEvent *event)
{
    if (m_accelerator.ShortcutEvent(event))
        return true;
    return QWidget::event(event);
}

void TCoolLabel::setLayout(TTextLayout value)
{
    if (!StoreChanged(m_layout, value))
        return;
    update();
}

void TCoolLabel::setBevelInner(TBevelCut value)
{
    if (!StoreChanged(m_bevelInner, value))
        return;
    repaint();
}

void TCoolLabel::setBevelOuter(TBevelCut value)
{
    if (!StoreChanged(m_bevelOuter, value))
        return;
    repaint();
}

void TCoolLabel::setBevelsOffset(int value)
{
    if (!StoreChanged(m_bevelsOffset, value))
        return;
    if (value != 0)
        setAutoSize(false);
    repaint();
}

void TCoolLabel::setEdgeBorders(TEdgeBorders value)
{
    if (!StoreChanged(m_edgeBorders, value))
        return;
    update();
}

void TCoolLabel::setGlyph(const platform::TBitmap *bitmap)
{
    m_glyph.setGlyph(bitmap);
    AdjustBounds();
}

void TCoolLabel::setNumGlyphs(int value)
{
    if (m_glyph.setNumGlyphsLimited(value))
        update();
}

void TCoolLabel::DrawLabelText(TCanvas &canvas, QRect &r, unsigned format) const
{
    QString text = m_caption;
    if (((format & DT_CALCRECT) && text.isEmpty()) || (m_showAccelChar && text == "&"))
        text += ' ';
    if (!m_showAccelChar)
        format |= DT_NOPREFIX;
    // Right-to-left reading mirrors left and right alignment.
    format = BiDiFormat(format, layoutDirection() == Qt::RightToLeft, true);
    canvas.Font.Assign(font());
    const TColor fontColor = ControlFontColor(this);
    canvas.Font.setColor(fontColor);
    DrawCaption(canvas, r, format, text, shadowStyle(), fontColor, isEnabled());
}

QSize TCoolLabel::textExtent() const
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    QRect r = rect();
    DrawLabelText(canvas, r, DT_EXPANDTABS | DT_CALCRECT | (m_wordWrap ? DT_WORDBREAK : 0u));
    return {Right(r), Bottom(r)};
}

void TCoolLabel::AdjustBounds()
{
    if (!m_autoSize || !parentWidget())
        return;
    // A window still reading its description measures the label once, at
    // the end, in its final font.
    if (TFormLoading *loading = TFormLoading::current()) {
        loading->defer(this, [this] { AdjustBounds(); });
        return;
    }
    QSize extent = textExtent();
    const QSize glyph = m_glyph.glyphSize();
    if (!m_glyph.Glyph().Empty()) {
        extent.rwidth() += glyph.width() + 2;
        extent.rheight() = qMax(extent.height(), glyph.height());
    }
    TAlignment alignment = m_alignment;
    if (layoutDirection() == Qt::RightToLeft && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    int left = x();
    if (alignment == taRightJustify)
        left += width() - extent.width();
    setGeometry(left, y(), extent.width(), extent.height());
}

void TCoolLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    TCanvas canvas(&painter);
    // A transparent label paints no background: its container's shows.
    if (!Transparent() && !m_wallpaper.PaintWallpaper(canvas, rect(), SRCCOPY, Stretched()))
        canvas.FillRect(rect(), m_color);

    QRect r = rect();
    auto isEdge = [](TBevelCut cut) { return cut == bvLowered || cut == bvRaised; };
    if (isEdge(m_bevelInner) || isEdge(m_bevelOuter)) {
        // The edge around the whole client area, as the glyph holder draws
        // bevels; the rectangle itself does not shrink by it.
        m_glyph.DrawBevels(canvas, r, 0, bsBevelBoth, m_bevelOuter, m_bevelInner, blGlyphLeft, 0, 0, QString(),
                           QPoint());
        InflateRect(r, -m_bevelsOffset, -m_bevelsOffset);
    }

    canvas.Brush.setStyle(TBrushStyle::bsClear);
    const unsigned format = (m_wordWrap ? DT_WORDBREAK : 0u) | AlignmentFormat(m_alignment);
    if (m_layout != tlTop) {
        QRect m = r;
        DrawLabelText(canvas, m, format | DT_EXPANDTABS | DT_CALCRECT);
        const int dy = m_layout == tlBottom ? height() - Bottom(m) : (height() - Bottom(m)) / 2;
        r.translate(0, dy);
    }

    if (!m_glyph.Glyph().Empty()) {
        canvas.Font.Assign(font());
        const QPoint p = PlaceGlyphBeforeText(r, m_alignment, m_glyph.glyphSize().width(), canvas.TextWidth(m_caption));
        m_glyph.DrawGlyph(canvas, p, clNone, true, isEnabled());
    }

    DrawLabelText(canvas, r, format | DT_EXPANDTABS);
    DrawLabelEdgeBorders(canvas, this, m_edgeBorders, m_borderPen);
    // Only a keyboard user needs to see where the focus is.
    if (hasFocus() && m_focusFromKeyboard)
        canvas.DrawFocusRect(rect());
}

// The mouse events are raised by the shared layer; the label takes the
// press, so its container does not see it as its own.
void TCoolLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void TCoolLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void TCoolLabel::Click()
{
    if (!isEnabled())
        return;
    const QPoint c = rect().center();
    if (OnMouseDown)
        OnMouseDown(this, Qt::LeftButton, Qt::NoModifier, c.x(), c.y());
    if (OnMouseUp)
        OnMouseUp(this, Qt::LeftButton, Qt::NoModifier, c.x(), c.y());
    if (OnClick)
        OnClick(this);
}

void TCoolLabel::keyPressEvent(QKeyEvent *event)
{
    const QPoint c = rect().center();
    switch (event->key()) {
    case Qt::Key_Space:
        // Held down, Space is one press, as the mouse button is.
        if (!event->isAutoRepeat() && !m_keyDown) {
            m_keyDown = true;
            if (OnMouseDown)
                OnMouseDown(this, Qt::LeftButton, event->modifiers(), c.x(), c.y());
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            Click();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (MoveFocusByArrow(this, Qt::Key(event->key())))
            return;
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void TCoolLabel::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_keyDown) {
        m_keyDown = false;
        const QPoint c = rect().center();
        if (OnMouseUp)
            OnMouseUp(this, Qt::LeftButton, event->modifiers(), c.x(), c.y());
        if (OnClick && isEnabled())
            OnClick(this);
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TCoolLabel::focusInEvent(QFocusEvent *event)
{
    // The window coming back keeps the focus's look; any other move shows
    // it when it came from a key (Tab, an arrow, Space on a button that
    // then gave up the focus), not from a click.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_focusFromKeyboard = LastInputWasKeyboard();
    update();
    QWidget::focusInEvent(event);
}

void TCoolLabel::focusOutEvent(QFocusEvent *event)
{
    // Space let go elsewhere: the button comes up here, as the mouse's
    // does when released outside.
    if (m_keyDown) {
        m_keyDown = false;
        const QPoint c = rect().center();
        if (OnMouseUp)
            OnMouseUp(this, Qt::LeftButton, Qt::NoModifier, c.x(), c.y());
    }
    update();
    QWidget::focusOutEvent(event);
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
