#include "TBitmap32List.h"

namespace raster32 {

TBitmap32List::TBitmap32List(QObject *owner)
    : QObject(owner), m_bitmaps(new TBitmap32Collection(this))
{
}

TBitmap32 *TBitmap32List::BitmapAt(int index) const
{
    return m_bitmaps->Items(index)->Bitmap();
}

void TBitmap32List::SetBitmapAt(int index, const TBitmap32 *value)
{
    m_bitmaps->Items(index)->setBitmap(value);
}

} // namespace raster32
