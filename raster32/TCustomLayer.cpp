#include "TCustomLayer.h"

#include "TLayerCollection.h"

namespace raster32 {

TCustomLayer::TCustomLayer(TLayerCollection *collection)
    : QObject(collection)
{
}

void TCustomLayer::setVisible(bool visible)
{
    m_options = visible ? (m_options | LOB_VISIBLE) : (m_options & ~LOB_VISIBLE);
}

void TCustomLayer::Paint(TBitmap32 &) {}

void TCustomLayer::PaintGDI(QPainter &) {}

bool TCustomLayer::HitTest(int, int) const
{
    return false;
}

} // namespace raster32
