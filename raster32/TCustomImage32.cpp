#include "TCustomImage32.h"

#include "Errors.h"
#include "TImage32Accessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QWheelEvent>

#include <cmath>

namespace raster32 {

namespace {

// Nearest integer, halves to the even neighbour.
int roundEven(float v)
{
    return int(std::nearbyint(v));
}

// a * b / c rounded to the nearest integer (halves away from zero).
int mulDiv(qint64 a, qint64 b, qint64 c)
{
    const qint64 p = a * b;
    const qint64 r = (2 * std::llabs(p) + std::llabs(c)) / (2 * std::llabs(c));
    return int(((p < 0) != (c < 0)) ? -r : r);
}

} // namespace

TCustomImage32::TCustomImage32(QWidget *parent)
    : TCustomPaintBox32(parent), m_bitmap(new TBitmap32(this)), m_layers(new TLayerCollection(this))
{
    m_bitmap->OnChange = [this](QObject *) { bitmapChanged(); };
    m_bitmap->OnResize = [this](QObject *) { bitmapResized(); };
    SetDefaultStages();
    TImage32Accessible::RegisterFactory();
    // The creator sets the stored properties and the handlers before the
    // event loop turns again.
    QMetaObject::invokeMethod(this, [this] { initStagesOnce(); }, Qt::QueuedConnection);
}

TCustomImage32::~TCustomImage32()
{
    // Nothing is announced while the view goes away.
    BeginUpdate();
    m_bitmap->OnChange = nullptr;
    m_bitmap->OnResize = nullptr;
}

void TCustomImage32::setBitmap(const TBitmap32 *value)
{
    m_cacheValid = false;
    m_bitmap->CopyFrom(value);
}

void TCustomImage32::setBitmapAlign(TBitmapAlign value)
{
    if (value == m_bitmapAlign)
        return;
    m_cacheValid = false;
    m_bitmapAlign = value;
    ViewChanged();
}

void TCustomImage32::setScaleMode(TScaleMode value)
{
    if (value == m_scaleMode)
        return;
    m_cacheValid = false;
    m_scaleMode = value;
    ViewChanged();
}

void TCustomImage32::setScale(float value)
{
    if (!(value >= 0.001f)) // NaN too
        value = 0.001f;
    if (value == m_scale)
        return;
    m_cacheValid = false;
    m_scale = value;
    AfterScaleChange();
    ViewChanged();
}

void TCustomImage32::setOffsetX(float value)
{
    if (value == m_offsetX)
        return;
    m_cacheValid = false;
    m_offsetX = value;
    ViewChanged();
}

void TCustomImage32::setOffsetY(float value)
{
    if (value == m_offsetY)
        return;
    m_cacheValid = false;
    m_offsetY = value;
    ViewChanged();
}

void TCustomImage32::setAutoSize(bool value)
{
    if (value == m_autoSize)
        return;
    m_autoSize = value;
    if (m_autoSize)
        bitmapResized();
}

void TCustomImage32::setColor(platform::TColor value)
{
    if (value == m_color)
        return;
    m_color = value;
    Invalidate();
    ColorChanged();
}

void TCustomImage32::ApplyParentColor(platform::TColor color)
{
    setColor(color);
}

void TCustomImage32::setCacheValid(bool value)
{
    m_cacheValid = value;
    m_cacheSize = size();
}

void TCustomImage32::BeginUpdate()
{
    ++m_updateCount;
}

void TCustomImage32::EndUpdate()
{
    if (m_updateCount <= 0)
        throw EAssertionFailed(QStringLiteral("Unpaired EndUpdate call"));
    --m_updateCount;
}

void TCustomImage32::ViewChanged()
{
    if (m_updateCount != 0)
        return;
    Invalidate();
    if (OnChange)
        OnChange(this);
}

void TCustomImage32::Invalidate()
{
    m_cacheValid = false;
    TCustomPaintBox32::Invalidate();
}

// A bitmap may be changed by another thread that holds its lock; the view
// is a widget and reacts on its own thread.
void TCustomImage32::bitmapChanged()
{
    if (QThread::currentThread() == thread())
        ViewChanged();
    else
        QMetaObject::invokeMethod(this, [this] { ViewChanged(); }, Qt::QueuedConnection);
}

void TCustomImage32::Loaded()
{
    initStagesOnce();
}

void TCustomImage32::initStagesOnce()
{
    if (m_stagesInitialised)
        return;
    m_stagesInitialised = true;
    RaiseInitStages();
    if (OnInitStages)
        Invalidate();
}

bool TCustomImage32::event(QEvent *event)
{
    if (event->type() == QEvent::Polish)
        initStagesOnce();
    return TCustomPaintBox32::event(event);
}

void TCustomImage32::RaiseInitStages()
{
    if (OnInitStages)
        OnInitStages(this);
}

void TCustomImage32::SetDefaultStages()
{
    m_stages.Clear();
    m_stages.Add() = {true, true, StageClearBackground, 0};
    m_stages.Add() = {true, false, StageControlFrame, 0};
    m_stages.Add() = {true, true, StageDrawBitmap, 0};
    m_stages.Add() = {true, false, StageBitmapFrame, 0};
    m_stages.Add() = {true, true, StageDrawLayers, LOB_VISIBLE};
}

void TCustomImage32::bitmapResized()
{
    if (m_autoSize && m_bitmap->Width() > 0 && m_bitmap->Height() > 0) {
        int w = m_bitmap->Width(), h = m_bitmap->Height();
        if (m_scaleMode == smScale) {
            w = roundEven(float(w) * m_scale);
            h = roundEven(float(h) * m_scale);
        }
        if (w > 0 && h > 0)
            resize(w, h);
    }
    m_cacheValid = false;
    Invalidate();
    AfterBitmapResize();
}

void TCustomImage32::AfterBitmapResize()
{
    if (OnBitmapResize)
        OnBitmapResize(this);
}

QSize TCustomImage32::BitmapExtent() const
{
    const int bw = m_bitmap->Width(), bh = m_bitmap->Height();
    const int cw = width(), ch = height();
    if (m_bitmap->IsEmpty() || cw == 0 || ch == 0)
        return QSize(0, 0);
    int cx = 0, cy = 0;
    switch (m_scaleMode) {
    case smNormal:
        cx = bw;
        cy = bh;
        break;
    case smStretch:
        cx = cw;
        cy = ch;
        break;
    case smScale:
        cx = roundEven(float(bw) * m_scale);
        cy = roundEven(float(bh) * m_scale);
        break;
    case smResize: {
        const float rx = float(cw) / float(bw);
        const float ry = float(ch) / float(bh);
        if (rx >= ry) {
            cx = roundEven(float(bw) * ry);
            cy = ch;
        } else {
            cx = cw;
            cy = roundEven(float(bh) * rx);
        }
        break;
    }
    }
    return QSize(std::max(cx, 0), std::max(cy, 0));
}

TRect TCustomImage32::BitmapBox() const
{
    if (m_bitmap->IsEmpty())
        return TRect{};
    const QSize e = BitmapExtent();
    TRect box{0, 0, e.width(), e.height()};
    if (m_bitmapAlign == baCenter)
        box = box.Offset((width() - e.width()) / 2, (height() - e.height()) / 2);
    else if (m_bitmapAlign == baCustom)
        box = box.Offset(roundEven(m_offsetX), roundEven(m_offsetY));
    return box;
}

void TCustomImage32::UpdateCache()
{
    if (CacheValid())
        return;
    m_bitmapBoxCache = BitmapBox();
    const TRect &box = m_bitmapBoxCache;
    // A non-empty bitmap in an empty box (zero-sized control, scale that
    // rounds to 0) has no usable mapping: it gets the all-zero transform
    // instead of a division by zero.
    if (m_bitmap->IsEmpty() || box.IsEmpty()) {
        m_shiftX = m_shiftY = m_scaleX = m_scaleY = m_revScaleX = m_revScaleY = 0;
    } else {
        m_shiftX = box.Left;
        m_shiftY = box.Top;
        m_scaleX = mulDiv(box.Width(), 65536, m_bitmap->Width());
        m_scaleY = mulDiv(box.Height(), 65536, m_bitmap->Height());
        m_revScaleX = mulDiv(m_bitmap->Width(), 65536, box.Width());
        m_revScaleY = mulDiv(m_bitmap->Height(), 65536, box.Height());
    }
    setCacheValid(true);
}

void TCustomImage32::PaintBuffer()
{
    UpdateCache();
    TBitmap32 &buffer = *Buffer();
    const bool designing = Designing();
    for (int i = 0; i < m_stages.Count(); ++i) {
        const TPaintStage stage = m_stages[i];
        if (!(designing ? stage.DesignTime : stage.RunTime))
            continue;
        switch (stage.StageKind) {
        case StageCustom: DoCustomStage(buffer, unsigned(i)); break;
        case StageClearBuffer: DoClearBuffer(buffer); break;
        case StageClearBackground: DoClearBackground(buffer); break;
        case StageDrawBitmap: DoDrawBitmap(buffer); break;
        case StageDrawLayers: DoDrawLayers(buffer, stage.Parameter); break;
        case StageControlFrame: DoControlFrame(buffer); break;
        case StageBitmapFrame: DoBitmapFrame(buffer); break;
        default: break;
        }
    }
    TCustomPaintBox32::PaintBuffer();
}

void TCustomImage32::DoCustomStage(TBitmap32 &dest, unsigned stageNum)
{
    if (OnPaintStage)
        OnPaintStage(this, &dest, stageNum);
}

void TCustomImage32::DoClearBuffer(TBitmap32 &dest)
{
    dest.FillAll(ToColor32(m_color.value()));
}

void TCustomImage32::DoClearBackground(TBitmap32 &dest)
{
    const TColor32 c = ToColor32(m_color.value());
    if (m_bitmap->IsEmpty() || m_bitmap->DrawMode() != dmOpaque) {
        dest.FillAll(c);
        return;
    }
    const TRect &b = m_bitmapBoxCache;
    const int w = width(), h = height();
    if (b.Left > 0 || b.Top > 0 || b.Right < w || b.Bottom < h) {
        dest.FillBoxClipped(0, 0, w, b.Top, c);
        dest.FillBoxClipped(0, b.Bottom, w, h, c);
        dest.FillBoxClipped(0, b.Top, b.Left, b.Bottom, c);
        dest.FillBoxClipped(b.Right, b.Top, w, b.Bottom, c);
    }
}

void TCustomImage32::DoDrawBitmap(TBitmap32 &dest)
{
    const TRect &box = m_bitmapBoxCache;
    if (m_bitmap->IsEmpty() || box.IsEmpty())
        return;
    TLockGuard32 lock(*m_bitmap);
    if (m_bitmapAlign == baTile) {
        for (int i = 0; i <= dest.Width() / box.Right; ++i)
            for (int j = 0; j <= dest.Height() / box.Bottom; ++j)
                m_bitmap->DrawOnto(dest, box.Offset(i * box.Right, j * box.Bottom));
    } else {
        m_bitmap->DrawOnto(dest, box);
    }
}

void TCustomImage32::DoDrawLayers(TBitmap32 &dest, std::uint32_t mask)
{
    m_layers->PaintLayers(dest, mask);
}

void TCustomImage32::dottedFrame(TBitmap32 &dest, const TRect &box)
{
    // Every other pixel of the outline inverted, as a focus rectangle.
    const TRect r = box.Intersect(dest.BoundsBox());
    if (r.IsEmpty())
        return;
    auto flip = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            dest.SetPixel(x, y, dest.Pixel(x, y) ^ 0x00FFFFFFu);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        flip(x, r.Top);
        if (r.Bottom - 1 > r.Top)
            flip(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        flip(r.Left, y);
        if (r.Right - 1 > r.Left)
            flip(r.Right - 1, y);
    }
    dest.NotifyChange();
}

void TCustomImage32::DoControlFrame(TBitmap32 &dest)
{
    dottedFrame(dest, {0, 0, width(), height()});
}

void TCustomImage32::DoBitmapFrame(TBitmap32 &dest)
{
    dottedFrame(dest, m_bitmapBoxCache);
}

void TCustomImage32::PaintOverlay(QPainter &painter)
{
    m_layers->PaintGDIOverlays(painter);
    TCustomPaintBox32::PaintOverlay(painter);
}

void TCustomImage32::MouseLeft()
{
    if (m_layers->MouseEvents() && !m_layers->MouseListener())
        unsetCursor();
    TCustomPaintBox32::MouseLeft();
}

void TCustomImage32::resizeEvent(QResizeEvent *event)
{
    m_cacheValid = false;
    TCustomPaintBox32::resizeEvent(event);
    if (OnResize)
        OnResize(this);
}

void TCustomImage32::RaiseMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y, m_layers->MouseEvents() ? m_layers->FindLayerAtPos(x, y) : nullptr);
}

