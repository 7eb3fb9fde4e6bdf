#pragma once

#include "TCoolChangeLink.h"
#include "TCoolImages.h"
#include "platform/canvas/GdiTypes.h"

#include <QMetaObject>
#include <QPointer>
#include <QRect>

#include <cstdint>
#include <functional>
#include <memory>

class QPainter;
class QWidget;

namespace platform {
class TBitmap;
class TCanvas;
} // namespace platform

namespace coolctrls {


// A wallpaper choice: an item index into the image store, and the control's
// own bitmap used when the store gives none. The bitmap is created on first
// access. A control with several wallpapers (a caption or selection
// wallpaper besides the main one) keeps one TWallpaperSource per wallpaper
// and resolves each against the one store of its TWallpaperGroup.
class TWallpaperSource
{
public:
    TWallpaperSource();
    ~TWallpaperSource();
    TWallpaperSource(const TWallpaperSource &) = delete;
    TWallpaperSource &operator=(const TWallpaperSource &) = delete;

    int Index() const { return m_index; }
    // Answers whether the value changed. No range check: any negative index
    // or one past the last item means "no store wallpaper".
    bool setIndex(int index);

    // The own bitmap, created on first access; its changes call
    // OnBitmapChanged.
    platform::TBitmap *Bitmap();
    // The own bitmap when it was ever created, else nullptr.
    const platform::TBitmap *existingBitmap() const { return m_bitmap.get(); }
    // Creates the own bitmap when missing and copies the given one into it
    // (nullptr empties it). Copying onto itself does nothing.
    void setBitmap(const platform::TBitmap *bitmap);

    // The bitmap to paint: the store's item Index when the store has that
    // item with a non-empty bitmap, else the own bitmap when not empty,
    // else nullptr.
    const platform::TBitmap *Resolve(const TCoolImages *store) const;

    std::function<void()> OnBitmapChanged;

private:
    int m_index = -1;
    std::unique_ptr<platform::TBitmap> m_bitmap;
};

// The wallpaper property group of a skinned control, the one place where the
// wallpaper is resolved and painted:
//   CoolImages        store to take the wallpaper from (QPointer: turns null
//                     when the store is destroyed, and the control repaints)
//   idWallpaper       store item index, -1 for none
//   Wallpaper         the control's own bitmap, used when the store gives none
//   Stretched         stretch instead of tile
//   Transparent       show an ancestor's background instead
//   TransparencyLevel how many parent levels up that background comes from
// plus the change link through which the store reports picture changes.
//
// A control keeps one as a member, constructed with itself, forwards its
// published properties to it, and paints its background with
// PaintBackground() (or PaintWallpaper / PaintTransparentBackground when its
// rules differ). Defaults of the notifications: the control is updated
// (invalidated). Not copyable; GUI thread only.
class TWallpaperGroup
{
public:
    explicit TWallpaperGroup(QWidget *control);
    ~TWallpaperGroup();
    TWallpaperGroup(const TWallpaperGroup &) = delete;
    TWallpaperGroup &operator=(const TWallpaperGroup &) = delete;

    QWidget *control() const { return m_control; }

    TCoolImages *CoolImages() const { return m_store.data(); }
    // Moves the link from the old store to the new one and invalidates the
    // control (no comparison with the old value).
    void setCoolImages(TCoolImages *store);

    int idWallpaper() const { return m_source.Index(); }
    // When changed: store, invalidate. Answers whether it changed.
    bool setIdWallpaper(int value);

    // The own wallpaper bitmap, created on first access; a change of its
    // content runs OnWallpaperChanged.
    platform::TBitmap *Wallpaper() { return m_source.Bitmap(); }
    void setWallpaper(const platform::TBitmap *bitmap) { m_source.setBitmap(bitmap); }

    bool Stretched() const { return m_stretched; }
    bool setStretched(bool value);
    bool Transparent() const { return m_transparent; }
    // Stores only (controls differ in what they repaint).
    bool setTransparent(bool value);
    uint8_t TransparencyLevel() const { return m_transparencyLevel; }
    bool setTransparencyLevel(uint8_t value);

    TWallpaperSource &source() { return m_source; }
    TCoolChangeLink &link() { return m_link; }

    // Wallpaper resolution: the store item idWallpaper when present and not
    // empty, else the own Wallpaper when not empty, else nullptr. Resolved
    // afresh on every call; nothing is kept between paints.
    const platform::TBitmap *ResolveWallpaper() const { return m_source.Resolve(m_store.data()); }
    const platform::TBitmap *Resolve(const TWallpaperSource &source) const { return source.Resolve(m_store.data()); }
    bool HasWallpaper() const { return ResolveWallpaper() != nullptr; }
    // Draws the resolved wallpaper over rect; false when there is none
    // (the caller then paints its plain background).
    bool PaintWallpaper(platform::TCanvas &canvas, const QRect &rect, platform::TRop rop, bool stretched) const;
    // The same from a control's paint handler: the control's painter is
    // wrapped in a canvas for the call (its state is given back unchanged),
    // the wallpaper copied as is, tiled or stretched as Stretched says.
    bool PaintWallpaper(QPainter &painter, const QRect &rect) const;
    // PaintParentBackground of GetParentAtLevel(control, TransparencyLevel).
    void PaintTransparentBackground(platform::TCanvas &canvas) const;
    // The usual background rule: Transparent -> the ancestor's background;
    // else the wallpaper over rect (Stretched); answers false when the caller
    // must paint its plain colour.
    bool PaintBackground(platform::TCanvas &canvas, const QRect &rect) const;

    // The store's pictures changed (the link's OnChange). Default: update().
    std::function<void()> OnImagesChanged;
    // The own wallpaper's content changed. Default: update().
    std::function<void()> OnWallpaperChanged;
    // The store was destroyed (CoolImages is null already). Default: update().
    std::function<void()> OnStoreRemoved;

private:
    QWidget *m_control;
    QPointer<TCoolImages> m_store;
    QMetaObject::Connection m_storeGone;
    TWallpaperSource m_source;
    TCoolChangeLink m_link;
    bool m_stretched = false;
    bool m_transparent = false;
    uint8_t m_transparencyLevel = 0;
};

} // namespace coolctrls
