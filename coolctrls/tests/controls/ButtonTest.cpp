// Pixel tests of the push button's face: every look is rendered and the
// rows, columns and colours of edges, frames, caption and glyph asserted.
#include "coolctrls/CoolUtils.h"
#include "coolctrls/TCoolBtn.h"
#include "platform/canvas/Fonts.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"
#include "platform/canvas/TImageList.h"
#include "platform/Exception.h"
#include "platform/testing/ErrorCapture.h"

#include "ControlTestSupport.h"
#include "platform/TSizeConstraints.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

using namespace coolctrls;
using namespace platform;

namespace {

QRgb rgb(TColor c) { return ColorToQColor(c).rgb(); }

const QRgb Face = 0xFFD4D0C8;
const QRgb White = 0xFFFFFFFF;
const QRgb Black = 0xFF000000;
const QRgb Shadow = 0xFF808080;
const QRgb DarkShadow = 0xFF404040;
// The face under the dotted focus mark: every second pixel inverted.
const QRgb FaceInverted = 0xFF2B2F37;

QImage shot(QWidget &w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A button as the main window has it: 75 x 25, the classic default font,
// black text.
void classic(TCoolBtn &b, const QString &caption = QStringLiteral("Start"))
{
    b.setFont(makeFont(QString::fromLatin1(DefaultFontName), DefaultFontHeight));
    b.setFontColor(platform::clBlack);
    b.setCaption(caption);
    b.resize(75, 25);
}

using Points = std::set<std::pair<int, int>>;

// Pixels of one colour inside the area within the edges.
Points pixelsOf(const QImage &img, QRgb colour, int inset = 3)
{
    Points points;
    for (int y = inset; y < img.height() - inset; ++y)
        for (int x = inset; x < img.width() - inset; ++x)
            if (img.pixel(x, y) == colour)
                points.insert({x, y});
    return points;
}

// The caption's pixels as SimpleView draws them (no shadow).
Points plainCaption(TCoolBtn &b, bool pressed = false)
{
    const bool simple = b.SimpleView();
    b.setSimpleView(true);
    b.setDown(pressed);
    const Points points = pixelsOf(shot(b), Black);
    b.setDown(false);
    b.setSimpleView(simple);
    return points;
}

Points shifted(const Points &points, int dx, int dy)
{
    Points out;
    for (const auto &[x, y] : points)
        out.insert({x + dx, y + dy});
    return out;
}

// A glyph: fuchsia with a black 6 x 6 square at (5, 5).
std::unique_ptr<TBitmap> squareGlyph()
{
    auto bmp = std::make_unique<TBitmap>(16, 16);
    bmp->Canvas().FillRect(QRect(0, 0, 16, 16), clFuchsia);
    bmp->Canvas().FillRect(QRect(5, 5, 6, 6), clBlack);
    bmp->Dormant();
    return bmp;
}

// An image list of 16 x 16 frames, each a coloured 8 x 8 square at (4, 4)
// on a transparent ground.
void addFrames(TImageList &list, std::initializer_list<TColor> colours)
{
    for (TColor c : colours) {
        TBitmap frame(16, 16);
        frame.Canvas().FillRect(QRect(0, 0, 16, 16), clFuchsia);
        frame.Canvas().FillRect(QRect(4, 4, 8, 8), c);
        frame.Dormant();
        list.AddMasked(frame, clFuchsia);
    }
}

void sendEnter(QWidget &w)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&w, &enter);
}

void sendLeave(QWidget &w)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
}

// A container that fills itself with one colour.
void colouredContainer(QWidget &w, QColor colour, QSize size)
{
    w.resize(size);
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, colour);
    w.setPalette(pal);
    w.setAutoFillBackground(true);
}

} // namespace

