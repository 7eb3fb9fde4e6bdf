#include "coolctrls/CoolUtils.h"
#include "coolctrls/TGlyph.h"
#include "coolctrls/TGlyphCache.h"
#include "coolctrls/TGlyphList.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>

using namespace coolctrls;
using namespace platform;

namespace {

// A glyph on olive with a black square at (5, 5)..(8, 8) in every sub-image.
std::unique_ptr<TBitmap> squareGlyph(int width, int height = 16)
{
    auto bmp = std::make_unique<TBitmap>(width, height);
    bmp->Canvas().FillRect(QRect(0, 0, width, height), clOlive);
    for (int x = 0; x + 16 <= width; x += 16)
        bmp->Canvas().FillRect(QRect(x + 5, 5, 4, 4), clBlack);
    return bmp;
}

QImage drawn(TGlyph &glyph, bool enabled, TColor blend = clNone)
{
    QImage img(24, 24, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 255));
    TCanvas canvas(&img);
    glyph.DrawGlyph(canvas, QPoint(0, 0), blend, true, enabled);
    canvas.releaseHandle();
    return img;
}

// The generated disabled look of the square at (5, 5)..(8, 8): shadow in
// place over a highlight copy one pixel right and down, the rest transparent.
void expectEmbossedSquare(const QImage &disabled)
{
    const QRgb shadow = QColor(ColorToQColor(clBtnShadow)).rgb();
    const QRgb highlight = QColor(ColorToQColor(clBtnHighlight)).rgb();
    const QRgb background = qRgb(255, 0, 255);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool inShadow = x >= 5 && x <= 8 && y >= 5 && y <= 8;
            const bool inHighlight = x >= 6 && x <= 9 && y >= 6 && y <= 9;
            const QRgb expected = inShadow ? shadow : inHighlight ? highlight : background;
            EXPECT_EQ(disabled.pixel(x, y), expected) << x << "," << y;
        }
    }
}

} // namespace

TEST(GlyphHolder, NumGlyphsFollowsTheBitmapShape)
{
    TGlyph glyph;
    int changes = 0;
    glyph.OnChange = [&](TGlyph *) { ++changes; };
    glyph.setGlyph(squareGlyph(32).get());
    EXPECT_EQ(glyph.NumGlyphs(), 2);
    glyph.setGlyph(squareGlyph(48).get());
    EXPECT_EQ(glyph.NumGlyphs(), 3);
    glyph.setGlyph(squareGlyph(80).get()); // 5 is not accepted
    EXPECT_EQ(glyph.NumGlyphs(), 1);
    glyph.setGlyph(squareGlyph(48).get());
    glyph.setGlyph(squareGlyph(20).get()); // not a multiple: keeps 3
    EXPECT_EQ(glyph.NumGlyphs(), 3);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(glyph.TransparentColor, clOlive); // the bottom-left pixel

    glyph.setNumGlyphs(0); // ignored
    EXPECT_EQ(glyph.NumGlyphs(), 3);
    glyph.setGlyph(nullptr);
    EXPECT_EQ(glyph.glyphSize(), QSize(0, 0));
    EXPECT_EQ(glyph.CachedImageIndex(true), -1);
}

