#include "TCoolBtn.h"

#include "TCanvasAttachment.h"

#include "platform/canvas/TBitmap.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>

#include <utility>

using namespace platform;

namespace coolctrls {

namespace {

// Steps of the gradient face.
constexpr int GradientSteps = 128;

} // namespace

TCoolBtn::TCoolBtn(QWidget *parent)
    : QPushButton(parent)
    , TWallpaperControl(this)
    , TControlEvents(this)
    , TControl(this)
    , m_frameTimer(new TTimer(this))
{
    resize(75, 25);
    m_frameTimer->setEnabled(false);
    m_frameTimer->setInterval(int(m_interval));
    m_frameTimer->OnTimer = [this](QObject *) { frameTimerTick(); };
    m_buttonGlyph.OnChange = [this](TGlyph *) { update(); };
    m_wallpaper.OnWallpaperChanged = [this] {
        update();
        colorsChanged();
    };
    // OnClick is the button's activation (a click, Space, Enter, the
    // default button), not the mouse's press and release alone.
    setClickFromMouse(false);
    connect(this, &QPushButton::clicked, this, &TCoolBtn::Click);
    // Another button taking the focus takes the default role from this one.
    m_focusChanged = connect(qApp, &QApplication::focusChanged, this, [this] { focusChanged(); });
}

TCoolBtn::~TCoolBtn()
{
    // QWidget's destructor gives the focus away, after this part is gone.
    disconnect(m_focusChanged);
    disconnect(m_imagesChanged);
    disconnect(m_imagesDestroyed);
    m_frameTimer->OnTimer = nullptr;
    m_buttonGlyph.OnChange = nullptr;
}

// ---- properties ------------------------------------------------------------------

void TCoolBtn::setAnimated(bool value)
{
    if (!StoreChanged(m_animated, value))
        return;
    m_frameTimer->setEnabled(value);
    update();
}

void TCoolBtn::setColor(TColor value)
{
    if (StoreChanged(m_color, value))
        update();
}

void TCoolBtn::gradientChanged()
{
    if (m_options.testFlag(ocPaintGradiently))
        update();
}

void TCoolBtn::setColorStart(TColor value)
{
    if (StoreChanged(m_colorStart, value))
        gradientChanged();
}

void TCoolBtn::setColorEnd(TColor value)
{
    if (StoreChanged(m_colorEnd, value))
        gradientChanged();
}

void TCoolBtn::setGradientDirection(TGradientDirection value)
{
    if (StoreChanged(m_gradientDirection, value))
        gradientChanged();
}

void TCoolBtn::setGlyph(const TBitmap *bitmap)
{
    m_buttonGlyph.setGlyph(bitmap);
    update();
}

void TCoolBtn::setImages(TImageList *images)
{
    if (m_images == images)
        return;
    disconnect(m_imagesChanged);
    disconnect(m_imagesDestroyed);
    m_images = images;
    if (images) {
        m_imagesChanged = connect(images, &TImageList::changed, this, [this] { update(); });
        // QPointer forgets a destroyed list; the repaint shows the plain glyph.
        m_imagesDestroyed = connect(images, &QObject::destroyed, this, [this] { update(); });
    }
    m_frameIndex = 0;
    update();
}

void TCoolBtn::setInterval(quint32 value)
{
    if (!StoreChanged(m_interval, value))
        return;
    m_frameTimer->setInterval(int(qMin<quint32>(value, quint32(INT_MAX))));
}

void TCoolBtn::setOptions(TCoolOptions value)
{
    if (!StoreChanged(m_options, value))
        return;
    updateGeometry();
    update();
    colorsChanged();
}

void TCoolBtn::colorsChanged()
{
    // The colour-changed notification: to the button itself, and to the
    // children that take its colour.
    QEvent changed(QEvent::PaletteChange);
    QCoreApplication::sendEvent(this, &changed);
    NotifyColorChanged(this);
}

void TCoolBtn::setCancel(bool value)
{
    if (!StoreChanged(m_cancel, value))
        return;
    if (!value) {
        delete std::exchange(m_cancelShortcut, nullptr);
        return;
    }
    // Anywhere in the button's window; the shortcut comes before the key
    // reaches the focused control (a dialog's own Escape included).
    m_cancelShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_cancelShortcut->setContext(Qt::WindowShortcut);
    connect(m_cancelShortcut, &QShortcut::activated, this, [this] {
        if (isVisible() && isEnabled())
            click();
    });
}

void TCoolBtn::Click()
{
    if (m_modalResult != mrNone) {
        QPointer<QDialog> dialog = qobject_cast<QDialog *>(window());
        if (dialog)
            dialog->setResult(m_modalResult);
        else
            window()->setProperty("ModalResult", int(m_modalResult));
        RaiseClick();
        // The handler may have kept the dialog open (result 0) or closed it.
        if (dialog && dialog->isModal() && dialog->isVisible() && dialog->result() != mrNone)
            dialog->done(dialog->result());
        return;
    }
    RaiseClick();
}

void TCoolBtn::setLayout(TButtonLayout value)
{
    if (StoreChanged(m_layout, value))
        update();
}

void TCoolBtn::setLayoutValue(int v)
{
    if (v >= blGlyphLeft && v <= blGlyphBottom)
        setLayout(TButtonLayout(v));
}

void TCoolBtn::setMargin(int value)
{
    if (value < -1 || m_margin == value)
        return;
    m_margin = value;
    update();
}

void TCoolBtn::setNumGlyphs(int value)
{
    if (m_buttonGlyph.setNumGlyphsLimited(value))
        update();
}

void TCoolBtn::setSpacing(int value)
{
    if (StoreChanged(m_spacing, value))
        update();
}

// ---- action link -------------------------------------------------------------------

void TCoolBtn::setAction(QAction *action)
{
    if (m_action == action)
        return;
    if (m_action) {
        disconnect(m_action, nullptr, this, nullptr);
        disconnect(this, nullptr, m_action, nullptr);
    }
    m_action = action;
    if (action) {
        connect(action, &QAction::changed, this, [this] { actionChanged(); });
        connect(this, &QPushButton::clicked, action, &QAction::trigger);
        actionChanged();
    }
}

void TCoolBtn::actionChanged()
{
    QAction *action = m_action.data();
    if (!action)
        return;
    setCaption(action->text());
    setEnabled(action->isEnabled());
    if (!m_buttonGlyph.Glyph().Empty())
        return;
    auto *list = qobject_cast<TImageList *>(action->property(ActionImagesProperty).value<QObject *>());
    bool ok = false;
    const int index = action->property(ActionImageIndexProperty).toInt(&ok);
    if (!list || !ok || index < 0 || index >= list->Count())
        return;
    // The image over fuchsia, which the glyph then treats as transparent
    // (the bottom-left pixel's colour).
    TBitmap bitmap;
    list->GetBitmap(index, bitmap, clFuchsia);
    setGlyph(&bitmap);
}

// ---- state -------------------------------------------------------------------------------

bool TCoolBtn::IsFocused() const
{
    // As the classic dialog manager: the focused push button is the active
    // default one; the Default button is while no other button has the
    // focus.
    const QWidget *focus = QApplication::focusWidget();
    if (focus == this)
        return true;
    if (!isDefault())
        return false;
    const auto *other = qobject_cast<const QPushButton *>(focus);
    return !(other && other->window() == window());
}

void TCoolBtn::focusChanged()
{
    if (IsFocused() != m_paintedIsFocused)
        update();
}

void TCoolBtn::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::LayoutDirectionChange:
        update();
        break;
    default:
        break;
    }
}

