#include "GalleryPage.h"

#include <QStringList>

#include <algorithm>

namespace gallery {

namespace {

std::vector<GalleryPageInfo> &registry()
{
    static std::vector<GalleryPageInfo> pages;
    return pages;
}

int kindOrder(const QString &name)
{
    static const QStringList order{"panel", "groupbox", "label", "button",
                                   "memo", "listbox", "combobox", "scrollingtext"};
    const int i = order.indexOf(name);
    return i < 0 ? int(order.size()) : i;
}

} // namespace

GalleryPageRegistrar::GalleryPageRegistrar(GalleryPageInfo info)
{
    registry().push_back(std::move(info));
}

std::vector<GalleryPageInfo> galleryPages()
{
    std::vector<GalleryPageInfo> pages = registry();
    std::stable_sort(pages.begin(), pages.end(), [](const GalleryPageInfo &a, const GalleryPageInfo &b) {
        const int ka = kindOrder(a.name), kb = kindOrder(b.name);
        return ka != kb ? ka < kb : a.name < b.name;
    });
    return pages;
}

} // namespace gallery
