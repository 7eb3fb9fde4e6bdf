#include "ControlTestSupport.h"

#include "coolctrls/TCoolGroupBox.h"
#include "coolctrls/TCoolPanel.h"
#include "platform/TSizeConstraints.h"
#include "platform/canvas/TCanvas.h"

#include <QPaintEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace coolctrls;
using namespace controltest;
using namespace platform;

TEST(CoolPanel, WallpaperFillsThePanelUnderARaisedBevel)
{
    TCoolImages store;
    const QImage wallpaper = patterned(800, 376);
    addPicture(store, wallpaper);
    TCoolPanel pMain;
    pMain.resize(609, 313);
    pMain.setCoolImages(&store);
    pMain.setIdWallpaper(0);
    const QImage img = shot(pMain);
    // The picture's top-left 609 x 313 pixels, one tile cut at the right
    // and bottom.
    EXPECT_EQ(img.pixelColor(1, 1), wallpaper.pixelColor(1, 1));
    EXPECT_EQ(img.pixelColor(300, 200), wallpaper.pixelColor(300, 200));
    EXPECT_EQ(img.pixelColor(607, 311), wallpaper.pixelColor(607, 311));
    // Highlight on the top and left edges, shadow on the bottom and right
    // (which owns the top-right and bottom-left corners).
    EXPECT_EQ(img.pixelColor(0, 0), sys(clBtnHighlight));
    EXPECT_EQ(img.pixelColor(300, 0), sys(clBtnHighlight));
    EXPECT_EQ(img.pixelColor(0, 200), sys(clBtnHighlight));
    EXPECT_EQ(img.pixelColor(300, 312), sys(clBtnShadow));
    EXPECT_EQ(img.pixelColor(608, 200), sys(clBtnShadow));
    EXPECT_EQ(img.pixelColor(608, 0), sys(clBtnShadow));
}

TEST(CoolPanel, BevelsAndBorderNestFromTheEdge)
{
    TCoolPanel panel;
    panel.resize(40, 30);
    panel.setColor(platform::clBlue);
    panel.setBevelOuter(coolctrls::bvLowered);
    panel.setBevelWidth(2);
    panel.setBorderWidth(1);
    panel.setBevelInner(coolctrls::bvRaised);
    const QImage img = shot(panel);
    EXPECT_EQ(img.pixelColor(0, 10), sys(clBtnShadow)) << "lowered: shadow on the left";
    EXPECT_EQ(img.pixelColor(1, 10), sys(clBtnShadow)) << "bevel width 2";
    EXPECT_EQ(img.pixelColor(39, 10), sys(clBtnHighlight));
    EXPECT_EQ(img.pixelColor(2, 10), QColor(Qt::blue)) << "the border in the colour";
    EXPECT_EQ(img.pixelColor(3, 10), sys(clBtnHighlight)) << "raised inner bevel";
    EXPECT_EQ(img.pixelColor(36, 10), sys(clBtnShadow));
}

TEST(CoolPanel, OwnWallpaperTurnsTransparencyOffAndDisablingKeepsTheCaption)
{
    QWidget parent;
    parent.resize(100, 60);
    TCoolPanel panel(&parent);
    panel.setGeometry(0, 0, 60, 40);
    panel.setCaption("Panel");
    panel.setTransparent(true);
    panel.setWallpaper(patterned(8, 8));
    EXPECT_FALSE(panel.Transparent());
    EXPECT_EQ(shot(panel).pixelColor(5, 5), patterned(8, 8).pixelColor(5, 5));

    const QImage enabled = shot(panel);
    panel.setEnabled(false);
    EXPECT_EQ(shot(panel), enabled) << "the caption keeps the font colour";
    EXPECT_EQ(panel.InactiveFontColor(), platform::clWhite);
}

