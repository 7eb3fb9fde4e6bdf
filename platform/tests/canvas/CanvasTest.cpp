#include "CanvasTestUtil.h"

#include "platform/canvas/Regions.h"
#include "platform/canvas/TCanvas.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;
using namespace canvastest;

namespace {
// Legend letters: w white, f button face, s shadow, d dark shadow, k black, r red.
const std::initializer_list<std::pair<TColor, char>> kEdge = {
    {clWhite, 'w'}, {clBtnFace, 'f'}, {clBtnShadow, 's'}, {cl3DDkShadow, 'd'}, {clBlack, 'k'}, {clRed, 'r'}};
} // namespace

TEST(Canvas, FillAndFrameCoverHalfOpenRectangles)
{
    TBitmap bmp;
    prepare(bmp, 10, 10);
    TCanvas &c = bmp.Canvas();
    c.FillRect(Rect(2, 3, 6, 5), clRed);
    EXPECT_EQ(row(bmp, 3, 0, 10, kEdge), "wwrrrrwwww");
    EXPECT_EQ(row(bmp, 4, 0, 10, kEdge), "wwrrrrwwww");
    EXPECT_EQ(row(bmp, 5, 0, 10, kEdge), "wwwwwwwwww");

    prepare(bmp, 10, 10);
    c.Brush.setColor(clBtnShadow);
    c.FrameRect(Rect(1, 1, 6, 5));
    EXPECT_EQ(row(bmp, 1, 0, 8, kEdge), "wsssssww");
    EXPECT_EQ(row(bmp, 2, 0, 8, kEdge), "wswwwsww");
    EXPECT_EQ(row(bmp, 4, 0, 8, kEdge), "wsssssww");
    EXPECT_EQ(row(bmp, 5, 0, 8, kEdge), "wwwwwwww");

    // A clear brush fills nothing; empty rectangles draw nothing.
    prepare(bmp, 4, 4);
    c.Brush.setStyle(TBrushStyle::bsClear);
    c.FillRect(Rect(0, 0, 4, 4));
    c.FillRect(Rect(3, 3, 1, 1), clRed);
    EXPECT_EQ(inkBounds(bmp), QRect());
}

