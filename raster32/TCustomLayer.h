#pragma once

#include <QObject>

#include <cstdint>

class QPainter;

namespace raster32 {

class TBitmap32;
class TLayerCollection;

// Option bits of a layer; a drawing stage draws the layers whose options
// share a bit with its parameter.
inline constexpr std::uint32_t LOB_VISIBLE = 0x80000000u;
inline constexpr std::uint32_t LOB_GDI_OVERLAY = 0x40000000u;
inline constexpr std::uint32_t LOB_MOUSE_EVENTS = 0x20000000u;

// An object drawn over an image view's bitmap. The view only needs the
// hooks: drawing into the buffer, drawing on the window, hit-testing.
class TCustomLayer : public QObject
{
    Q_OBJECT
public:
    explicit TCustomLayer(TLayerCollection *collection);

    std::uint32_t LayerOptions() const { return m_options; }
    void setLayerOptions(std::uint32_t options) { m_options = options; }
    bool Visible() const { return (m_options & LOB_VISIBLE) != 0; }
    void setVisible(bool visible);

    // Draws the layer into the view's back buffer.
    virtual void Paint(TBitmap32 &buffer);
    // Draws directly on the window after the buffer was copied there.
    virtual void PaintGDI(QPainter &painter);
    // Whether the layer takes the mouse at this view position.
    virtual bool HitTest(int x, int y) const;

private:
    std::uint32_t m_options = LOB_VISIBLE;
};

} // namespace raster32