TEST(CoolPanel, CaptionFollowsAlignmentMirroredForRightToLeft)
{
    TCoolPanel panel;
    panel.resize(200, 30);
    panel.setColor(platform::clWhite);
    panel.setBevelOuter(coolctrls::bvNone);
    panel.setCaption("Caption");
    panel.setAlignment(coolctrls::taLeftJustify);
    const QRect left = boundsOf(shot(panel), Qt::black);
    EXPECT_LT(left.left(), 5);
    panel.setLayoutDirection(Qt::RightToLeft);
    const QRect mirrored = boundsOf(shot(panel), Qt::black);
    EXPECT_GT(mirrored.right(), 194) << "left justified reads from the right";
}

TEST(CoolPanel, TransparentPanelShowsTheChosenAncestorsBackgroundOnly)
{
    TCoolImages store;
    const QImage wallpaper = patterned(300, 200);
    addPicture(store, wallpaper);
    TCoolPanel outer;
    outer.resize(300, 200);
    outer.setCoolImages(&store);
    outer.setIdWallpaper(0);
    TCoolPanel inner(&outer);
    inner.setGeometry(20, 30, 200, 150);
    inner.setColor(platform::clBlue);
    inner.setBevelOuter(coolctrls::bvNone);
    TCoolPanel panel(&inner);
    panel.setGeometry(10, 10, 50, 40);
    panel.setBevelOuter(coolctrls::bvNone);
    panel.setTransparent(true);
    outer.show();

    // Level 0: the parent's colour (not its children or bevels).
    EXPECT_EQ(shot(panel).pixelColor(20, 20), QColor(Qt::blue));
    // Level 1: the outer panel's wallpaper, shifted by the inner panel's
    // position in it.
    panel.setTransparencyLevel(1);
    const QImage img = shot(panel);
    EXPECT_EQ(img.pixelColor(20, 20), wallpaper.pixelColor(20 + 20, 30 + 20));
    EXPECT_EQ(img.pixelColor(0, 0), wallpaper.pixelColor(20, 30)) << "no bevel of the ancestor";
}

TEST(CoolPanel, SingleBorderIsAWindowFrameLineOutsideTheBevelsAndShrinksTheContents)
{
    TCoolPanel panel;
    panel.resize(60, 40);
    panel.setColor(platform::clWhite);
    auto *child = new TCoolPanel(&panel);
    child->setAlign(platform::alClient);
    child->setVisible(false);  // only its place is looked at
    panel.setBorderStyle(coolctrls::bsSingle);
    const QImage img = shot(panel);
    EXPECT_EQ(img.pixelColor(0, 20), sys(clWindowFrame));
    EXPECT_EQ(img.pixelColor(59, 20), sys(clWindowFrame));
    EXPECT_EQ(img.pixelColor(30, 0), sys(clWindowFrame));
    EXPECT_EQ(img.pixelColor(1, 20), sys(clBtnHighlight)) << "the raised bevel inside the border";
    EXPECT_EQ(img.pixelColor(58, 20), sys(clBtnShadow));
    EXPECT_EQ(img.pixelColor(30, 20), QColor(Qt::white));
    EXPECT_EQ(panel.contentsRect(), QRect(2, 2, 56, 36));
    child->setVisible(true);
    EXPECT_EQ(child->geometry(), QRect(2, 2, 56, 36)) << "aligned children fill the inside";

    panel.setBorderStyle(coolctrls::bsNone);
    EXPECT_EQ(shot(panel).pixelColor(0, 20), sys(clBtnHighlight));
    EXPECT_EQ(child->geometry(), QRect(1, 1, 58, 38)) << "still inside the bevel";
}

