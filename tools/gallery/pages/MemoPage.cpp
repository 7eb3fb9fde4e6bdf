// The memo in its looks: caption bar variants, borders, wallpaper,
// transparency and the disabled state.
#include "GalleryPage.h"
#include "GallerySheet.h"

#include "coolctrls/TCoolMemo.h"
#include "coolctrls/TCoolPanel.h"
#include "platform/canvas/Colors.h"


namespace {

using coolctrls::TCoolMemo;
using Backdrop = gallery::GallerySheet::Backdrop;

const QSize cellSize(220, 104);

TCoolMemo *addMemo(QWidget *host, const gallery::GalleryContext &context, int options)
{
    auto *memo = new TCoolMemo(host);
    memo->setCoolImages(context.images);
    memo->setLines({"Minor third", "Major third", "Perfect fourth", "Tritone", "Perfect fifth", "Minor sixth"});
    memo->setOptions(options);
    memo->setGeometry(0, 0, host->width(), host->height());
    return memo;
}

// A memo with the caption bar "Intervals" in white on `colour`.
void addCaptioned(QWidget *host, const gallery::GalleryContext &context, int options, platform::TColor colour)
{
    TCoolMemo *memo = addMemo(host, context, options);
    memo->setCaption("Intervals");
    memo->setCaptionColor(colour);
    memo->setCaptionTextColor(platform::clWhite);
}

QWidget *createMemoPage(QWidget *parent, const gallery::GalleryContext &context)
{
    auto *sheet = new gallery::GallerySheet(context.images, 4, parent);

    addMemo(sheet->addCell("Options = ocNoCaption\nBorderStyle = bsSingle", cellSize), context,
            coolctrls::ocNoCaption);

    addCaptioned(sheet->addCell("Options = []\nCaption = \"Intervals\"\n"
                                "CaptionColor = navy, CaptionTextColor = white",
                                cellSize),
                 context, 0, platform::clNavy);
    addCaptioned(sheet->addCell("Options = ocSmallCaption\nCaption = \"Intervals\"\n"
                                "CaptionColor = teal, CaptionTextColor = white",
                                cellSize),
                 context, coolctrls::ocSmallCaption, platform::clTeal);
    {
        TCoolMemo *memo = addMemo(sheet->addCell("Options = ocPaintCaptionWallpaper\n"
                                                 "idCaptionWallpaper = 0 (stretched)\nCaption = \"Intervals\"",
                                                 cellSize),
                                  context, coolctrls::ocPaintCaptionWallpaper);
        memo->setCaption("Intervals");
        memo->setIdCaptionWallpaper(0);
        memo->setCaptionTextColor(platform::clWhite);
    }

    addMemo(sheet->addCell("Options = ocNoCaption, ocFlatBorder\nBorderStyle = bsSingle", cellSize), context,
            coolctrls::ocNoCaption | coolctrls::ocFlatBorder);
    {
        TCoolMemo *memo = addMemo(sheet->addCell("EdgeBorders = ebLeft, ebBottom\n"
                                                 "BorderPen = maroon, width 2",
                                                 cellSize),
                                  context, coolctrls::ocNoCaption);
        memo->setEdgeBorders(coolctrls::ebLeft | coolctrls::ebBottom);
        memo->BorderPen().setColor(platform::clMaroon);
        memo->BorderPen().setWidth(2);
    }
    {
        TCoolMemo *memo = addMemo(sheet->addCell("EdgeBorders = all four\n"
                                                 "BordersTrColor = clBlack",
                                                 cellSize),
                                  context, coolctrls::ocNoCaption);
        memo->setEdgeBorders(coolctrls::ebLeft | coolctrls::ebTop | coolctrls::ebRight | coolctrls::ebBottom);
        memo->setBordersTrColor(platform::clBlack);
    }
    {
        TCoolMemo *memo = addMemo(sheet->addCell("TextAlign = taCenter\nColor = clInfoBk", cellSize), context,
                                  coolctrls::ocNoCaption);
        memo->setTextAlign(coolctrls::taCenter);
        memo->setColor(platform::clInfoBk);
    }

    addMemo(sheet->addCell("Options = ocNoCaption, ocPaintWallpaper\nidWallpaper = 1 (tiled)", cellSize), context,
            coolctrls::ocNoCaption | coolctrls::ocPaintWallpaper)
        ->setIdWallpaper(1);
    addMemo(sheet->addCell("Options = ocNoCaption, ocPaintWallpaper,\nocStretchWallpaper; idWallpaper = 1",
                           cellSize),
            context, coolctrls::ocNoCaption | coolctrls::ocPaintWallpaper | coolctrls::ocStretchWallpaper)
        ->setIdWallpaper(1);
    {
        TCoolMemo *memo = addMemo(sheet->addCell("Options = ocNoCaption, ocPaintTransparently\n"
                                                 "TransparencyLevel = 0, on the wallpaper",
                                                 cellSize, Backdrop::Wallpaper),
                                  context, coolctrls::ocNoCaption | coolctrls::ocPaintTransparently);
        memo->setFontColor(platform::clWhite);
        memo->setFontBold(true);
    }
    {
        // A plain panel between the memo and the wallpaper: level 1 looks
        // through it to the wallpapered one.
        QWidget *host = sheet->addCell("Options = ocNoCaption, ocPaintTransparently\n"
                                       "TransparencyLevel = 1, in a plain panel on the wallpaper",
                                       cellSize, Backdrop::Wallpaper);
        auto *panel = new coolctrls::TCoolPanel(host);
        panel->setBevelOuter(coolctrls::bvLowered);
        panel->setGeometry(0, 0, host->width(), host->height());
        auto *memo = new TCoolMemo(panel);
        memo->setCoolImages(context.images);
        memo->setLines({"Minor third", "Major third", "Perfect fourth", "Tritone", "Perfect fifth"});
        memo->setOptions(coolctrls::ocNoCaption | coolctrls::ocPaintTransparently);
        memo->setTransparencyLevel(1);
        memo->setFontColor(platform::clWhite);
        memo->setFontBold(true);
        memo->setGeometry(16, 14, host->width() - 32, host->height() - 28);
    }

    addMemo(sheet->addCell("Options = ocNoCaption\nEnabled = false", cellSize), context, coolctrls::ocNoCaption)
        ->setEnabled(false);
    {
        TCoolMemo *memo = addMemo(sheet->addCell("Options = ocPaintWallpaper\nidWallpaper = 0\n"
                                                 "Caption = \"Intervals\", Enabled = false",
                                                 cellSize),
                                  context, coolctrls::ocPaintWallpaper);
        memo->setIdWallpaper(0);
        memo->setCaption("Intervals");
        memo->setFontColor(platform::clWhite);
        memo->setEnabled(false);
    }
    sheet->addEventLog();
    return sheet;
}

} // namespace

TONVIK_GALLERY_PAGE(memo, "Memo", createMemoPage)
