#pragma once

#include "Raster32Types.h"
#include "TBitmap32.h"

#include "platform/Events.h"
#include "platform/TControl.h"

#include <QWidget>

namespace raster32 {

// A control that paints from a back buffer without flicker: the buffer is
// repainted only when invalid and then copied to the window unscaled. It
// has what every control inherits from the toolkit (platform::TControl).
class TCustomPaintBox32 : public QWidget, public platform::TControl
{
    Q_OBJECT
public:
    explicit TCustomPaintBox32(QWidget *parent = nullptr);
    ~TCustomPaintBox32() override;

    // The control's place in the tab order, and Qt's ordering of two widgets.
    using TControl::setTabOrder;
    using QWidget::setTabOrder;

    // The back buffer; it raises no change events.
    TBitmap32 *Buffer() const { return m_buffer; }
    // Whether the buffer holds the current picture. A resize makes it
    // invalid, also one of a hidden control (which gets no resize event
    // until it is shown): the buffer is valid only for the size it was
    // painted at.
    bool BufferValid() const { return m_bufferValid && m_validSize == size(); }
    void setBufferValid(bool value);
    // Pixels added to a dimension when the buffer must grow.
    int BufferSlack() const { return m_bufferSlack; }
    void setBufferSlack(int value) { m_bufferSlack = value; }

    bool AutoFocus() const { return m_autoFocus; }
    void setAutoFocus(bool value) { m_autoFocus = value; }
    bool WantArrowKeys() const { return m_wantArrowKeys; }
    void setWantArrowKeys(bool value) { m_wantArrowKeys = value; }
    bool TabStop() const { return focusPolicy() & Qt::TabFocus; }
    void setTabStop(bool value);
    bool MouseInControl() const { return m_mouseInControl; }

    // Brings the buffer to the control's size plus slack (content is lost
    // when it changes size).
    void ResizeBuffer();
    // Marks the buffer invalid and asks for a repaint.
    virtual void Invalidate();
    virtual TRect ViewportBox() const { return {0, 0, width(), height()}; }
    // Whether the control is being edited in a designer (never in the
    // running program); design-time paint stages run only then.
    bool Designing() const { return m_designing; }
    void setDesigning(bool value) { m_designing = value; }

    platform::TNotifyEvent OnGDIOverlay;
    platform::TNotifyEvent OnMouseEnter;
    platform::TNotifyEvent OnMouseLeave;

protected:
    // Fills the buffer; this version only marks it valid.
    virtual void PaintBuffer();
    // Raises OnGDIOverlay after the buffer reached the window.
    virtual void PaintOverlay(QPainter &painter);
    virtual void MouseEntered();
    virtual void MouseLeft();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    TBitmap32 *m_buffer; // child object
    bool m_bufferValid = false;
    QSize m_validSize; // the control's size when the buffer became valid
    int m_bufferSlack = 40;
    bool m_autoFocus = false;
    bool m_wantArrowKeys = false;
    bool m_mouseInControl = false;
    bool m_designing = false;
};

} // namespace raster32