TEST(CoolBtnFace, DefaultLookIsFaceRaisedEdgeAndHighlightShadowUpLeft)
{
    TCoolBtn b;
    classic(b);
    const QImage img = shot(b);

    // Raised edge: light and white rows at the top-left, dark shadow and
    // shadow at the bottom-right; no frame, no focus dots.
    EXPECT_EQ(img.pixel(37, 0), rgb(cl3DLight));
    EXPECT_EQ(img.pixel(0, 12), rgb(cl3DLight));
    EXPECT_EQ(img.pixel(37, 1), White);
    EXPECT_EQ(img.pixel(1, 12), White);
    EXPECT_EQ(img.pixel(37, 24), DarkShadow);
    EXPECT_EQ(img.pixel(74, 12), DarkShadow);
    EXPECT_EQ(img.pixel(37, 23), Shadow);
    EXPECT_EQ(img.pixel(73, 12), Shadow);
    EXPECT_EQ(img.pixel(2, 2), Face);
    EXPECT_EQ(img.pixel(4, 4), Face) << "no focus mark";
    EXPECT_EQ(img.pixel(10, 20), Face);

    // The caption lies one pixel right and down of its place; its shadow in
    // the highlight colour stays there, so it peeks out up and to the left.
    const Points plain = plainCaption(b);
    ASSERT_GT(plain.size(), 20u);
    EXPECT_EQ(pixelsOf(img, Black), shifted(plain, 1, 1));
    const Points text = shifted(plain, 1, 1);
    int whites = 0;
    for (const auto &[x, y] : plain) {
        if (!text.count({x, y})) {
            EXPECT_EQ(img.pixel(x, y), White) << x << "," << y;
            ++whites;
        }
    }
    EXPECT_GT(whites, 10);
    EXPECT_FALSE(b.IsFocused());
}

TEST(CoolBtnFace, KeyboardFocusGivesFrameEdgeInsideAndDottedRectangleFourPixelsIn)
{
    QWidget window;
    window.resize(200, 60);
    TCoolBtn b(&window);
    classic(b);
    TCoolBtn other(&window);
    classic(other, QStringLiteral("Other"));
    other.move(100, 0);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    b.setFocus();
    ASSERT_TRUE(b.hasFocus());
    EXPECT_TRUE(b.IsFocused());

    QImage img = shot(b);
    // One-pixel window-frame rectangle at the border, the raised edge inside.
    for (const QPoint p : {QPoint(37, 0), QPoint(0, 12), QPoint(37, 24), QPoint(74, 12), QPoint(0, 0)})
        EXPECT_EQ(img.pixel(p), Black) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixel(37, 1), rgb(cl3DLight));
    EXPECT_EQ(img.pixel(37, 2), White);
    EXPECT_EQ(img.pixel(37, 23), DarkShadow);
    EXPECT_EQ(img.pixel(37, 22), Shadow);
    // Dotted rectangle from (4, 4) to (70, 20): every second pixel inverted.
    EXPECT_EQ(img.pixel(4, 4), FaceInverted);
    EXPECT_EQ(img.pixel(5, 4), Face);
    EXPECT_EQ(img.pixel(6, 4), FaceInverted);
    EXPECT_EQ(img.pixel(4, 6), FaceInverted);
    EXPECT_EQ(img.pixel(70, 20), FaceInverted);
    EXPECT_EQ(img.pixel(3, 3), Face);

    // Without bpoDrawFocus and bpoDrawDefault neither mark is painted.
    b.setBtnPaintOptions({});
    img = shot(b);
    EXPECT_EQ(img.pixel(37, 0), rgb(cl3DLight));
    EXPECT_EQ(img.pixel(4, 4), Face);
    b.setBtnPaintOptions({bpoDrawFocus, bpoDrawDefault});

    // Another auto-default button takes the focus and the default role.
    other.setFocus();
    EXPECT_FALSE(b.IsFocused());
    EXPECT_TRUE(other.IsFocused());
    img = shot(b);
    EXPECT_EQ(img.pixel(37, 0), rgb(cl3DLight));
    EXPECT_EQ(img.pixel(4, 4), Face);
}

TEST(CoolBtnFace, DefaultButtonKeepsItsFrameWhileANonButtonHasTheFocus)
{
    QWidget window;
    window.resize(200, 60);
    TCoolBtn b(&window);
    classic(b);
    QLineEdit edit(&window);
    edit.move(100, 0);
    TCoolBtn other(&window);
    classic(other, QStringLiteral("Other"));
    other.move(100, 30);
    b.setDefault(true);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit.setFocus();
    ASSERT_TRUE(edit.hasFocus());
    EXPECT_TRUE(b.IsFocused());
    QImage img = shot(b);
    EXPECT_EQ(img.pixel(37, 0), Black) << "default frame";
    EXPECT_EQ(img.pixel(4, 4), Face) << "the focus mark needs the focus";

    other.setFocus();
    EXPECT_FALSE(b.IsFocused());
    img = shot(b);
    EXPECT_EQ(img.pixel(37, 0), rgb(cl3DLight));
}

