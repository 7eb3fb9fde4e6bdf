#pragma once

#include "TBitmap32Collection.h"

#include <QObject>

namespace raster32 {

// A non-visual component holding an indexed collection of bitmaps.
class TBitmap32List : public QObject
{
    Q_OBJECT
    Q_PROPERTY(raster32::TBitmap32Collection *Bitmaps READ Bitmaps)
public:
    explicit TBitmap32List(QObject *owner = nullptr);

    TBitmap32Collection *Bitmaps() const { return m_bitmaps; }
    // The bitmap of item index; "List index out of bounds (%d)" outside.
    TBitmap32 *BitmapAt(int index) const;
    // Replaces the bitmap of item index by a copy of value.
    void SetBitmapAt(int index, const TBitmap32 *value);
    int Count() const { return m_bitmaps->Count(); }

private:
    TBitmap32Collection *m_bitmaps; // child object
};

} // namespace raster32
