#include "TCoolScrollingText.h"

#include "CoolAccessibility.h"
#include "CoolUtils.h"
#include "TThreadTimer.h"

#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include <chrono>
#include <cstring>

using namespace platform;

namespace coolctrls {

namespace {

// The bounding rectangle of a premultiplied picture's pixels that are not
// fully see-through (empty when there are none).
QRect tickerInkRect(const QImage &picture)
{
    int left = picture.width(), right = -1, top = picture.height(), bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        int first = -1, last = -1;
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(row[x]) != 0) {
                if (first < 0)
                    first = x;
                last = x;
            }
        if (first < 0)
            continue;
        left = qMin(left, first);
        right = qMax(right, last);
        top = qMin(top, y);
        bottom = y;
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

TCoolScrollingText::TCoolScrollingText(QWidget *parent)
    : QWidget(parent),
      TBackgroundControl(this),
      TControlEvents(this),
      TControl(this),
      m_scrollTimer(new TThreadTimer(this)),
      m_clock([] {
          return std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::steady_clock::now().time_since_epoch())
              .count();
      })
{
    resize(97, 15);
    RegisterCoolAccessibility();
    // ParentColor: the colour of the parent it is made in.
    TControl::ParentColorChanged();
    // Every pixel is painted from the frame: the parent need not paint
    // under the control first, at every tick.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_scrollTimer->setInterval(m_interval);
    m_scrollTimer->OnTimer = [this](QObject *) { Tick(); };
    m_textGlyph.OnChange = [this](TGlyph *) { textChanged(); };
    m_wallpaper.OnImagesChanged = [this] { changed(); };
    m_wallpaper.OnStoreRemoved = [this] { changed(); };
    m_wallpaper.OnWallpaperChanged = [this] {
        changed();
        // Children and transparent neighbours hear of the new look.
        QEvent e(QEvent::PaletteChange);
        QCoreApplication::sendEvent(this, &e);
    };
}

TCoolScrollingText::~TCoolScrollingText()
{
    // Before anything the ticks use goes away.
    m_scrollTimer->Terminate();
}

void TCoolScrollingText::Loaded()
{
    adjustSize();
    ResetPosition(false);
    updateTimer();
}

void TCoolScrollingText::changed()
{
    m_frameValid = false;
    // Stopped, the control shows nothing new (see keepLastFrame()).
    if (!m_keepingLastFrame)
        update();
}

void TCoolScrollingText::textChanged()
{
    adjustSize();
    updateShortcut();
    changed();
}

void TCoolScrollingText::setStrings(const QStringList &value)
{
    if (!StoreChanged(m_strings, value))
        return;
    m_joined = m_strings.join('\n');
    textChanged();
}

void TCoolScrollingText::setActive(bool value)
{
    if (m_active == value)
        return;
    catchUp();
    m_active = value;
    m_hiddenSince = m_clock();
    updateTimer();
    if (m_active) {
        keepLastFrame(false);
        changed();
    } else {
        keepLastFrame(true);
    }
}

// A stopped ticker is out of the parent's way, as a hidden control: its
// last frame stays on the screen until the parent paints that area again,
// and from then on the parent shows there. So the control stops covering
// the parent (Qt paints the parent under it) and watches the parent's
// paints for the one that reaches its rectangle.
void TCoolScrollingText::keepLastFrame(bool keep)
{
    if (keep == m_keepingLastFrame)
        return;
    m_keepingLastFrame = keep;
    m_lastFrameGone = false;
    setAttribute(Qt::WA_OpaquePaintEvent, !keep);
    QWidget *parent = parentWidget();
    if (!parent)
        return;
    if (keep)
        parent->installEventFilter(this);
    else
        parent->removeEventFilter(this);
}

bool TCoolScrollingText::eventFilter(QObject *watched, QEvent *event)
{
    if (m_keepingLastFrame && watched == parentWidget() && event->type() == QEvent::Paint
        && static_cast<QPaintEvent *>(event)->region().intersects(geometry()))
        m_lastFrameGone = true;
    return QWidget::eventFilter(watched, event);
}

void TCoolScrollingText::setInterval(uint value)
{
    if (m_interval == value)
        return;
    catchUp();
    m_interval = value;
    updateTimer();
    changed();
}

void TCoolScrollingText::setScrollDirection(TScrollDirection value)
{
    // A horizontal direction, chosen anew or again, left-justifies the
    // text; either change shows.
    const bool horizontal = value == sdLeftToRight || value == sdRightToLeft;
    const bool realigned = horizontal && StoreChanged(m_alignment, taLeftJustify);
    if (StoreChanged(m_direction, value) || realigned)
        changed();
}

void TCoolScrollingText::setAlignment(TAlignment value)
{
    if (!StoreChanged(m_alignment, value))
        return;
    changed();
}

void TCoolScrollingText::setAutoSize(bool value)
{
    if (!StoreChanged(m_autoSize, value))
        return;
    adjustSize();
}

void TCoolScrollingText::TransparentChanged()
{
    if (Transparent() && m_active && m_backgroundSnapshot.isNull())
        m_snapshotPending = true;
    changed();
}

void TCoolScrollingText::setColor(TColor value)
{
    if (!StoreChanged(m_color, value))
        return;
    changed();
    ColorChanged();
}

void TCoolScrollingText::setGlyph(const TBitmap *bitmap)
{
    m_textGlyph.setGlyph(bitmap);
}

void TCoolScrollingText::setGlyph(const QImage &image)
{
    TBitmap bitmap;
    bitmap.Assign(image);
    m_textGlyph.setGlyph(image.isNull() ? nullptr : &bitmap);
}

void TCoolScrollingText::setNumGlyphs(int value)
{
    m_textGlyph.setNumGlyphsLimited(value);
}

void TCoolScrollingText::setShowAccelChar(bool value)
{
    if (!StoreChanged(m_showAccelChar, value))
        return;
    updateShortcut();
    textChanged();
}

void TCoolScrollingText::setFocusControl(QWidget *control)
{
    m_accelerator.setFocusControl(control);
}

bool TCoolScrollingText::DialogChar(QChar key)
{
    return m_accelerator.DialogChar(key);
}

void TCoolScrollingText::updateShortcut()
{
    m_accelerator.setText(joinedText(), m_showAccelChar);
}

// --- Size and position ----------------------------------------------------------

unsigned TCoolScrollingText::textFormat() const
{
    const unsigned format = DT_NOCLIP | (m_showAccelChar ? DT_NOPREFIX : 0u) | AlignmentFormat(m_alignment);
    return BiDiFormat(format, layoutDirection() == Qt::RightToLeft, false);
}

TCoolScrollingText::TextLook TCoolScrollingText::textLook() const
{
    TextLook look;
    look.text = joinedText();
    look.font = font();
    look.fontColor = ControlFontColor(this);
    look.shadow = shadowStyle();
    look.enabled = isEnabled();
    look.alignment = m_alignment;
    look.showAccelChar = m_showAccelChar;
    look.rightToLeft = layoutDirection() == Qt::RightToLeft;
    look.glyphKey = m_textGlyph.Glyph().image().cacheKey();
    look.numGlyphs = m_textGlyph.NumGlyphs();
    return look;
}

QSize TCoolScrollingText::TextExtent() const
{
    return textExtent(textLook());
}

QSize TCoolScrollingText::textExtent(const TextLook &look) const
{
    // Measured once per look and size, not at every tick.
    if (m_extentValid && m_extentControlSize == size() && m_extentLook == look)
        return m_extent;
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.Font.Assign(font());
    unsigned format = textFormat() | DT_CALCRECT | DT_EXPANDTABS;
    if (m_strings.size() >= 2)
        format |= DT_WORDBREAK;
    // Measured as drawn: the text with its appended space and, unless plain,
    // the shadow offset.
    QRect r(QPoint(0, 0), size());
    const QString text = joinedText() + ' ';
    DrawCaption(canvas, r, format, text, shadowStyle(), clBlack, true);
    int w = Right(r), h = Bottom(r);
    const QSize glyph = m_textGlyph.glyphSize();
    if (glyph.width() > 0) {
        w += glyph.width() + 2;
        h = qMax(h, glyph.height());
    }
    m_extentLook = look;
    m_extentControlSize = size();
    m_extent = QSize(w, h);
    m_extentValid = true;
    return m_extent;
}

void TCoolScrollingText::adjustSize()
{
    if (!m_autoSize || !parentWidget())
        return;
    const QSize extent = TextExtent();
    const int right = x() + width();
    setGeometry(m_alignment == taRightJustify ? right - extent.width() : x(), y(), extent.width(), extent.height());
}

void TCoolScrollingText::ResetPosition(bool initialPosition)
{
    m_scrollX = m_scrollY = 0;
    if (!initialPosition) {
        switch (m_direction) {
        case sdBottomToTop: m_scrollY = height(); break;
        case sdTopToBottom: m_scrollY = -height(); break;
        case sdLeftToRight: m_scrollX = -width(); break;
        case sdRightToLeft: m_scrollX = width(); break;
        }
    }
    // Only the offset changed: the kept parts stay.
    m_frameValid = false;
    update();
}

void TCoolScrollingText::updateTimer()
{
    // Hidden, the ticker keeps its place by the clock instead (see
    // catchUp()): its thread sleeps.
    m_scrollTimer->setEnabled(m_active && !m_suspended);
    m_scrollTimer->setInterval(m_interval);
    // The parent's background is captured once as the ticks start (at the
    // first tick, when the parent has its final look).
    if (m_active)
        m_snapshotPending = true;
}

void TCoolScrollingText::takeBackgroundSnapshot()
{
    m_snapshotPending = false;
    QImage snapshot(size(), QImage::Format_RGB32);
    snapshot.fill(m_color.toQColor());
    TCanvas canvas(&snapshot);
    PaintParentBackground(this, canvas, true);
    canvas.releaseHandle();
    m_backgroundSnapshot = snapshot;
}

// --- Ticks and painting -------------------------------------------------------------

void TCoolScrollingText::setClock(TClock clock)
{
    catchUp();
    m_clock = std::move(clock);
    m_hiddenSince = m_clock();
}

void TCoolScrollingText::suspend()
{
    if (m_suspended || !m_active)
        return;
    m_suspended = true;
    m_hiddenSince = m_clock();
    updateTimer();
}

void TCoolScrollingText::catchUp()
{
    if (!m_suspended || !m_active)
        return;
    const qint64 period = m_scrollTimer->SleepInterval();
    const qint64 now = m_clock();
    qint64 steps = (now - m_hiddenSince) / period;
    if (steps <= 0)
        return;
    m_hiddenSince += steps * period;
    // The steps the ticks would have taken, wraps and OnTextScrolled
    // included, without painting; the text is measured again only after a
    // wrap (the handler may have changed it).
    QSize extent = TextExtent();
    while (steps-- > 0) {
        bool wrapped = false;
        if (!Step(extent, &wrapped))
            return;
        if (wrapped)
            extent = TextExtent();
    }
}

void TCoolScrollingText::resume()
{
    if (!m_suspended)
        return;
    catchUp();
    m_suspended = false;
    updateTimer();
}

bool TCoolScrollingText::Step(const QSize &extent, bool *wrapped)
{
    bool wrap = false;
    switch (m_direction) {
    case sdBottomToTop:
        if (m_scrollY > -extent.height()) --m_scrollY; else wrap = true;
        break;
    case sdTopToBottom:
        if (m_scrollY < height()) ++m_scrollY; else wrap = true;
        break;
    case sdLeftToRight:
        if (m_scrollX < width()) ++m_scrollX; else wrap = true;
        break;
    case sdRightToLeft:
        if (m_scrollX > -extent.width()) --m_scrollX; else wrap = true;
        break;
    }
    if (wrapped)
        *wrapped = wrap;
    if (wrap) {
        bool initialPosition = false;
        if (OnTextScrolled) {
            // The handler may destroy the control.
            QPointer<TCoolScrollingText> alive(this);
            OnTextScrolled(this, initialPosition);
            if (!alive)
                return false;
        }
        ResetPosition(initialPosition);
    }
    return true;
}

void TCoolScrollingText::Tick()
{
    // The look is taken once a tick (reading the palette is not free) and
    // again only after a wrap, whose handler may have changed the text.
    TextLook look = textLook();
    bool wrapped = false;
    if (!Step(textExtent(look), &wrapped))
        return;
    if (wrapped)
        look = textLook();
    if (m_snapshotPending && Transparent())
        takeBackgroundSnapshot();
    if (!isVisible()) {
        // Nothing to show: the text moves on and the frame is painted when
        // the control is shown again. Inside a window that shows (on a page
        // that is not the current one, say) the thread goes to sleep and the
        // clock keeps the place instead.
        m_frameValid = false;
        if (window()->isVisible())
            suspend();
        return;
    }
    // One frame off-screen, shown at once in one copy by the paint handler.
    // While only the offset changed, the text is moved in the kept frame and
    // the strip it covered and covers is all that is drawn and shown: on the
    // program's Information page 150 of 770 pixels a row.
    const QSize frameSize = size().expandedTo(QSize(1, 1));
    QRect changed(QPoint(0, 0), frameSize);
    if (m_frameValid && m_frame.size() == frameSize && !liveBackground() && !m_background.isNull()
        && m_backgroundLook == backgroundLook()) {
        changed = moveTextInFrame(look);
    } else {
        if (m_frame.size() != frameSize)
            m_frame = QImage(frameSize, QImage::Format_RGB32);
        m_frameTextRect = renderFrameInto(m_frame);
        m_frameValid = true;
    }
    if (!changed.isEmpty())
        repaint(changed);
}

QRect TCoolScrollingText::moveTextInFrame(const TextLook &look)
{
    updateTextPicture(width() - m_scrollX, look);
    const QPoint at(m_scrollX - m_textPictureOrigin.x(), m_scrollY - m_textPictureOrigin.y());
    const QRect textRect = m_textPictureInk.translated(at) & m_frame.rect();
    const QRect changed = (m_frameTextRect | textRect) & m_frame.rect();
    m_frameTextRect = textRect;
    ++m_framesPainted;
    if (changed.isEmpty())
        return changed;
    // The kept background under the strip, then the text over it.
    const qsizetype rowBytes = qsizetype(changed.width()) * 4;
    for (int y = changed.top(); y <= changed.bottom(); ++y)
        std::memcpy(m_frame.scanLine(y) + changed.left() * 4, m_background.constScanLine(y) + changed.left() * 4,
                    size_t(rowBytes));
    const QRect source = changed.translated(-at) & m_textPicture.rect();
    if (!source.isEmpty())
        BlendPremultipliedOver(m_frame, source.topLeft() + at, m_textPicture, source);
    return changed;
}

QImage TCoolScrollingText::RenderFrame()
{
    QImage frame(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    renderFrameInto(frame);
    return frame;
}

TCoolScrollingText::BackgroundLook TCoolScrollingText::backgroundLook() const
{
    BackgroundLook look;
    if (const TBitmap *wallpaper = m_wallpaper.ResolveWallpaper()) {
        look.wallpaper = wallpaper;
        look.wallpaperKey = wallpaper->image().cacheKey();
    }
    look.stretched = Stretched();
    look.transparent = Transparent();
    look.color = m_color;
    look.size = size().expandedTo(QSize(1, 1));
    look.snapshotKey = m_backgroundSnapshot.cacheKey();
    return look;
}

bool TCoolScrollingText::liveBackground() const
{
    return Transparent() && m_backgroundSnapshot.isNull() && !m_wallpaper.HasWallpaper();
}

void TCoolScrollingText::paintBackground(TCanvas &canvas)
{
    const QRect client(QPoint(0, 0), size());
    if (Transparent()) {
        // The part of the parent's background under the control: the
        // snapshot while ticking, else rendered now.
        if (!m_backgroundSnapshot.isNull())
            canvas.BitBlt(0, 0, width(), height(), m_backgroundSnapshot, 0, 0, SRCCOPY);
        else
            PaintParentBackground(this, canvas, true);
    }
    // The wallpaper wins; else Color unless Transparent (whose background
    // is there already).
    if (!m_wallpaper.PaintWallpaper(canvas, client, SRCCOPY, Stretched()) && !Transparent())
        canvas.FillRect(client, m_color);
}

void TCoolScrollingText::updateTextPicture(int textRectWidth, const TextLook &look)
{
    // A left-justified text does not depend on the rectangle's width.
    const int rectWidth = m_alignment == taLeftJustify ? width() : textRectWidth;
    if (!m_textPicture.isNull() && m_textPictureWidth == rectWidth && m_textPictureLook == look)
        return;

    // Room around the text rectangle for whatever an alignment puts outside
    // it: the widest line (unwrapped), the glyph and the shadow.
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas measure(&scratch);
    measure.Font.Assign(font());
    const QString text = joinedText() + ' ';
    QRect bounds(0, 0, 1, 1);
    measure.DrawText(text, bounds, textFormat() | DT_CALCRECT | DT_EXPANDTABS);
    const int textWidth = measure.TextWidth(text);
    measure.releaseHandle();
    const QSize glyph = m_textGlyph.glyphSize();
    const int pad = shadowStyle().Size + 4;
    const int margin = qMax(bounds.width(), textWidth) + glyph.width() + 2 + pad;
    const int pictureHeight = qMax(bounds.height(), glyph.height()) + 2 * pad;

    QImage picture(qMax(1, rectWidth) + 2 * margin, pictureHeight, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    TCanvas canvas(&picture);
    m_textPictureOrigin = QPoint(margin, pad);
    paintText(canvas, QRect(m_textPictureOrigin, QSize(rectWidth, pictureHeight - pad)));
    canvas.releaseHandle();
    m_textPictureInk = tickerInkRect(picture);
    m_textPicture = picture;
    m_textPictureWidth = rectWidth;
    m_textPictureLook = look;
}

QRect TCoolScrollingText::renderFrameInto(QImage &frame)
{
    if (liveBackground()) {
        frame.fill(m_color.toQColor());
        TCanvas canvas(&frame);
        paintBackground(canvas);
        canvas.releaseHandle();
    } else {
        BackgroundLook look = backgroundLook();
        if (m_background.isNull() || !(m_backgroundLook == look)) {
            m_background = QImage(look.size, QImage::Format_RGB32);
            m_background.fill(m_color.toQColor());
            TCanvas canvas(&m_background);
            paintBackground(canvas);
            canvas.releaseHandle();
            m_backgroundLook = std::move(look);
        }
        if (frame.size() == m_background.size() && frame.format() == m_background.format())
            std::memcpy(frame.bits(), m_background.constBits(), size_t(m_background.sizeInBytes()));
        else
            frame = m_background.copy();
    }
    updateTextPicture(width() - m_scrollX, textLook());
    const QPoint at(m_scrollX - m_textPictureOrigin.x(), m_scrollY - m_textPictureOrigin.y());
    QPainter painter(&frame);
    painter.drawImage(at, m_textPicture);
    painter.end();
    ++m_framesPainted;
    return m_textPictureInk.translated(at) & frame.rect();
}

void TCoolScrollingText::paintText(TCanvas &canvas, QRect r)
{
    canvas.SetBkMode(TRANSPARENT);
    canvas.Font.Assign(font());
    const QString &text = joinedText();
    const unsigned format = textFormat();

    const QSize glyph = m_textGlyph.glyphSize();
    if (glyph.width() > 0) {
        const QPoint at = PlaceGlyphBeforeText(r, m_alignment, glyph.width(), canvas.TextWidth(text));
        m_textGlyph.DrawGlyph(canvas, at, clNone, true, isEnabled());
    }
    // The appended space belongs to the enabled text only.
    const TColor fontColor = ControlFontColor(this);
    DrawCaption(canvas, r, format, isEnabled() ? text + ' ' : text, shadowStyle(), fontColor, isEnabled());
}

void TCoolScrollingText::paintEvent(QPaintEvent *event)
{
    // Stopped: the last frame as it was shown, until the parent has painted
    // over it; then nothing.
    if (m_keepingLastFrame) {
        if (!m_lastFrameGone && !m_frame.isNull()) {
            QPainter p(this);
            p.drawImage(0, 0, m_frame);
        }
        return;
    }
    const QSize frameSize = size().expandedTo(QSize(1, 1));
    if (!m_frameValid || m_frame.size() != frameSize) {
        if (m_frame.size() != frameSize)
            m_frame = QImage(frameSize, QImage::Format_RGB32);
        m_frameTextRect = renderFrameInto(m_frame);
        m_frameValid = true;
    }
    QPainter p(this);
    const QRect area = event->rect() & m_frame.rect();
    p.drawImage(area.topLeft(), m_frame, area);
}

void TCoolScrollingText::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_active)
        m_snapshotPending = true;
    m_frameValid = false;
}

void TCoolScrollingText::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // The captured background lay under the old place.
    if (m_active)
        m_snapshotPending = true;
    m_frameValid = false;
}

bool TCoolScrollingText::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Shortcut:
        if (m_accelerator.ShortcutEvent(event))
            return true;
        break;
    case QEvent::FontChange:
        textChanged();
        break;
    case QEvent::Hide:
        suspend();
        break;
    case QEvent::Show:
        resume();
        break;
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::LayoutDirectionChange:
        changed();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

} // namespace coolctrls