void TCustomImage32::RaiseMouseMove(Qt::KeyboardModifiers shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y, m_layers->MouseEvents() ? m_layers->FindLayerAtPos(x, y) : nullptr);
}

void TCustomImage32::RaiseMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y, m_layers->MouseEvents() ? m_layers->FindLayerAtPos(x, y) : nullptr);
}

void TCustomImage32::mousePressEvent(QMouseEvent *event)
{
    if (AutoFocus())
        setFocus(Qt::MouseFocusReason);
    if (TabStop() && isEnabled() && isVisible())
        setFocus(Qt::MouseFocusReason);
    // Qt holds the mouse for the pressed widget until release, which is
    // the capture a left press asks for.
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    const QPoint p = event->position().toPoint();
    RaiseMouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TCustomImage32::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    RaiseMouseMove(event->modifiers(), p.x(), p.y());
}

void TCustomImage32::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(p);
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    RaiseMouseUp(event->button(), event->modifiers(), p.x(), p.y());
    if (click && OnClick)
        OnClick(this);
}

void TCustomImage32::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (OnDblClick)
        OnDblClick(this);
    mousePressEvent(event);
}

void TCustomImage32::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    if (OnKeyDown)
        OnKeyDown(this, key, event->modifiers());
    if (OnKeyPress && !event->text().isEmpty()) {
        QChar ch = event->text().at(0);
        OnKeyPress(this, ch);
    }
    if (!OnKeyDown && !OnKeyPress)
        TCustomPaintBox32::keyPressEvent(event);
}

void TCustomImage32::keyReleaseEvent(QKeyEvent *event)
{
    int key = event->key();
    if (OnKeyUp)
        OnKeyUp(this, key, event->modifiers());
    else
        TCustomPaintBox32::keyReleaseEvent(event);
}

void TCustomImage32::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    const QPoint pos = event->position().toPoint();
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, event->modifiers(), delta, pos, handled);
    if (!handled) {
        const TMouseWheelEvent32 &specific = delta < 0 ? OnMouseWheelDown : OnMouseWheelUp;
        if (specific)
            specific(this, event->modifiers(), delta, pos, handled);
    }
    if (handled)
        event->accept();
    else
        TCustomPaintBox32::wheelEvent(event);
}

} // namespace raster32