TEST(CoolPanel, MultiLineCaptionIsDrawnOnSeveralLinesAndOneLineStaysWhereItWas)
{
    TCoolPanel panel;
    panel.resize(120, 80);
    panel.setColor(platform::clWhite);
    panel.setBevelOuter(coolctrls::bvNone);
    panel.setCaption("Top");
    const QRect one = boundsOf(shot(panel), QColor(Qt::black));
    ASSERT_FALSE(one.isEmpty());

    panel.setCaption("Top\nBottom");
    const QImage img = shot(panel);
    const QRect two = boundsOf(img, QColor(Qt::black));
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.Font.Assign(panel.font());
    const int h = canvas.TextHeight("W");
    EXPECT_GT(two.height(), h) << "two lines, not one";
    // The block of both lines is centred: the first line moved up by half a
    // line, the second lies below it.
    EXPECT_EQ(two.top(), one.top() - h / 2);
    int inkRows = 0;
    for (int y = two.top(); y <= two.bottom(); ++y) {
        bool ink = false;
        for (int x = 0; x < img.width(); ++x)
            ink = ink || img.pixelColor(x, y) == QColor(Qt::black);
        inkRows += ink;
    }
    EXPECT_LT(inkRows, two.height()) << "a gap between the lines";
}

TEST(CoolPanel, ResizeEventsAndConstrainedResizeNarrowTheLimits)
{
    QWidget parent;
    parent.resize(300, 200);
    TCoolPanel panel(&parent);
    panel.setGeometry(0, 0, 100, 50);
    parent.show();
    std::vector<QSize> resized;
    panel.OnResize = [&](QObject *sender) {
        EXPECT_EQ(sender, &panel);
        resized.push_back(panel.size());
    };
    panel.Constraints()->setMaxWidth(150);
    int asked = 0;
    panel.OnConstrainedResize = [&](QObject *, int &minWidth, int &, int &maxWidth, int &) {
        ++asked;
        EXPECT_EQ(maxWidth, 150) << "the handler starts from the Constraints";
        maxWidth = 120;
        minWidth = 60;
    };
    panel.resize(140, 60);
    EXPECT_EQ(panel.size(), QSize(120, 60));
    panel.resize(30, 60);
    EXPECT_EQ(panel.size(), QSize(60, 60));
    EXPECT_GE(asked, 2);
    ASSERT_FALSE(resized.empty());
    EXPECT_EQ(resized.back(), QSize(60, 60)) << "OnResize sees the size taken";
    for (const QSize &s : resized)
        EXPECT_TRUE(s.width() >= 60 && s.width() <= 120) << "never a size the handler refused";
}

TEST(CoolPanel, ParentColorStartsOffAndFollowsWhenSet)
{
    TCoolPanel outer;
    outer.setColor(platform::clWhite);
    TCoolPanel inner(&outer);
    EXPECT_FALSE(inner.ParentColor()) << "the panel sets its own colour";
    EXPECT_EQ(inner.Color(), platform::clBtnFace);
    inner.setParentColor(true);
    EXPECT_EQ(inner.Color(), platform::clWhite);
    outer.setColor(platform::clRed);
    EXPECT_EQ(inner.Color(), platform::clRed);
    inner.setColor(platform::clBlue);
    EXPECT_FALSE(inner.ParentColor());
    EXPECT_EQ(inner.property("Align").value<platform::TAlign>(), platform::alNone);
    EXPECT_TRUE(inner.setProperty("TabStop", true));
    EXPECT_EQ(inner.focusPolicy(), Qt::TabFocus) << "Tab stops at it; a click still does not focus it";
}

TEST(CoolPanel, AutoSizeFitsTheChildrenInsideTheFrame)
{
    QWidget window;
    TCoolPanel panel(&window);
    panel.setGeometry(10, 10, 300, 200);
    panel.setBevelInner(bvLowered);
    panel.setBorderWidth(2);
    TCoolPanel first(&panel), second(&panel), aligned(&panel);
    first.setGeometry(30, 20, 40, 10);
    second.setGeometry(50, 25, 60, 30);
    aligned.setAlign(alTop);
    aligned.resize(5, 8);
    window.show();

    panel.setAutoSize(true);
    // Frame: outer bevel 1, border 2, inner bevel 1. Bounds 30,20 .. 110,55.
    EXPECT_EQ(panel.FrameWidth(), 4);
    EXPECT_EQ(panel.size(), QSize(80 + 8, 35 + 8));
    EXPECT_EQ(first.pos(), QPoint(4, 4));
    EXPECT_EQ(second.pos(), QPoint(24, 9));
    EXPECT_EQ(panel.pos(), QPoint(10, 10)) << "the panel keeps its place";
    EXPECT_EQ(aligned.width(), panel.width() - 8) << "an aligned child follows the panel";

    // It grows and shrinks with a child, and with its frame.
    second.resize(100, 50);
    EXPECT_EQ(panel.size(), QSize(120 + 8, 55 + 8));
    second.hide();
    EXPECT_EQ(panel.size(), QSize(40 + 8, 10 + 8));
    panel.setBorderStyle(bsSingle);
    EXPECT_EQ(panel.size(), QSize(40 + 10, 10 + 10));
    EXPECT_EQ(first.pos(), QPoint(5, 5));

    // Off, the panel keeps its size.
    panel.setAutoSize(false);
    second.show();
    EXPECT_EQ(panel.size(), QSize(50, 20));
}

