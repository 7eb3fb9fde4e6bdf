#include "TWallpaperControl.h"

#include "platform/canvas/TBitmap.h"

#include <QImage>
#include <QWidget>

namespace coolctrls {

void TWallpaperControl::setCoolImages(TCoolImages *store)
{
    m_wallpaper.setCoolImages(store);
    WallpaperLookChanged();
}

void TWallpaperControl::setIdWallpaper(int value)
{
    if (m_wallpaper.setIdWallpaper(value))
        WallpaperLookChanged();
}

void TWallpaperControl::setWallpaper(const QImage &image)
{
    if (image.isNull()) {
        setWallpaper(static_cast<const platform::TBitmap *>(nullptr));
        return;
    }
    platform::TBitmap bitmap;
    bitmap.Assign(image);
    setWallpaper(&bitmap);
}

void TWallpaperControl::setTransparencyLevel(int value)
{
    if (m_wallpaper.setTransparencyLevel(static_cast<uint8_t>(qBound(0, value, 255))))
        WallpaperLookChanged();
}

void TWallpaperControl::setStretched(bool value)
{
    if (m_wallpaper.setStretched(value))
        WallpaperLookChanged();
}

void TWallpaperControl::setTransparent(bool value)
{
    if (m_wallpaper.setTransparent(value))
        TransparentChanged();
}

void TWallpaperControl::WallpaperLookChanged()
{
    if (QWidget *control = m_wallpaper.control())
        control->update();
}

} // namespace coolctrls