TEST(CoolBtnFace, PressedGivesSunkenInnerEdgeAndMovesCaptionAndGlyphByOne)
{
    TCoolBtn b;
    classic(b, QString());
    b.setGlyph(squareGlyph().get());
    const Points glyphUp = pixelsOf(shot(b), Black);
    b.setCaption(QStringLiteral("Go"));
    b.setGlyph(nullptr);
    const Points captionUp = plainCaption(b);

    b.setDown(true);
    QImage img = shot(b);
    // Sunken inner edge: dark shadow at the top-left, light at the
    // bottom-right; one pixel wide, the face right inside it.
    EXPECT_EQ(img.pixel(37, 0), DarkShadow);
    EXPECT_EQ(img.pixel(0, 12), DarkShadow);
    EXPECT_EQ(img.pixel(37, 24), rgb(cl3DLight));
    EXPECT_EQ(img.pixel(74, 12), rgb(cl3DLight));
    EXPECT_EQ(img.pixel(37, 1), Face);
    EXPECT_EQ(img.pixel(1, 12), Face);
    EXPECT_EQ(img.pixel(37, 23), Face);
    EXPECT_EQ(plainCaption(b, true), shifted(captionUp, 1, 1));

    b.setCaption(QString());
    b.setGlyph(squareGlyph().get());
    b.setDown(true);
    img = shot(b);
    ASSERT_EQ(glyphUp.size(), 36u);
    EXPECT_EQ(pixelsOf(img, Black), shifted(glyphUp, 1, 1));
}

TEST(CoolBtnFace, DisabledCaptionIsEngravedWhateverTheShadowProperties)
{
    TCoolBtn b;
    classic(b, QStringLiteral("Repeat"));
    const Points plain = plainCaption(b);
    b.setShadowColor(clRed);
    b.setShadowSize(3);
    b.setShadowPos(spRightTop);
    b.setEnabled(false);
    const QImage img = shot(b);

    // Shadow-grey text in place, the highlight copy one pixel right and down.
    EXPECT_EQ(pixelsOf(img, Shadow, 3), plain);
    EXPECT_TRUE(pixelsOf(img, Black).empty());
    EXPECT_TRUE(pixelsOf(img, rgb(clRed)).empty());
    int whites = 0;
    for (const auto &[x, y] : shifted(plain, 1, 1)) {
        if (!plain.count({x, y})) {
            EXPECT_EQ(img.pixel(x, y), White) << x << "," << y;
            ++whites;
        }
    }
    EXPECT_GT(whites, 10);
    // The edge stays raised.
    EXPECT_EQ(img.pixel(37, 1), White);
    EXPECT_EQ(img.pixel(37, 23), Shadow);
}

TEST(CoolBtnFace, FlatBorderShowsTheEdgeOnlyUnderTheMouseAndWhilePressed)
{
    TCoolBtn b;
    classic(b);
    b.setOptions({ocFlatBorder});
    int enters = 0, leaves = 0;
    b.OnMouseEnter = [&](QObject *s) { EXPECT_EQ(s, &b); ++enters; };
    b.OnMouseLeave = [&](QObject *s) { EXPECT_EQ(s, &b); ++leaves; };

    QImage img = shot(b);
    EXPECT_FALSE(b.MouseInControl());
    for (const QPoint p : {QPoint(37, 0), QPoint(37, 1), QPoint(37, 24), QPoint(37, 23), QPoint(0, 12)})
        EXPECT_EQ(img.pixel(p), Face) << "no edge away from the mouse";

    sendEnter(b);
    EXPECT_TRUE(b.MouseInControl());
    EXPECT_EQ(enters, 1);
    img = shot(b);
    EXPECT_EQ(img.pixel(37, 1), White);
    EXPECT_EQ(img.pixel(37, 24), DarkShadow);

    sendLeave(b);
    EXPECT_FALSE(b.MouseInControl());
    EXPECT_EQ(leaves, 1);
    img = shot(b);
    EXPECT_EQ(img.pixel(37, 1), Face);

    b.setDown(true);
    img = shot(b);
    EXPECT_EQ(img.pixel(37, 0), DarkShadow) << "pressed keeps the sunken edge";
    EXPECT_EQ(img.pixel(37, 24), rgb(cl3DLight));
}

