#include "TBitmap32Item.h"

#include "TBitmap32Collection.h"

namespace raster32 {

TBitmap32Item::TBitmap32Item(TBitmap32Collection *collection)
    : QObject(collection), m_bitmap(new TBitmap32(this))
{
}

int TBitmap32Item::Index() const
{
    auto *collection = qobject_cast<TBitmap32Collection *>(parent());
    return collection ? collection->IndexOf(this) : -1;
}

} // namespace raster32