TEST(Canvas, RaisedAndSunkenEdgesHaveTheClassicColoursAndCorners)
{
    TBitmap bmp;
    prepare(bmp, 8, 8, clRed);
    QRect r = Rect(0, 0, 8, 8);
    EXPECT_TRUE(bmp.Canvas().DrawEdge(r, EDGE_RAISED, BF_RECT | BF_ADJUST));
    EXPECT_EQ(r, Rect(2, 2, 6, 6));
    // Outer ring: light top-left, dark shadow bottom-right owning the
    // top-right and bottom-left corners; inner ring: highlight and shadow.
    EXPECT_EQ(row(bmp, 0, 0, 8, kEdge), "fffffffd");
    EXPECT_EQ(row(bmp, 1, 0, 8, kEdge), "fwwwwwsd");
    EXPECT_EQ(row(bmp, 3, 0, 8, kEdge), "fwrrrrsd");
    EXPECT_EQ(row(bmp, 6, 0, 8, kEdge), "fssssssd");
    EXPECT_EQ(row(bmp, 7, 0, 8, kEdge), "dddddddd");

    prepare(bmp, 8, 8, clRed);
    bmp.Canvas().DrawEdge(Rect(0, 0, 8, 8), EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(row(bmp, 0, 0, 8, kEdge), "sssssssw");
    EXPECT_EQ(row(bmp, 1, 0, 8, kEdge), "sdddddfw");
    EXPECT_EQ(row(bmp, 3, 0, 8, kEdge), "sdrrrrfw");
    EXPECT_EQ(row(bmp, 6, 0, 8, kEdge), "sffffffw");
    EXPECT_EQ(row(bmp, 7, 0, 8, kEdge), "wwwwwwww");
}

TEST(Canvas, SingleEdgesPartialSidesAndFrame3D)
{
    TBitmap bmp;
    // The flat border's highlighted frame: a sunken outer edge shrinks by 1.
    prepare(bmp, 6, 6, clRed);
    QRect r = Rect(0, 0, 6, 6);
    bmp.Canvas().DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    EXPECT_EQ(r, Rect(1, 1, 5, 5));
    EXPECT_EQ(row(bmp, 0, 0, 6, kEdge), "sssssw");
    EXPECT_EQ(row(bmp, 1, 0, 6, kEdge), "srrrrw");
    EXPECT_EQ(row(bmp, 5, 0, 6, kEdge), "wwwwww");

    // Only the top and left sides; adjust moves only those.
    prepare(bmp, 6, 6, clRed);
    r = Rect(0, 0, 6, 6);
    bmp.Canvas().DrawEdge(r, EDGE_RAISED, BF_TOPLEFT | BF_ADJUST);
    EXPECT_EQ(r, Rect(2, 2, 6, 6));
    EXPECT_EQ(row(bmp, 0, 0, 6, kEdge), "ffffff");
    EXPECT_EQ(row(bmp, 1, 0, 6, kEdge), "fwwwww");
    EXPECT_EQ(row(bmp, 5, 0, 6, kEdge), "fwrrrr");

    // BF_MIDDLE fills the inside with the face colour.
    prepare(bmp, 6, 6, clRed);
    bmp.Canvas().DrawEdge(Rect(0, 0, 6, 6), EDGE_ETCHED, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(row(bmp, 2, 0, 6, kEdge), "swffsw");

    // Panel bevel: two nested frames, top/left in one colour, bottom/right
    // (with the top-right and bottom-left corners) in the other.
    prepare(bmp, 7, 7, clRed);
    r = Rect(0, 0, 7, 7);
    bmp.Canvas().Frame3D(r, clBtnHighlight, clBtnShadow, 2);
    EXPECT_EQ(r, Rect(2, 2, 5, 5));
    EXPECT_EQ(row(bmp, 0, 0, 7, kEdge), "wwwwwws");
    EXPECT_EQ(row(bmp, 1, 0, 7, kEdge), "wwwwwss");
    EXPECT_EQ(row(bmp, 3, 0, 7, kEdge), "wwrrrss");
    EXPECT_EQ(row(bmp, 5, 0, 7, kEdge), "wssssss");
    EXPECT_EQ(row(bmp, 6, 0, 7, kEdge), "sssssss");
}

TEST(Canvas, LineToExcludesTheEndPointInEveryDirection)
{
    TBitmap bmp;
    prepare(bmp, 8, 8);
    TCanvas &c = bmp.Canvas();
    c.Pen.setColor(clBlack);
    c.MoveTo(1, 1);
    c.LineTo(5, 1);
    EXPECT_EQ(row(bmp, 1, 0, 8, kEdge), "wkkkkwww");
    EXPECT_EQ(c.PenPos(), QPoint(5, 1));
    c.MoveTo(6, 3);
    c.LineTo(2, 3);  // backwards: 6..3
    EXPECT_EQ(row(bmp, 3, 0, 8, kEdge), "wwwkkkkw");
    c.MoveTo(0, 7);
    c.LineTo(0, 4);
    EXPECT_EQ(column(bmp, 0, 0, 8, kEdge), "wwwwwkkk");

    prepare(bmp, 8, 8);
    c.MoveTo(0, 0);
    c.LineTo(4, 4);
    EXPECT_EQ(countColor(bmp, QRect(0, 0, 8, 8), clBlack), 4);
    EXPECT_EQ(bmp.pixel(3, 3), clBlack);
    EXPECT_EQ(bmp.pixel(4, 4), clWhite);

    // Dotted pen: three on, three off.
    prepare(bmp, 12, 2);
    c.Pen.setStyle(TPenStyle::psDot);
    c.MoveTo(0, 0);
    c.LineTo(12, 0);
    EXPECT_EQ(row(bmp, 0, 0, 12, kEdge), "kkkwwwkkkwww");
    c.Pen.setStyle(TPenStyle::psClear);
    c.MoveTo(0, 1);
    c.LineTo(12, 1);
    EXPECT_EQ(row(bmp, 1, 0, 12, kEdge), "wwwwwwwwwwww");
}

TEST(Canvas, WidePenLinesAlongTheBorderMakeATwoPixelFrame)
{
    // The border frame of the skinned controls: width-2 lines along the
    // second row and column from each edge cover the two outermost pixels.
    TBitmap bmp;
    prepare(bmp, 10, 8, clRed);
    TCanvas &c = bmp.Canvas();
    c.Pen.setColor(clBlack);
    c.Pen.setWidth(2);
    const QRect R = Rect(0, 0, 10, 8);
    c.MoveTo(R.left(), R.top() + 1);
    c.LineTo(Right(R), R.top() + 1);
    c.MoveTo(R.left() + 1, R.top());
    c.LineTo(R.left() + 1, Bottom(R));
    c.MoveTo(Right(R) - 1, R.top());
    c.LineTo(Right(R) - 1, Bottom(R));
    c.MoveTo(R.left(), Bottom(R) - 1);
    c.LineTo(Right(R), Bottom(R) - 1);
    EXPECT_EQ(row(bmp, 0, 0, 10, kEdge), "kkkkkkkkkk");
    EXPECT_EQ(row(bmp, 1, 0, 10, kEdge), "kkkkkkkkkk");
    EXPECT_EQ(row(bmp, 2, 0, 10, kEdge), "kkrrrrrrkk");
    EXPECT_EQ(row(bmp, 5, 0, 10, kEdge), "kkrrrrrrkk");
    EXPECT_EQ(row(bmp, 6, 0, 10, kEdge), "kkkkkkkkkk");
    EXPECT_EQ(row(bmp, 7, 0, 10, kEdge), "kkkkkkkkkk");
}

TEST(Canvas, RectangleOutlinesWithPenAndFillsWithBrush)
{
    TBitmap bmp;
    prepare(bmp, 6, 6);
    TCanvas &c = bmp.Canvas();
    c.Pen.setColor(clBlack);
    c.Brush.setColor(clRed);
    c.Rectangle(0, 0, 5, 5);
    EXPECT_EQ(row(bmp, 0, 0, 6, kEdge), "kkkkkw");
    EXPECT_EQ(row(bmp, 2, 0, 6, kEdge), "krrrkw");
    EXPECT_EQ(row(bmp, 4, 0, 6, kEdge), "kkkkkw");
    // Without a pen the fill is one pixel smaller to the right and bottom.
    prepare(bmp, 6, 6);
    c.Pen.setStyle(TPenStyle::psClear);
    c.Rectangle(0, 0, 5, 5);
    EXPECT_EQ(row(bmp, 3, 0, 6, kEdge), "rrrrww");
    EXPECT_EQ(row(bmp, 4, 0, 6, kEdge), "wwwwww");
}

TEST(Canvas, FocusRectangleInvertsEveryOtherPixelAndTogglesOff)
{
    TBitmap bmp;
    prepare(bmp, 8, 6);
    TCanvas &c = bmp.Canvas();
    c.DrawFocusRect(Rect(1, 1, 7, 5));
    EXPECT_EQ(row(bmp, 1, 0, 8, kEdge), "wkwkwkww");
    EXPECT_EQ(row(bmp, 2, 0, 8, kEdge), "wwwwwwkw");
    EXPECT_EQ(row(bmp, 3, 0, 8, kEdge), "wkwwwwww");
    EXPECT_EQ(row(bmp, 4, 0, 8, kEdge), "wwkwkwkw");
    EXPECT_EQ(row(bmp, 0, 0, 8, kEdge), "wwwwwwww");
    c.DrawFocusRect(Rect(1, 1, 7, 5));
    EXPECT_EQ(inkBounds(bmp), QRect());
}

TEST(Canvas, ClippingByRectanglesAndRegionsInDeviceCoordinates)
{
    TBitmap bmp;
    prepare(bmp, 8, 8);
    TCanvas &c = bmp.Canvas();
    c.IntersectClipRect(Rect(2, 2, 6, 6));
    c.ExcludeClipRect(Rect(3, 3, 5, 5));
    c.FillRect(Rect(0, 0, 8, 8), clRed);
    EXPECT_EQ(row(bmp, 1, 0, 8, kEdge), "wwwwwwww");
    EXPECT_EQ(row(bmp, 2, 0, 8, kEdge), "wwrrrrww");
    EXPECT_EQ(row(bmp, 3, 0, 8, kEdge), "wwrwwrww");
    EXPECT_EQ(c.ClipRect(), Rect(2, 2, 6, 6));
    c.SelectClipRgn(std::nullopt);
    c.FillRect(Rect(0, 0, 8, 1), clBlack);
    EXPECT_EQ(row(bmp, 0, 0, 8, kEdge), "kkkkkkkk");

    // The ring between a rectangle and the rectangle shrunk by 2 (region
    // difference), as used for see-through borders.
    prepare(bmp, 8, 8);
    QRegion ring;
    EXPECT_EQ(CombineRgn(ring, CreateRectRgn(0, 0, 8, 8), CreateRectRgn(2, 2, 6, 6), RGN_DIFF), COMPLEXREGION);
    c.SelectClipRgn(ring);
    c.FillRect(Rect(0, 0, 8, 8), clRed);
    EXPECT_EQ(row(bmp, 1, 0, 8, kEdge), "rrrrrrrr");
    EXPECT_EQ(row(bmp, 4, 0, 8, kEdge), "rrwwwwrr");
    c.SelectClipRgn(std::nullopt);

    // A clip region selected before the origin moves stays where it was.
    prepare(bmp, 8, 8);
    c.SelectClipRgn(CreateRectRgn(0, 0, 4, 8));
    c.SetWindowOrg(-2, 0);
    c.FillRect(Rect(0, 0, 8, 1), clRed);  // device 2..9, clipped at 4
    EXPECT_EQ(row(bmp, 0, 0, 8, kEdge), "wwrrwwww");
    // IntersectClipRect takes logical coordinates.
    c.SelectClipRgn(std::nullopt);
    c.IntersectClipRect(Rect(0, 1, 1, 2));
    c.FillRect(Rect(-5, 0, 8, 8), clBlack);
    EXPECT_EQ(row(bmp, 1, 0, 8, kEdge), "wwkwwwww");
    c.SelectClipRgn(std::nullopt);
    c.SetWindowOrg(0, 0);

    // Elliptic clip: corners stay.
    prepare(bmp, 10, 10);
    c.SelectClipRgn(CreateEllipticRgn(0, 0, 10, 10));
    c.FillRect(Rect(0, 0, 10, 10), clRed);
    EXPECT_EQ(bmp.pixel(0, 0), clWhite);
    EXPECT_EQ(bmp.pixel(5, 5), clRed);
    EXPECT_EQ(bmp.pixel(0, 5), clRed);
}

TEST(Canvas, SaveAndRestoreBringBackOriginClipColoursAndObjects)
{
    TBitmap bmp;
    prepare(bmp, 8, 8);
    TCanvas &c = bmp.Canvas();
    c.Brush.setColor(clRed);
    c.Font.setColor(clBlue);
    const int level = c.SaveDC();
    EXPECT_EQ(level, 1);
    c.SetWindowOrg(3, 3);
    c.IntersectClipRect(Rect(3, 3, 4, 4));
    c.Brush.setColor(clGreen);
    c.SetBkMode(TRANSPARENT);
    c.SetTextColor(clLime);
    EXPECT_EQ(c.SaveDC(), 2);
    c.SetWindowOrg(5, 5);
    EXPECT_TRUE(c.RestoreDC(1));
    EXPECT_EQ(c.GetWindowOrg(), QPoint(0, 0));
    EXPECT_EQ(c.Brush.Color(), clRed);
    EXPECT_EQ(c.GetTextColor(), clBlue);
    EXPECT_EQ(c.GetBkMode(), OPAQUE);
    EXPECT_FALSE(c.GetClipRgn().has_value());
    EXPECT_FALSE(c.RestoreDC(-1));  // nothing saved any more
    EXPECT_FALSE(c.RestoreDC(3));
    c.FillRect(Rect(0, 0, 8, 8));
    EXPECT_EQ(countColor(bmp, QRect(0, 0, 8, 8), clRed), 64);
}

TEST(Canvas, WindowOriginMapsLogicalToDevice)
{
    TBitmap bmp;
    prepare(bmp, 6, 6);
    TCanvas &c = bmp.Canvas();
    EXPECT_EQ(c.SetWindowOrg(10, 5), QPoint(0, 0));
    c.FillRect(Rect(10, 5, 12, 6), clRed);
    c.OffsetWindowOrg(-10, -5);
    EXPECT_EQ(c.GetWindowOrg(), QPoint(0, 0));
    c.FillRect(Rect(5, 5, 6, 6), clBlack);
    EXPECT_EQ(row(bmp, 0, 0, 6, kEdge), "rrwwww");
    EXPECT_EQ(bmp.pixel(5, 5), clBlack);
    EXPECT_EQ(c.Pixel(5, 5), clBlack);
}

TEST(Canvas, CheckBoxFrameControl)
{
    TBitmap bmp;
    prepare(bmp, 13, 13, clOlive);
    TCanvas &c = bmp.Canvas();
    ASSERT_TRUE(c.DrawFrameControl(Rect(0, 0, 13, 13), DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
    EXPECT_EQ(bmp.pixel(0, 0), rgb(clBtnShadow));
    EXPECT_EQ(bmp.pixel(1, 1), rgb(cl3DDkShadow));
    EXPECT_EQ(bmp.pixel(2, 2), clWhite);
    EXPECT_EQ(countColor(bmp, QRect(2, 2, 9, 9), clBlack), 21);  // the check mark
    prepare(bmp, 13, 13, clOlive);
    c.DrawFrameControl(Rect(0, 0, 13, 13), DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT);
    EXPECT_EQ(bmp.pixel(0, 0), rgb(clBtnShadow));
    EXPECT_EQ(bmp.pixel(1, 1), clWhite);
    EXPECT_EQ(countColor(bmp, QRect(1, 1, 11, 11), clWhite), 121);
    EXPECT_FALSE(c.DrawFrameControl(Rect(0, 0, 13, 13), 99, 0));
}

namespace {
class PaintedWidget : public QWidget
{
public:
    bool borrowed = false;
protected:
    void paintEvent(QPaintEvent *) override
    {
        if (borrowed) {
            QPainter p(this);
            p.setPen(Qt::green);
            {
                TCanvas c(&p);
                c.SetWindowOrg(-1, -1);
                c.DrawEdge(Rect(0, 0, 6, 6), EDGE_RAISED, BF_RECT);
            }
            // The painter comes back as it was given.
            EXPECT_EQ(p.pen().color(), QColor(Qt::green));
            EXPECT_EQ(p.worldTransform(), QTransform());
            return;
        }
        TCanvas c(this);
        c.FillRect(rect(), clBtnFace);
        c.DrawEdge(rect(), EDGE_RAISED, BF_RECT);
    }
};
} // namespace

TEST(Canvas, PaintsOnWidgetsAndBorrowedPainters)
{
    PaintedWidget w;
    w.resize(20, 10);
    QImage img = w.grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 0), ColorToQColor(cl3DLight));
    EXPECT_EQ(img.pixelColor(19, 0), ColorToQColor(cl3DDkShadow));
    EXPECT_EQ(img.pixelColor(1, 1), ColorToQColor(clBtnHighlight));
    EXPECT_EQ(img.pixelColor(10, 5), ColorToQColor(clBtnFace));

    w.borrowed = true;
    img = w.grab().toImage();
    EXPECT_EQ(img.pixelColor(1, 1), ColorToQColor(cl3DLight));
    EXPECT_EQ(img.pixelColor(6, 1), ColorToQColor(cl3DDkShadow));
}

TEST(Canvas, DrawingWithoutADeviceDoesNothing)
{
    TCanvas c;
    EXPECT_FALSE(c.HandleAllocated());
    c.FillRect(Rect(0, 0, 5, 5), clRed);
    c.LineTo(5, 5);
    EXPECT_EQ(c.DrawText("abc", Rect(0, 0, 50, 20), 0), c.TextHeight("abc"));
    TBitmap empty;
    EXPECT_FALSE(empty.Canvas().HandleAllocated());
    empty.Canvas().FillRect(Rect(0, 0, 5, 5), clRed);
    EXPECT_FALSE(c.BitBlt(0, 0, 5, 5, empty, 0, 0, SRCCOPY));
}

TEST(Canvas, PaintsOnPixmapsAndImagesAndIsLockable)
{
    QPixmap pixmap(4, 4);
    pixmap.fill(Qt::white);
    {
        TCanvas c(&pixmap);
        c.Pen.setColor(clRed);
        c.MoveTo(0, 1);
        c.LineTo(4, 1);
        c.Lock();
        EXPECT_TRUE(c.TryLock());  // re-entrant for the same thread
        c.Unlock();
        c.Unlock();
    }
    const QImage img = pixmap.toImage();
    EXPECT_EQ(img.pixelColor(3, 1), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(3, 2), QColor(Qt::white));
}

TEST(Canvas, EllipsesAndArcsStayInsideTheirRectangle)
{
    TBitmap bmp;
    prepare(bmp, 14, 14);
    TCanvas &c = bmp.Canvas();
    c.Pen.setColor(clBlack);
    c.Brush.setStyle(TBrushStyle::bsClear);
    c.Ellipse(2, 2, 12, 12);
    EXPECT_EQ(inkBounds(bmp), Rect(2, 2, 12, 12));
    EXPECT_EQ(bmp.pixel(7, 7), clWhite);  // hollow
    c.Brush.setColor(clRed);
    c.Ellipse(2, 2, 12, 12);
    EXPECT_EQ(bmp.pixel(7, 7), clRed);

    // Counter-clockwise from the bottom-left to the top-right: the lower
    // right half of the ring.
    prepare(bmp, 14, 14);
    c.Arc(Rect(2, 2, 12, 12), QPoint(2, 12), QPoint(12, 2));
    const QRect ink = inkBounds(bmp);
    EXPECT_GE(ink.left(), 2);
    EXPECT_GE(ink.top(), 2);
    EXPECT_EQ(ink.right(), 11);
    EXPECT_EQ(ink.bottom(), 11);
    EXPECT_EQ(countColor(bmp, Rect(2, 2, 5, 5), clBlack), 0);
}