void TCoolBtn::keyPressEvent(QKeyEvent *event)
{
    // Enter clicks the focused button, which is the active default one.
    // Qt does that itself for default and auto-default buttons (inside
    // dialogs); outside dialogs buttons are not auto-default.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !autoDefault() && !isDefault()) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TCoolBtn::enterEvent(QEnterEvent *event)
{
    QPushButton::enterEvent(event);
    m_mouseInControl = true;
    if (m_options.testFlag(ocFlatBorder))
        update();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TCoolBtn::leaveEvent(QEvent *event)
{
    QPushButton::leaveEvent(event);
    m_mouseInControl = false;
    if (m_options.testFlag(ocFlatBorder))
        update();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

// ---- animation -----------------------------------------------------------------------------

void TCoolBtn::loadFrameGlyph(TGlyph &glyph) const
{
    TBitmap frame;
    if (m_images && m_images->GetBitmap(m_frameIndex, frame, clFuchsia))
        glyph.setGlyph(&frame);
}

void TCoolBtn::frameTimerTick()
{
    if (!m_images || !isVisible())
        return;
    {
        // The whole face off-screen, the frame's glyph over it, then one
        // copy to the window.
        m_faceCanvas.Lock();
        QImage frame(size(), QImage::Format_RGB32);
        frame.fill(ColorToQColor(clBtnFace));
        {
            QPainter painter(&frame);
            m_faceCanvas.attach(&painter);
            PaintItem(m_faceCanvas, isDown(), hasFocus());
            TGlyph glyph;
            loadFrameGlyph(glyph);
            prepareFont(m_faceCanvas);
            glyph.DrawGlyphOnly(m_faceCanvas, rect(), biDiFlags(), m_layout, m_margin, m_spacing, text(),
                                QPoint(0, 0), clNone, true, isEnabled());
            m_faceCanvas.detach();
        }
        m_faceCanvas.Unlock();
        m_animationFrame = frame;
        m_showAnimationFrame = true;
        repaint();
        m_showAnimationFrame = false;
    }
    if (m_frameIndex >= m_images->Count() - 1)
        m_frameIndex = 0;
    else
        ++m_frameIndex;
}

// ---- painting --------------------------------------------------------------------------------

unsigned TCoolBtn::biDiFlags() const
{
    return layoutDirection() == Qt::RightToLeft ? unsigned(DT_RTLREADING | DT_RIGHT) : 0u;
}

void TCoolBtn::prepareFont(TCanvas &canvas) const
{
    canvas.Font.Assign(font());
    canvas.Font.setColor(QColorToColor(palette().color(QPalette::Active, QPalette::ButtonText)));
}

void TCoolBtn::EraseBackground(TCanvas &canvas)
{
    const QRect r = rect();
    if (m_options.testFlag(ocPaintTransparently)) {
        m_wallpaper.PaintTransparentBackground(canvas);
    } else if (m_options.testFlag(ocPaintWallpaper)) {
        // Without a wallpaper nothing is painted: what lies under the
        // button shows (Qt composes the parent under it).
        m_wallpaper.PaintWallpaper(canvas, r, SRCCOPY, m_options.testFlag(ocStretchWallpaper));
    } else if (m_options.testFlag(ocPaintGradiently)) {
        FillGradient(canvas, r, m_colorStart, m_gradientDirection == gdHorizontal, GradientSteps, m_colorEnd);
    } else {
        canvas.FillRect(r, m_color);
    }
}

bool TCoolBtn::edgeVisible(bool pressed) const
{
    return pressed || !m_options.testFlag(ocFlatBorder) || m_mouseInControl;
}

void TCoolBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_showAnimationFrame && m_animationFrame.size() == size()) {
        painter.drawImage(0, 0, m_animationFrame);
        return;
    }
    {
        // Detached again however PaintItem ends (an OnDrawButton handler
        // may throw).
        TCanvasAttachment attached(m_faceCanvas, &painter);
        PaintItem(m_faceCanvas, isDown(), hasFocus());
    }
    m_paintedIsFocused = IsFocused();
}

void TCoolBtn::PaintItem(TCanvas &canvas, bool pressed, bool focus)
{
    const int level = canvas.SaveDC();
    try {
        if (m_options.testFlag(ocRoundedForm))
            paintEllipticFace(canvas, pressed, focus);
        else
            paintRectangularFace(canvas, pressed, focus);
    } catch (...) {
        canvas.RestoreDC(level);
        throw;
    }
    canvas.RestoreDC(level);
    // The handler gets the canvas still attached, so it can draw over the
    // face.
    if (OnDrawButton)
        OnDrawButton(this, canvas, rect());
}

void TCoolBtn::paintRectangularFace(TCanvas &canvas, bool pressed, bool focus)
{
    QRect r = rect();
    EraseBackground(canvas);

    if ((focus || IsFocused()) && m_btnPaintOptions.testFlag(bpoDrawDefault)) {
        canvas.Pen.setStyle(TPenStyle::psSolid);
        canvas.Pen.setWidth(1);
        canvas.Pen.setColor(clWindowFrame);
        canvas.Brush.setStyle(TBrushStyle::bsClear);
        canvas.Rectangle(r);
        InflateRect(r, -1, -1);
    }

    if (pressed)
        canvas.DrawEdge(r, BDR_SUNKENINNER, BF_RECT | BF_ADJUST);
    else if (edgeVisible(false))
        canvas.DrawEdge(r, EDGE_RAISED, BF_RECT | BF_ADJUST);

    paintGlyphAndCaption(canvas, pressed);

    if (IsFocused() && focus && m_btnPaintOptions.testFlag(bpoDrawFocus)) {
        QRect f = rect();
        InflateRect(f, -4, -4);
        canvas.Pen.setColor(clWindowFrame);
        canvas.Brush.setStyle(TBrushStyle::bsSolid);
        canvas.Brush.setColor(InvertColor(canvas.Font.Color()));
        canvas.DrawFocusRect(f);
    }
}

void TCoolBtn::paintEllipticFace(TCanvas &canvas, bool pressed, bool focus)
{
    const QRect r = rect();
    const int L = r.left(), T = r.top(), R = Right(r), B = Bottom(r);

    // The parent shows in the corners outside the ellipse.
    m_wallpaper.PaintTransparentBackground(canvas);

    bool filled = false;
    auto clipToEllipse = [&] {
        QRegion ellipse(r.translated(-canvas.GetWindowOrg()), QRegion::Ellipse);
        canvas.ExtSelectClipRgn(ellipse, RGN_AND);
    };
    if (m_options.testFlag(ocPaintGradiently)) {
        const int level = canvas.SaveDC();
        clipToEllipse();
        FillGradient(canvas, r, m_colorStart, m_gradientDirection == gdHorizontal, GradientSteps, m_colorEnd);
        canvas.RestoreDC(level);
        filled = true;
    } else if (m_options.testFlag(ocPaintWallpaper)) {
        const int level = canvas.SaveDC();
        clipToEllipse();
        filled = m_wallpaper.PaintWallpaper(canvas, r, SRCCOPY, m_options.testFlag(ocStretchWallpaper));
        canvas.RestoreDC(level);
    } else if (m_options.testFlag(ocPaintTransparently)) {
        PaintParentBackgroundClipped(GetParentAtLevel(this, TransparencyLevel()), canvas, r, true);
        filled = true;
    }

    if (edgeVisible(pressed)) {
        canvas.Pen.setStyle(TPenStyle::psSolid);
        canvas.Pen.setWidth(1);
        if (filled) {
            canvas.Brush.setStyle(TBrushStyle::bsClear);
        } else {
            canvas.Brush.setStyle(TBrushStyle::bsSolid);
            canvas.Brush.setColor(m_color);
        }
        canvas.Pen.setColor(clBtnShadow);
        canvas.Ellipse(L, T, R - 1, B - 1);
        canvas.Pen.setColor(pressed ? clBtnHighlight : clWindowFrame);
        canvas.Ellipse(L + 1, T + 1, R, B);
        canvas.Pen.setColor(pressed ? clWindowFrame : clBtnHighlight);
        canvas.Ellipse(L + 1, T + 1, R - 1, B - 1);
        canvas.Pen.setColor(clBtnShadow);
        canvas.Arc(Rect(L + 1, T + 1, R - 1, B - 1), QPoint(L, B), QPoint(R, T));
    }

    QRect caption = paintGlyphAndCaption(canvas, pressed);

    if (IsFocused() && focus && m_btnPaintOptions.testFlag(bpoDrawFocus)) {
        InflateRect(caption, -4, -4);
        canvas.Pen.setStyle(TPenStyle::psSolid);
        canvas.Pen.setWidth(1);
        canvas.Pen.setColor(clBtnShadow);
        canvas.Brush.setStyle(TBrushStyle::bsClear);
        canvas.Ellipse(caption);
    }
}

QRect TCoolBtn::paintGlyphAndCaption(TCanvas &canvas, bool pressed)
{
    prepareFont(canvas);
    QRect caption = rect();
    if (pressed)
        caption.translate(1, 1);
    QRect textBounds;
    if (animating()) {
        // The glyph of the current frame, in a holder of its own.
        TGlyph frame;
        loadFrameGlyph(frame);
        frame.DrawButton(canvas, caption, textBounds, biDiFlags(), shadowStyle(), clNone, true, isEnabled(), m_spacing,
                         m_margin, m_layout, text(), QPoint(0, 0));
    } else {
        m_buttonGlyph.DrawButton(canvas, caption, textBounds, biDiFlags(), shadowStyle(), clNone, true, isEnabled(),
                                 m_spacing, m_margin, m_layout, text(), QPoint(0, 0));
    }
    return caption;
}

} // namespace coolctrls
