#include "ListTestSupport.h"

#include "coolctrls/TCoolListBox.h"
#include "coolctrls/TItemPainter.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace coolctrls;
using namespace platform;
using namespace liststest;

namespace {

// One item of a list box painted alone into an image of its size.
struct ItemShot
{
    TCoolListBox box;
    ItemShot()
    {
        box.resize(200, 60);
        box.setFontName("Courier New");
        box.setFontHeight(-11);
        box.setSelFontName("Courier New");
        box.setSelFontHeight(-11);
        box.setItems({"Level 1", "Level 2"});
    }
    QImage paint(TOwnerDrawState state, int index = 0, int width = 200)
    {
        QImage image(width, box.ItemHeight(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        TCanvas canvas(&painter);
        const QRect r(0, 0, width, box.ItemHeight());
        TItemPainter::PrepareCanvas(canvas, box.items(), index, r, state);
        TItemPainter::Paint(canvas, box.items(), index, box.items().ItemText(index), r, state,
                            TItemArea{r, QPoint()});
        return image;
    }
};

// Where a text drawn at x = 0 in the list's font starts to show ink.
int inkBearing(const QString &text)
{
    QImage image(100, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TCanvas canvas(&painter);
    canvas.Font.Assign(makeFont("Courier New", -11));
    canvas.Font.setColor(clBlack);
    canvas.Brush.setStyle(TBrushStyle::bsClear);
    canvas.TextOut(0, 0, text);
    painter.end();
    return leftmost(image, clBlack, 0, 20);
}

} // namespace

TEST(ItemPainter, SelectedMeansExactlySelectedOrSelectedAndFocusedAndTheComboAddsItsEditField)
{
    EXPECT_TRUE(TItemPainter::PaintedSelected({odSelected}, false));
    EXPECT_TRUE(TItemPainter::PaintedSelected({odSelected, odFocused}, false));
    EXPECT_FALSE(TItemPainter::PaintedSelected({odSelected, odDisabled}, false));
    EXPECT_FALSE(TItemPainter::PaintedSelected({odSelected, odGrayed}, true));
    EXPECT_FALSE(TItemPainter::PaintedSelected({odSelected, odFocused, odComboBoxEdit}, false));
    EXPECT_TRUE(TItemPainter::PaintedSelected({odSelected, odFocused, odComboBoxEdit}, true));
    // The bevel keeps the list's rule in both controls.
    const TCoolOptions onlySel{ocBevelOnlyIfSel};
    EXPECT_TRUE(TItemPainter::BevelDrawn({odSelected, odFocused}, onlySel));
    EXPECT_FALSE(TItemPainter::BevelDrawn({odSelected, odFocused, odComboBoxEdit}, onlySel));
    EXPECT_FALSE(TItemPainter::BevelDrawn({}, onlySel));
    EXPECT_TRUE(TItemPainter::BevelDrawn({}, TCoolOptions{}));
}

TEST(ItemPainter, TheCaptionStartsAtFiveAndItsHighlightShadowAtFour)
{
    ItemShot shot;
    const int bearing = inkBearing("Level 1");
    ASSERT_GE(bearing, 0);
    const QImage plain = shot.paint({});
    EXPECT_EQ(at(plain, 1, 1), rgb(clWindow));
    EXPECT_EQ(leftmost(plain, clWindowText, 0, plain.height()), 5 + bearing);

    // Selected: clHighlight, the clBtnHighlight shadow one pixel up-left.
    const QImage selected = shot.paint({odSelected, odFocused});
    EXPECT_EQ(at(selected, 1, 1), rgb(clHighlight));
    EXPECT_EQ(leftmost(selected, clBtnHighlight, 0, selected.height()), 4 + bearing);
}

TEST(ItemPainter, ASelectedItemThatIsAlsoDisabledIsPaintedUnselectedInTheHighlightTextColour)
{
    ItemShot shot;
    shot.box.setColor(clYellow);
    const QImage image = shot.paint({odSelected, odDisabled});
    EXPECT_EQ(at(image, 1, 1), rgb(clYellow));
    EXPECT_FALSE(contains(image, clHighlight, image.rect()));
    EXPECT_TRUE(contains(image, clHighlightText, image.rect()));
}

TEST(ItemPainter, WithExtendedCheckTheBevelSurroundsTheWholeItemOrOnlyTheCaption)
{
    ItemShot shot;
    shot.box.setOptionBits(0);
    shot.box.setBevelOuter(bvRaised);
    shot.box.setExtendedCheck(true);
    const QImage both = shot.paint({});
    // A raised edge along the item's right side.
    const TColor rightEdgeBoth = at(both, both.width() - 1, 5);
    EXPECT_NE(rightEdgeBoth, rgb(clWindow));

    shot.box.setBevelStyle(bsBevelOnlyText);
    const QImage text = shot.paint({});
    // The edge is no longer on the item's right side, but around the
    // caption, right of the check box.
    EXPECT_NE(at(text, text.width() - 1, 5), rightEdgeBoth);
    EXPECT_EQ(at(text, text.width() - 1, 5), rgb(clWindow));
    const int checkWidth = shot.box.ItemHeight() + 4;
    bool edgeInside = false;
    for (int x = checkWidth; x < 120; ++x)
        edgeInside |= at(text, x, 0) == rightEdgeBoth || at(text, x, text.height() - 1) == rightEdgeBoth;
    EXPECT_TRUE(edgeInside);
}

TEST(ItemPainter, TheWhiteSwatchOnAWhiteItemGetsABackgroundOneBelowAndABlackOutline)
{
    const auto swatch = TItemPainter::ColorSwatch(clWhite, clWindow, 13);
    ASSERT_EQ(swatch->Width(), 13);
    const TColor corner = swatch->pixel(0, 0);
    EXPECT_EQ(corner.value(), rgb(clWindow).value() - 1);
    EXPECT_EQ(swatch->pixel(0, 12), corner) << "the bottom-left pixel gives the transparent colour";
    EXPECT_EQ(swatch->pixel(0, 2), clBlack);
    EXPECT_EQ(swatch->pixel(6, 6), clWhite);
    // A colour unlike the background keeps the background as it is.
    EXPECT_EQ(TItemPainter::ColorSwatch(clRed, clWhite, 13)->pixel(0, 0), clWhite);
}

TEST(ItemPainter, CheckBoxBitmapsShowTheirStateOnOlive)
{
    const auto off = TItemPainter::CheckBoxBitmap(0, false, 13);
    const auto on = TItemPainter::CheckBoxBitmap(1, false, 13);
    const auto grayed = TItemPainter::CheckBoxBitmap(2, true, 13);
    EXPECT_EQ(off->pixel(0, 12), clOlive);
    EXPECT_NE(off->image(), on->image());
    EXPECT_NE(on->image(), grayed->image());
    // The file icon of a ".." path is left empty (all olive).
    const auto up = TItemPainter::FileIconBitmap("/data/..", 13);
    EXPECT_EQ(up->pixel(6, 6), clOlive);
    EXPECT_EQ(up->TransparentColor(), clOlive);
}

TEST(ItemPainter, NumGlyphsAboveTwoIsStoredAsTwo)
{
    TCoolListBox box;
    box.setNumGlyphs(4);
    EXPECT_EQ(box.NumGlyphs(), 2);
    box.setNumGlyphs(3);
    EXPECT_EQ(box.NumGlyphs(), 2);
    box.setNumGlyphs(1);
    EXPECT_EQ(box.NumGlyphs(), 1);
}

TEST(ItemPainter, AColourItemThatIsNoColourIsPaintedWithoutASwatchAndWithoutAReport)
{
    ItemShot shot;
    shot.box.setExtendedStyle(ctColorControl);
    ASSERT_EQ(shot.box.count(), 16);
    const QImage red = shot.paint({}, 9);  // clRed
    EXPECT_TRUE(contains(red, clRed, QRect(4, 0, 13, 13)));
    EXPECT_EQ(TCoolItems::ItemColor("Red"), clRed);
    EXPECT_FALSE(TCoolItems::ItemColor("nonsense").has_value());
}
