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

#include <sstream>
#include <type_traits>

using namespace platform;

TEST(Colors, SystemColoursComeFromTheFixedClassicScheme)
{
    EXPECT_EQ(ColorToRGB(clBtnFace).value(), 0x00C8D0D4u);
    EXPECT_EQ(ColorToRGB(clBtnShadow).value(), 0x00808080u);
    EXPECT_EQ(ColorToRGB(clBtnHighlight).value(), 0x00FFFFFFu);
    EXPECT_EQ(ColorToRGB(cl3DDkShadow).value(), 0x00404040u);
    EXPECT_EQ(ColorToRGB(clHighlight).value(), 0x006A240Au);
    EXPECT_EQ(ColorToRGB(clInfoBk).value(), 0x00E1FFFFu);
    EXPECT_EQ(ColorToRGB(clWindowText).value(), 0u);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), clWhite);
    EXPECT_EQ(GetSysColor(-1), clBlack);
    EXPECT_EQ(GetSysColor(200), clBlack);
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
    EXPECT_EQ(StringToColor("-1"), TColor(0xFFFFFFFFu));
    EXPECT_THROW(StringToColor("Red"), EConvertError);
    EXPECT_THROW(StringToColor(""), EConvertError);
    EXPECT_THROW(StringToColor("$1FFFFFFFF"), EConvertError);
    EXPECT_EQ(ColorToString(clInfoBk), "clInfoBk");
    EXPECT_EQ(ColorToString(TColor(0x00123456)), "$00123456");
    EXPECT_EQ(ColorToString(clDefault), "clDefault");
    EXPECT_FALSE(IdentToColor("clNothing").has_value());
}

namespace {

// A control with a colour property, as the skinned controls publish it.
class ColourHolder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)

public:
    TColor Color() const { return m_color; }
    void setColor(TColor value) { m_color = value; }

private:
    TColor m_color = clBtnFace;
};

} // namespace

// A colour value and a QColor, or a colour value and an integer, never turn
// into each other without being asked to.
static_assert(!std::is_convertible_v<std::uint32_t, TColor>);
static_assert(!std::is_convertible_v<TColor, std::uint32_t>);
static_assert(!std::is_convertible_v<QColor, TColor>);
static_assert(!std::is_convertible_v<TColor, QColor>);

TEST(Colors, ColourValuesAreATypeOfTheirOwnThatPropertiesCarry)
{
    // Explicit conversions both ways; a system colour keeps its index until
    // it is drawn.
    EXPECT_EQ(clBtnFace.value(), 0x8000000Fu);
    EXPECT_TRUE(clBtnFace.isSystem());
    EXPECT_EQ(clBtnFace.systemIndex(), COLOR_BTNFACE);
    EXPECT_FALSE(clNone.isSystem());
    EXPECT_EQ(clBtnFace.toQColor(), QColor(0xD4, 0xD0, 0xC8));
    EXPECT_EQ(TColor::fromQColor(QColor(0x12, 0x34, 0x56)), TColor(0x00563412));
    EXPECT_EQ(TColor::fromQColor(QColor()), clDefault);

    // As a property: read as the value itself, written from a name, a number,
    // a QColor or another colour value; what names no colour changes nothing.
    ColourHolder holder;
    EXPECT_EQ(holder.property("Color").value<TColor>(), clBtnFace);
    EXPECT_EQ(holder.property("Color").toString(), "clBtnFace");
    EXPECT_EQ(holder.property("Color").value<QColor>(), QColor(0xD4, 0xD0, 0xC8));
    EXPECT_TRUE(holder.setProperty("Color", QStringLiteral("clInfoBk")));
    EXPECT_EQ(holder.Color(), clInfoBk);
    EXPECT_TRUE(holder.setProperty("Color", QStringLiteral("$000000FF")));
    EXPECT_EQ(holder.Color(), clRed);
    EXPECT_TRUE(holder.setProperty("Color", QColor(0, 0, 255)));
    EXPECT_EQ(holder.Color(), clBlue);
    EXPECT_TRUE(holder.setProperty("Color", QVariant::fromValue(clNone)));
    EXPECT_EQ(holder.Color(), clNone);
    EXPECT_FALSE(holder.setProperty("Color", QStringLiteral("Red")));
    EXPECT_EQ(holder.Color(), clNone);

    std::ostringstream out;
    out << clWindow << ' ' << RGB(1, 2, 3);
    EXPECT_EQ(out.str(), "clWindow $00030201");
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

TEST(Fonts, MissingFacesAreDrawnInTheirInstalledSubstituteByName)
{
    // A face the machine lacks is named by the substitute it is drawn in, so
    // the font database matches it directly; installed families, unknown
    // faces without substitutes and the empty name stay as they are.
    EXPECT_EQ(installedFamily("MS Sans Serif"), "Liberation Sans");
    EXPECT_EQ(installedFamily("Courier New"), "Liberation Mono");
    EXPECT_EQ(installedFamily("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(installedFamily("Verdana"), "DejaVu Sans");
    EXPECT_EQ(installedFamily("DejaVu Sans Mono"), "DejaVu Sans Mono");
    EXPECT_EQ(installedFamily("liberation sans"), "liberation sans");
    EXPECT_EQ(installedFamily("No Such Face At All"), "No Such Face At All");
    EXPECT_EQ(installedFamily(QString()), QString());

    const QFont f = makeFont("MS Sans Serif", -11, fsBold);
    EXPECT_EQ(f.families(), QStringList{"Liberation Sans"});
    EXPECT_EQ(QFontInfo(f).family(), "Liberation Sans");
    // Unknown faces still come out in some installed font.
    EXPECT_FALSE(QFontInfo(makeFont("No Such Face At All", -11)).family().isEmpty());
}

TEST(Fonts, CellHeightsConvertByEachFamilysOwnCellWhateverTheStyle)
{
    // The probe's cell is kept per family: a styled request of a family,
    // asked first, does not lend its cell to the regular one or to another
    // family; each comes out at the asked cell height.
    for (const char *face : {"Courier New", "Times New Roman", "DejaVu Sans"}) {
        for (int height : {13, 27}) {
            const QFont styled = makeFont(face, height, fsBold | fsItalic);
            const QFont regular = makeFont(face, height);
            EXPECT_EQ(styled.pixelSize(), regular.pixelSize()) << face << height;
            const QFontMetrics cell(regular);
            EXPECT_NEAR(cell.ascent() + cell.descent(), height, 1) << face << height;
        }
    }
}

TEST(Fonts, AGraphicsFontKeepsTheFaceItWasAskedForWhenGivenItsOwnDrawnFont)
{
    TFont font;
    font.setName("Courier New");
    font.Assign(font.toQFont());
    EXPECT_EQ(font.Name(), "Courier New");
    // A font of another family names that family.
    font.Assign(makeFont("Times New Roman", -12));
    EXPECT_EQ(font.Name(), "Liberation Serif");
    font.Assign(QFont("DejaVu Sans"));
    EXPECT_EQ(font.Name(), "DejaVu Sans");
}

#include "ColorsFontsTest.moc"
