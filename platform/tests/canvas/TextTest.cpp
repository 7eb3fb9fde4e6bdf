#include "CanvasTestUtil.h"

#include "platform/canvas/TCanvas.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace platform;
using namespace canvastest;

namespace {

// A white bitmap whose canvas has the classic default font in black.
struct TextSurface
{
    TBitmap bmp;
    explicit TextSurface(int w = 120, int h = 60)
    {
        prepare(bmp, w, h);
        bmp.Canvas().Font.setColor(clBlack);
        bmp.Canvas().SetBkMode(TRANSPARENT);
    }
    TCanvas &c() { return bmp.Canvas(); }
};

} // namespace

TEST(Text, DefaultFontHasTheClassicThirteenPixelLine)
{
    TCanvas c;
    EXPECT_EQ(c.Font.Name(), "MS Sans Serif");
    EXPECT_EQ(c.Font.Height(), -11);
    EXPECT_EQ(c.TextHeight("W"), 13);
    const TTextMetric tm = c.GetTextMetrics();
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmInternalLeading, 2);
    EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_TRUETYPE);
    EXPECT_GT(tm.tmAveCharWidth, 3);
}

TEST(Text, CalcRectMeasuresLinesWordsAndEmptyText)
{
    TCanvas c;
    const int lh = c.TextHeight("W");
    QRect r = Rect(5, 7, 5, 7);
    EXPECT_EQ(c.DrawText("Minor second", r, DT_CALCRECT), lh);
    EXPECT_EQ(r, Rect(5, 7, 5 + c.TextWidth("Minor second"), 7 + lh));

    r = Rect(0, 0, 0, 0);
    c.DrawText("ab\r\nlonger line\nc", r, DT_CALCRECT);
    EXPECT_EQ(r.height(), 3 * lh);
    EXPECT_EQ(r.width(), c.TextWidth("longer line"));

    // A single line ignores the line breaks.
    r = Rect(0, 0, 0, 0);
    c.DrawText("ab\ncd", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.height(), lh);
    EXPECT_EQ(r.width(), c.TextWidth("abcd"));

    // Empty text measures nothing; a trailing break adds no line.
    r = Rect(0, 0, 50, 50);
    EXPECT_EQ(c.DrawText("", r, DT_CALCRECT), 0);
    EXPECT_EQ(r, Rect(0, 0, 0, 0));
    r = Rect(0, 0, 0, 0);
    c.DrawText("x\n", r, DT_CALCRECT);
    EXPECT_EQ(r.height(), lh);

    // Word break within the width; a word wider than it stands alone.
    const int w = c.TextWidth("three four");
    r = Rect(0, 0, w, 0);
    c.DrawText("one two three four", r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(r.height(), 2 * lh);
    EXPECT_EQ(r.width(), c.TextWidth("three four"));
    r = Rect(0, 0, 5, 0);
    c.DrawText("tremendous ok", r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(r.height(), 2 * lh);
    EXPECT_EQ(r.width(), c.TextWidth("tremendous"));

    // Tabs expand to multiples of eight average character widths.
    const int stop = 8 * c.GetTextMetrics().tmAveCharWidth;
    r = Rect(0, 0, 0, 0);
    c.DrawText("a\tb", r, DT_CALCRECT | DT_EXPANDTABS);
    EXPECT_EQ(r.width(), stop + c.TextWidth("b"));
}

TEST(Text, PrefixCharactersUnderlineUnlessSwitchedOff)
{
    TCanvas c;
    QRect r = Rect(0, 0, 0, 0);
    c.DrawText("&File", r, DT_CALCRECT);
    EXPECT_EQ(r.width(), c.TextWidth("File"));
    r = Rect(0, 0, 0, 0);
    c.DrawText("&File", r, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(r.width(), c.TextWidth("&File"));
    r = Rect(0, 0, 0, 0);
    c.DrawText("R&&B", r, DT_CALCRECT);
    EXPECT_EQ(r.width(), c.TextWidth("R&B"));
    r = Rect(0, 0, 0, 0);
    c.DrawText("&", r, DT_CALCRECT);
    EXPECT_EQ(r.width(), 0);

    // The underline lies below the baseline, under the marked letter only.
    TextSurface a, b;
    a.c().DrawText("&Mm", Rect(0, 0, 100, 20), 0);
    b.c().DrawText("Mm", Rect(0, 0, 100, 20), 0);
    const QFontMetrics fm(a.c().Font.toQFont());
    const int y = fm.ascent() + std::max(1, fm.underlinePos());
    const int mWidth = fm.horizontalAdvance('M');
    EXPECT_GT(countColor(a.bmp, QRect(0, y, mWidth, 1), clBlack), mWidth / 2);
    EXPECT_EQ(countColor(b.bmp, QRect(0, y, 100, 1), clBlack), 0);
    EXPECT_EQ(countColor(a.bmp, QRect(mWidth + 1, y, 50, 1), clBlack), 0);
}

TEST(Text, AlignmentMovesTheTextExactly)
{
    TextSurface left, right, centre, vcentre, multi;
    const QRect r = Rect(10, 5, 110, 45);
    const int tw = left.c().TextWidth("Tip");
    const int lh = left.c().TextHeight("Tip");
    left.c().DrawText("Tip", r, DT_LEFT);
    right.c().DrawText("Tip", r, DT_RIGHT);
    centre.c().DrawText("Tip", r, DT_CENTER);
    vcentre.c().DrawText("Tip", r, DT_SINGLELINE | DT_VCENTER);
    multi.c().DrawText("Tip", r, DT_VCENTER);  // only with a single line
    const QRect ink = inkBounds(left.bmp);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_EQ(inkBounds(right.bmp), ink.translated(100 - tw, 0));
    EXPECT_EQ(inkBounds(centre.bmp), ink.translated((100 - tw) / 2, 0));
    EXPECT_EQ(inkBounds(vcentre.bmp), ink.translated(0, (5 + 45 - lh) / 2 - 5));
    EXPECT_EQ(inkBounds(multi.bmp), ink);
    EXPECT_EQ(vcentre.c().DrawText("Tip", r, DT_SINGLELINE | DT_BOTTOM), 40);
}

TEST(Text, OpaqueBackgroundFillsTheTextCellsOnly)
{
    TextSurface s;
    TCanvas &c = s.c();
    c.SetBkMode(OPAQUE);
    c.SetBkColor(clRed);
    const int tw = c.TextWidth("Score");
    const int lh = c.TextHeight("Score");
    c.DrawText("Score", Rect(7, 0, 100, 30), DT_SINGLELINE);
    const QRect cell = inkBounds(s.bmp);
    EXPECT_EQ(cell, QRect(7, 0, tw, lh));
    EXPECT_GT(countColor(s.bmp, cell, clRed), 0);
    EXPECT_GT(countColor(s.bmp, cell, clBlack), 0);

    // Transparent: only the letters.
    TextSurface t;
    t.c().SetBkColor(clRed);
    t.c().DrawText("Score", Rect(7, 0, 100, 30), DT_SINGLELINE);
    EXPECT_EQ(countColor(t.bmp, QRect(0, 0, 120, 60), clRed), 0);
}

TEST(Text, BrushAndFontChangesSetBackgroundAndTextColour)
{
    TCanvas c;
    EXPECT_EQ(c.GetBkMode(), OPAQUE);
    c.Brush.setStyle(TBrushStyle::bsClear);
    EXPECT_EQ(c.GetBkMode(), TRANSPARENT);
    c.Brush.setColor(clYellow);  // a colour makes the brush solid again
    EXPECT_EQ(c.GetBkMode(), OPAQUE);
    EXPECT_EQ(c.GetBkColor(), clYellow);
    EXPECT_EQ(c.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(c.GetBkMode(), TRANSPARENT);  // kept until the brush changes
    c.Font.setColor(clRed);
    EXPECT_EQ(c.GetTextColor(), clRed);
    c.SetTextColor(clBtnShadow);
    EXPECT_EQ(c.GetTextColor(), clBtnShadow);
    c.Font.setStyle(fsBold);
    EXPECT_EQ(c.GetTextColor(), clRed);
}

TEST(Text, ClippedToTheRectangleUnlessNoClip)
{
    TextSurface clipped, free;
    clipped.c().DrawText("Wide text here", Rect(0, 0, 20, 6), 0);
    free.c().DrawText("Wide text here", Rect(0, 0, 20, 6), DT_NOCLIP);
    EXPECT_LE(inkBounds(clipped.bmp).right(), 19);
    EXPECT_LE(inkBounds(clipped.bmp).bottom(), 5);
    EXPECT_GT(inkBounds(free.bmp).right(), 19);
    EXPECT_GT(inkBounds(free.bmp).bottom(), 5);
}

TEST(Text, TextOutAndTextRect)
{
    TextSurface s;
    TCanvas &c = s.c();
    c.Brush.setColor(clYellow);  // opaque from here
    c.TextOut(3, 4, "Hi");
    EXPECT_EQ(c.PenPos(), QPoint(3 + c.TextWidth("Hi"), 4));
    EXPECT_EQ(inkBounds(s.bmp), QRect(3, 4, c.TextWidth("Hi"), c.TextHeight("Hi")));
    // TextRect fills its whole rectangle and clips the text to it.
    prepare(s.bmp, 120, 60);
    c.TextRect(Rect(10, 10, 30, 20), 12, 8, "Clipped text");
    EXPECT_EQ(inkBounds(s.bmp), Rect(10, 10, 30, 20));
}

TEST(Text, ShadowedTextIsTwoCopiesOffsetByTheShadowSize)
{
    // How the skinned controls emboss: shadow copy, then the text moved.
    TextSurface s;
    TCanvas &c = s.c();
    QRect shadow = Rect(0, 0, 100, 20), text = shadow.translated(1, 1);
    c.SetTextColor(clBtnHighlight);
    prepare(s.bmp, 120, 60, clBtnFace);
    c.DrawText("Ab", shadow, DT_SINGLELINE);
    const QRect white = inkBounds(s.bmp, clBtnFace);
    c.SetTextColor(clBtnShadow);
    c.DrawText("Ab", text, DT_SINGLELINE);
    const QRect all = inkBounds(s.bmp, clBtnFace);
    EXPECT_EQ(all, white.adjusted(0, 0, 1, 1));
    EXPECT_GT(countColor(s.bmp, all, clBtnShadow), 0);
    EXPECT_GT(countColor(s.bmp, all, clBtnHighlight), 0);
}

TEST(Text, DisabledTextIsEmbossedAndLeavesTheColoursAlone)
{
    TextSurface s;
    TCanvas &c = s.c();
    prepare(s.bmp, 120, 60, clBtnFace);
    c.SetBkMode(OPAQUE);
    c.SetTextColor(clRed);
    c.DrawDisabledText("&Score", Rect(4, 2, 60, 20));
    const QRect ink = inkBounds(s.bmp, clBtnFace);
    EXPECT_GT(countColor(s.bmp, ink, clBtnShadow), 0);
    EXPECT_GT(countColor(s.bmp, ink, clBtnHighlight), 0);
    EXPECT_EQ(countColor(s.bmp, ink, clRed), 0);
    // The highlight copy lies one pixel right and down of the shadow copy:
    // the last ink row is highlight only, the first shadow only.
    const QRect lastRow(ink.left(), ink.bottom(), ink.width(), 1), firstRow(ink.left(), ink.top(), ink.width(), 1);
    EXPECT_EQ(countColor(s.bmp, lastRow, clBtnShadow), 0);
    EXPECT_GT(countColor(s.bmp, lastRow, clBtnHighlight), 0);
    EXPECT_EQ(countColor(s.bmp, firstRow, clBtnHighlight), 0);
    EXPECT_EQ(c.GetTextColor(), clRed);
    EXPECT_EQ(c.GetBkMode(), OPAQUE);
}

TEST(Text, AnyTextAndFormatLaysOutWholeLines)
{
    // Random texts of letters, spaces, tabs, breaks and ampersands in random
    // rectangles and formats: measuring always ends, gives whole lines, and
    // drawing the same text returns the same height.
    TextSurface s(80, 40);
    TCanvas &c = s.c();
    const int lh = c.TextHeight("x");
    const QString alphabet = QStringLiteral("ab W&\t\r\n ");
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    const unsigned flags[] = {0, DT_WORDBREAK, DT_SINGLELINE, DT_EXPANDTABS, DT_NOPREFIX, DT_CENTER | DT_VCENTER,
                              DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, DT_NOCLIP};
    for (int round = 0; round < 400; ++round) {
        QString text;
        const int n = int(next() % 30);
        for (int i = 0; i < n; ++i)
            text += alphabet.at(int(next() % alphabet.size()));
        unsigned format = 0;
        for (unsigned f : flags)
            if (next() % 3 == 0)
                format |= f;
        const int width = int(next() % 60) - 5;
        QRect m = Rect(3, 2, 3 + width, 30);
        const int h = c.DrawText(text, m, format | DT_CALCRECT);
        ASSERT_EQ(h % lh, 0) << text.toStdString();
        ASSERT_EQ(m.height(), h);
        ASSERT_GE(m.width(), 0);
        if (format & DT_SINGLELINE) {
            ASSERT_LE(h, lh);
        }
        const int drawn = c.DrawText(text, Rect(3, 2, 3 + width, 30), format & ~unsigned(DT_VCENTER | DT_BOTTOM));
        ASSERT_EQ(drawn, h) << text.toStdString();
    }
}
