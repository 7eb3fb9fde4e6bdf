#include "CanvasTestUtil.h"

#include "platform/Exception.h"
#include "platform/canvas/TImageList.h"
#include "platform/testing/TestPictures.h"

#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>

using namespace platform;
using namespace canvastest;

namespace {

const TColor kA{0x00F0CC55};  // arbitrary bit patterns per channel
const TColor kB{0x003C5AA9};

// A 2 x 1 source: kA, clBlack.
void source(TBitmap &src)
{
    src.SetSize(2, 1);
    src.Canvas().SetPixel(0, 0, kA);
    src.Canvas().SetPixel(1, 0, clBlack);
}

// The raster operations work on the bits of the colour values.
uint32_t blitOne(TRop rop, uint32_t s, uint32_t d, TColor brush = clBlack)
{
    TBitmap src, dst;
    prepare(src, 1, 1, TColor(s));
    prepare(dst, 1, 1, TColor(d));
    dst.Canvas().Brush.setColor(brush);
    EXPECT_TRUE(dst.Canvas().BitBlt(0, 0, 1, 1, src, 0, 0, rop));
    return dst.pixel(0, 0).value();
}

} // namespace

TEST(Blit, TernaryRasterOperationsWorkBitByBit)
{
    const uint32_t s = kA.value(), d = kB.value(), p = 0x0000FF0F;
    EXPECT_EQ(blitOne(SRCCOPY, s, d), s);
    EXPECT_EQ(blitOne(NOTSRCCOPY, s, d), ~s & 0xFFFFFF);
    EXPECT_EQ(blitOne(SRCAND, s, d), s & d);
    EXPECT_EQ(blitOne(SRCPAINT, s, d), s | d);
    EXPECT_EQ(blitOne(SRCINVERT, s, d), s ^ d);
    EXPECT_EQ(blitOne(SRCERASE, s, d), s & ~d & 0xFFFFFF);
    EXPECT_EQ(blitOne(NOTSRCERASE, s, d), ~(s | d) & 0xFFFFFF);
    EXPECT_EQ(blitOne(MERGEPAINT, s, d), (~s | d) & 0xFFFFFF);
    EXPECT_EQ(blitOne(MERGECOPY, s, d, TColor(p)), s & p);
    EXPECT_EQ(blitOne(PATCOPY, s, d, TColor(p)), p);
    EXPECT_EQ(blitOne(PATINVERT, s, d, TColor(p)), p ^ d);
    EXPECT_EQ(blitOne(PATPAINT, s, d, TColor(p)), (p | ~s | d) & 0xFFFFFF);
    EXPECT_EQ(blitOne(DSTINVERT, s, d), ~d & 0xFFFFFF);
    EXPECT_EQ(blitOne(BLACKNESS, s, d), clBlack.value());
    EXPECT_EQ(blitOne(WHITENESS, s, d), clWhite.value());
    EXPECT_EQ(blitOne(ROP_DSPDxax, s, d, TColor(p)), (d ^ (s & (p ^ d))) & 0xFFFFFF);
    // System colours become RGB for the brush.
    EXPECT_EQ(blitOne(PATCOPY, s, d, clBtnFace), ColorToRGB(clBtnFace).value());
}

TEST(Blit, RasterOperationsKeepWidgetSurfacesOpaque)
{
    // Widget back buffers are premultiplied ARGB: the operations must not
    // touch alpha.
    QImage surface(4, 1, QImage::Format_ARGB32_Premultiplied);
    surface.fill(QColor(0x10, 0x20, 0x30));
    {
        TCanvas c(&surface);
        TBitmap src;
        prepare(src, 4, 1, clWhite);
        c.BitBlt(0, 0, 2, 1, src, 0, 0, SRCINVERT);
        c.Brush.setColor(clRed);
        c.BitBlt(2, 0, 2, 1, src, 0, 0, ROP_DSPDxax);
    }
    EXPECT_EQ(surface.pixel(0, 0), qRgb(0xEF, 0xDF, 0xCF));
    EXPECT_EQ(surface.pixel(2, 0), qRgb(0xFF, 0, 0));
    EXPECT_EQ(qAlpha(surface.pixel(1, 0)), 255);
}