TEST(CoolPanel, AlignedChildrenGoInsideTheBordersBevelsAndBorderWidth)
{
    TCoolPanel panel;
    panel.resize(100, 60);
    TCoolPanel top(&panel), client(&panel);
    top.setAlign(alTop);
    top.resize(10, 10);
    client.setAlign(alClient);
    // The default frame: the raised outer bevel alone.
    EXPECT_EQ(top.geometry(), QRect(1, 1, 98, 10));
    EXPECT_EQ(client.geometry(), QRect(1, 11, 98, 48));

    // Each frame property moves them at once: border 1, outer bevel 2,
    // border width 3, inner bevel 2.
    panel.setBorderStyle(bsSingle);
    panel.setBevelWidth(2);
    panel.setBorderWidth(3);
    panel.setBevelInner(bvLowered);
    ASSERT_EQ(panel.FrameWidth(), 8);
    EXPECT_EQ(panel.contentsRect(), QRect(8, 8, 84, 44));
    EXPECT_EQ(top.geometry(), QRect(8, 8, 84, 10));
    EXPECT_EQ(client.geometry(), QRect(8, 18, 84, 34));
    // The inner bevel still shows around them.
    client.setColor(platform::clWhite);
    const QImage img = shot(panel);
    EXPECT_EQ(img.pixelColor(7, 30), sys(clBtnShadow)) << "inner lowered bevel, left";
    EXPECT_EQ(img.pixelColor(92, 30), sys(clBtnHighlight)) << "inner lowered bevel, right";
    EXPECT_EQ(img.pixelColor(8, 30), QColor(Qt::white));

    // No frame at all: the whole panel.
    panel.setBorderStyle(bsNone);
    panel.setBevelOuter(bvNone);
    panel.setBevelInner(bvNone);
    panel.setBorderWidth(0);
    EXPECT_EQ(client.geometry(), QRect(0, 10, 100, 50));
}

namespace {

// A panel that notes the region of each paint.
class PaintProbe : public TCoolPanel
{
public:
    using TCoolPanel::TCoolPanel;
    QRegion painted;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        painted += event->region();
        TCoolPanel::paintEvent(event);
    }
};

} // namespace

TEST(CoolPanel, FullRepaintDecidesWhatAResizeRepaints)
{
    QWidget window;
    window.resize(300, 200);
    PaintProbe full(&window), partial(&window);
    full.setGeometry(0, 0, 100, 50);
    partial.setGeometry(0, 100, 100, 50);
    EXPECT_TRUE(full.FullRepaint()) << "the default";
    partial.setFullRepaint(false);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !full.painted.isEmpty() && !partial.painted.isEmpty(); }));

    full.painted = partial.painted = QRegion();
    full.resize(120, 60);
    partial.resize(120, 60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !full.painted.isEmpty() && !partial.painted.isEmpty(); }));
    EXPECT_EQ(full.painted, QRegion(0, 0, 120, 60));
    EXPECT_EQ(partial.painted, QRegion(0, 0, 120, 60) - QRegion(0, 0, 100, 50)) << "only the uncovered area";

    // The stored Locked has no effect on either.
    partial.setLocked(true);
    EXPECT_TRUE(partial.property("Locked").toBool());
}