TEST(GlyphHolder, CalcLayoutWithAutomaticMarginAndSpacing)
{
    TGlyph glyph;
    glyph.setGlyph(squareGlyph(16).get());
    QPoint glyphPos;
    QRect text;
    const QRect caption(0, 0, 38, 13);
    // 90 wide, 16-pixel glyph, 38-pixel caption: margin = spacing = 12.
    glyph.CalcLayoutFor(QRect(0, 0, 90, 20), 0, blGlyphLeft, -1, -1, caption, QPoint(0, 0), glyphPos, text);
    EXPECT_EQ(glyphPos, QPoint(12, 2));
    EXPECT_EQ(text, QRect(40, 4, 38, 13));

    // Glyph right; the right-to-left flag swaps it back to the left.
    glyph.CalcLayoutFor(QRect(0, 0, 90, 20), 0, blGlyphRight, -1, -1, caption, QPoint(0, 0), glyphPos, text);
    EXPECT_EQ(glyphPos.x(), 90 - 12 - 16);
    EXPECT_EQ(text.x(), 62 - 12 - 38);
    glyph.CalcLayoutFor(QRect(0, 0, 90, 20), DT_RIGHT, blGlyphRight, -1, -1, caption, QPoint(0, 0), glyphPos, text);
    EXPECT_EQ(glyphPos.x(), 12);

    // Given margin, automatic spacing; client offset and press offset.
    glyph.CalcLayoutFor(QRect(10, 20, 90, 20), 0, blGlyphLeft, 4, -1, caption, QPoint(1, 1), glyphPos, text);
    EXPECT_EQ(glyphPos, QPoint(10 + 4 + 1, 20 + 2 + 1));
    EXPECT_EQ(text.x(), 10 + 4 + 16 + (90 - 20 - 38) / 2 + 1);

    // Given spacing, automatic margin, vertical layout.
    glyph.CalcLayoutFor(QRect(0, 0, 40, 60), 0, blGlyphTop, -1, 4, caption, QPoint(0, 0), glyphPos, text);
    EXPECT_EQ(glyphPos, QPoint(12, (60 - (16 + 4 + 13) + 1) / 2));
    EXPECT_EQ(text.y(), glyphPos.y() + 16 + 4);

    // No caption: spacing 0, so the glyph is centred.
    glyph.CalcLayoutFor(QRect(0, 0, 90, 20), 0, blGlyphLeft, -1, -1, QRect(0, 0, 0, 0), QPoint(0, 0), glyphPos, text);
    EXPECT_EQ(glyphPos.x(), (90 - 16 + 1) / 2);

    // The canvas variant measures the caption with DrawText.
    QImage img(100, 30, QImage::Format_RGB32);
    TCanvas canvas(&img);
    QRect measured(0, 0, 0, 0);
    canvas.DrawText(QStringLiteral("Start"), measured, DT_CALCRECT);
    glyph.CalcLayout(canvas, QRect(0, 0, 90, 20), 0, blGlyphLeft, -1, -1, QStringLiteral("Start"), QPoint(0, 0),
                     glyphPos, text);
    EXPECT_EQ(text.width(), measured.width());
    EXPECT_EQ(glyphPos.x(), (90 - 16 - measured.width()) / 3);
}

TEST(GlyphHolder, HoldersOfOneSizeShareAListAndTheLastFreesTheCache)
{
    ASSERT_EQ(TGlyphCache::existing(), nullptr);
    auto a = std::make_unique<TGlyph>();
    auto b = std::make_unique<TGlyph>();
    auto c = std::make_unique<TGlyph>();
    a->setGlyph(squareGlyph(16).get());
    b->setGlyph(squareGlyph(16).get());
    c->setGlyph(squareGlyph(48, 24).get()); // 2 x 24 sub-images
    (void)drawn(*a, true);
    (void)drawn(*a, false);
    (void)drawn(*b, true);
    (void)drawn(*c, true);
    ASSERT_NE(a->glyphList(), nullptr);
    EXPECT_EQ(a->glyphList(), b->glyphList());
    EXPECT_NE(a->glyphList(), c->glyphList());
    EXPECT_EQ(a->glyphList()->Count(), 3);
    EXPECT_EQ(TGlyphCache::instance().ListCount(), 2);

    // A changed glyph gives its slots back; the next draw takes the lowest.
    TGlyphList *shared = a->glyphList();
    const int bIndex = b->CachedImageIndex(true);
    a->setNumGlyphs(1); // unchanged: nothing released
    a->Glyph().Canvas().FillRect(QRect(0, 0, 1, 1), clRed);
    EXPECT_EQ(a->glyphList(), nullptr);
    EXPECT_EQ(shared->Count(), 1);
    EXPECT_EQ(a->CachedImageIndex(true), 0 == bIndex ? 1 : 0);

    c.reset();
    EXPECT_EQ(TGlyphCache::instance().ListCount(), 1);
    a.reset();
    ASSERT_NE(TGlyphCache::existing(), nullptr);
    b.reset();
    EXPECT_EQ(TGlyphCache::existing(), nullptr);
}

TEST(GlyphHolder, GeneratedDisabledLookIsEmbossedOnePixelApart)
{
    TGlyph glyph;
    glyph.setGlyph(squareGlyph(16).get());
    const QImage normal = drawn(glyph, true);
    EXPECT_EQ(normal.pixel(6, 6), qRgb(0, 0, 0));
    EXPECT_EQ(normal.pixel(2, 2), qRgb(255, 0, 255)); // olive is transparent

    const QImage disabled = drawn(glyph, false);
    expectEmbossedSquare(disabled);

    // Blended 50 % with the background when a colour is given.
    const QImage blended = drawn(glyph, true, clWhite);
    EXPECT_NEAR(qRed(blended.pixel(6, 6)), 128, 1);
    EXPECT_EQ(qGreen(blended.pixel(6, 6)), 0);
}