TEST(CoolBtnProperties, SetterRulesOfShadowNumGlyphsAndMargin)
{
    TCoolBtn b;
    classic(b);
    EXPECT_EQ(b.ShadowSize(), 1);
    EXPECT_EQ(b.ShadowColor(), clBtnHighlight);
    EXPECT_EQ(b.ShadowPos(), spLeftTop);
    EXPECT_EQ(b.Color(), clBtnFace);
    EXPECT_EQ(b.ColorStart(), clBtnFace);
    EXPECT_EQ(b.ColorEnd(), clBtnShadow);
    EXPECT_EQ(b.Interval(), 1000u);
    EXPECT_EQ(b.Spacing(), 4);
    EXPECT_EQ(b.Margin(), -1);
    EXPECT_EQ(b.Layout(), blGlyphLeft);
    EXPECT_EQ(b.BtnPaintOptions(), (TBtnPaintOptions{bpoDrawFocus, bpoDrawDefault}));
    EXPECT_FALSE(b.FrameTimer()->Enabled());
    EXPECT_EQ(b.FrameTimer()->Interval(), 1000);

    const Points plain = plainCaption(b);
    b.setSimpleView(true);
    b.setShadowSize(3);
    EXPECT_FALSE(b.SimpleView()) << "ShadowSize switches the shadow on again";
    // The text now lies 3 pixels right and down of its shadow.
    const QImage img = shot(b);
    EXPECT_EQ(pixelsOf(img, Black), shifted(plain, 3, 3));
    EXPECT_EQ(img.pixel(plain.begin()->first, plain.begin()->second), White);
    b.setSimpleView(true);
    b.setShadowColor(clRed);
    EXPECT_FALSE(b.SimpleView());
    b.setSimpleView(true);
    b.setShadowPos(spRightBottom);
    EXPECT_FALSE(b.SimpleView());
    b.setShadowSize(999);
    EXPECT_EQ(b.ShadowSize(), 255);

    b.setNumGlyphs(4);
    EXPECT_EQ(b.NumGlyphs(), 2);
    b.setNumGlyphs(0);
    EXPECT_EQ(b.NumGlyphs(), 2);
    b.setNumGlyphs(1);
    EXPECT_EQ(b.NumGlyphs(), 1);

    b.setMargin(6);
    b.setMargin(-5);
    EXPECT_EQ(b.Margin(), 6) << "values below -1 are ignored";
    b.setMargin(-1);
    EXPECT_EQ(b.Margin(), -1);

    b.setTransparencyLevel(300);
    EXPECT_EQ(b.TransparencyLevel(), 255);
    b.setProperty("Options", uint(TCoolOptions{ocRoundedForm, ocFlatBorder}.toInt()));
    EXPECT_EQ(b.Options(), (TCoolOptions{ocRoundedForm, ocFlatBorder}));
}

TEST(CoolBtnAnimation, GlyphCyclesThroughTheFramesOnASteppedTimer)
{
    TImageList frames(16, 16);
    addFrames(frames, {clRed, clLime, clBlue});
    TCoolBtn b;
    classic(b, QString());
    b.setImages(&frames);
    b.setInterval(200);
    b.setAnimated(true);
    b.FrameTimer()->setManual(true);
    EXPECT_TRUE(b.FrameTimer()->Enabled());
    EXPECT_EQ(b.FrameTimer()->Interval(), 200);

    // Hidden: a tick does nothing.
    b.FrameTimer()->trigger();
    EXPECT_EQ(b.FrameIndex(), 0);
    EXPECT_TRUE(b.AnimationFrame().isNull());

    b.show();
    // No caption: the glyph is centred, at ((75 - 16 + 1) / 2, (25 - 16 + 1) / 2)
    // = (30, 5); its square's centre at (38, 13).
    EXPECT_EQ(shot(b).pixel(38, 13), rgb(clRed)) << "a normal paint shows FrameIndex";
    const TColor expected[] = {clRed, clLime, clBlue, clRed, clLime};
    const int next[] = {1, 2, 0, 1, 2};
    for (int i = 0; i < 5; ++i) {
        b.FrameTimer()->trigger();
        ASSERT_EQ(b.AnimationFrame().size(), QSize(75, 25));
        EXPECT_EQ(b.AnimationFrame().pixel(38, 13), rgb(expected[i])) << "tick " << i;
        EXPECT_EQ(b.AnimationFrame().pixel(30, 5), Face) << "the frame's ground is transparent";
        EXPECT_EQ(b.AnimationFrame().pixel(37, 1), White) << "the face is painted under it";
        EXPECT_EQ(b.FrameIndex(), next[i]);
    }
    EXPECT_EQ(shot(b).pixel(38, 13), rgb(clBlue));

    b.setAnimated(false);
    EXPECT_FALSE(b.FrameTimer()->Enabled());
    // Not animated: ButtonGlyph (empty) is drawn, no frame.
    EXPECT_EQ(shot(b).pixel(38, 13), Face);
}

