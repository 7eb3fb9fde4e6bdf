#include "TCoolMemo.h"

#include "CoolUtils.h"
#include "TCoolCaptionBar.h"

#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

using namespace platform;

namespace coolctrls {

TCoolMemo::TCoolMemo(QWidget *parent)
    : QTextEdit(parent)
    , TWallpaperControl(this)
    , TControlEvents(this)
    , TControl(this)
    , m_captionBar(new TCoolCaptionBar(this, m_wallpaper))
{
    // The memo has a colour of its own (clWindow), not its parent's.
    setParentColor(false);
    WatchMouseOf(viewport());
    // Any change of the text, typed or set from code.
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (OnChange)
            OnChange(this);
    });
    resize(185, 89);
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setFrameShape(QFrame::NoFrame);
    // The text area's background is painted under the text (wallpaper,
    // ancestor or colour), not erased beforehand.
    viewport()->setAutoFillBackground(false);
    m_captionBar->OnRefresh = [this] { UpdateCaptionBar(); };
    // The caption wallpaper is one of the memo's own bitmaps: a change
    // repaints the whole control and tells it the colours changed.
    m_captionBar->OnWallpaperChanged = [this] {
        UpdateCaptionBar();
        repaintAll();
        colorChanged();
    };
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
    applySelectionLook();
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
    const int edge = borderWidth();
    const QMargins frame = m_captionBar->FrameMargins() + QMargins(edge, edge, edge, edge);
    setViewportMargins(frame);
    const bool horz = m_scrollBars == ssHorizontal || m_scrollBars == ssBoth;
    const bool vert = m_scrollBars == ssVertical || m_scrollBars == ssBoth;
    setHorizontalScrollBarPolicy(horz ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    applyAlignment();
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
    if (!StoreChanged(m_textAlign, value))
        return;
    RecreateWnd();
}

