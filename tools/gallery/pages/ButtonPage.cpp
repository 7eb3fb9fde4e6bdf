// The push button in its looks: plain, disabled, default and focused,
// pressed, flat, over wallpaper, with its own wallpaper, gradient, elliptic,
// with a glyph in each layout, animated, Cancel, a wallpaper option without
// a wallpaper and ModalResult in a dialog; below, the buttons' events.
#include "GalleryPage.h"
#include "GallerySheet.h"

#include "coolctrls/TCoolBtn.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"
#include "platform/canvas/TImageList.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QTimer>

using namespace coolctrls;
using namespace platform;

namespace {

constexpr QSize CellSize(150, 44);

// A 16 x 16 note glyph on fuchsia (the glyph's transparent colour).
void drawNote(TBitmap &bitmap, TColor colour)
{
    bitmap.SetSize(16, 16);
    TCanvas &c = bitmap.Canvas();
    c.FillRect(QRect(0, 0, 16, 16), clFuchsia);
    c.Brush.setColor(colour);
    c.Pen.setColor(colour);
    c.Ellipse(2, 9, 9, 15);
    c.FillRect(QRect(7, 2, 2, 10), colour);
    c.FillRect(QRect(9, 2, 5, 2), colour);
    bitmap.Dormant();
}

TCoolBtn *addButton(gallery::GallerySheet *sheet, const QString &caption, const QString &look,
                    gallery::GallerySheet::Backdrop backdrop = gallery::GallerySheet::Backdrop::Plain,
                    QSize size = QSize(75, 25), QWidget **hostOut = nullptr)
{
    QWidget *host = sheet->addCell(look, CellSize, backdrop);
    if (hostOut)
        *hostOut = host;
    auto *button = new TCoolBtn(host);
    button->setCaption(caption);
    button->setGeometry(QRect(QPoint(10, (CellSize.height() - size.height()) / 2), size));
    return button;
}

QWidget *createButtonPage(QWidget *parent, const gallery::GalleryContext &context)
{
    using Backdrop = gallery::GallerySheet::Backdrop;
    auto *sheet = new gallery::GallerySheet(context.images, 4, parent);

    addButton(sheet, "Start", "default look\n(no option set)");
    addButton(sheet, "Repeat", "Enabled = False\n(engraved caption)")->setEnabled(false);
    TCoolBtn *focused = addButton(sheet, "Default", "Default = True, focused\n(frame and focus mark)");
    focused->setDefault(true);
    // The focus mark needs the keyboard focus, which the shown window gives.
    QTimer::singleShot(0, focused, [focused] {
        focused->window()->activateWindow();
        focused->setFocus();
    });
    addButton(sheet, "Pressed", "pressed\n(sunken edge, caption +1, +1)")->setDown(true);

    TCoolBtn *flat = addButton(sheet, "Flat", "Options = [ocFlatBorder]\nmouse away: no edge");
    flat->setOptions({ocFlatBorder});
    TCoolBtn *flatHover = addButton(sheet, "Flat", "Options = [ocFlatBorder]\nmouse inside: raised edge");
    flatHover->setOptions({ocFlatBorder});
    // Shown as it looks under the mouse.
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(flatHover, &enter);
    TCoolBtn *shadow = addButton(sheet, "Shadow", "ShadowSize = 2, ShadowColor = clRed,\nShadowPos = spRightBottom");
    shadow->setShadowSize(2);
    shadow->setShadowColor(clRed);
    shadow->setShadowPos(spRightBottom);
    addButton(sheet, "Simple", "SimpleView = True\n(caption without shadow)")->setSimpleView(true);

    TCoolBtn *transparent0 = addButton(sheet, "Level 0", "[ocPaintTransparently],\nTransparencyLevel = 0",
                                       Backdrop::Wallpaper);
    transparent0->setOptions({ocPaintTransparently});
    {
        // One level deeper: a plain widget between the button and the
        // wallpapered panel; level 1 reaches through it.
        QWidget *host = sheet->addCell("[ocPaintTransparently],\nTransparencyLevel = 1 (through a plain widget)",
                                       CellSize, Backdrop::Wallpaper);
        auto *between = new QWidget(host);
        between->setGeometry(QRect(QPoint(0, 0), CellSize));
        auto *button = new TCoolBtn(between);
        button->setCaption("Level 1");
        button->setGeometry(10, (CellSize.height() - 25) / 2, 75, 25);
        button->setOptions({ocPaintTransparently});
        button->setTransparencyLevel(1);
    }
    TCoolBtn *tiled = addButton(sheet, "Tiled", "[ocPaintWallpaper],\nidWallpaper = 1 (chequer, tiled)");
    tiled->setCoolImages(context.images);
    tiled->setIdWallpaper(1);
    tiled->setOptions({ocPaintWallpaper});
    TCoolBtn *stretched =
        addButton(sheet, "Stretched", "[ocPaintWallpaper, ocStretchWallpaper],\nidWallpaper = 1 (stretched)");
    stretched->setCoolImages(context.images);
    stretched->setIdWallpaper(1);
    stretched->setOptions({ocPaintWallpaper, ocStretchWallpaper});

    TCoolBtn *gradient = addButton(sheet, "Gradient", "[ocPaintGradiently],\nclBtnFace to clBtnShadow",
                                   Backdrop::Plain, QSize(100, 25));
    gradient->setOptions({ocPaintGradiently});
    TCoolBtn *vertical = addButton(sheet, "Vertical", "[ocPaintGradiently], gdVertical,\nclWhite to clNavy",
                                   Backdrop::Plain, QSize(100, 25));
    vertical->setOptions({ocPaintGradiently});
    vertical->setGradientDirection(gdVertical);
    vertical->setColorStart(clWhite);
    vertical->setColorEnd(clNavy);
    vertical->setFontColor(platform::clWhite);
    vertical->setSimpleView(true);
    TCoolBtn *round = addButton(sheet, "Round", "[ocRoundedForm]\nover the wallpaper", Backdrop::Wallpaper,
                                QSize(90, 36));
    round->setOptions({ocRoundedForm});
    TCoolBtn *roundGradient = addButton(sheet, "Round", "[ocRoundedForm, ocPaintGradiently],\nclYellow to clRed",
                                        Backdrop::Wallpaper, QSize(90, 36));
    roundGradient->setOptions({ocRoundedForm, ocPaintGradiently});
    roundGradient->setColorStart(clYellow);
    roundGradient->setColorEnd(clRed);

    TBitmap note;
    drawNote(note, clNavy);
    const struct
    {
        TButtonLayout layout;
        const char *name;
    } layouts[] = {{blGlyphLeft, "blGlyphLeft"}, {blGlyphRight, "blGlyphRight"},
                   {blGlyphTop, "blGlyphTop"}, {blGlyphBottom, "blGlyphBottom"}};
    for (const auto &l : layouts) {
        const bool vertical = l.layout == blGlyphTop || l.layout == blGlyphBottom;
        TCoolBtn *b = addButton(sheet, "Play", QStringLiteral("Glyph, Layout = %1").arg(l.name), Backdrop::Plain,
                                vertical ? QSize(75, 40) : QSize(90, 25));
        b->setGlyph(&note);
        b->setLayout(l.layout);
    }
    TCoolBtn *margin = addButton(sheet, "Play", "Glyph, Margin = 4, Spacing = 8", Backdrop::Plain, QSize(90, 25));
    margin->setGlyph(&note);
    margin->setMargin(4);
    margin->setSpacing(8);
    TCoolBtn *glyphOff = addButton(sheet, "Play", "Glyph, Enabled = False\n(generated disabled glyph)",
                                   Backdrop::Plain, QSize(90, 25));
    // The generated disabled look embosses the glyph's black pixels.
    TBitmap blackNote;
    drawNote(blackNote, clBlack);
    glyphOff->setGlyph(&blackNote);
    glyphOff->setEnabled(false);

    // Animated: four frames of a note changing colour, five a second.
    auto *frames = new TImageList(16, 16, sheet);
    for (TColor c : {clNavy, clGreen, clMaroon, clPurple}) {
        TBitmap frame;
        drawNote(frame, c);
        frames->AddMasked(frame, clFuchsia);
    }
    TCoolBtn *animated = addButton(sheet, "Play", "Images (4 frames), Animated = True,\nInterval = 200",
                                   Backdrop::Plain, QSize(90, 25));
    animated->setImages(frames);
    animated->setInterval(200);
    animated->setAnimated(true);

    addButton(sheet, "Close", "Cancel = True\n(Escape clicks it)")->setCancel(true);
    addButton(sheet, "No paper", "[ocPaintWallpaper], no wallpaper\n(what lies under it shows)",
              Backdrop::Wallpaper)
        ->setOptions({ocPaintWallpaper});
    TCoolBtn *ask = addButton(sheet, "Ask...", "opens a dialog: OK (ModalResult mrOk),\nCancel (mrCancel, Cancel = True)");
    ask->OnClick = [ask](QObject *) {
        QDialog dialog(ask->window());
        dialog.setWindowTitle("ModalResult");
        dialog.resize(180, 50);
        auto *ok = new TCoolBtn(&dialog);
        ok->setCaption("OK");
        ok->setGeometry(10, 12, 75, 25);
        ok->setModalResult(mrOk);
        auto *cancel = new TCoolBtn(&dialog);
        cancel->setCaption("Cancel");
        cancel->setGeometry(95, 12, 75, 25);
        cancel->setModalResult(mrCancel);
        cancel->setCancel(true);
        const int result = dialog.exec();
        ask->setCaption(result == mrOk ? "mrOk" : result == mrCancel ? "mrCancel" : "Ask...");
    };
    sheet->addEventLog();
    return sheet;
}

} // namespace

TONVIK_GALLERY_PAGE(button, "Button", createButtonPage)
