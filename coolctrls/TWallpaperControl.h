#pragma once

#include "TWallpaperGroup.h"

class QImage;
class QWidget;

namespace coolctrls {

// The wallpaper properties of a skinned control, written once: a control
// derives from it (after its Qt base) and publishes what applies to it.
// Every control has CoolImages, idWallpaper, the own Wallpaper and
// TransparencyLevel; Stretched and Transparent are for the controls that
// have them as properties of their own (panel, group box, label, scrolling
// text) - they make them public with a using-declaration; the memo, the
// button and the lists take both from their options instead.
//
// A change of any of them calls WallpaperLookChanged(), which invalidates
// the control; a control whose look needs more overrides it.
class TWallpaperControl
{
public:
    TCoolImages *CoolImages() const { return m_wallpaper.CoolImages(); }
    // Moves the change link to the new store (no comparison with the old
    // one).
    void setCoolImages(TCoolImages *store);
    int idWallpaper() const { return m_wallpaper.idWallpaper(); }
    void setIdWallpaper(int value);
    // The own wallpaper, created on first use; drawing on it repaints the
    // control.
    platform::TBitmap *Wallpaper() { return m_wallpaper.Wallpaper(); }
    // The bitmap is copied (nullptr empties the own wallpaper).
    virtual void setWallpaper(const platform::TBitmap *bitmap) { m_wallpaper.setWallpaper(bitmap); }
    // A picture is taken as a bitmap (a null QImage empties it).
    void setWallpaper(const QImage &image);
    int TransparencyLevel() const { return m_wallpaper.TransparencyLevel(); }
    // How many parent levels up a see-through background comes from,
    // 0..255 (clamped).
    void setTransparencyLevel(int value);

protected:
    explicit TWallpaperControl(QWidget *control) : m_wallpaper(control) {}
    ~TWallpaperControl() = default;
    TWallpaperControl(const TWallpaperControl &) = delete;
    TWallpaperControl &operator=(const TWallpaperControl &) = delete;

    bool Stretched() const { return m_wallpaper.Stretched(); }
    void setStretched(bool value);
    bool Transparent() const { return m_wallpaper.Transparent(); }
    // Calls TransparentChanged() when the value changed.
    void setTransparent(bool value);

    // After CoolImages, idWallpaper, Stretched or TransparencyLevel changed.
    // Default: the control is invalidated.
    virtual void WallpaperLookChanged();
    // After Transparent changed. Default: WallpaperLookChanged().
    virtual void TransparentChanged() { WallpaperLookChanged(); }

    // The group itself: resolution and painting of the wallpaper and the
    // ancestor's background, the store link and its notifications.
    TWallpaperGroup m_wallpaper;
};

} // namespace coolctrls
