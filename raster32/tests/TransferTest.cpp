#include "TestImages.h"
#include "raster32/Blend32.h"
#include "raster32/Errors.h"
#include "raster32/TBitmap32.h"
#include "raster32/Transfer32.h"
#include "tools/lampgen/LampPattern.h"

#include <gtest/gtest.h>

#include <climits>

using namespace raster32;
using raster32::testing::fillGradient;
using raster32::testing::fillPattern;

namespace {

const TStretchFilter AllFilters[] = {sfNearest, sfDraft, sfLinear, sfCosine, sfSpline, sfLanczos, sfMitchell};

int channelDistance(TColor32 a, TColor32 b)
{
    int d = 0;
    for (int s = 0; s < 32; s += 8)
        d = std::max(d, std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)));
    return d;
}

} // namespace

TEST(Nearest, LampColumnsAndRowsForElevenByThirteenInTwentySixSquare)
{
    TBitmap32 lamp;
    lampgen::paintLamp(lamp, lampgen::LampGreen);
    // Give every source pixel its own colour so the mapping is visible.
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 11; ++x)
            lamp.SetPixel(x, y, 0xFF000000u | TColor32(y << 8 | x));
    TBitmap32 dst;
    dst.SetDimensions(26, 26);
    dst.FillAll(0);
    lamp.DrawOnto(dst, {0, 0, 26, 26});
    const int columns[26] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 3, 4, 4, 5, 5, 5, 6, 6, 7, 7, 8, 8, 8, 9, 9, 10, 10};
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 26; ++x) {
            ASSERT_EQ(int(dst.Pixel(x, y) & 0xFF), columns[x]) << x << "," << y;
            ASSERT_EQ(int(dst.Pixel(x, y) >> 8 & 0xFF), y / 2) << x << "," << y;
            ASSERT_EQ(columns[x], x * 11 / 26);
        }
}

TEST(Nearest, OnePixelTargetsTakeTheMiddleAndClipLimitsTheArea)
{
    TBitmap32 src;
    fillPattern(src, 5, 4);
    TBitmap32 dst;
    dst.SetDimensions(8, 8);
    dst.FillAll(0);
    src.DrawOnto(dst, {0, 0, 1, 1});
    EXPECT_EQ(dst.Pixel(0, 0), src.Pixel(2, 1));

    dst.FillAll(0);
    dst.setClipBox({2, 2, 4, 4});
    src.DrawOnto(dst, {0, 0, 8, 8});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 4 && y >= 2 && y < 4;
            EXPECT_EQ(dst.Pixel(x, y) != 0, inside) << x << "," << y;
        }
    EXPECT_EQ(dst.Pixel(3, 3), src.Pixel(3 * 5 / 8, 3 * 4 / 8));
}

TEST(Transfer, ReportsBadArgumentsAndSkipsEmptyWork)
{
    TBitmap32 src, dst, empty;
    fillPattern(src, 4, 4);
    dst.SetDimensions(4, 4);
    const TTransferMode mode;
    try {
        TransferScaled(&empty, {0, 0, 2, 2}, {0, 0, 2, 2}, src, src.BoundsBox(), sfNearest, mode);
        FAIL();
    } catch (const EBitmapError &e) {
        EXPECT_EQ(e.message(), "Destination bitmap is nil or empty");
    }
    EXPECT_THROW(TransferScaled(nullptr, {0, 0, 2, 2}, {0, 0, 2, 2}, src, src.BoundsBox(), sfNearest, mode),
                 EBitmapError);
    try {
        TransferScaled(&dst, {0, 0, 2, 2}, dst.ClipBox(), src, {1, 1, 5, 5}, sfNearest, mode);
        FAIL();
    } catch (const EBitmapError &e) {
        EXPECT_EQ(e.message(), "Source rectangle is invalid");
    }
    try {
        TransferNearest(dst, {0, 0, 2, 2}, dst.ClipBox(), src, {-1, 0, 2, 2}, mode);
        FAIL();
    } catch (const EBitmapError &e) {
        EXPECT_EQ(e.message(), "Invalid SrcRect");
    }
    // Empty source: nothing, no error even with no destination.
    EXPECT_NO_THROW(TransferScaled(nullptr, {0, 0, 2, 2}, {0, 0, 2, 2}, empty, {0, 0, 0, 0}, sfNearest, mode));
    EXPECT_NO_THROW(empty.DrawOnto(dst, {0, 0, 4, 4}));
}

