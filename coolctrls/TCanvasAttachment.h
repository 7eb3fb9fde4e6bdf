#pragma once

#include "platform/canvas/TCanvas.h"

class QPainter;

namespace coolctrls {

// Attaches a control's long-lived canvas to the painter of one paint event,
// locked, for the life of the object; the destructor detaches and unlocks
// it, also when a handler called while painting throws (the application
// survives an exception from an event handler, and the canvas must not keep
// a painter that is gone).
class TCanvasAttachment
{
public:
    TCanvasAttachment(platform::TCanvas &canvas, QPainter *painter)
        : m_canvas(canvas)
    {
        m_canvas.Lock();
        m_canvas.attach(painter);
    }
    ~TCanvasAttachment()
    {
        m_canvas.detach();
        m_canvas.Unlock();
    }
    TCanvasAttachment(const TCanvasAttachment &) = delete;
    TCanvasAttachment &operator=(const TCanvasAttachment &) = delete;

private:
    platform::TCanvas &m_canvas;
};

} // namespace coolctrls
