#include "TLayerCollection.h"

#include "Errors.h"

#include <algorithm>

namespace raster32 {

TLayerCollection::TLayerCollection(QObject *owner)
    : QObject(owner)
{
}

TLayerCollection::~TLayerCollection()
{
    Clear();
}

TCustomLayer *TLayerCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_items[size_t(index)];
}

TCustomLayer *TLayerCollection::Add(TCustomLayer *layer)
{
    if (!layer)
        return nullptr;
    layer->setParent(this);
    m_items.push_back(layer);
    connect(layer, &QObject::destroyed, this, [this, layer] {
        m_items.erase(std::remove(m_items.begin(), m_items.end(), layer), m_items.end());
        if (m_mouseListener == layer)
            m_mouseListener = nullptr;
    });
    return layer;
}

void TLayerCollection::Clear()
{
    const std::vector<TCustomLayer *> items = m_items;
    for (TCustomLayer *layer : items)
        delete layer;
    m_items.clear();
    m_mouseListener = nullptr;
}

void TLayerCollection::PaintLayers(TBitmap32 &buffer, std::uint32_t mask) const
{
    for (TCustomLayer *layer : m_items)
        if (layer->LayerOptions() & mask)
            layer->Paint(buffer);
}

void TLayerCollection::PaintGDIOverlays(QPainter &painter) const
{
    const std::uint32_t mask = LOB_VISIBLE | LOB_GDI_OVERLAY;
    for (TCustomLayer *layer : m_items)
        if ((layer->LayerOptions() & mask) == mask)
            layer->PaintGDI(painter);
}

TCustomLayer *TLayerCollection::FindLayerAtPos(int x, int y) const
{
    const std::uint32_t mask = LOB_VISIBLE | LOB_MOUSE_EVENTS;
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
        if (((*it)->LayerOptions() & mask) == mask && (*it)->HitTest(x, y))
            return *it;
    return nullptr;
}

} // namespace raster32