TEST(CoolBtnAnimation, DestroyedImageListIsDroppedAndChangesRepaint)
{
    auto frames = std::make_unique<TImageList>(16, 16);
    addFrames(*frames, {clRed});
    TCoolBtn b;
    classic(b, QString());
    b.setImages(frames.get());
    b.setAnimated(true);
    b.FrameTimer()->setManual(true);
    b.show();
    EXPECT_EQ(shot(b).pixel(38, 13), rgb(clRed));
    addFrames(*frames, {clBlue});
    frames.reset();
    EXPECT_EQ(b.Images(), nullptr);
    b.FrameTimer()->trigger();  // nothing to animate, no crash
    EXPECT_EQ(shot(b).pixel(38, 13), Face);
}

TEST(CoolBtnFace, RoundedGradientFillsOnlyTheEllipseWithTheParentInTheCorners)
{
    QWidget parent;
    colouredContainer(parent, QColor(0, 128, 0), QSize(120, 60));
    TCoolBtn b(&parent);
    classic(b, QString());
    b.setGeometry(10, 10, 81, 41);
    b.setOptions({ocRoundedForm, ocPaintGradiently});
    b.setColorStart(clRed);
    b.setColorEnd(clBlue);
    const QImage img = shot(b);

    const QRgb green = qRgb(0, 128, 0);
    for (const QPoint p : {QPoint(0, 0), QPoint(80, 0), QPoint(0, 40), QPoint(80, 40), QPoint(8, 3)})
        EXPECT_EQ(img.pixel(p), green) << p.x() << "," << p.y();
    // Inside: the horizontal gradient, red at the left, blue at the right.
    const QColor left(img.pixel(6, 20)), middle(img.pixel(40, 20)), right(img.pixel(74, 20));
    EXPECT_GT(left.red(), 200);
    EXPECT_LT(left.blue(), 60);
    EXPECT_GT(right.blue(), 200);
    EXPECT_LT(right.red(), 60);
    EXPECT_NEAR(middle.red(), 128, 8);
    EXPECT_NEAR(middle.blue(), 128, 8);
    EXPECT_EQ(middle.green(), 0);
    // The ring: shadow outline at the top, window frame at the bottom.
    EXPECT_EQ(img.pixel(40, 0), Shadow);
    EXPECT_EQ(img.pixel(40, 1), White);
    EXPECT_EQ(img.pixel(40, 40), Black);
    EXPECT_EQ(img.pixel(40, 39), Shadow);
}

TEST(CoolBtnFace, RoundedPlainFaceFillsTheEllipseWithColorAndPressedSwapsTheRing)
{
    QWidget parent;
    colouredContainer(parent, QColor(0, 128, 0), QSize(120, 60));
    TCoolBtn b(&parent);
    classic(b, QString());
    b.setGeometry(0, 0, 81, 41);
    b.setOptions({ocRoundedForm});
    b.setColor(clYellow);
    QImage img = shot(b);
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 128, 0));
    EXPECT_EQ(img.pixel(40, 20), rgb(clYellow));
    EXPECT_EQ(img.pixel(40, 40), Black);

    b.setDown(true);
    img = shot(b);
    EXPECT_EQ(img.pixel(40, 1), Black) << "pressed: the inner ring turns dark";
    EXPECT_EQ(img.pixel(40, 20), rgb(clYellow));
}

