#pragma once

#include "TPicture.h"

#include <QImage>
#include <QString>

#include <memory>

namespace platform {
class TBitmap;
}

namespace coolctrls {

class TImages;

// One picture of an image store. Bitmap is the picture rendered to pixels:
// it is rendered once each time the picture changes, and it (never the
// picture) is what controls paint. A picture that cannot be decoded leaves
// Bitmap empty, so controls fall back to their own wallpaper or plain
// background, and the error is reported through the standard error box.
class TImageItem
{
public:
    explicit TImageItem(TImages *collection);
    // Runs the store's Change once more so linked controls repaint without
    // this item (the collection has already taken it out of its list).
    ~TImageItem();
    TImageItem(const TImageItem &) = delete;
    TImageItem &operator=(const TImageItem &) = delete;

    TPicture *Picture() const { return m_picture.get(); }
    // Copies the given picture's content (renders Bitmap, runs Change).
    void setPicture(const TPicture *picture);

    // The rendered pixels (Format_RGB32); a null image when nothing could
    // be rendered.
    const QImage &Bitmap() const;
    // The same as a bitmap object, for the canvas routines. Never null;
    // empty (width or height 0) when nothing could be rendered.
    const platform::TBitmap *BitmapObject() const { return m_bitmap.get(); }
    // The error of the last rendering, empty when it succeeded.
    const QString &renderError() const { return m_renderError; }

    // Copies the other item's picture content.
    void Assign(const TImageItem &other);

    TImages *Collection() const { return m_collection; }
    int Index() const;

private:
    void pictureChanged();

    TImages *m_collection;
    std::unique_ptr<TPicture> m_picture;
    std::unique_ptr<platform::TBitmap> m_bitmap;
    QString m_renderError;
};

} // namespace coolctrls
