#pragma once

#include "TCustomLayer.h"

#include <QObject>

#include <cstdint>
#include <vector>

class QPainter;

namespace raster32 {

// The ordered layers of an image view, bottom first. The layers are
// children of the collection, which belongs to the view.
class TLayerCollection : public QObject
{
    Q_OBJECT
public:
    explicit TLayerCollection(QObject *owner = nullptr);
    ~TLayerCollection() override;

    int Count() const { return int(m_items.size()); }
    TCustomLayer *Items(int index) const;
    // Takes a layer made with this collection as its parent.
    TCustomLayer *Add(TCustomLayer *layer);
    void Clear();

    // Draws every layer whose options share a bit with mask.
    void PaintLayers(TBitmap32 &buffer, std::uint32_t mask) const;
    // Draws the visible layers that paint on the window itself.
    void PaintGDIOverlays(QPainter &painter) const;

    // Whether layers take mouse events; the layer holding the mouse (after a
    // press on it) until it is released.
    bool MouseEvents() const { return m_mouseEvents; }
    void setMouseEvents(bool value) { m_mouseEvents = value; }
    TCustomLayer *MouseListener() const { return m_mouseListener; }
    void setMouseListener(TCustomLayer *layer) { m_mouseListener = layer; }
    // The topmost visible mouse-taking layer at the position, or null.
    TCustomLayer *FindLayerAtPos(int x, int y) const;

private:
    std::vector<TCustomLayer *> m_items; // owned as QObject children
    bool m_mouseEvents = false;
    TCustomLayer *m_mouseListener = nullptr;
};

} // namespace raster32
