#include "TCustomMap.h"

namespace raster32 {

TCustomMap::TCustomMap(QObject *parent)
    : TThreadPersistent(parent)
{
}

bool TCustomMap::SetDimensions(int newWidth, int newHeight)
{
    newWidth = std::max(newWidth, 0);
    newHeight = std::max(newHeight, 0);
    if (newWidth == m_width && newHeight == m_height)
        return false;
    ChangeDimensions(newWidth, newHeight);
    NotifyChange();
    NotifyResize();
    return true;
}

void TCustomMap::ChangeDimensions(int newWidth, int newHeight)
{
    m_width = newWidth;
    m_height = newHeight;
}

void TCustomMap::NotifyResize()
{
    if (OnResize)
        OnResize(this);
}

} // namespace raster32
