#pragma once

#include "TBitmap32.h"

#include <QObject>

namespace raster32 {

class TBitmap32Collection;

// One entry of a bitmap list; owns its bitmap.
class TBitmap32Item : public QObject
{
    Q_OBJECT
    Q_PROPERTY(raster32::TBitmap32 *Bitmap READ Bitmap)
public:
    explicit TBitmap32Item(TBitmap32Collection *collection = nullptr);

    TBitmap32 *Bitmap() const { return m_bitmap; }
    // Copies the given image into the item's own bitmap.
    void setBitmap(const TBitmap32 *value) { m_bitmap->CopyFrom(value); }
    int Index() const;

private:
    TBitmap32 *m_bitmap; // child object
};

} // namespace raster32
