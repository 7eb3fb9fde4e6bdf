#pragma once

#include "TCustomImage32.h"

namespace raster32 {

// The image view with its properties published.
class TImage32 : public TCustomImage32
{
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(raster32::TBitmap32 *Bitmap READ Bitmap)
    Q_PROPERTY(raster32::TBitmapAlign BitmapAlign READ BitmapAlign WRITE setBitmapAlign)
    Q_PROPERTY(unsigned Color READ Color WRITE setColor)
    Q_PROPERTY(float Scale READ Scale WRITE setScale)
    Q_PROPERTY(raster32::TScaleMode ScaleMode READ ScaleMode WRITE setScaleMode)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
public:
    explicit TImage32(QWidget *parent = nullptr);
};

} // namespace raster32
