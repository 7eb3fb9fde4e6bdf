// The panel in its looks: colour, wallpaper tiled and stretched, bevels,
// transparent at level 0 and 1, disabled, right-to-left caption, the single
// border, a caption of two lines and ParentColor; below, the panels' events.
#include "GalleryPage.h"
#include "GallerySheet.h"

#include "coolctrls/TCoolImages.h"
#include "coolctrls/TCoolPanel.h"

using coolctrls::TCoolPanel;
using Backdrop = gallery::GallerySheet::Backdrop;

namespace {

TCoolPanel *panel(QWidget *host, const QString &caption)
{
    auto *p = new TCoolPanel(host);
    p->setGeometry(10, 10, host->width() - 20, host->height() - 20);
    p->setCaption(caption);
    return p;
}

QWidget *createPanelPage(QWidget *parent, const gallery::GalleryContext &context)
{
    auto *sheet = new gallery::GallerySheet(context.images, 4, parent);
    const QSize size(150, 80);
    panel(sheet->addCell("default (bvRaised)", size), "Panel");
    panel(sheet->addCell("Enabled false", size), "Disabled")->setEnabled(false);
    auto *p = panel(sheet->addCell("idWallpaper 0", size), "Wallpaper");
    p->setCoolImages(context.images);
    p->setIdWallpaper(0);
    p = panel(sheet->addCell("idWallpaper 1 (tiled)", size), "Tiled");
    p->setCoolImages(context.images);
    p->setIdWallpaper(1);
    p = panel(sheet->addCell("idWallpaper 1, Stretched", size), "Stretched");
    p->setCoolImages(context.images);
    p->setIdWallpaper(1);
    p->setStretched(true);
    p = panel(sheet->addCell("BevelOuter bvLowered", size), "Lowered");
    p->setBevelOuter(coolctrls::bvLowered);
    p = panel(sheet->addCell("bvRaised + BorderWidth 3 + inner bvLowered", size), "Border");
    p->setBorderWidth(3);
    p->setBevelInner(coolctrls::bvLowered);
    p = panel(sheet->addCell("BevelWidth 3", size), "Wide bevel");
    p->setBevelWidth(3);
    panel(sheet->addCell("Transparent, level 0", size, Backdrop::Wallpaper), "Level 0")->setTransparent(true);
    {
        QWidget *host = sheet->addCell("Transparent, level 1 (inside a blue panel)", size, Backdrop::Wallpaper);
        auto *blue = panel(host, QString());
        blue->setColor(platform::clBlue);
        auto *inner = new TCoolPanel(blue);
        inner->setGeometry(0, 0, blue->width(), blue->height());
        inner->setCaption("Level 1");
        inner->setTransparent(true);
        inner->setTransparencyLevel(1);
    }
    p = panel(sheet->addCell("Alignment taLeftJustify", size), "Left");
    p->setAlignment(coolctrls::taLeftJustify);
    p = panel(sheet->addCell("taLeftJustify, right-to-left", size), "Left (RTL)");
    p->setAlignment(coolctrls::taLeftJustify);
    p->setLayoutDirection(Qt::RightToLeft);
    p = panel(sheet->addCell("BorderStyle bsSingle", size), "Single border");
    p->setBorderStyle(coolctrls::bsSingle);
    panel(sheet->addCell("Caption of two lines", size), "First line\nSecond line");
    p = panel(sheet->addCell("ParentColor (the white panel's)", size), QString());
    p->setColor(platform::clWhite);
    auto *inner = panel(p, "ParentColor");
    inner->setBevelOuter(coolctrls::bvLowered);
    inner->setParentColor(true);
    sheet->addEventLog();
    return sheet;
}

} // namespace

TONVIK_GALLERY_PAGE(panel, "Panel", createPanelPage)
