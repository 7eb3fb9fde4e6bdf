#include "TestWidgets.h"
#include "coolctrls/CoolUtils.h"
#include "platform/canvas/TPen.h"

#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace coolctrls;
using namespace platform;
using testing_cool::PaintedWidget;
using testing_cool::WallpaperWidget;

namespace {

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

// Bounding box of the pixels of one colour.
QRect boxOf(const QImage &img, QRgb colour)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(DrawEdgeBorders, EmptyEdgesDrawNothingNotEvenTheFrame)
{
    PaintedWidget w;
    w.resize(30, 20);
    TPen pen;
    w.paint = [&](TCanvas &c, QWidget *self) {
        c.FillRect(self->rect(), clWhite);
        DrawEdgeBorders(&c, self, {}, clBlack, pen);
    };
    const QImage img = w.grab().toImage();
    EXPECT_TRUE(boxOf(img, qRgb(0, 0, 0)).isNull());
}

TEST(DrawEdgeBorders, AllEdgesGiveTheTwoPixelFrameAndTheLinesOnTheSecondRowAndColumn)
{
    PaintedWidget w;
    w.resize(30, 20);
    TPen pen;
    pen.setColor(clBlue);
    w.paint = [&](TCanvas &c, QWidget *self) {
        c.FillRect(self->rect(), clWhite);
        DrawEdgeBorders(&c, self, {ebLeft, ebTop, ebRight, ebBottom}, clRed, pen);
    };
    const QImage img = w.grab().toImage();
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    // The frame covers the two outermost rows and columns; the pen lines lie
    // on row 1, column 1, the last column and the last row (which the 2-pixel
    // lines centred there share with the one before them).
    for (int x = 2; x < 28; ++x) {
        EXPECT_EQ(img.pixel(x, 0), red) << x;
        EXPECT_EQ(img.pixel(x, 1), blue) << x;
        EXPECT_EQ(img.pixel(x, 2), white) << x;
        EXPECT_EQ(img.pixel(x, 17), white) << x;
        EXPECT_EQ(img.pixel(x, 18), red) << x;
        EXPECT_EQ(img.pixel(x, 19), blue) << x;
    }
    for (int y = 2; y < 18; ++y) {
        EXPECT_EQ(img.pixel(0, y), red) << y;
        EXPECT_EQ(img.pixel(1, y), blue) << y;
        EXPECT_EQ(img.pixel(2, y), white) << y;
        EXPECT_EQ(img.pixel(27, y), white) << y;
        EXPECT_EQ(img.pixel(28, y), red) << y;
        EXPECT_EQ(img.pixel(29, y), blue) << y;
    }

    // The label variant: only the chosen pen lines, no frame.
    w.paint = [&](TCanvas &c, QWidget *self) {
        c.FillRect(self->rect(), clWhite);
        DrawLabelEdgeBorders(c, self, {ebTop}, pen);
    };
    const QImage label = w.grab().toImage();
    EXPECT_EQ(boxOf(label, blue), QRect(0, 1, 30, 1));
    EXPECT_TRUE(boxOf(label, red).isNull());
}

TEST(DrawShadowText, OffsetsOfTheFourPositions)
{
    const QString text = QStringLiteral("HIH");
    // Where the text alone lands.
    QImage ref = blank(60, 30);
    {
        TCanvas c(&ref);
        c.Font.setHeight(-13);
        c.SetTextColor(clBlack);
        c.SetBkMode(TRANSPARENT);
        c.DrawText(text, QRect(10, 5, 40, 20), DT_LEFT | DT_TOP | DT_SINGLELINE);
    }
    const QRect base = boxOf(ref, qRgb(0, 0, 0));
    ASSERT_FALSE(base.isNull());

    struct Case
    {
        TShadowPosition pos;
        QPoint text, shadow;
    };
    const Case cases[] = {
        {spLeftTop, {2, 2}, {0, 0}},
        {spLeftBottom, {2, 0}, {0, 2}},
        {spRightBottom, {0, 0}, {2, 2}},
        {spRightTop, {0, 2}, {2, 0}},
    };
    for (const Case &k : cases) {
        QImage img = blank(60, 30);
        QRect r(10, 5, 40, 20);
        {
            TCanvas c(&img);
            c.Font.setHeight(-13);
            c.SetBkMode(TRANSPARENT);
            DrawShadowText(c, r, k.pos, 2, clRed, clBlack, DT_LEFT | DT_TOP | DT_SINGLELINE, text);
        }
        EXPECT_EQ(r, QRect(10, 5, 40, 20).translated(k.text)) << int(k.pos);
        EXPECT_EQ(boxOf(img, qRgb(0, 0, 0)), base.translated(k.text)) << int(k.pos);
        const QRect shadow = boxOf(img, qRgb(255, 0, 0));
        ASSERT_FALSE(shadow.isNull()) << int(k.pos);
        EXPECT_TRUE(base.translated(k.shadow).contains(shadow)) << int(k.pos);
    }

    // Measuring through it includes the offset.
    QImage img = blank(60, 30);
    TCanvas c(&img);
    QRect measured(0, 0, 0, 0), plain(0, 0, 0, 0);
    c.DrawText(text, plain, DT_CALCRECT | DT_SINGLELINE);
    DrawShadowText(c, measured, spLeftTop, 1, clRed, clBlack, DT_CALCRECT | DT_SINGLELINE, text);
    EXPECT_EQ(Right(measured), Right(plain) + 1);
    EXPECT_EQ(Bottom(measured), Bottom(plain) + 1);
    // In every position the measure is the text's own rectangle, and
    // measuring draws nothing.
    for (const Case &k : cases) {
        QRect r(0, 0, 0, 0);
        DrawShadowText(c, r, k.pos, 2, clRed, clBlack, DT_CALCRECT | DT_SINGLELINE, text);
        EXPECT_EQ(r, plain.translated(k.text)) << int(k.pos);
    }
    c.releaseHandle();
    EXPECT_EQ(img, blank(60, 30));
}

TEST(FillGradient, BandsRunFromStartToEndColour)
{
    QImage img = blank(100, 10);
    TCanvas c(&img);
    FillGradient(c, QRect(0, 0, 100, 10), clBlack, true, 4, clWhite);
    c.releaseHandle();
    // Five bands of 25 pixels: 0, 64, 128, 191, and the last outside.
    EXPECT_EQ(img.pixel(0, 5), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(30, 5), qRgb(64, 64, 64));
    EXPECT_EQ(img.pixel(60, 5), qRgb(128, 128, 128));
    EXPECT_EQ(img.pixel(99, 5), qRgb(191, 191, 191));
    img.fill(Qt::white);
    FillGradient(c, QRect(0, 0, 100, 10), clBlack, false, -1, clWhite); // nothing
    c.releaseHandle();
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
}

TEST(PaintParentBackground, ShowsTheParentAndItsGraphicChildrenAlignedUnderTheControl)
{
    PaintedWidget parent;
    parent.resize(200, 100);
    parent.paint = [](TCanvas &c, QWidget *self) {
        c.FillRect(QRect(0, 0, 100, self->height()), clRed);
        c.FillRect(QRect(100, 0, 100, self->height()), clBlue);
    };
    auto *label = new QLabel(&parent);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, Qt::green);
    label->setPalette(pal);
    label->setGeometry(110, 40, 10, 10);