TEST(GlyphHolder, DisabledSubImageIsRecolouredToTheScheme)
{
    auto bmp = std::make_unique<TBitmap>(32, 16);
    bmp->Canvas().FillRect(QRect(0, 0, 32, 16), clOlive);
    bmp->Canvas().FillRect(QRect(16 + 2, 2, 2, 2), clRed);    // stays
    bmp->Canvas().FillRect(QRect(16 + 6, 2, 2, 2), clWhite);  // highlight
    bmp->Canvas().FillRect(QRect(16 + 10, 2, 2, 2), clGray);  // shadow
    TGlyph glyph;
    glyph.setGlyph(bmp.get());
    ASSERT_EQ(glyph.NumGlyphs(), 2);
    const QImage disabled = drawn(glyph, false);
    EXPECT_EQ(disabled.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(disabled.pixel(6, 2), QColor(ColorToQColor(clBtnHighlight)).rgb());
    EXPECT_EQ(disabled.pixel(10, 2), QColor(ColorToQColor(clBtnShadow)).rgb());
    EXPECT_EQ(disabled.pixel(14, 14), qRgb(255, 0, 255)); // olive -> face -> transparent
}

TEST(GlyphHolder, ResourceGlyphsAreSixteenColourSixteenSquareOnOlive)
{
    for (const char *name : {"BITMAP_NTT", "BITMAP_TT", "BITMAP_PRN"}) {
        const QByteArray bytes = ResourceData(QLatin1String(name));
        ASSERT_GT(bytes.size(), 28) << name;
        EXPECT_EQ(quint8(bytes[28]), 4) << name; // bits per pixel
        TBitmap bmp;
        LoadResourceBitmap(QLatin1String(name), bmp);
        EXPECT_EQ(bmp.Width(), 16);
        EXPECT_EQ(bmp.Height(), 16);
        EXPECT_EQ(bmp.pixel(0, 15), clOlive) << name;
    }
}

TEST(GlyphHolder, ButtonFaceBevelsAndClipping)
{
    TGlyph glyph;
    glyph.setGlyph(squareGlyph(16).get());
    QImage img(60, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas canvas(&img);
    canvas.Font.setHeight(-11);
    canvas.Font.setColor(clBlack);

    // Bevel around the glyph only: margin 4, spacing 4 widen it by 2 and 2.
    glyph.DrawBevels(canvas, QRect(0, 0, 60, 30), 0, bsBevelOnlyImage, bvRaised, bvNone, blGlyphLeft, 4, 4,
                     QStringLiteral("Ok"), QPoint(0, 0));
    canvas.releaseHandle();
    // Glyph at (4, 7): bevel from (2, 5) to (21, 24), light top-left, dark
    // shadow bottom-right (a raised outer edge).
    EXPECT_EQ(img.pixel(2, 5), ColorToQColor(cl3DLight).rgb());
    EXPECT_EQ(img.pixel(10, 5), ColorToQColor(cl3DLight).rgb());
    EXPECT_EQ(img.pixel(2, 4), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(21, 15), ColorToQColor(cl3DDkShadow).rgb());
    EXPECT_EQ(img.pixel(30, 5), qRgb(255, 255, 255));

    // DrawButton draws glyph and caption inside the client rectangle only.
    img.fill(Qt::white);
    QRect text;
    glyph.DrawButton(canvas, QRect(10, 5, 30, 20), text, 0, 1, clBtnHighlight, spLeftTop, true, clNone, true, true,
                     4, 2, blGlyphLeft, QStringLiteral("Caption that is far too long"), QPoint(0, 0));
    canvas.releaseHandle();
    EXPECT_EQ(img.pixel(10 + 2 + 6, 5 + 2 + 6), qRgb(0, 0, 0)); // the glyph's square
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (x < 10 || x >= 40 || y < 5 || y >= 25) {
                ASSERT_EQ(img.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(text.left(), 10 + 2 + 16 + 4);
}

TEST(GlyphHolder, AMonochromeGlyphsBlackPixelsMakeTheDisabledLook)
{
    // A one-bit glyph: a black square at (5, 5)..(8, 8) on white.
    TBitmap mono(16, 16);
    mono.Canvas().FillRect(QRect(0, 0, 16, 16), clWhite);
    mono.Canvas().FillRect(QRect(5, 5, 4, 4), clBlack);
    mono.setMonochrome(true);
    ASSERT_TRUE(mono.Monochrome());
    TGlyph glyph;
    glyph.setGlyph(&mono);
    const QImage disabled = drawn(glyph, false);
    expectEmbossedSquare(disabled);
}