TEST(CoolBtnFace, BackgroundsTransparentAtLevelsWallpaperTiledStretchedAndGradient)
{
    QWidget grand;
    colouredContainer(grand, QColor(0, 128, 0), QSize(200, 100));
    QWidget parent(&grand);
    colouredContainer(parent, QColor(255, 255, 0), QSize(150, 80));
    TCoolBtn b(&parent);
    classic(b, QString());
    b.setOptions({ocPaintTransparently});
    QImage img = shot(b);
    EXPECT_EQ(img.pixel(10, 10), qRgb(255, 255, 0)) << "level 0: the parent";
    EXPECT_EQ(img.pixel(37, 1), White) << "edge over it";
    b.setTransparencyLevel(1);
    img = shot(b);
    EXPECT_EQ(img.pixel(10, 10), qRgb(0, 128, 0)) << "level 1: the parent's parent";

    // Own wallpaper: 8 x 8 pattern, tiled from the button's corner.
    TBitmap paper(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            paper.Canvas().SetPixel(x, y, RGB(x * 30, y * 30, 100));
    paper.Dormant();
    b.setWallpaper(&paper);
    b.setOptions({ocPaintWallpaper});
    img = shot(b);
    for (const QPoint p : {QPoint(10, 10), QPoint(21, 13), QPoint(60, 19)})
        EXPECT_EQ(img.pixel(p), qRgb((p.x() % 8) * 30, (p.y() % 8) * 30, 100)) << p.x() << "," << p.y();
    b.setOptions({ocPaintWallpaper, ocStretchWallpaper});
    img = shot(b);
    // Stretched 8 pixels over 75 x 25: source column 1 at x = 10, row 1 at
    // y = 4, where the tiled paper has column 2 and row 4.
    EXPECT_EQ(qRed(img.pixel(10, 4)), 30);
    EXPECT_EQ(qGreen(img.pixel(10, 4)), 30);

    // Both wallpaper and transparency: transparency decides.
    b.setOptions({ocPaintWallpaper, ocPaintTransparently});
    b.setTransparencyLevel(0);
    EXPECT_EQ(shot(b).pixel(10, 10), qRgb(255, 255, 0));

    // A wallpaper option without any wallpaper paints no background: what
    // the erase left (the parent under the button) shows, inside the edge.
    b.setWallpaper(nullptr);
    b.setOptions({ocPaintWallpaper});
    b.setColor(clRed);
    img = shot(parent);
    EXPECT_EQ(img.pixel(b.x() + 10, b.y() + 10), qRgb(255, 255, 0)) << "not the face colour";
    EXPECT_EQ(img.pixel(b.x() + 37, b.y() + 1), White) << "the edge is drawn";
    b.setColor(clBtnFace);

    // Gradient: 128 bands from ColorStart to ColorEnd, vertical on request.
    b.setOptions({ocPaintGradiently});
    b.setColorStart(clBlack);
    b.setColorEnd(clWhite);
    img = shot(b);
    const int band = 37 * 128 / 75;  // the band x = 37 lies in
    EXPECT_NEAR(qRed(img.pixel(37, 12)), MulDiv(band, 255, 128), 3);
    EXPECT_EQ(qRed(img.pixel(37, 12)), qRed(img.pixel(37, 4)));
    b.setGradientDirection(gdVertical);
    img = shot(b);
    EXPECT_LT(qRed(img.pixel(37, 4)), qRed(img.pixel(37, 20)));
    EXPECT_EQ(qRed(img.pixel(10, 12)), qRed(img.pixel(60, 12)));
}

TEST(CoolBtnFace, GlyphLayoutsMarginAndRightToLeft)
{
    TCoolBtn b;
    classic(b, QStringLiteral("Go"));
    b.resize(90, 40);
    b.setGlyph(squareGlyph().get());
    b.setSimpleView(true);
    auto squareAt = [&](const QImage &img) {
        // Top-left of the glyph's black square (the text is black too, so
        // look for a full 6 x 6 block).
        for (int y = 0; y + 6 <= img.height(); ++y)
            for (int x = 0; x + 6 <= img.width(); ++x) {
                bool full = true;
                for (int dy = 0; dy < 6 && full; ++dy)
                    for (int dx = 0; dx < 6 && full; ++dx)
                        full = img.pixel(x + dx, y + dy) == Black;
                if (full)
                    return QPoint(x, y);
            }
        return QPoint(-1, -1);
    };
    b.setMargin(2);
    EXPECT_EQ(squareAt(shot(b)), QPoint(2 + 5, (40 - 16 + 1) / 2 + 5));
    b.setLayout(blGlyphRight);
    EXPECT_EQ(squareAt(shot(b)), QPoint(90 - 2 - 16 + 5, 12 + 5));
    b.setLayout(blGlyphTop);
    EXPECT_EQ(squareAt(shot(b)), QPoint((90 - 16 + 1) / 2 + 5, 2 + 5));
    b.setLayout(blGlyphBottom);
    EXPECT_EQ(squareAt(shot(b)), QPoint(37 + 5, 40 - 2 - 16 + 5));
    b.setLayout(blGlyphLeft);
    b.setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(squareAt(shot(b)), QPoint(90 - 2 - 16 + 5, 12 + 5)) << "right-to-left puts it on the right";
}

TEST(CoolBtnFace, OnDrawButtonGetsACanvasThatStillDraws)
{
    TCoolBtn b;
    classic(b);
    QObject *sender = nullptr;
    QRect rect;
    b.OnDrawButton = [&](TCoolBtn *s, TCanvas &canvas, const QRect &r) {
        sender = s;
        rect = r;
        canvas.FillRect(QRect(0, 0, 5, 5), clRed);
    };
    const QImage img = shot(b);
    EXPECT_EQ(sender, &b);
    EXPECT_EQ(rect, QRect(0, 0, 75, 25));
    EXPECT_EQ(img.pixel(2, 2), rgb(clRed));
    EXPECT_EQ(img.pixel(37, 1), White);
    EXPECT_FALSE(b.FaceCanvas().HandleAllocated()) << "detached after painting";
}

TEST(CoolBtnFace, AThrowingOnDrawButtonLeavesTheCanvasDetachedAndTheNextPaintWorks)
{
    // The application survives an exception from a handler; the button's
    // canvas must not keep the painter of the paint that ended with it.
    platform::testsupport::ErrorCapture errors;
    TCoolBtn b;
    classic(b);
    int calls = 0;
    b.OnDrawButton = [&](TCoolBtn *, TCanvas &canvas, const QRect &) {
        if (++calls == 1)
            throw platform::Exception(QStringLiteral("handler failed"));
        canvas.FillRect(QRect(0, 0, 5, 5), clRed);
    };
    shot(b);
    ASSERT_EQ(calls, 1);
    EXPECT_FALSE(b.FaceCanvas().HandleAllocated()) << "detached although the handler threw";
    EXPECT_EQ(errors.messages().size(), 1);
    const QImage img = shot(b);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(img.pixel(2, 2), rgb(clRed));
    EXPECT_EQ(img.pixel(37, 1), White);
}

TEST(CoolBtnAction, ActionGivesCaptionEnabledClicksAndItsImageAsGlyph)
{
    TImageList list(16, 16);
    addFrames(list, {clRed, clBlue});
    QAction action(QStringLiteral("Play"));
    action.setProperty(TCoolBtn::ActionImagesProperty, QVariant::fromValue<QObject *>(&list));
    action.setProperty(TCoolBtn::ActionImageIndexProperty, 1);
    TCoolBtn b;
    classic(b, QString());
    b.setAction(&action);
    EXPECT_EQ(b.Caption(), "Play");
    ASSERT_FALSE(b.Glyph().Empty());
    EXPECT_EQ(b.Glyph().Width(), 16);
    EXPECT_EQ(b.Glyph().pixel(0, 0), clFuchsia);
    EXPECT_EQ(b.Glyph().pixel(6, 6), clBlue);

    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
    b.click();
    EXPECT_EQ(triggered, 1);
    action.setEnabled(false);
    EXPECT_FALSE(b.isEnabled());

    // A glyph already there is kept.
    action.setProperty(TCoolBtn::ActionImageIndexProperty, 0);
    action.setText(QStringLiteral("Stop"));
    EXPECT_EQ(b.Caption(), "Stop");
    EXPECT_EQ(b.Glyph().pixel(6, 6), clBlue);

    // An index outside the list gives no glyph.
    TCoolBtn c;
    action.setProperty(TCoolBtn::ActionImageIndexProperty, 7);
    c.setAction(&action);
    EXPECT_TRUE(c.Glyph().Empty());
}

TEST(CoolBtn, SpaceAndEnterOnTheFocusedButtonClick)
{
    QWidget window;
    TCoolBtn b(&window);
    classic(b);
    int clicks = 0;
    b.OnClick = [&](QObject *) { ++clicks; };
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    b.setFocus();
    QTest::keyClick(&b, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(&b, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
}

TEST(CoolBtnDialog, EscapeClicksTheCancelButtonOfItsWindow)
{
    QWidget window;
    window.resize(200, 100);
    TCoolBtn ok(&window), cancel(&window);
    cancel.move(0, 40);
    int okClicks = 0, cancelClicks = 0;
    ok.OnClick = [&](QObject *) { ++okClicks; };
    cancel.OnClick = [&](QObject *sender) {
        EXPECT_EQ(sender, &cancel);
        ++cancelClicks;
    };
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ok.setFocus();
    QTest::keyClick(&ok, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 0) << "no Cancel button yet";
    cancel.setCancel(true);
    QTest::keyClick(&ok, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 1) << "Escape anywhere in the window";
    EXPECT_EQ(okClicks, 0);
    cancel.setEnabled(false);
    QTest::keyClick(&ok, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 1) << "not while disabled";
    cancel.setEnabled(true);
    cancel.setCancel(false);
    QTest::keyClick(&ok, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 1);
}

TEST(CoolBtnDialog, ModalResultIsTheDialogsBeforeOnClickAndClosesAModalDialog)
{
    QDialog dialog;
    TCoolBtn ok(&dialog);
    ok.setModalResult(mrOk);
    EXPECT_EQ(ok.property("ModalResult").value<TModalResult>(), mrOk);
    int seen = -1;
    bool keepOpen = true;
    ok.OnClick = [&](QObject *) {
        seen = dialog.result();
        if (keepOpen)
            dialog.setResult(mrNone);
    };
    dialog.open();
    ASSERT_TRUE(dialog.isModal());
    ok.click();
    EXPECT_EQ(seen, int(mrOk)) << "set before OnClick";
    EXPECT_TRUE(dialog.isVisible()) << "the handler kept it open";
    keepOpen = false;
    ok.click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), int(mrOk));

    // Escape: the dialog's Cancel button is clicked (OnClick raised), and
    // the dialog closes with its modal result, not as merely rejected.
    TCoolBtn cancel(&dialog);
    cancel.setModalResult(mrCancel);
    cancel.setCancel(true);
    int cancelled = 0;
    cancel.OnClick = [&](QObject *) { ++cancelled; };
    dialog.open();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&ok, Qt::Key_Escape);
    EXPECT_EQ(cancelled, 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), int(mrCancel));

    // A window that is no dialog keeps the result as a property and stays.
    QWidget window;
    TCoolBtn retry(&window);
    retry.setModalResult(mrRetry);
    window.show();
    retry.click();
    EXPECT_EQ(window.property("ModalResult").toInt(), int(mrRetry));
    EXPECT_TRUE(window.isVisible());

    // Without a modal result a click leaves the dialog alone.
    QDialog other;
    TCoolBtn plain(&other);
    other.open();
    plain.click();
    EXPECT_TRUE(other.isVisible());
    EXPECT_EQ(other.result(), 0);
}