    auto *control = new WallpaperWidget(&parent);
    control->setGeometry(90, 30, 40, 30);
    control->group.setTransparent(true);
    // A second transparent control overlapping the first: no recursion.
    auto *other = new WallpaperWidget(&parent);
    other->setGeometry(120, 50, 20, 20);
    other->group.setTransparent(true);
    other->setProperty(GraphicControlProperty, true);
    control->setProperty(GraphicControlProperty, true);
    control->raise();

    const QImage img = parent.grab().toImage();
    EXPECT_EQ(img.pixel(95, 35), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(105, 35), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(115, 45), qRgb(0, 255, 0)); // the label under it
    EXPECT_EQ(img.pixel(128, 58), qRgb(0, 0, 255));

    // Level 1 takes the grandparent's background shifted by the parent's
    // own position, with a top-level control it paints itself.
    WallpaperWidget lone;
    lone.resize(10, 10);
    lone.plain = clLime;
    lone.group.setTransparent(true);
    lone.group.setTransparencyLevel(3);
    (void)lone.grab(); // must not recurse or crash
}

TEST(PaintParentBackground, ClippedAndRegionVariantsLimitTheArea)
{
    PaintedWidget parent;
    parent.resize(100, 100);
    parent.paint = [](TCanvas &c, QWidget *self) { c.FillRect(self->rect(), clRed); };
    auto *child = new PaintedWidget(&parent);
    child->setGeometry(10, 10, 50, 50);
    child->paint = [](TCanvas &c, QWidget *self) {
        c.FillRect(self->rect(), clWhite);
        PaintParentBackgroundRegion(self, c, QRect(0, 0, 40, 40), true, RGN_DIFF, QRect(10, 10, 20, 20));
        PaintParentBackgroundClipped(self, c, QRect(45, 45, 5, 5), true);
    };
    const QImage img = parent.grab().toImage();
    EXPECT_EQ(img.pixel(10 + 5, 10 + 5), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(10 + 20, 10 + 20), qRgb(255, 255, 255)); // cut out
    EXPECT_EQ(img.pixel(10 + 42, 10 + 5), qRgb(255, 255, 255));  // outside rect1
    EXPECT_EQ(img.pixel(10 + 47, 10 + 47), qRgb(255, 0, 0));     // clipped variant
}