TEST(Transfer, EveryFilterKeepsAFlatImageFlatAndOneToOneDrawsAreExact)
{
    TBitmap32 flat;
    flat.SetDimensions(13, 9);
    flat.FillAll(0x80336699u);
    TBitmap32 pattern;
    fillPattern(pattern, 13, 9);
    const TRect targets[] = {{0, 0, 40, 31}, {0, 0, 5, 4}, {3, 2, 30, 6}, {1, 1, 2, 2}, {0, 0, 13, 40}};
    for (TStretchFilter f : AllFilters) {
        SCOPED_TRACE(int(f));
        flat.setStretchFilter(f);
        for (const TRect &r : targets) {
            TBitmap32 dst;
            dst.SetDimensions(40, 40);
            dst.FillAll(0xFF000000u);
            flat.DrawOnto(dst, r);
            for (int y = r.Top; y < r.Bottom; ++y)
                for (int x = r.Left; x < r.Right; ++x)
                    ASSERT_EQ(dst.Pixel(x, y), 0x80336699u) << x << "," << y << " in " << r.Right << "x" << r.Bottom;
            EXPECT_EQ(dst.Pixel(39, 39), 0xFF000000u) << "nothing outside the target";
        }
        // A 1:1 draw copies the pixels unchanged, in every mode that copies.
        pattern.setStretchFilter(f);
        for (TDrawMode m : {dmOpaque, dmBlend}) {
            pattern.setDrawMode(m);
            TBitmap32 dst;
            dst.SetDimensions(15, 11);
            dst.FillAll(0xFF000000u);
            pattern.DrawOnto(dst, {2, 2, 15, 11});
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < 13; ++x)
                    ASSERT_EQ(dst.Pixel(x + 2, y + 2), pattern.Pixel(x, y));
        }
        pattern.setDrawMode(dmOpaque);
    }
}

TEST(Transfer, FiltersStayCloseToTheSourceOnSmoothImages)
{
    // Halving and doubling a smooth gradient stays near the source values,
    // which catches swapped channels, shifted taps and bad weights.
    TBitmap32 src;
    fillGradient(src, 64, 48);
    for (TStretchFilter f : AllFilters) {
        SCOPED_TRACE(int(f));
        src.setStretchFilter(f);
        TBitmap32 up;
        up.SetDimensions(128, 96);
        src.DrawOnto(up, up.BoundsBox());
        for (int y = 4; y < 92; y += 7)
            for (int x = 4; x < 124; x += 5)
                ASSERT_LE(channelDistance(up.Pixel(x, y), src.Pixel(x / 2, y / 2)), 10) << x << "," << y;
        TBitmap32 down;
        down.SetDimensions(32, 24);
        src.DrawOnto(down, down.BoundsBox());
        for (int y = 1; y < 23; y += 3)
            for (int x = 1; x < 31; x += 3)
                ASSERT_LE(channelDistance(down.Pixel(x, y), src.Pixel(2 * x, 2 * y)), 12) << x << "," << y;
    }
}

TEST(Transfer, DraftAveragesTheBoxesItShrinks)
{
    TBitmap32 src;
    src.SetDimensions(4, 2);
    const TColor32 px[8] = {0xFF000000u, 0xFF0000FEu, 0xFF101010u, 0xFF303030u,
                            0xFF000000u, 0xFF000000u, 0xFF101010u, 0xFF303030u};
    std::copy(px, px + 8, src.Pixels());
    src.setStretchFilter(sfDraft);
    TBitmap32 dst;
    dst.SetDimensions(2, 1);
    src.DrawOnto(dst, dst.BoundsBox());
    EXPECT_EQ(dst.Pixel(0, 0), 0xFF000040u);
    EXPECT_EQ(dst.Pixel(1, 0), 0xFF202020u);
}

