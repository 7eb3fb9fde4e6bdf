// The combo box in its looks: the level selector's settings, each extended
// style, check mode, wallpapers, transparency, bevels, borders, disabled.

#include "GalleryPage.h"
#include "GallerySheet.h"

#include "coolctrls/TCoolComboBox.h"
#include "coolctrls/TCoolImages.h"

using namespace coolctrls;
using namespace platform;

namespace {

TCoolComboBox *makeCombo(QWidget *host, const QStringList &items = {"Alpha", "Bravo", "Charlie"})
{
    auto *box = new TCoolComboBox(host);
    box->setGeometry(4, 6, host->width() - 8, 21);
    box->setListBoxWidth(host->width() - 8);
    box->setItems(items);
    box->setItemIndex(0);
    return box;
}

QWidget *createComboBoxPage(QWidget *parent, const gallery::GalleryContext &context)
{
    auto *sheet = new gallery::GallerySheet(context.images, 3, parent);
    const QSize size(296, 34);

    auto *level = makeCombo(sheet->addCell("level selector: Courier New -11, ItemHeight 13", size),
                            {"Level 1 - Melodic  - 01, 02, 03, 04", "Level 2 - Harmonic - 01, 02, 03, 04"});
    level->setGeometry(4, 6, 288, 19);
    level->setListBoxWidth(288);
    level->setDropDownCount(14);
    level->setItemHeight(13);
    level->setFontName("Courier New");
    level->setFontHeight(-11);
    level->setSelFontName("Courier New");
    level->setSelFontHeight(-11);

    auto *disabled = makeCombo(sheet->addCell("disabled", size));
    disabled->setEnabled(false);

    auto *colors = makeCombo(sheet->addCell("ctColorControl, 42 colours", size), {});
    colors->setLightColorControl(false);
    colors->setExtendedStyle(ctColorControl);
    colors->SelectColor(clTeal);

    auto *fonts = makeCombo(sheet->addCell("ctFontControl, FontAutoUpdate", size), {});
    fonts->setExtendedStyle(ctFontControl);
    fonts->setFontAutoUpdate(true);
    fonts->setItemIndex(0);

    auto *printers = makeCombo(sheet->addCell("ctPrinterControl (sample names)", size), {});
    auto old = TCoolItems::setPrinterProvider([] { return QStringList{"Office laser"}; });
    printers->setExtendedStyle(ctPrinterControl);
    printers->setItemIndex(0);
    TCoolItems::setPrinterProvider(old);

    auto *folder = makeCombo(sheet->addCell("ctFolderControl /usr/", size), {});
    folder->setFolderName("/usr");
    folder->setExtendedStyle(ctFolderControl);
    folder->setItemIndex(0);

    auto *check = makeCombo(sheet->addCell("ctCheckControl", size));
    check->setExtendedStyle(ctCheckControl);
    check->setChecked(0, true);

    auto *checkFlat = makeCombo(sheet->addCell("ExtendedCheck, FlatCheckBox", size));
    checkFlat->setExtendedCheck(true);
    checkFlat->setFlatCheckBox(true);
    checkFlat->setChecked(0, true);

    auto *wall = makeCombo(sheet->addCell("ocPaintWallpaper, idWallpaper 0", size));
    wall->setCoolImages(context.images);
    wall->setIdWallpaper(0);
    wall->setOptions(wall->Options() | TCoolOptions{ocPaintWallpaper});

    auto *clear = makeCombo(sheet->addCell("ocPaintTransparently, bsNone", size,
                                           gallery::GallerySheet::Backdrop::Wallpaper));
    clear->setOptions(clear->Options() | TCoolOptions{ocPaintTransparently});
    clear->setBorderStyle(coolctrls::bsNone);


    auto *bevel = makeCombo(sheet->addCell("bevel raised on every item", size));
    bevel->setBevelOuter(bvRaised);
    bevel->setOptions(TCoolOptions{});

    auto *borders = makeCombo(sheet->addCell("EdgeBorders, BordersTrColor clRed", size));
    borders->setEdgeBorders(TEdgeBorders{ebLeft, ebTop, ebRight, ebBottom});
    borders->setBordersTrColor(clRed);

    sheet->addEventLog();
    return sheet;
}

} // namespace

TONVIK_GALLERY_PAGE(combobox, "Combo box", createComboBoxPage)