TEST(DrawFlatBorder, PlainAndHighlightedFrames)
{
    PaintedWidget w;
    w.resize(20, 12);
    bool highlighted = false;
    w.paint = [&](TCanvas &c, QWidget *self) {
        c.FillRect(self->rect(), clRed);
        DrawFlatBorder(&c, self, highlighted);
    };
    const QRgb face = ColorToQColor(clBtnFace).rgb(), window = ColorToQColor(clWindow).rgb();
    const QRgb shadow = ColorToQColor(clBtnShadow).rgb(), light = ColorToQColor(clBtnHighlight).rgb();
    QImage img = w.grab().toImage();
    EXPECT_EQ(img.pixel(5, 0), face);
    EXPECT_EQ(img.pixel(5, 1), face);
    EXPECT_EQ(img.pixel(5, 2), window);
    EXPECT_EQ(img.pixel(17, 6), window);
    EXPECT_EQ(img.pixel(5, 3), qRgb(255, 0, 0)); // the inside is left alone

    // Highlighted: the sunken edge replaces the outer face frame.
    highlighted = true;
    img = w.grab().toImage();
    EXPECT_EQ(img.pixel(5, 0), shadow); // sunken: shadow top and left
    EXPECT_EQ(img.pixel(0, 5), shadow);
    EXPECT_EQ(img.pixel(5, 11), light); // highlight bottom and right
    EXPECT_EQ(img.pixel(19, 5), light);
    EXPECT_EQ(img.pixel(5, 1), face);
    EXPECT_EQ(img.pixel(5, 2), window);
}

TEST(Fonts, TrueTypeTestFollowsTheFontMetrics)
{
    // The substituted faces are outline fonts.
    EXPECT_TRUE(IsTrueTypeFont(QStringLiteral("Arial")));
    EXPECT_TRUE(IsTrueTypeFont(QStringLiteral("Liberation Sans")));
}

