#include "TCoolMemo.h"

#include "CoolUtils.h"
#include "TCoolCaptionBar.h"

#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

using namespace platform;

namespace coolctrls {

namespace {

QColor toQColor(TColor c) { return ColorToQColor(c); }

} // namespace

TCoolMemo::TCoolMemo(QWidget *parent)
    : QTextEdit(parent), m_captionBar(new TCoolCaptionBar(this, m_wallpaper))
{
    resize(185, 89);
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setFrameShape(QFrame::NoFrame);
    // The text area's background is painted under the text (wallpaper,
    // ancestor or colour), not erased beforehand.
    viewport()->setAutoFillBackground(false);
    m_captionBar->OnRefresh = [this] { UpdateCaptionBar(); };
    m_borderPen.OnChange = [this](TPen *) { update(); };
    m_wallpaper.OnImagesChanged = [this] {
        UpdateCaptionBar();
        repaintAll();
    };
    m_wallpaper.OnWallpaperChanged = [this] {
        repaintAll();
        colorChanged();
    };
    m_wallpaper.OnStoreRemoved = [this] {
        UpdateCaptionBar();
        repaintAll();
    };
    RecreateWnd();
    m_recreations = 0;
}

TCoolMemo::~TCoolMemo() = default;

void TCoolMemo::repaintAll()
{
    update();
    viewport()->update();
}

void TCoolMemo::colorChanged()
{
    // The colour-changed notification: the memo and its children repaint.
    QEvent e(QEvent::PaletteChange);
    QCoreApplication::sendEvent(this, &e);
    for (QWidget *child : findChildren<QWidget *>())
        child->update();
}

void TCoolMemo::UpdateCaptionBar()
{
    update();
}

void TCoolMemo::RecreateWnd()
{
    ++m_recreations;
    m_captionBar->setOptions(CoolOptions());
    const int edge = m_borderStyle == bsSingle ? 2 : 0;
    const QMargins frame = m_captionBar->FrameMargins() + QMargins(edge, edge, edge, edge);
    setViewportMargins(frame);
    const bool horz = m_scrollBars == ssHorizontal || m_scrollBars == ssBoth;
    const bool vert = m_scrollBars == ssVertical || m_scrollBars == ssBoth;
    setHorizontalScrollBarPolicy(horz ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    applyAlignment();
    repaintAll();
}

void TCoolMemo::setCoolImages(TCoolImages *store)
{
    m_wallpaper.setCoolImages(store);
    viewport()->update();
    UpdateCaptionBar();
}

void TCoolMemo::setIdWallpaper(int value)
{
    if (m_wallpaper.setIdWallpaper(value))
        viewport()->update();
}

void TCoolMemo::setWallpaper(const QImage &image)
{
    m_wallpaper.Wallpaper()->Assign(image);
}

void TCoolMemo::setTransparencyLevel(int value)
{
    if (m_wallpaper.setTransparencyLevel(static_cast<uint8_t>(qBound(0, value, 255))))
        repaintAll();
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
    RecreateWnd();
}

void TCoolMemo::setBorderStyle(TBorderStyle value)
{
    if (m_borderStyle == value)
        return;
    m_borderStyle = value;
    RecreateWnd();
}

void TCoolMemo::setScrollBars(TScrollStyle value)
{
    if (m_scrollBars == value)
        return;
    m_scrollBars = value;
    RecreateWnd();
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
    const TCoolOptions options =
        ExcludeConflictingOptions(CoolOptions(), TCoolOptions::fromBits(uint32_t(value)));
    if (options == CoolOptions())
        return;
    m_options = int(options.bits());
    RecreateWnd();
    colorChanged();
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

// --- Caption bar ------------------------------------------------------------------

QString TCoolMemo::Caption() const { return m_captionBar->Caption(); }
void TCoolMemo::setCaption(const QString &value) { m_captionBar->setCaption(value); }
QColor TCoolMemo::CaptionColor() const { return toQColor(m_captionBar->CaptionColor()); }
void TCoolMemo::setCaptionColor(const QColor &value) { m_captionBar->setCaptionColor(QColorToColor(value)); }
QColor TCoolMemo::CaptionTextColor() const { return toQColor(m_captionBar->CaptionTextColor()); }
void TCoolMemo::setCaptionTextColor(const QColor &value)
{
    m_captionBar->setCaptionTextColor(QColorToColor(value));
}
int TCoolMemo::idCaptionWallpaper() const { return m_captionBar->idCaptionWallpaper(); }
void TCoolMemo::setIdCaptionWallpaper(int value) { m_captionBar->setIdCaptionWallpaper(value); }
TBitmap *TCoolMemo::CaptionWallpaper() { return m_captionBar->CaptionWallpaper(); }
void TCoolMemo::setCaptionWallpaper(const TBitmap *bitmap) { m_captionBar->setCaptionWallpaper(bitmap); }
void TCoolMemo::setCaptionWallpaper(const QImage &image)
{
    m_captionBar->CaptionWallpaper()->Assign(image);
}

// --- Looks -----------------------------------------------------------------------------

bool TCoolMemo::WallpaperActive() const
{
    return (m_options & ocPaintWallpaper) && m_wallpaper.HasWallpaper();
}

bool TCoolMemo::BackgroundActive() const
{
    return WallpaperActive() || (m_options & ocPaintTransparently);
}

bool TCoolMemo::FlatBorderHighlighted() const
{
    return hasFocus() || m_mouseHighlight;
}

void TCoolMemo::eraseBackground(TCanvas &canvas)
{
    const QRect client = viewport()->rect();
    if (m_options & ocPaintTransparently) {
        // The canvas is in text-area coordinates; the background is laid out
        // under the whole control, so its origin is the control's corner.
        canvas.SetWindowOrg(viewport()->pos());
        PaintParentBackground(GetParentAtLevel(this, TransparencyLevel()), canvas, true);
        canvas.SetWindowOrg(0, 0);
        return;
    }
    // The wallpaper starts at the client origin, the text area's corner.
    if (WallpaperActive()
        && m_wallpaper.PaintWallpaper(canvas, client, SRCCOPY, (m_options & ocStretchWallpaper) != 0))
        return;
    canvas.FillRect(client, QColorToColor(Color()));
}

void TCoolMemo::paintEvent(QPaintEvent *event)
{
    // The text area: its background first, then the text on it (drawn with
    // a transparent background, so it lies directly on the wallpaper).
    {
        TCanvas canvas(viewport());
        eraseBackground(canvas);
    }
    QTextEdit::paintEvent(event);
    if (textAreaCoversFrame()) {
        // Without a border the text area reaches the control's edge, over
        // the frame's lines: they are drawn on it too, in the control's
        // coordinates.
        TCanvas canvas(viewport());
        canvas.SetWindowOrg(viewport()->pos());
        paintFrame(canvas);
    }
}

bool TCoolMemo::textAreaCoversFrame() const
{
    return m_borderStyle == bsNone;
}

void TCoolMemo::paintFrame(TCanvas &canvas)
{
    m_captionBar->Paint(canvas);
    if (m_borderStyle == bsSingle) {
        const QRect edge = QRect(QPoint(0, 0), size()).marginsRemoved(m_captionBar->FrameMargins());
        canvas.DrawEdge(edge, EDGE_SUNKEN, BF_RECT);
    }
    if (m_options & ocFlatBorder)
        DrawFlatBorder(&canvas, this, FlatBorderHighlighted());
    const TColor trColor = m_bordersTrColor.isValid() ? QColorToColor(m_bordersTrColor) : clNone;
    DrawEdgeBorders(&canvas, this, TEdgeBorders::fromBits(uint32_t(m_edgeBorders)), trColor, m_borderPen);
}

void TCoolMemo::scrollContentsBy(int dx, int dy)
{
    // The text moves over a wallpaper (or under frame lines) that stays
    // put: repaint instead of shifting the pixels.
    if (BackgroundActive() || textAreaCoversFrame())
        viewport()->update();
    else
        QTextEdit::scrollContentsBy(dx, dy);
}

// --- Lines ----------------------------------------------------------------------------

int TCoolMemo::LineCount() const
{
    int lines = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        lines += b.layout() ? qMax(1, b.layout()->lineCount()) : 1;
    return lines;
}

int TCoolMemo::LineFromChar(int charIndex) const
{
    int line = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        const int count = b.layout() ? qMax(1, b.layout()->lineCount()) : 1;
        if (charIndex < b.position() + b.length()) {
            if (!b.layout() || b.layout()->lineCount() == 0)
                return line;
            return line + qMax(0, b.layout()->lineForTextPosition(qMax(0, charIndex - b.position())).lineNumber());
        }
        line += count;
    }
    return qMax(0, line - 1);
}

int TCoolMemo::CharFromPos(const QPoint &pos) const
{
    const int index = cursorForPosition(pos).position();
    return (LineFromChar(index) << 16) | (index & 0xFFFF);
}

int TCoolMemo::FirstVisibleLine() const
{
    return LineFromChar(cursorForPosition(QPoint(0, 0)).position());
}

bool TCoolMemo::PageKeySwallowed(int key) const
{
    if (!(m_options & ocFlatBorder))
        return false;
    if (key == Qt::Key_PageUp)
        return FirstVisibleLine() == 0;
    if (key == Qt::Key_PageDown) {
        // The character part of the packed answer, not the whole value.
        const int charIndex = CharFromPos(QPoint(0, viewport()->height() - 1)) & 0xFFFF;
        return LineFromChar(charIndex) + 1 >= LineCount();
    }
    return false;
}

// --- Events ------------------------------------------------------------------------------

void TCoolMemo::keyPressEvent(QKeyEvent *event)
{
    QTextEdit::keyPressEvent(event);
    if (PageKeySwallowed(event->key()))
        event->accept();
}

void TCoolMemo::mousePressEvent(QMouseEvent *event)
{
    if (m_captionBar->Visible() && event->button() == Qt::LeftButton) {
        // With a caption bar the selection keeps its own anchor.
        setFocus(Qt::MouseFocusReason);
        QTextCursor cursor = textCursor();
        cursor.setPosition(cursorForPosition(event->position().toPoint()).position());
        setTextCursor(cursor);
        m_anchor = cursor.position();
    }
    QTextEdit::mousePressEvent(event);
}

void TCoolMemo::mouseMoveEvent(QMouseEvent *event)
{
    QTextEdit::mouseMoveEvent(event);
    if (m_captionBar->Visible() && (event->buttons() & Qt::LeftButton) && m_anchor >= 0) {
        const int index = cursorForPosition(event->position().toPoint()).position();
        QTextCursor cursor = textCursor();
        cursor.setPosition(m_anchor);
        cursor.setPosition(index, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
}

void TCoolMemo::focusInEvent(QFocusEvent *event)
{
    QTextEdit::focusInEvent(event);
    if (m_options & ocFlatBorder)
        update();
}

void TCoolMemo::focusOutEvent(QFocusEvent *event)
{
    QTextEdit::focusOutEvent(event);
    if (m_options & ocFlatBorder) {
        m_mouseHighlight = false;
        update();
    }
}

void TCoolMemo::moveEvent(QMoveEvent *event)
{
    QTextEdit::moveEvent(event);
    // What lies under a transparent memo has changed.
    repaintAll();
}

bool TCoolMemo::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint: {
        const bool result = QTextEdit::event(event);
        TCanvas canvas(this);
        paintFrame(canvas);
        return result;
    }
    case QEvent::Enter:
        if (m_options & ocFlatBorder) {
            m_mouseHighlight = true;
            update();
        }
        if (OnMouseEnter)
            OnMouseEnter(this);
        break;
    case QEvent::Leave:
        if (m_options & ocFlatBorder && !IsCoolControl(QApplication::focusWidget())) {
            m_mouseHighlight = false;
            update();
        }
        if (OnMouseLeave)
            OnMouseLeave(this);
        break;
    case QEvent::PaletteChange:
        if (m_options & ocPaintTransparently)
            viewport()->update();
        break;
    default:
        break;
    }
    return QTextEdit::event(event);
}

} // namespace coolctrls