TEST(Blit, PlainAndStretchedCopiesWithOffsetsAndClipping)
{
    TBitmap src, dst;
    source(src);
    prepare(dst, 6, 3);
    TCanvas &c = dst.Canvas();
    c.BitBlt(1, 1, 2, 1, src, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.pixel(1, 1), kA);
    EXPECT_EQ(dst.pixel(2, 1), clBlack);
    EXPECT_EQ(dst.pixel(3, 1), clWhite);
    // Stretched: each source pixel becomes a 3 x 3 block (nearest pixel).
    prepare(dst, 6, 3);
    c.StretchBlt(0, 0, 6, 3, src, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(row(dst, 2, 0, 6, {{kA, 'a'}, {clBlack, 'k'}}), "aaakkk");
    // Source from the middle of a bitmap; destination cut by the clip.
    prepare(dst, 6, 3);
    c.IntersectClipRect(Rect(0, 0, 6, 1));
    c.BitBlt(0, 0, 1, 3, src, 1, 0, SRCCOPY);
    EXPECT_EQ(column(dst, 0, 0, 3, {{clBlack, 'k'}, {clWhite, 'w'}}), "kww");
    c.SelectClipRgn(std::nullopt);
    // Copying a bitmap onto itself reads the pixels from before the copy.
    prepare(dst, 3, 1);
    c.SetPixel(0, 0, clRed);
    c.BitBlt(1, 0, 2, 1, dst, 0, 0, SRCCOPY);
    EXPECT_EQ(row(dst, 0, 0, 3, {{clRed, 'r'}, {clWhite, 'w'}}), "rrw");
    // CopyRect takes the source canvas' logical coordinates.
    TBitmap other;
    prepare(other, 4, 4, clBlue);
    other.Canvas().SetPixel(3, 3, clLime);
    other.Canvas().SetWindowOrg(2, 2);
    prepare(dst, 3, 1);
    c.CopyRect(Rect(0, 0, 1, 1), other.Canvas(), Rect(3, 3, 4, 4));
    c.CopyMode = NOTSRCCOPY;
    c.CopyRect(Rect(1, 0, 2, 1), other.Canvas(), Rect(3, 3, 4, 4));
    EXPECT_EQ(dst.pixel(0, 0), clBlue);  // device (1, 1) of other
    EXPECT_EQ(dst.pixel(1, 0).value(), ~clBlue.value() & 0xFFFFFF);
}

TEST(Blit, MonochromeConversionAndMonochromeSources)
{
    // Colour to monochrome: pixels of the brush colour become white.
    TBitmap mono;
    source(mono);
    mono.Canvas().Brush.setColor(clBlack);
    mono.setMonochrome(true);
    EXPECT_TRUE(mono.Monochrome());
    EXPECT_EQ(mono.pixel(0, 0), clBlack);
    EXPECT_EQ(mono.pixel(1, 0), clWhite);

    // Monochrome into colour: black takes the text colour, white the
    // background colour of the destination.
    TBitmap dst;
    prepare(dst, 2, 1);
    dst.Canvas().SetTextColor(clRed);
    dst.Canvas().SetBkColor(clBlue);
    dst.Canvas().BitBlt(0, 0, 2, 1, mono, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.pixel(0, 0), clRed);
    EXPECT_EQ(dst.pixel(1, 0), clBlue);

    // Colour into a monochrome bitmap: the source's background colour is white.
    TBitmap src, mask;
    source(src);
    src.Canvas().SetBkColor(kA);
    prepare(mask, 2, 1);
    mask.setMonochrome(true);
    mask.Canvas().BitBlt(0, 0, 2, 1, src, 0, 0, SRCCOPY);
    EXPECT_EQ(mask.pixel(0, 0), clWhite);
    EXPECT_EQ(mask.pixel(1, 0), clBlack);
}

TEST(Blit, EmbossedDisabledGlyphByTheMonochromeMaskTechnique)
{
    // A 4 x 4 glyph on olive with a black 2 x 2 square at (1, 1).
    TBitmap glyph;
    prepare(glyph, 4, 4, clOlive);
    glyph.Canvas().FillRect(Rect(1, 1, 3, 3), clBlack);
    TBitmap mono;
    mono.Assign(glyph);
    mono.Canvas().Brush.setColor(clBlack);
    mono.setMonochrome(true);

    TBitmap out;
    prepare(out, 5, 5, clBtnFace);
    TCanvas &c = out.Canvas();
    // A brush change sets the background colour, so black text and white
    // background are set after each brush.
    c.Brush.setColor(clBtnHighlight);
    c.SetTextColor(clBlack);
    c.SetBkColor(clWhite);
    c.BitBlt(1, 1, 4, 4, mono, 0, 0, ROP_DSPDxax);
    c.Brush.setColor(clBtnShadow);
    c.SetTextColor(clBlack);
    c.SetBkColor(clWhite);
    c.BitBlt(0, 0, 4, 4, mono, 0, 0, ROP_DSPDxax);
    const std::initializer_list<std::pair<TColor, char>> legend = {
        {clBtnFace, 'f'}, {clBtnHighlight, 'w'}, {clBtnShadow, 's'}};
    EXPECT_EQ(row(out, 0, 0, 5, legend), "fffff");
    EXPECT_EQ(row(out, 1, 0, 5, legend), "fssff");
    EXPECT_EQ(row(out, 2, 0, 5, legend), "fsswf");
    EXPECT_EQ(row(out, 3, 0, 5, legend), "ffwwf");
    EXPECT_EQ(row(out, 4, 0, 5, legend), "fffff");
}

TEST(Blit, TransparentDrawLeavesTheTransparentColourOut)
{
    TBitmap glyph;
    prepare(glyph, 3, 2, clOlive);
    glyph.Canvas().SetPixel(1, 0, clRed);
    EXPECT_EQ(glyph.TransparentColor(), clOlive);  // bottom-left pixel
    glyph.setTransparent(true);
    TBitmap dst;
    prepare(dst, 4, 2, clBlue);
    dst.Canvas().Draw(1, 0, glyph);
    EXPECT_EQ(row(dst, 0, 0, 4, {{clBlue, 'b'}, {clRed, 'r'}}), "bbrb");
    EXPECT_EQ(row(dst, 1, 0, 4, {{clBlue, 'b'}, {clRed, 'r'}}), "bbbb");
    glyph.setTransparentColor(clRed);
    EXPECT_EQ(glyph.TransparentMode(), TTransparentMode::tmFixed);
    dst.Canvas().StretchDraw(Rect(0, 0, 4, 2), glyph);
    EXPECT_EQ(dst.pixel(0, 0), clOlive);
    glyph.setTransparent(false);
    dst.Canvas().Draw(0, 0, glyph);
    EXPECT_EQ(dst.pixel(1, 0), clRed);
}

TEST(Bitmap, SizeAssignChangesAndLoading)
{
    TBitmap bmp;
    EXPECT_TRUE(bmp.Empty());
    EXPECT_EQ(bmp.TransparentColor(), clDefault);
    int changes = 0;
    bmp.OnChange = [&changes](TBitmap *) { ++changes; };
    prepare(bmp, 3, 3, clRed);
    EXPECT_GE(changes, 2);  // the size and the drawing
    bmp.SetSize(5, 2);
    EXPECT_EQ(bmp.pixel(2, 1), clRed);
    EXPECT_EQ(bmp.pixel(4, 1), clWhite);
    EXPECT_EQ(bmp.pixel(5, 1), clNone);
    bmp.SetSize(-1, 4);
    EXPECT_TRUE(bmp.Empty());

    TBitmap a, b;
    prepare(a, 2, 2, clLime);
    a.setTransparentColor(clLime);
    b.Assign(a);
    a.Canvas().FillRect(Rect(0, 0, 2, 2), clRed);  // a copy, not shared pixels
    EXPECT_EQ(b.pixel(1, 1), clLime);
    EXPECT_EQ(b.TransparentColor(), clLime);

    EXPECT_THROW(b.LoadFromData("not a picture"), Exception);
    EXPECT_THROW(b.LoadFromFile("/nonexistent/picture.bmp"), Exception);
    // A few bytes claiming 16000 x 16000 pixels: refused, b unchanged.
    EXPECT_THROW(b.LoadFromData(platform::testpictures::runLengthBmp(16000, 16000)), Exception);
    EXPECT_EQ(b.pixel(1, 1), clLime);
    QImage img(2, 1, QImage::Format_RGB32);
    img.fill(QColor(1, 2, 3));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    b.LoadFromData(bytes);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.pixel(1, 0), RGB(1, 2, 3));
}