TEST(Transfer, BilinearMatchesQtSmoothScalingWithinThreeLevels)
{
    TBitmap32 src;
    fillGradient(src, 37, 23);
    // Add texture so the interpolation weights matter.
    for (int y = 0; y < 23; y += 3)
        for (int x = 0; x < 37; x += 4)
            src.SetPixel(x, y, 0xFFFFFFFFu);
    src.setStretchFilter(sfLinear);
    for (QSize size : {QSize(100, 80), QSize(74, 46), QSize(150, 31)}) {
        SCOPED_TRACE(size.width());
        TBitmap32 dst;
        dst.SetDimensions(size.width(), size.height());
        src.DrawOnto(dst, dst.BoundsBox());
        QImage image;
        src.CopyToPlatformBitmap(image);
        const QImage qt = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32);
        int worst = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                worst = std::max(worst, channelDistance(dst.Pixel(x, y), qt.pixel(x, y)));
        EXPECT_LE(worst, 3);
    }
}

TEST(Blend, FormulasOfBlendAndMerge)
{
    // cmBlend: half-transparent white over opaque black gives mid grey.
    EXPECT_EQ(BlendReg(0x80FFFFFFu, 0xFF000000u), 0xFF808080u);
    EXPECT_EQ(BlendReg(0x00FFFFFFu, 0xFF123456u), 0xFF123456u);
    EXPECT_EQ(BlendReg(0xFF123456u, 0xFF000000u), 0xFF123456u);
    // Master alpha scales the source alpha.
    EXPECT_EQ(BlendRegEx(0xFFFFFFFFu, 0xFF000000u, 128), 0xFF808080u);
    // cmMerge onto a transparent background keeps the source colour.
    EXPECT_EQ(MergeReg(0x80FF0000u, 0x0000FF00u), 0x80FF0000u);
    // ...while cmBlend treats the background colour as showing through.
    EXPECT_EQ(BlendReg(0x80FF0000u, 0x0000FF00u), 0x80807F00u);
    // Two half layers: alpha 0.5 + 0.5 * 0.5 = 0.75, colours weighted 2:1.
    const TColor32 m = MergeReg(0x80FF0000u, 0x800000FFu);
    EXPECT_EQ(AlphaComponent(m), 0xC0);
    EXPECT_NEAR(RedComponent(m), 170, 1);
    EXPECT_NEAR(BlueComponent(m), 85, 1);
    EXPECT_EQ(MergeReg(0x00FF0000u, 0x00000000u), 0x00000000u);
}

