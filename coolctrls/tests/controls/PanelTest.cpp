#include "ControlTestSupport.h"

#include "coolctrls/TCoolGroupBox.h"
#include "coolctrls/TCoolPanel.h"

#include <gtest/gtest.h>

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
