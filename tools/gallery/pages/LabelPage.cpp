// The label in its looks: transparent over wallpaper, colour, wallpaper,
// disabled, shadow positions, bevels, edge borders, glyph layouts,
// vertical layout, right-to-left, ParentColor, FocusControl's accelerator,
// a one-bit glyph disabled; below, the labels' events.
#include "GalleryPage.h"
#include "GallerySheet.h"

#include "coolctrls/TCoolGroupBox.h"
#include "coolctrls/TCoolImages.h"
#include "coolctrls/TCoolLabel.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QLineEdit>

using coolctrls::TCoolLabel;
using Backdrop = gallery::GallerySheet::Backdrop;

namespace {

TCoolLabel *label(QWidget *host, const QString &caption)
{
    auto *l = new TCoolLabel(host);
    l->move(10, 10);
    l->setCaption(caption);
    return l;
}

TCoolLabel *fixed(QWidget *host, const QString &caption)
{
    TCoolLabel *l = label(host, caption);
    l->setAutoSize(false);
    l->setGeometry(10, 8, host->width() - 20, host->height() - 16);
    return l;
}

// A 16 x 16 glyph: a green lamp on the transparent olive.
void setLamp(TCoolLabel *l)
{
    platform::TBitmap glyph;
    glyph.SetSize(16, 16);
    glyph.Canvas().FillRect(QRect(0, 0, 16, 16), platform::clOlive);
    glyph.Canvas().Brush.setColor(platform::RGB(0, 160, 0));
    glyph.Canvas().Ellipse(2, 2, 14, 14);
    l->setGlyph(&glyph);
}

// The lamp as a one-bit glyph: black on white.
void setMonochromeLamp(TCoolLabel *l)
{
    platform::TBitmap glyph;
    glyph.SetSize(16, 16);
    glyph.Canvas().FillRect(QRect(0, 0, 16, 16), platform::clWhite);
    glyph.Canvas().Brush.setColor(platform::clBlack);
    glyph.Canvas().Ellipse(2, 2, 14, 14);
    // One bit a pixel: white (the brush colour) stays white, the rest black.
    glyph.Canvas().Brush.setColor(platform::clWhite);
    glyph.setMonochrome(true);
    l->setGlyph(&glyph);
}

QWidget *createLabelPage(QWidget *parent, const gallery::GalleryContext &context)
{
    auto *sheet = new gallery::GallerySheet(context.images, 4, parent);
    const QSize size(150, 50);
    label(sheet->addCell("default (Color clBtnFace)", size), "O1 - Minor second");
    label(sheet->addCell("Transparent over wallpaper", size, Backdrop::Wallpaper), "O1 - Minor second")
        ->setTransparent(true);
    auto *l = label(sheet->addCell("Enabled false, Transparent", size, Backdrop::Wallpaper), "O5 - Perfect fourth");
    l->setTransparent(true);
    l->setEnabled(false);
    l = fixed(sheet->addCell("idWallpaper 1 (tiled)", size), "Tiled wallpaper");
    l->setCoolImages(context.images);
    l->setIdWallpaper(1);
    l = fixed(sheet->addCell("idWallpaper 1, Stretched", size), "Stretched");
    l->setCoolImages(context.images);
    l->setIdWallpaper(1);
    l->setStretched(true);
    l = label(sheet->addCell("ShadowPos spRightBottom, 2, clGray", size), "Shadow");
    l->setShadowPos(coolctrls::spRightBottom);
    l->setShadowSize(2);
    l->setShadowColor(platform::TColor::fromQColor(Qt::gray));
    label(sheet->addCell("SimpleView", size), "Simple view")->setSimpleView(true);
    l = fixed(sheet->addCell("BevelOuter bvRaised, BevelsOffset 3", size), "Raised");
    l->setBevelOuter(coolctrls::bvRaised);
    l->setBevelsOffset(3);
    l = fixed(sheet->addCell("bvLowered + bvRaised, Layout tlCenter", size), "Sunken, centred");
    l->setBevelOuter(coolctrls::bvLowered);
    l->setBevelInner(coolctrls::bvRaised);
    l->setLayout(coolctrls::tlCenter);
    l->setBevelsOffset(2);
    l = fixed(sheet->addCell("EdgeBorders all, BorderPen red", size), "Borders");
    l->setEdgeBorders(coolctrls::TEdgeBorders{coolctrls::ebLeft, coolctrls::ebTop, coolctrls::ebRight,
                                              coolctrls::ebBottom});
    l->BorderPen().setColor(platform::RGB(255, 0, 0));
    l = fixed(sheet->addCell("EdgeBorders ebBottom, Layout tlBottom", size), "Bottom line");
    l->setEdgeBorders(coolctrls::TEdgeBorders{coolctrls::ebBottom});
    l->setLayout(coolctrls::tlBottom);
    setLamp(label(sheet->addCell("Glyph, taLeftJustify", size), "Lamp"));
    l = fixed(sheet->addCell("Glyph, taCenter", size), "Lamp");
    l->setAlignment(coolctrls::taCenter);
    setLamp(l);
    l = fixed(sheet->addCell("Glyph, taRightJustify", size), "Lamp");
    l->setAlignment(coolctrls::taRightJustify);
    setLamp(l);
    l = fixed(sheet->addCell("Glyph, Enabled false", size), "Lamp");
    setLamp(l);
    l->setEnabled(false);
    l = fixed(sheet->addCell("taLeftJustify, right-to-left", size), "Right to left");
    l->setLayoutDirection(Qt::RightToLeft);
    {
        QWidget *host = sheet->addCell("ParentColor, not Transparent,\non a white group box", size);
        auto *box = new coolctrls::TCoolGroupBox(host);
        box->setGeometry(0, 0, host->width(), host->height());
        box->setColor(platform::clWhite);
        box->setCaption("Score");
        label(box, "White as its box")->move(10, 20);
    }
    {
        QWidget *host = sheet->addCell("FocusControl: Alt+N focuses the edit", size);
        auto *edit = new QLineEdit(host);
        edit->setGeometry(60, 12, 80, 22);
        label(host, "&Name:")->setFocusControl(edit);
        host->findChild<TCoolLabel *>()->move(6, 15);
    }
    l = label(sheet->addCell("one-bit Glyph, Enabled false", size), "Lamp");
    setMonochromeLamp(l);
    l->setEnabled(false);
    sheet->addEventLog();
    return sheet;
}

} // namespace

TONVIK_GALLERY_PAGE(label, "Label", createLabelPage)