TEST(PaintParentBackground, WorksInsideTheNormalPaintOfAShownWindow)
{
    // Painted through the backing store, not through grab(): the ancestor is
    // rendered from inside the child's paint event.
    PaintedWidget parent;
    parent.setGeometry(50, 50, 120, 80);
    parent.paint = [](TCanvas &c, QWidget *self) {
        c.FillRect(self->rect(), clBlue);
        c.FillRect(QRect(0, 0, 60, 80), clRed);
    };
    auto *control = new WallpaperWidget(&parent);
    control->setGeometry(40, 20, 40, 30);
    control->group.setTransparent(true);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    const int before = control->paints;
    control->repaint();
    EXPECT_GT(control->paints, before);
    const QImage shot = parent.screen()->grabWindow(parent.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    if (shot.isNull() || shot.size() != parent.size())
        GTEST_SKIP() << "this platform cannot grab windows";
    EXPECT_EQ(shot.pixel(45, 25), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(75, 45), qRgb(0, 0, 255));
}

TEST(PaintParentBackground, HigherLevelsShiftByTheAncestorsOwnPosition)
{
    PaintedWidget grand;
    grand.resize(200, 100);
    grand.paint = [](TCanvas &c, QWidget *self) {
        c.FillRect(self->rect(), clBlue);
        c.FillRect(QRect(0, 0, 105, 100), clRed);
    };
    auto *panel = new PaintedWidget(&grand);
    panel->setGeometry(100, 0, 100, 100);
    panel->paint = [](TCanvas &c, QWidget *self) { c.FillRect(self->rect(), clLime); };
    auto *control = new WallpaperWidget(panel);
    control->setGeometry(20, 20, 30, 30);
    control->group.setTransparent(true);
    control->group.setTransparencyLevel(1);

    const QImage img = grand.grab().toImage();
    // The control shows the grandparent's pixels from the panel's position
    // (100, 0) onwards, not from its own: red for 5 pixels, then blue.
    EXPECT_EQ(img.pixel(120 + 2, 20 + 2), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(120 + 10, 20 + 10), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(110, 10), qRgb(0, 255, 0)); // the panel itself
}

TEST(BlendPremultipliedOver, GivesWhatAPaintersSourceOverGivesForEveryAlphaAndOnlyInsideTheTarget)
{
    // A source row for every alpha (its colour channels up to the alpha, as
    // premultiplied pixels are), several columns of colours each.
    QImage picture(8, 256, QImage::Format_ARGB32_Premultiplied);
    for (int a = 0; a < 256; ++a)
        for (int x = 0; x < picture.width(); ++x) {
            const int r = a * x / 7, g = a * (7 - x) / 7, b = (a * (x * 37 % 8)) / 7;
            picture.setPixel(x, a, qRgba(r, g, b, a));
        }
    QImage frame(12, 260, QImage::Format_RGB32);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            frame.setPixel(x, y, qRgb(x * 21, 255 - y % 256, (x * y) % 256));

    const QRect source(1, 0, 6, 256);
    const QPoint at(3, 2);
    QImage expected = frame.copy();
    {
        QPainter painter(&expected);
        painter.drawImage(at, picture, source);
    }
    QImage blended = frame.copy();
    BlendPremultipliedOver(blended, at, picture, source);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            ASSERT_EQ(blended.pixel(x, y), expected.pixel(x, y))
                << "at " << x << ", " << y;

    // Long rows as a text's are, whose pixels come in groups that are all
    // see-through, all opaque or mixed, at every offset of a group against
    // the row's start and end.
    QImage text(64, 16, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < text.height(); ++y)
        for (int x = 0; x < text.width(); ++x) {
            const int kind = (x / 3 + y) % 4;
            const int a = kind == 0 ? 0 : kind == 1 ? 255 : (x * 53 + y * 29) % 256;
            text.setPixel(x, y, qRgba(a * (x % 5) / 4, a * (y % 3) / 2, a, a));
        }
    const QImage wide = frame.scaled(70, 24);
    for (int left = 0; left < 4; ++left) {
        const QRect part(left, 0, text.width() - left - (3 - left), text.height());
        QImage want = wide.copy();
        {
            QPainter painter(&want);
            painter.drawImage(QPoint(0, 5), text, part);
        }
        QImage got = wide.copy();
        BlendPremultipliedOver(got, QPoint(0, 5), text, part);
        ASSERT_EQ(got, want) << "from column " << left;
    }
}
