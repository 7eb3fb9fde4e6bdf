#pragma once

#include "TCoolChangeLink.h"
#include "TCoolImages.h"

#include <QImage>
#include <QPointer>
#include <QRect>

#include <functional>

class QPainter;

namespace coolctrls {

// The wallpaper part of a skinned control: the image store it takes its
// wallpaper from (CoolImages, idWallpaper), its own Wallpaper bitmap and the
// Stretched flag, with the subscription to the store's changes. The control
// owns one and repaints through the given callback whenever the wallpaper
// may look different.
class TCoolWallpaper
{
public:
    explicit TCoolWallpaper(std::function<void()> changed);
    ~TCoolWallpaper();
    TCoolWallpaper(const TCoolWallpaper &) = delete;
    TCoolWallpaper &operator=(const TCoolWallpaper &) = delete;

    TCoolImages *CoolImages() const { return m_store.data(); }
    // Moves the subscription to the new store (none allowed) and repaints.
    void setCoolImages(TCoolImages *store);
    int idWallpaper() const { return m_id; }
    void setIdWallpaper(int value);
    bool Stretched() const { return m_stretched; }
    void setStretched(bool value);
    const QImage &Wallpaper() const { return m_own; }
    void setWallpaper(const QImage &image);

    // The bitmap to paint: the store's item idWallpaper when that exists
    // and is not empty, else the own Wallpaper when not empty, else null.
    const QImage *resolve() const;
    bool HasWallpaper() const { return resolve() != nullptr; }
    // Draws the resolved wallpaper over rect, tiled from rect's top-left
    // corner or stretched; false when there is none.
    bool PaintWallpaper(QPainter &painter, const QRect &rect) const;

    // Draws bitmap over rect: one stretched copy, or tiles anchored at rect's
    // top-left corner with source origin (0, 0), the last ones cut by rect.
    static void Draw(QPainter &painter, const QImage &bitmap, const QRect &rect, bool stretched);

private:
    std::function<void()> m_changed;
    QPointer<TCoolImages> m_store;
    TCoolChangeLink m_link;
    int m_id = -1;
    bool m_stretched = false;
    QImage m_own;
};

} // namespace coolctrls
