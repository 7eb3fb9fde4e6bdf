// The scrolling text in its looks: the four directions, a glyph, the
// disabled look, shadows and transparency over a wallpaper.
#include "GalleryPage.h"
#include "GallerySheet.h"

#include "coolctrls/TCoolScrollingText.h"
#include "platform/canvas/Colors.h"

#include <QColor>
#include <QImage>
#include <QPainter>

namespace {

using coolctrls::TCoolScrollingText;
using Backdrop = gallery::GallerySheet::Backdrop;

const QSize wideCell(300, 40);
const QSize tallCell(200, 110);

// A 16 x 16 black note on olive; the bottom-left pixel (olive) is the
// transparent colour, and the black pixels make the generated disabled look.
QImage noteGlyph()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(0x80, 0x80, 0x00));
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QRect(2, 9, 7, 5));
    p.fillRect(8, 1, 1, 11, Qt::black);
    p.fillRect(9, 1, 4, 2, Qt::black);
    p.end();
    return image;
}

// Places the sample over the whole host, moves the text `steps` pixels in
// from its entry edge (so a still picture shows it on its way), then starts
// the ticks.
TCoolScrollingText *addText(QWidget *host, const gallery::GalleryContext &context, const QStringList &lines,
                            coolctrls::TScrollDirection direction, int steps)
{
    auto *text = new TCoolScrollingText(host);
    text->setCoolImages(context.images);
    text->setGeometry(0, 0, host->width(), host->height());
    text->setStrings(lines);
    text->setFontHeight(14);
    text->setScrollDirection(direction);
    text->setInterval(60);
    text->ResetPosition(false);
    for (int i = 0; i < steps; ++i)
        text->Tick();
    text->setActive(true);
    return text;
}

QWidget *createScrollingTextPage(QWidget *parent, const gallery::GalleryContext &context)
{
    auto *sheet = new gallery::GallerySheet(context.images, 2, parent);
    const QStringList line{"Name the interval you hear"};
    const QStringList column{"Unison", "Octave", "Fifth", "Fourth"};

    // The four directions on Color = clWindow, so the moving area shows.
    addText(sheet->addCell("ScrollDirection = sdRightToLeft\nInterval = 60, Color = clWindow", wideCell), context,
            line, coolctrls::sdRightToLeft, 250);
    addText(sheet->addCell("ScrollDirection = sdLeftToRight\nInterval = 60, Color = clWindow", wideCell), context,
            line, coolctrls::sdLeftToRight, 340);
    addText(sheet->addCell("ScrollDirection = sdBottomToTop\nAlignment = taCenter\nColor = clWindow", tallCell),
            context, column, coolctrls::sdBottomToTop, 100)
        ->setAlignment(coolctrls::taCenter);
    addText(sheet->addCell("ScrollDirection = sdTopToBottom\nAlignment = taRightJustify\nColor = clWindow",
                           tallCell),
            context, column, coolctrls::sdTopToBottom, 120)
        ->setAlignment(coolctrls::taRightJustify);
    for (TCoolScrollingText *text : sheet->findChildren<TCoolScrollingText *>())
        text->setColor(platform::clWindow);

    addText(sheet->addCell("Glyph = a note (16 x 16), NumGlyphs = 1\nsdRightToLeft", wideCell), context, line,
            coolctrls::sdRightToLeft, 250)
        ->setGlyph(noteGlyph());
    {
        TCoolScrollingText *text = addText(sheet->addCell("Enabled = false (engraved)\nGlyph = a note", wideCell),
                                           context, line, coolctrls::sdRightToLeft, 250);
        text->setGlyph(noteGlyph());
        text->setEnabled(false);
    }

    addText(sheet->addCell("ShadowColor = clBtnHighlight, ShadowSize = 1,\nShadowPos = spLeftTop (the defaults)",
                           wideCell),
            context, line, coolctrls::sdRightToLeft, 250);
    {
        TCoolScrollingText *text = addText(sheet->addCell("ShadowColor = gray, ShadowSize = 2,\n"
                                                          "ShadowPos = spRightBottom, FontColor = navy",
                                                          wideCell),
                                           context, line, coolctrls::sdRightToLeft, 250);
        text->setShadowColor(platform::clGray);
        text->setShadowSize(2);
        text->setShadowPos(coolctrls::spRightBottom);
        text->setFontColor(platform::clNavy);
    }
    addText(sheet->addCell("SimpleView = true (no shadow)", wideCell), context, line,
            coolctrls::sdRightToLeft, 250)
        ->setSimpleView(true);
    {
        TCoolScrollingText *text = addText(sheet->addCell("Transparent = true, on the wallpaper\n"
                                                          "FontColor = white, ShadowColor = black",
                                                          wideCell, Backdrop::Wallpaper),
                                           context, line, coolctrls::sdRightToLeft, 250);
        text->setTransparent(true);
        text->setFontColor(platform::clWhite);
        text->setFontBold(true);
        text->setShadowColor(platform::clBlack);
    }
    addText(sheet->addCell("idWallpaper = 1 (tiled)", wideCell), context, line, coolctrls::sdRightToLeft,
            250)
        ->setIdWallpaper(1);
    {
        TCoolScrollingText *text = addText(sheet->addCell("idWallpaper = 1, Stretched = true", wideCell), context,
                                           line, coolctrls::sdRightToLeft, 250);
        text->setIdWallpaper(1);
        text->setStretched(true);
    }
    {
        TCoolScrollingText *text = addText(sheet->addCell("OnClick toggles Active: stopped, the last frame\n"
                                                          "stays until the page paints over it",
                                                          wideCell),
                                           context, {"Click to stop, click again to go on"},
                                           coolctrls::sdRightToLeft, 250);
        text->setColor(platform::clWindow);
        text->OnClick = [text](QObject *) { text->setActive(!text->Active()); };
    }
    sheet->addEventLog();
    return sheet;
}

} // namespace

TONVIK_GALLERY_PAGE(scrollingtext, "Scrolling text", createScrollingTextPage)
