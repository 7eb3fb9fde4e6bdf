#include "TCustomPaintBox32.h"

#include <QKeyEvent>
#include <QPainter>

namespace raster32 {

TCustomPaintBox32::TCustomPaintBox32(QWidget *parent)
    : QWidget(parent), TControl(this), m_buffer(new TBitmap32(this))
{
    // The buffer's changes are the control's own business: never announced.
    m_buffer->BeginUpdate();
    // Every pixel is painted from the buffer; no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    resize(192, 192);
}

TCustomPaintBox32::~TCustomPaintBox32() = default;

void TCustomPaintBox32::setTabStop(bool value)
{
    setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
}

void TCustomPaintBox32::setBufferValid(bool value)
{
    m_bufferValid = value;
    m_validSize = size();
}

void TCustomPaintBox32::ResizeBuffer()
{
    // Grow with slack so small resizes do not reallocate; shrink only when
    // the buffer exceeds the need by more than the slack.
    auto fit = [this](int need, int have) {
        need = std::max(need, 0);
        int size = have;
        if (have < need)
            size = need + m_bufferSlack;
        else if (need < have - m_bufferSlack)
            size = need;
        return std::max(size, 1);
    };
    const int w = fit(width(), m_buffer->Width());
    const int h = fit(height(), m_buffer->Height());
    if (w == m_buffer->Width() && h == m_buffer->Height())
        return;
    {
        TLockGuard32 lock(*m_buffer);
        m_buffer->SetDimensions(w, h);
    }
    m_bufferValid = false;
}

void TCustomPaintBox32::Invalidate()
{
    m_bufferValid = false;
    update();
}

void TCustomPaintBox32::PaintBuffer()
{
    setBufferValid(true);
}

void TCustomPaintBox32::PaintOverlay(QPainter &)
{
    if (OnGDIOverlay)
        OnGDIOverlay(this);
}

void TCustomPaintBox32::MouseEntered()
{
    m_mouseInControl = true;
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TCustomPaintBox32::MouseLeft()
{
    m_mouseInControl = false;
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TCustomPaintBox32::paintEvent(QPaintEvent *)
{
    ResizeBuffer();
    if (!BufferValid())
        PaintBuffer();
    QPainter painter(this);
    {
        TLockGuard32 lock(*m_buffer);
        const QImage image = m_buffer->OpaqueImage();
        painter.drawImage(QPoint(0, 0), image, QRect(0, 0, width(), height()));
    }
    PaintOverlay(painter);
}

void TCustomPaintBox32::resizeEvent(QResizeEvent *event)
{
    m_bufferValid = false;
    QWidget::resizeEvent(event);
}

void TCustomPaintBox32::enterEvent(QEnterEvent *event)
{
    MouseEntered();
    QWidget::enterEvent(event);
}

void TCustomPaintBox32::leaveEvent(QEvent *event)
{
    MouseLeft();
    QWidget::leaveEvent(event);
}

bool TCustomPaintBox32::event(QEvent *event)
{
    // Arrow keys would otherwise move the focus between controls.
    if (event->type() == QEvent::ShortcutOverride && m_wantArrowKeys) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

} // namespace raster32