TEST(ImageList, MasksFromColoursAndMonochromeBitmaps)
{
    TImageList list(2, 2);
    int changes = 0;
    QObject::connect(&list, &TImageList::changed, [&changes] { ++changes; });
    TBitmap strip;
    prepare(strip, 4, 2, clOlive);  // two images, bottom-left olive
    strip.Canvas().SetPixel(0, 0, clRed);
    strip.Canvas().SetPixel(3, 1, clLime);
    EXPECT_EQ(list.AddMasked(strip, clDefault), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(qAlpha(list.image(0).pixel(0, 0)), 255);
    EXPECT_EQ(qAlpha(list.image(0).pixel(1, 0)), 0);
    EXPECT_EQ(list.image(1).pixel(1, 1), qRgb(0, 255, 0));

    TBitmap mask;
    prepare(mask, 2, 2, clBlack);
    mask.Canvas().SetPixel(1, 1, clWhite);
    EXPECT_EQ(list.Add(strip, &mask), 2);  // first image with the mask only
    EXPECT_EQ(qAlpha(list.image(2).pixel(1, 0)), 255);
    EXPECT_EQ(qAlpha(list.image(2).pixel(1, 1)), 0);
    EXPECT_TRUE(list.Delete(0));
    EXPECT_FALSE(list.Delete(7));
    EXPECT_EQ(list.Count(), 3);
    TBitmap empty;
    EXPECT_EQ(list.AddMasked(empty, clNone), -1);
    EXPECT_EQ(changes, 3);  // two additions and a deletion
    list.setWidth(4);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(changes, 4);
}

TEST(ImageList, DrawsTransparentOverBackgroundBlendedAndAsMask)
{
    TImageList list(2, 1);
    TBitmap img;
    prepare(img, 2, 1, clOlive);
    img.Canvas().SetPixel(0, 0, clRed);
    img.Canvas().SetPixel(1, 0, clOlive);
    img.setTransparentColor(clOlive);
    list.AddMasked(img, clOlive);

    TBitmap dst;
    prepare(dst, 2, 1, clBlue);
    EXPECT_TRUE(list.DrawEx(dst.Canvas(), 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT));
    EXPECT_EQ(dst.pixel(0, 0), clRed);
    EXPECT_EQ(dst.pixel(1, 0), clBlue);

    prepare(dst, 2, 1, clBlue);
    list.DrawEx(dst.Canvas(), 0, 0, 0, clBtnFace.value(), clNone.value(), ILD_NORMAL);
    EXPECT_EQ(dst.pixel(1, 0), ColorToRGB(clBtnFace));

    prepare(dst, 2, 1, clBlue);
    list.DrawEx(dst.Canvas(), 0, 0, 0, CLR_NONE, clWhite.value(), ILD_TRANSPARENT | ILD_BLEND50);
    EXPECT_EQ(dst.pixel(0, 0), RGB(255, 127, 127));
    EXPECT_EQ(dst.pixel(1, 0), clBlue);

    prepare(dst, 2, 1, clBlue);
    list.Draw(dst.Canvas(), 0, 0, 0, false);  // half with the destination
    const TColor mixed = dst.pixel(0, 0);
    EXPECT_NEAR(GetRValue(mixed), 128, 1);
    EXPECT_NEAR(GetBValue(mixed), 127, 1);

    prepare(dst, 2, 1, clBlue);
    list.DrawEx(dst.Canvas(), 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
    EXPECT_EQ(dst.pixel(0, 0), clBlack);
    EXPECT_EQ(dst.pixel(1, 0), clWhite);

    EXPECT_FALSE(list.DrawEx(dst.Canvas(), 5, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL));
    TBitmap out;
    ASSERT_TRUE(list.GetBitmap(0, out, clYellow));
    EXPECT_EQ(out.pixel(1, 0), clYellow);
    EXPECT_EQ(out.pixel(0, 0), clRed);
}
