// The group box in its looks: colour, wallpaper tiled and stretched,
// shadow positions, flat frame, empty caption, transparent at level 0 and
// 1, disabled, right-to-left caption.
#include "GalleryPage.h"
#include "GallerySheet.h"

#include "coolctrls/TCoolGroupBox.h"
#include "coolctrls/TCoolImages.h"
#include "coolctrls/TCoolLabel.h"

using coolctrls::TCoolGroupBox;
using Backdrop = gallery::GallerySheet::Backdrop;

namespace {

TCoolGroupBox *box(QWidget *host, const QString &caption)
{
    auto *b = new TCoolGroupBox(host);
    b->setGeometry(10, 6, host->width() - 20, host->height() - 12);
    b->setCaption(caption);
    auto *label = new coolctrls::TCoolLabel(b);
    label->move(12, 30);
    label->setTransparent(true);
    label->setCaption("a transparent label");
    return b;
}

QWidget *createGroupBoxPage(QWidget *parent, const gallery::GalleryContext &context)
{
    auto *sheet = new gallery::GallerySheet(context.images, 4, parent);
    const QSize size(150, 80);
    box(sheet->addCell("default", size), "Caption");
    box(sheet->addCell("Enabled false", size), "Disabled")->setEnabled(false);
    box(sheet->addCell("Color clWhite", size), "White")->setColor(platform::clWhite);
    auto *b = box(sheet->addCell("idWallpaper 0", size), "Wallpaper");
    b->setCoolImages(context.images);
    b->setIdWallpaper(0);
    b = box(sheet->addCell("idWallpaper 1 (tiled)", size), "Tiled");
    b->setCoolImages(context.images);
    b->setIdWallpaper(1);
    b = box(sheet->addCell("idWallpaper 1, Stretched", size), "Stretched");
    b->setCoolImages(context.images);
    b->setIdWallpaper(1);
    b->setStretched(true);
    b = box(sheet->addCell("ShadowPos spRightBottom, ShadowSize 2", size), "Shadow");
    b->setShadowPos(coolctrls::spRightBottom);
    b->setShadowSize(2);
    b->setShadowColor(platform::TColor::fromQColor(Qt::gray));
    box(sheet->addCell("SimpleView", size), "Simple")->setSimpleView(true);
    box(sheet->addCell("Ctl3D false", size), "Flat")->setCtl3D(false);
    box(sheet->addCell("Caption empty", size), QString());
    box(sheet->addCell("Transparent, level 0", size, Backdrop::Wallpaper), "Level 0")->setTransparent(true);
    {
        QWidget *host = sheet->addCell("Transparent, level 1 (in a white box)", size, Backdrop::Wallpaper);
        auto *white = new TCoolGroupBox(host);
        white->setGeometry(0, 0, host->width(), host->height());
        white->setColor(platform::clWhite);
        auto *inner = box(white, "Level 1");
        inner->setTransparent(true);
        inner->setTransparencyLevel(1);
    }
    b = box(sheet->addCell("right-to-left", size), "Right to left");
    b->setLayoutDirection(Qt::RightToLeft);
    sheet->addEventLog();
    return sheet;
}

} // namespace

TONVIK_GALLERY_PAGE(groupbox, "Group box", createGroupBoxPage)
