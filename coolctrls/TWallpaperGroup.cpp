#include "TWallpaperGroup.h"

#include "CoolUtils.h"
#include "TCoolImages.h"
#include "TImageItem.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QWidget>

namespace coolctrls {

// --- TWallpaperSource -----------------------------------------------------------

TWallpaperSource::TWallpaperSource() = default;
TWallpaperSource::~TWallpaperSource() = default;

bool TWallpaperSource::setIndex(int index)
{
    if (index == m_index)
        return false;
    m_index = index;
    return true;
}

platform::TBitmap *TWallpaperSource::Bitmap()
{
    if (!m_bitmap) {
        m_bitmap = std::make_unique<platform::TBitmap>();
        m_bitmap->OnChange = [this](platform::TBitmap *) {
            if (OnBitmapChanged)
                OnBitmapChanged();
        };
    }
    return m_bitmap.get();
}

void TWallpaperSource::setBitmap(const platform::TBitmap *bitmap)
{
    if (bitmap && bitmap == m_bitmap.get())
        return;
    Bitmap()->Assign(bitmap);
}

const platform::TBitmap *TWallpaperSource::Resolve(const TCoolImages *store) const
{
    if (store) {
        if (const TImageItem *item = store->Images()->find(m_index)) {
            if (!item->BitmapObject()->Empty())
                return item->BitmapObject();
        }
    }
    if (m_bitmap && !m_bitmap->Empty())
        return m_bitmap.get();
    return nullptr;
}

// --- TWallpaperGroup -------------------------------------------------------------

TWallpaperGroup::TWallpaperGroup(QWidget *control)
    : m_control(control)
{
    auto repaint = [this] {
        if (m_control)
            m_control->update();
    };
    OnImagesChanged = repaint;
    OnWallpaperChanged = repaint;
    OnStoreRemoved = repaint;
    m_link.OnChange = [this](QObject *) {
        if (OnImagesChanged)
            OnImagesChanged();
    };
    m_source.OnBitmapChanged = [this] {
        if (OnWallpaperChanged)
            OnWallpaperChanged();
    };
}

TWallpaperGroup::~TWallpaperGroup()
{
    // The store must not call back into a group that is gone.
    QObject::disconnect(m_storeGone);
}

void TWallpaperGroup::setCoolImages(TCoolImages *store)
{
    if (m_store)
        m_store->UnRegisterChanges(&m_link);
    QObject::disconnect(m_storeGone);
    m_store = store;
    if (store) {
        store->RegisterChanges(&m_link);
        // The component-removed notification: the store has unregistered
        // the link already; QPointer is null by now.
        m_storeGone = QObject::connect(store, &QObject::destroyed, [this] {
            m_store.clear();
            if (OnStoreRemoved)
                OnStoreRemoved();
        });
    }
    if (m_control)
        m_control->update();
}

bool TWallpaperGroup::setIdWallpaper(int value)
{
    if (!m_source.setIndex(value))
        return false;
    if (m_control)
        m_control->update();
    return true;
}

bool TWallpaperGroup::setStretched(bool value)
{
    if (value == m_stretched)
        return false;
    m_stretched = value;
    if (m_control)
        m_control->update();
    return true;
}

bool TWallpaperGroup::setTransparent(bool value)
{
    if (value == m_transparent)
        return false;
    m_transparent = value;
    return true;
}

bool TWallpaperGroup::setTransparencyLevel(uint8_t value)
{
    if (value == m_transparencyLevel)
        return false;
    m_transparencyLevel = value;
    if (m_control)
        m_control->update();
    return true;
}

bool TWallpaperGroup::PaintWallpaper(platform::TCanvas &canvas, const QRect &rect, platform::TRop rop,
                                     bool stretched) const
{
    const platform::TBitmap *bitmap = ResolveWallpaper();
    if (!bitmap)
        return false;
    DrawWallpaper(canvas, *bitmap, rect, rop, stretched);
    return true;
}

bool TWallpaperGroup::PaintWallpaper(QPainter &painter, const QRect &rect) const
{
    // Resolved before a canvas is set up: most paints of a control without
    // a wallpaper need none.
    if (!HasWallpaper())
        return false;
    platform::TCanvas canvas(&painter);
    return PaintWallpaper(canvas, rect, platform::SRCCOPY, m_stretched);
}

void TWallpaperGroup::PaintTransparentBackground(platform::TCanvas &canvas) const
{
    PaintParentBackground(GetParentAtLevel(m_control, m_transparencyLevel), canvas, true);
}

bool TWallpaperGroup::PaintBackground(platform::TCanvas &canvas, const QRect &rect) const
{
    if (m_transparent) {
        PaintTransparentBackground(canvas);
        return true;
    }
    return PaintWallpaper(canvas, rect, platform::SRCCOPY, m_stretched);
}

} // namespace coolctrls
