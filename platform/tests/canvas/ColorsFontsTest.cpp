#include "platform/Exception.h"
#include "platform/canvas/ColorScheme.h"
#include "platform/canvas/Colors.h"
#include "platform/canvas/Fonts.h"
#include "platform/canvas/SystemMetrics.h"
#include "platform/canvas/TBrush.h"
#include "platform/canvas/TFont.h"
#include "platform/canvas/TPen.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace platform;

TEST(Colors, SystemColoursComeFromTheFixedClassicScheme)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x00C8D0D4u);
    EXPECT_EQ(ColorToRGB(clBtnShadow), 0x00808080u);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0x00FFFFFFu);
    EXPECT_EQ(ColorToRGB(cl3DDkShadow), 0x00404040u);
    EXPECT_EQ(ColorToRGB(clHighlight), 0x006A240Au);
    EXPECT_EQ(ColorToRGB(clInfoBk), 0x00E1FFFFu);
    EXPECT_EQ(ColorToRGB(clWindowText), 0u);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), clWhite);
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(200), 0u);
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(clNone), clNone);

    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(clBtnFace), QColor(0xD4, 0xD0, 0xC8));
    EXPECT_EQ(ColorToQColor(clNone).alpha(), 0);
    EXPECT_EQ(QColorToColor(QColor(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(GetGValue(RGB(1, 2, 3)), 2);

    const QPalette p = classicPalette();
    EXPECT_EQ(p.color(QPalette::Window), ColorToQColor(clBtnFace));
    EXPECT_EQ(p.color(QPalette::Highlight), ColorToQColor(clHighlight));
    EXPECT_EQ(p.color(QPalette::Disabled, QPalette::Text), ColorToQColor(clGrayText));
}

TEST(Colors, NamesAndNumbers)
{
    ASSERT_EQ(colorNames().size(), 42u);
    EXPECT_EQ(colorNames().front().second, "clBlack");
    EXPECT_EQ(colorNames().back().second, "clNone");
    EXPECT_EQ(basicColorNames().size(), 16);
    EXPECT_EQ(basicColorNames().last(), "clWhite");
    EXPECT_EQ(StringToColor("clRed"), clRed);
    EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
    EXPECT_EQ(StringToColor("$00FF0000"), clBlue);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_EQ(StringToColor("-1"), 0xFFFFFFFFu);
    EXPECT_THROW(StringToColor("Red"), EConvertError);
    EXPECT_THROW(StringToColor(""), EConvertError);
    EXPECT_THROW(StringToColor("$1FFFFFFFF"), EConvertError);
    EXPECT_EQ(ColorToString(clInfoBk), "clInfoBk");
    EXPECT_EQ(ColorToString(0x00123456), "$00123456");
    EXPECT_EQ(ColorToString(clDefault), "clDefault");
    EXPECT_FALSE(IdentToColor("clNothing").has_value());
}

TEST(SystemMetrics, ClassicSizes)
{
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
    EXPECT_EQ(GetSystemMetrics(SM_CYSMCAPTION), 15);
    EXPECT_EQ(GetSystemMetrics(SM_CXDLGFRAME), 3);
    EXPECT_EQ(GetSystemMetrics(SM_CYDLGFRAME), 3);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(-5), 0);
    EXPECT_EQ(GetSystemMetrics(1000), 0);
}

TEST(Fonts, ClassicFacesAreReplacedByMetricCompatibleFreeFonts)
{
    struct Case { const char *face; const char *family; };
    for (const Case &c : {Case{"MS Sans Serif", "Liberation Sans"}, Case{"Arial", "Liberation Sans"},
                          Case{"Tahoma", "Liberation Sans"}, Case{"Courier New", "Liberation Mono"},
                          Case{"Times New Roman", "Liberation Serif"}}) {
        const QFont f = makeFont(c.face, -11);
        EXPECT_EQ(QFontInfo(f).family(), c.family) << c.face;
        EXPECT_EQ(f.pixelSize(), 11) << c.face;
    }
    // Courier New at 11 pixels: every character has the same advance.
    const QFontMetrics mono(makeFont("Courier New", -11));
    EXPECT_EQ(mono.horizontalAdvance("iiii"), mono.horizontalAdvance("WWWW"));

    const QFont styled = makeFont("Arial", -13, fsBold | fsItalic | fsUnderline);
    EXPECT_TRUE(styled.bold());
    EXPECT_TRUE(styled.italic());
    EXPECT_TRUE(styled.underline());
    EXPECT_FALSE(styled.strikeOut());
    EXPECT_EQ(styled.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);

    // A positive height is the cell height.
    const QFontMetrics cell(makeFont("Arial", 13));
    EXPECT_NEAR(cell.ascent() + cell.descent(), 13, 1);

    EXPECT_TRUE(isScalableFont("Arial"));
    EXPECT_TRUE(screenFonts().contains("Liberation Sans"));
    EXPECT_TRUE(captionFont(false).bold());
    EXPECT_FALSE(captionFont(true).bold());
}

TEST(Fonts, ClassicLookIsAppliedToTheApplication)
{
    applyClassicLook();
    EXPECT_EQ(QApplication::palette().color(QPalette::Button), ColorToQColor(clBtnFace));
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), "Liberation Sans");
}

TEST(GraphicsObjects, ChangesAreNotifiedOnceAndSizesConvert)
{
    TFont font;
    int fontChanges = 0;
    font.OnChange = [&fontChanges](TFont *) { ++fontChanges; };
    font.setColor(clRed);
    font.setColor(clRed);
    font.setSize(8);
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    font.setStyle(fsBold);
    EXPECT_EQ(fontChanges, 2);  // colour and style; size 8 is the -11 it was
    EXPECT_TRUE(font.toQFont().bold());
    TFont other;
    other.Assign(font);
    EXPECT_TRUE(other == font);
    other.Assign(QFont("Liberation Mono", 12));
    EXPECT_EQ(other.Height(), -16);

    TPen pen;
    int penChanges = 0;
    pen.OnChange = [&penChanges](TPen *) { ++penChanges; };
    pen.setWidth(0);  // taken as 1: no change
    pen.setWidth(2);
    pen.setStyle(TPenStyle::psDot);
    EXPECT_EQ(penChanges, 2);
    TPen copy;
    copy.Assign(pen);
    EXPECT_TRUE(copy == pen);

    TBrush brush;
    brush.setStyle(TBrushStyle::bsClear);
    brush.setColor(clWhite);  // same colour, but a colour makes it solid
    EXPECT_EQ(brush.Style(), TBrushStyle::bsSolid);
}