TEST(CoolBtnProperties, OptionsChangeTellsTheButtonAndItsChildrenTheColoursChanged)
{
    QWidget parent;
    TCoolBtn b(&parent);
    auto *probe = new controltest::ParentColorProbe(&b);
    controltest::EventCounter palette(&b, QEvent::PaletteChange);
    b.setOptions({ocFlatBorder});
    EXPECT_EQ(palette.count, 1);
    EXPECT_EQ(probe->notified, 1);
    b.setOptions({ocFlatBorder});
    EXPECT_EQ(palette.count, 1) << "an unchanged value sends nothing";
    EXPECT_EQ(probe->notified, 1);
    b.setOptions({});
    EXPECT_EQ(probe->notified, 2);
    // So does a new look of the own wallpaper.
    b.Wallpaper()->SetSize(8, 8);
    b.Wallpaper()->Canvas().FillRect(QRect(0, 0, 8, 8), clRed);
    EXPECT_GE(palette.count, 3);
    EXPECT_GE(probe->notified, 3);

    // The inherited properties.
    EXPECT_TRUE(b.setProperty("TabStop", false));
    EXPECT_EQ(int(b.focusPolicy()), Qt::StrongFocus & ~Qt::TabFocus) << "Tab passes it by; a click still focuses it";
    EXPECT_TRUE(b.setProperty("Cancel", true));
    EXPECT_TRUE(b.Cancel());
    b.Constraints()->setMaxWidth(50);
    b.resize(80, 25);
    EXPECT_EQ(b.width(), 50);
}