TEST(Blend, DrawModesCombineAsSelected)
{
    TBitmap32 src;
    src.SetDimensions(2, 2);
    src.FillAll(0x80FFFFFFu);
    TBitmap32 dst;
    dst.SetDimensions(4, 4);

    src.setDrawMode(dmBlend);
    src.setMasterAlpha(0);
    dst.FillAll(0xFF102030u);
    src.DrawOnto(dst, dst.BoundsBox());
    for (int i = 0; i < 16; ++i)
        ASSERT_EQ(dst.Pixels()[i], 0xFF102030u) << "master alpha 0 changes nothing";

    src.setMasterAlpha(255);
    dst.FillAll(0xFF000000u);
    src.DrawOnto(dst, dst.BoundsBox());
    EXPECT_EQ(dst.Pixel(3, 3), 0xFF808080u);

    src.setCombineMode(cmMerge);
    dst.FillAll(0x00000000u);
    src.DrawOnto(dst, dst.BoundsBox());
    EXPECT_EQ(dst.Pixel(3, 3), 0x80FFFFFFu);

    // dmCustom calls the handler for every target pixel with the master
    // alpha; without a handler it copies.
    src.setDrawMode(dmCustom);
    src.setMasterAlpha(77);
    int calls = 0;
    src.OnPixelCombine = [&](TColor32 F, TColor32 &B, TColor32 M) {
        ++calls;
        EXPECT_EQ(M, 77u);
        B = F ^ 0x00FFFFFFu;
    };
    src.DrawOnto(dst, dst.BoundsBox());
    EXPECT_EQ(calls, 16);
    EXPECT_EQ(dst.Pixel(0, 0), 0x80000000u);
    src.OnPixelCombine = nullptr;
    src.DrawOnto(dst, dst.BoundsBox());
    EXPECT_EQ(dst.Pixel(0, 0), 0x80FFFFFFu);

    // The handler gets MasterAlpha unclamped, scaled and unscaled; a blend
    // with the same value draws at full strength.
    src.setMasterAlpha(1000);
    std::vector<TColor32> masters;
    src.OnPixelCombine = [&](TColor32, TColor32 &, TColor32 M) { masters.push_back(M); };
    src.DrawOnto(dst, {0, 0, 2, 2});
    src.DrawOnto(dst, {0, 0, 3, 3});
    EXPECT_EQ(masters, std::vector<TColor32>(4 + 9, 1000u));
    src.setDrawMode(dmBlend);
    src.setCombineMode(cmBlend);
    dst.FillAll(0xFF000000u);
    src.DrawOnto(dst, dst.BoundsBox());
    EXPECT_EQ(dst.Pixel(3, 3), 0xFF808080u);
}

TEST(Transfer, DrawingABitmapOntoItselfScaledReadsTheOriginal)
{
    TBitmap32 b;
    fillPattern(b, 8, 8);
    TBitmap32 original;
    original.CopyFrom(&b);
    b.DrawOnto(b, {0, 0, 4, 4});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(b.Pixel(x, y), original.Pixel(2 * x, 2 * y));
}

TEST(Transfer, LargeDrawingsSplitOverThreadsMatchTheSingleThreadResult)
{
    TBitmap32 src;
    fillPattern(src, 300, 200);
    src.SetPixel(0, 0, 0x40FF0000u);
    for (TStretchFilter f : AllFilters)
        for (TDrawMode m : {dmOpaque, dmBlend}) {
            SCOPED_TRACE(int(f) * 10 + int(m));
            src.setStretchFilter(f);
            src.setDrawMode(m);
            TBitmap32 one, many;
            for (TBitmap32 *dst : {&one, &many}) {
                dst->SetDimensions(701, 397);
                dst->FillAll(0xFF204060u);
            }
            SetMaxTransferThreads(1);
            src.DrawOnto(one, {-3, 5, 690, 400});
            SetMaxTransferThreads(5);
            src.DrawOnto(many, {-3, 5, 690, 400});
            SetMaxTransferThreads(1);
            ASSERT_TRUE(one.SameImage(&many));
        }
}

TEST(Transfer, HugeTargetRectanglesAreClippedWithoutOverflow)
{
    TBitmap32 flat;
    flat.SetDimensions(5, 5);
    flat.FillAll(0xFF445566u);
    TBitmap32 dst;
    dst.SetDimensions(8, 8);
    for (TStretchFilter f : AllFilters) {
        SCOPED_TRACE(int(f));
        flat.setStretchFilter(f);
        dst.FillAll(0);
        flat.DrawOnto(dst, {-1000000000, -1000000000, 1000000000, 1000000000});
        EXPECT_EQ(dst.Pixel(7, 7), 0xFF445566u);
    }
    try {
        flat.DrawOnto(dst, {INT_MIN, 0, INT_MAX, 8});
        FAIL();
    } catch (const EBitmapError &e) {
        EXPECT_EQ(e.message(), "Destination rectangle is invalid");
    }
}