void TCoolMemo::setWordWrap(bool value)
{
    setLineWrapMode(value ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void TCoolMemo::setHideSelection(bool value)
{
    if (!StoreChanged(m_hideSelection, value))
        return;
    applySelectionLook();
    viewport()->update();
}

void TCoolMemo::applySelectionLook()
{
    // The text box draws the selection of an unfocused memo in the
    // palette's inactive highlight colours: a see-through highlight and the
    // plain text colour leave it invisible, while it stays what it is;
    // otherwise it keeps the focused look.
    QPalette p = palette();
    const bool hide = m_hideSelection;
    const QBrush highlight = hide ? QBrush(Qt::transparent) : p.brush(QPalette::Active, QPalette::Highlight);
    const QBrush text = hide ? p.brush(QPalette::Active, QPalette::Text)
                             : p.brush(QPalette::Active, QPalette::HighlightedText);
    if (p.brush(QPalette::Inactive, QPalette::Highlight) == highlight
        && p.brush(QPalette::Inactive, QPalette::HighlightedText) == text)
        return;
    p.setBrush(QPalette::Inactive, QPalette::Highlight, highlight);
    p.setBrush(QPalette::Inactive, QPalette::HighlightedText, text);
    m_applyingSelectionLook = true;
    setPalette(p);
    m_applyingSelectionLook = false;
}

void TCoolMemo::setBorderStyle(TBorderStyle value)
{
    if (!StoreChanged(m_borderStyle, value))
        return;
    RecreateWnd();
}

void TCoolMemo::setScrollBars(TScrollStyle value)
{
    if (!StoreChanged(m_scrollBars, value))
        return;
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
        ExcludeConflictingOptions(CoolOptions(), TCoolOptions::fromInt(uint32_t(value)));
    if (options == CoolOptions())
        return;
    m_options = int(options.toInt());
    RecreateWnd();
    colorChanged();
}

void TCoolMemo::setEdgeBorders(int value)
{
    if (!StoreChanged(m_edgeBorders, value))
        return;
    update();
}

void TCoolMemo::setBordersTrColor(TColor value)
{
    if (!StoreChanged(m_bordersTrColor, value))
        return;
    update();
}

void TCoolMemo::setColor(TColor value)
{
    if (!StoreChanged(m_color, value))
        return;
    // The text box's own parts (its selection, say) agree with it.
    coolctrls::detail::setFontColor(this, value.toQColor(), QPalette::Base);
    ColorChanged();
}

// --- Caption bar ------------------------------------------------------------------

QString TCoolMemo::Caption() const { return m_captionBar->Caption(); }
void TCoolMemo::setCaption(const QString &value) { m_captionBar->setCaption(value); }
TColor TCoolMemo::CaptionColor() const { return m_captionBar->CaptionColor(); }
void TCoolMemo::setCaptionColor(TColor value) { m_captionBar->setCaptionColor(value); }
TColor TCoolMemo::CaptionTextColor() const { return m_captionBar->CaptionTextColor(); }
void TCoolMemo::setCaptionTextColor(TColor value) { m_captionBar->setCaptionTextColor(value); }
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
    // Whatever the mouse did, a painted border is highlighted exactly when
    // the memo has the focus.
    return hasFocus();
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
    canvas.FillRect(client, m_color);
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

int TCoolMemo::borderWidth() const
{
    if (m_borderStyle != bsSingle)
        return 0;
    return Ctl3D() ? 2 : 1;
}

void TCoolMemo::paintFrame(TCanvas &canvas)
{
    m_captionBar->Paint(canvas);
    if (m_borderStyle == bsSingle) {
        const QRect edge = QRect(QPoint(0, 0), size()).marginsRemoved(m_captionBar->FrameMargins());
        if (Ctl3D())
            canvas.DrawEdge(edge, EDGE_SUNKEN, BF_RECT);
        else
            canvas.FrameRect(edge, clWindowFrame);
    }
    if (m_options & ocFlatBorder)
        DrawFlatBorder(&canvas, this, FlatBorderHighlighted());
    DrawEdgeBorders(&canvas, this, TEdgeBorders::fromInt(uint32_t(m_edgeBorders)), m_bordersTrColor, m_borderPen);
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
        // The character-from-position answer of the bottom-left corner
        // goes on whole (line number in its high word) as the character
        // index. Lines are counted from 0, and an index past the text
        // gives the last line, so the answer never reaches the line count
        // and the key always goes on to the text box.
        const int bottomLeft = CharFromPos(QPoint(0, viewport()->height() - 1));
        return LineFromChar(bottomLeft) == LineCount();
    }
    return false;
}

// --- Events ------------------------------------------------------------------------------

int TCoolMemo::room() const
{
    if (m_maxLength <= 0)
        return INT_MAX;
    const QTextCursor cursor = textCursor();
    const int length = document()->characterCount() - 1;
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    return qMax(0, m_maxLength - (length - selected));
}

bool TCoolMemo::typeText(const QString &text)
{
    const QString fitting = text.left(room());
    if (fitting.isEmpty())
        return false;
    QTextCursor cursor = textCursor();
    cursor.insertText(fitting);
    setTextCursor(cursor);
    ensureCursorVisible();
    return true;
}

bool TCoolMemo::clickDefaultButton()
{
    for (QPushButton *button : window()->findChildren<QPushButton *>()) {
        if (button->isDefault() && button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

void TCoolMemo::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
        if (!m_wantReturns && mods != Qt::ControlModifier) {
            // Enter belongs to the window: its default button, else whoever
            // takes the key further up.
            if (clickDefaultButton())
                event->accept();
            else
                event->ignore();
            return;
        }
        if (!isReadOnly() && (mods == Qt::ControlModifier || m_maxLength > 0)) {
            // Ctrl+Enter types a plain line break (the text box would take
            // it for something else); with a limit, only while one fits.
            if (!typeText(QStringLiteral("\n")))
                QApplication::beep();
            event->accept();
            return;
        }
    }
    if (m_maxLength > 0 && !isReadOnly() && !event->text().isEmpty() && event->text().at(0).isPrint()
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (!typeText(event->text()))
            QApplication::beep();
        event->accept();
        return;
    }
    // With the flat border the page keys stop at the ends: the rule is
    // asked before the text box moves.
    if (PageKeySwallowed(key)) {
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void TCoolMemo::insertFromMimeData(const QMimeData *source)
{
    // Pasted and dropped text stops at MaxLength, as typing does.
    if (m_maxLength <= 0 || !source || !source->hasText()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    if (!typeText(source->text()))
        QApplication::beep();
}

void TCoolMemo::inputMethodEvent(QInputMethodEvent *event)
{
    if (m_maxLength > 0 && !event->commitString().isEmpty()) {
        const int fits = room();
        if (event->commitString().size() > fits) {
            QInputMethodEvent cut(event->preeditString(), event->attributes());
            cut.setCommitString(event->commitString().left(fits), event->replacementStart(),
                                event->replacementLength());
            QTextEdit::inputMethodEvent(&cut);
            return;
        }
    }
    QTextEdit::inputMethodEvent(event);
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

void TCoolMemo::changeEvent(QEvent *event)
{
    QTextEdit::changeEvent(event);
    // A new palette (a colour property, the parent's) gets the selection
    // look back.
    if (event->type() == QEvent::PaletteChange && !m_applyingSelectionLook)
        applySelectionLook();
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
    if (m_options & ocFlatBorder)
        update();
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
        // The flat border shows the focus, not the mouse (see
        // FlatBorderHighlighted).
        if (OnMouseEnter)
            OnMouseEnter(this);
        break;
    case QEvent::Leave:
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
