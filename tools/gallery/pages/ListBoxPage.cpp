// The list box in its looks: each extended style, check mode flat and 3-D,
// wallpaper and selection wallpaper, transparency, bevels and the caption
// bar with its colours and with a caption wallpaper.

#include "GalleryPage.h"
#include "GallerySheet.h"

#include "coolctrls/TCoolImages.h"
#include "coolctrls/TCoolListBox.h"

#include <QDir>

using namespace coolctrls;
using namespace platform;

namespace {

const QStringList Sample{"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot"};

TCoolListBox *makeList(QWidget *host, const QStringList &items = Sample)
{
    auto *box = new TCoolListBox(host);
    box->setGeometry(4, 4, host->width() - 8, host->height() - 8);
    box->setItems(items);
    box->setItemIndex(1);
    return box;
}

QWidget *createListBoxPage(QWidget *parent, const gallery::GalleryContext &context)
{
    auto *sheet = new gallery::GallerySheet(context.images, 5, parent);
    const QSize size(170, 110);

    makeList(sheet->addCell("default", size));

    auto *colors = makeList(sheet->addCell("ExtendedStyle ctColorControl", size), {});
    colors->setExtendedStyle(ctColorControl);
    colors->setItemIndex(9);

    auto *fonts = makeList(sheet->addCell("ctFontControl, FontAutoUpdate", size), {});
    fonts->setExtendedStyle(ctFontControl);
    fonts->setFontAutoUpdate(true);
    fonts->setItemIndex(0);

    auto *printers = makeList(sheet->addCell("ctPrinterControl (sample names)", size), {});
    auto old = TCoolItems::setPrinterProvider([] { return QStringList{"Office laser", "Photo printer"}; });
    printers->setExtendedStyle(ctPrinterControl);
    TCoolItems::setPrinterProvider(old);

    auto *folder = makeList(sheet->addCell("ctFolderControl /usr/", size), {});
    folder->setFolderName("/usr");
    folder->setExtendedStyle(ctFolderControl);

    auto *check3d = makeList(sheet->addCell("ctCheckControl, 3-D", size));
    check3d->setExtendedStyle(ctCheckControl);
    check3d->items().setCheckState(0, 1);
    check3d->items().setCheckState(2, 2);

    auto *checkFlat = makeList(sheet->addCell("ExtendedCheck, FlatCheckBox", size));
    checkFlat->setExtendedCheck(true);
    checkFlat->setFlatCheckBox(true);
    checkFlat->setChecked(1, true);

    auto *wall = makeList(sheet->addCell("ocPaintWallpaper, idWallpaper 0", size));
    wall->setCoolImages(context.images);
    wall->setIdWallpaper(0);
    wall->setOptions(wall->Options() | TCoolOptions{ocPaintWallpaper});

    auto *selWall = makeList(sheet->addCell("ocPaintSelWallpaper, idSelWallpaper 1", size));
    selWall->setCoolImages(context.images);
    selWall->setIdSelWallpaper(1);
    selWall->setSelFontColor(platform::clBlack);
    selWall->setOptions(selWall->Options() | TCoolOptions{ocPaintSelWallpaper});

    auto *invert = makeList(sheet->addCell("ocInvertWallpaperAsSelect", size));
    invert->setCoolImages(context.images);
    invert->setIdWallpaper(0);
    invert->setOptions(invert->Options() | TCoolOptions{ocPaintWallpaper, ocInvertWallpaperAsSelect});

    auto *clear = makeList(sheet->addCell("ocPaintTransparently", size, gallery::GallerySheet::Backdrop::Wallpaper));
    clear->setOptions(clear->Options() | TCoolOptions{ocPaintTransparently});

    auto *raised = makeList(sheet->addCell("bevel raised, every item", size));
    raised->setBevelOuter(bvRaised);
    raised->setOptions(TCoolOptions{ocNoCaption});

    auto *lowered = makeList(sheet->addCell("bevel lowered, bsBevelOnlyText", size));
    lowered->setBevelInner(bvLowered);
    lowered->setBevelStyle(bsBevelOnlyText);

    auto *caption = makeList(sheet->addCell("caption bar, own colours", size));
    caption->setCaption("Caption");
    caption->setCaptionColor(clNavy);
    caption->setCaptionTextColor(clYellow);
    caption->setOptions(TCoolOptions{ocBevelOnlyIfSel});

    auto *captionWall = makeList(sheet->addCell("caption wallpaper, small caption", size));
    captionWall->setCaption("Wallpaper caption");
    captionWall->setCoolImages(context.images);
    captionWall->setIdCaptionWallpaper(0);
    captionWall->setOptions(TCoolOptions{ocBevelOnlyIfSel, ocPaintCaptionWallpaper, ocSmallCaption});

    auto *flat = makeList(sheet->addCell("ocFlatBorder, EdgeBorders", size));
    flat->setOptions(flat->Options() | TCoolOptions{ocFlatBorder});
    flat->setEdgeBorders(TEdgeBorders{ebLeft, ebBottom});
    flat->setBordersTrColor(clRed);

    sheet->addEventLog();
    return sheet;
}

} // namespace

TONVIK_GALLERY_PAGE(listbox, "List box", createListBoxPage)
