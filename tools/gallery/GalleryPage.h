#pragma once

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace coolctrls {
class TCoolImages;
}

namespace gallery {

// What every page may use: the image store holding the program's wallpaper
// at index 0 and a small chequer pattern at index 1 (for tiling looks).
struct GalleryContext
{
    coolctrls::TCoolImages *images = nullptr;
};

// One tab page of the gallery. `name` is the control kind in lower case
// (what --page takes), `title` the tab's text.
struct GalleryPageInfo
{
    QString name;
    QString title;
    std::function<QWidget *(QWidget *parent, const GalleryContext &context)> create;
};

// The registered pages, in the fixed order of the control kinds (panel,
// groupbox, label, button, memo, listbox, combobox, scrollingtext), then any
// others by name.
std::vector<GalleryPageInfo> galleryPages();

struct GalleryPageRegistrar
{
    explicit GalleryPageRegistrar(GalleryPageInfo info);
};

} // namespace gallery

// Registers a page from its own source file:
//   TONVIK_GALLERY_PAGE(button, "Button", createButtonPage)
// with QWidget *createButtonPage(QWidget *parent, const GalleryContext &).
#define TONVIK_GALLERY_PAGE(name, title, factory) \
    static const gallery::GalleryPageRegistrar galleryPage_##name{gallery::GalleryPageInfo{#name, title, factory}};
