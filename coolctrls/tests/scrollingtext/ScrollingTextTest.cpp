#include "coolctrls/TCoolScrollingText.h"
#include "coolctrls/TThreadTimer.h"
#include "platform/TSizeConstraints.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QApplication>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

#include <set>

using namespace coolctrls;
using namespace platform;

namespace {

// A parent that paints itself in one colour (changeable).
class ColourWidget : public QWidget
{
public:
    QColor colour = Qt::red;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), colour);
    }
};

// A ticker stepped by hand: its thread never ticks on the clock.
void manual(TCoolScrollingText &ticker)
{
    ticker.ScrollTimer().setManual(true);
}

int count(const QImage &img, QColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

QImage solid(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// A hand-stepped ticker on white, on a 200 x 40 page.
struct TickerOnPage
{
    QWidget page;
    TCoolScrollingText ticker{&page};
    explicit TickerOnPage(QSize size)
    {
        page.resize(200, 40);
        manual(ticker);
        ticker.resize(size);
        ticker.setColor(platform::clWhite);
    }
};

} // namespace

TEST(ScrollingText, MainWindowTickerEntersAtItsWidthAndReentersAfterTheLastCharacterLeft)
{
    QWidget page;
    TCoolScrollingText ticker(&page);
    manual(ticker);
    ticker.setGeometry(7, 286, 770, 22);
    ticker.setFontHeight(-13);
    ticker.setStrings({"CoolScrollingText"});
    ticker.setActive(true);
    ticker.Loaded();
    EXPECT_EQ(ticker.Interval(), 25u);
    EXPECT_EQ(ticker.ScrollTimer().Interval(), 25);
    EXPECT_EQ(ticker.ScrollX(), 770);
    ticker.Tick();
    EXPECT_EQ(ticker.ScrollX(), 769);
    const int w = ticker.TextExtent().width();
    ASSERT_GT(w, 13);
    for (int i = 0; i < 769 + w; ++i)
        ticker.Tick();
    EXPECT_EQ(ticker.ScrollX(), -w) << "its last column has left";
    ticker.Tick();
    EXPECT_EQ(ticker.ScrollX(), 770) << "enters again at the right edge";
    EXPECT_EQ(ticker.ScrollY(), 0);
}

TEST(ScrollingText, TopToBottomRunsFromMinusHeightToHeightThenStartsAgain)
{
    TCoolScrollingText ticker;
    manual(ticker);
    ticker.resize(97, 15);
    ticker.Add("text");
    ticker.setScrollDirection(coolctrls::sdTopToBottom);
    ticker.ResetPosition(false);
    std::vector<int> seen{ticker.ScrollY()};
    for (int i = 0; i < 31; ++i) {
        ticker.Tick();
        seen.push_back(ticker.ScrollY());
    }
    EXPECT_EQ(seen.front(), -15);
    EXPECT_EQ(seen[30], 15);
    EXPECT_EQ(seen[31], -15);
    for (int i = 0; i <= 30; ++i)
        EXPECT_EQ(seen[i], -15 + i);

    ticker.setScrollDirection(coolctrls::sdBottomToTop);
    ticker.ResetPosition(false);
    EXPECT_EQ(ticker.ScrollY(), 15);
    const int h = ticker.TextExtent().height();
    for (int i = 0; i < 15 + h; ++i)
        ticker.Tick();
    EXPECT_EQ(ticker.ScrollY(), -h);
    ticker.Tick();
    EXPECT_EQ(ticker.ScrollY(), 15);

    ticker.setScrollDirection(coolctrls::sdLeftToRight);
    ticker.ResetPosition(false);
    EXPECT_EQ(ticker.ScrollX(), -97);
}

TEST(ScrollingText, TextScrolledHandlerCanRestartAtRest)
{
    TCoolScrollingText ticker;
    manual(ticker);
    ticker.resize(40, 15);
    ticker.Add("x");
    ticker.ResetPosition(false);
    int passes = 0;
    ticker.OnTextScrolled = [&](QObject *sender, bool &initial) {
        EXPECT_EQ(sender, &ticker);
        EXPECT_FALSE(initial);
        ++passes;
        initial = true;
    };
    const int w = ticker.TextExtent().width();
    for (int i = 0; i < 40 + w + 1; ++i)
        ticker.Tick();
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(ticker.ScrollX(), 0) << "the next pass starts at rest";
    ticker.Tick();
    EXPECT_EQ(ticker.ScrollX(), -1) << "and moves on from there";
}

TEST(ScrollingText, IntervalKeepsItsValueTheTimerItsLow16Bits)
{
    TCoolScrollingText ticker;
    manual(ticker);
    ticker.setInterval(70000);
    EXPECT_EQ(ticker.Interval(), 70000u);
    EXPECT_EQ(ticker.ScrollTimer().Interval(), 4464);
    ticker.setInterval(65536);
    EXPECT_EQ(ticker.ScrollTimer().SleepInterval(), 1);
}

TEST(ScrollingText, HorizontalDirectionResetsAlignmentAndShadowSettersClearSimpleView)
{
    TCoolScrollingText ticker;
    ticker.setScrollDirection(coolctrls::sdTopToBottom);
    ticker.setAlignment(coolctrls::taCenter);
    ticker.setScrollDirection(coolctrls::sdBottomToTop);
    EXPECT_EQ(ticker.Alignment(), coolctrls::taCenter) << "vertical keeps it";
    ticker.setScrollDirection(coolctrls::sdLeftToRight);
    EXPECT_EQ(ticker.Alignment(), coolctrls::taLeftJustify);
    ticker.setAlignment(coolctrls::taRightJustify);
    ticker.setScrollDirection(coolctrls::sdLeftToRight);
    EXPECT_EQ(ticker.Alignment(), coolctrls::taLeftJustify) << "also when the direction stays";

    ticker.setSimpleView(true);
    ticker.setShadowPos(coolctrls::spRightBottom);
    EXPECT_FALSE(ticker.SimpleView());
    ticker.setSimpleView(true);
    ticker.setShadowSize(2);
    EXPECT_FALSE(ticker.SimpleView());
    ticker.setSimpleView(true);
    ticker.setShadowColor(platform::clRed);
    EXPECT_FALSE(ticker.SimpleView());
}

TEST(ScrollingText, ShadowTurnedOnDisabledTextEngravedWhateverTheShadow)
{
    TCoolScrollingText ticker;
    ticker.resize(120, 20);
    ticker.setColor(platform::clWhite);
    ticker.setFontColor(platform::clBlue);
    ticker.Add("MMMM");
    ticker.setSimpleView(true);
    ticker.setShadowColor(platform::clRed);
    ticker.setSimpleView(true);
    QImage img = ticker.RenderFrame();
    EXPECT_EQ(count(img, Qt::red), 0) << "plain text";
    EXPECT_GT(count(img, Qt::blue), 0);

    ticker.setShadowPos(coolctrls::spRightBottom);
    img = ticker.RenderFrame();
    EXPECT_GT(count(img, Qt::red), 0) << "the shadow is on";
    EXPECT_GT(count(img, Qt::blue), 0);

    ticker.setEnabled(false);
    img = ticker.RenderFrame();
    EXPECT_EQ(count(img, Qt::red), 0);
    EXPECT_EQ(count(img, Qt::blue), 0);
    EXPECT_GT(count(img, ColorToQColor(clBtnShadow)), 0) << "engraved";
    EXPECT_GT(count(img, ColorToQColor(clBtnHighlight)), 0);
}

TEST(ScrollingText, AppendedSpaceAndShadowOffsetAreMeasured)
{
    TCoolScrollingText ticker;
    ticker.resize(200, 20);
    ticker.Add("ab");
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.Font.Assign(ticker.font());
    const int plain = canvas.TextWidth("ab");
    const int spaced = canvas.TextWidth("ab ");
    ASSERT_GT(spaced, plain);
    EXPECT_EQ(ticker.TextExtent().width(), spaced + 1) << "space plus the 1-pixel shadow";
    ticker.setSimpleView(true);
    EXPECT_EQ(ticker.TextExtent().width(), spaced);
}

TEST(ScrollingText, AmpersandDrawnWithShowAccelCharUnderlinesWithout)
{
    TCoolScrollingText ticker;
    ticker.resize(120, 20);
    ticker.setSimpleView(true);
    ticker.setColor(platform::clWhite);
    ticker.setFontColor(platform::clBlack);
    ticker.Add("A&B");
    const int withAmpersand = ticker.TextExtent().width();
    const QImage drawn = ticker.RenderFrame();
    ticker.setStrings({"AB"});
    const int plainWidth = ticker.TextExtent().width();
    const QImage plain = ticker.RenderFrame();
    EXPECT_GT(withAmpersand, plainWidth) << "ShowAccelChar: the ampersand is a character";
    EXPECT_NE(drawn, plain);

    ticker.setShowAccelChar(false);
    ticker.setStrings({"A&B"});
    EXPECT_EQ(ticker.TextExtent().width(), plainWidth) << "the ampersand is not drawn";
    const QImage underlined = ticker.RenderFrame();
    // Only the underline differs from plain "AB", below the letters.
    int lowest = -1, differing = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != underlined.pixel(x, y)) {
                ++differing;
                lowest = qMax(lowest, y);
                EXPECT_EQ(underlined.pixelColor(x, y), QColor(Qt::black));
            }
    EXPECT_GT(differing, 0) << "the B is underlined";
    int textBottom = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixelColor(x, y) == QColor(Qt::black))
                textBottom = y;
    EXPECT_GE(lowest, textBottom - 1);
}

TEST(ScrollingText, AcceleratorFocusesTheFocusControlOnlyWithShowAccelChar)
{
    QWidget window;
    TCoolScrollingText ticker(&window);
    auto *edit = new QLineEdit(&window);
    edit->move(0, 30);
    ticker.Add("&Name");
    EXPECT_EQ(ticker.AccelChar(), QChar('n'));
    EXPECT_FALSE(ticker.DialogChar('n')) << "no FocusControl";
    ticker.setFocusControl(edit);
    window.show();
    EXPECT_FALSE(ticker.DialogChar('x'));
    EXPECT_TRUE(ticker.DialogChar('N'));
    QApplication::processEvents();
    EXPECT_TRUE(edit->hasFocus() || QApplication::focusWidget() == edit || !window.isActiveWindow());
    ticker.setEnabled(false);
    EXPECT_FALSE(ticker.DialogChar('n')) << "disabled";
    ticker.setEnabled(true);
    ticker.setShowAccelChar(false);
    EXPECT_FALSE(ticker.DialogChar('n')) << "no accelerator without ShowAccelChar";
    ticker.setShowAccelChar(true);
    delete edit;
    EXPECT_EQ(ticker.FocusControl(), nullptr) << "a destroyed FocusControl is dropped";
    EXPECT_FALSE(ticker.DialogChar('n'));
    ticker.setStrings({"a && b"});
    EXPECT_TRUE(ticker.AccelChar().isNull());
}

TEST(ScrollingText, OneFramePerTickAndTheLastFrameStaysWhenActiveGoesOff)
{
    TickerOnPage fixture(QSize(100, 20));
    QWidget &page = fixture.page;
    TCoolScrollingText &ticker = fixture.ticker;
    ticker.Add("moving");
    ticker.setActive(true);
    ticker.Loaded();
    page.show();
    QApplication::processEvents();
    for (int i = 0; i < 30; ++i)
        ticker.ScrollTimer().trigger();
    const int frames = ticker.FramesPainted();
    ticker.ScrollTimer().trigger();
    EXPECT_EQ(ticker.FramesPainted(), frames + 1) << "one off-screen frame per tick";
    const QImage shown = ticker.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(ticker.FramesPainted(), frames + 1) << "the paint shows the tick's frame";

    const int x = ticker.ScrollX();
    ticker.setActive(false);
    ticker.ScrollTimer().trigger();
    EXPECT_EQ(ticker.ScrollX(), x) << "stopped where it was";
    EXPECT_EQ(ticker.grab().toImage().convertToFormat(QImage::Format_RGB32), shown) << "the last frame stands";
}

TEST(ScrollingText, TransparentTakesTheParentOnceWhenTicksStartAndTheWallpaperWins)
{
    ColourWidget parent;
    parent.resize(200, 60);
    TCoolScrollingText ticker(&parent);
    manual(ticker);
    ticker.setGeometry(10, 10, 100, 20);
    ticker.setColor(platform::clWhite);
    ticker.setTransparent(true);
    ticker.Add("t");
    ticker.ResetPosition(false);  // text outside: background only
    EXPECT_EQ(ticker.RenderFrame().pixelColor(50, 10), QColor(Qt::red)) << "the parent under it";

    ticker.setActive(true);
    ticker.Tick();
    ASSERT_FALSE(ticker.BackgroundSnapshot().isNull());
    parent.colour = Qt::green;
    ticker.Tick();
    EXPECT_EQ(ticker.RenderFrame().pixelColor(50, 10), QColor(Qt::red)) << "captured once, not per tick";

    ticker.setActive(false);
    ticker.setActive(true);
    ticker.Tick();
    EXPECT_EQ(ticker.RenderFrame().pixelColor(50, 10), QColor(Qt::green)) << "captured again at the next start";

    ticker.setWallpaper(solid(4, 4, Qt::blue));
    EXPECT_EQ(ticker.RenderFrame().pixelColor(50, 10), QColor(Qt::blue)) << "the wallpaper wins";
    ticker.setWallpaper(QImage());
    ticker.setTransparent(false);
    EXPECT_EQ(ticker.RenderFrame().pixelColor(50, 10), QColor(Qt::white)) << "Color without Transparent";
}

TEST(ScrollingText, GlyphBeforeTheTextAndAutoSize)
{
    QWidget page;
    TCoolScrollingText ticker(&page);
    ticker.resize(150, 30);
    ticker.setColor(platform::clWhite);
    ticker.setSimpleView(true);
    ticker.Add("text");
    const QSize bare = ticker.TextExtent();
    QImage glyph = solid(16, 16, Qt::green);
    glyph.setPixelColor(0, 15, Qt::white);  // not the transparent colour
    ticker.setGlyph(glyph);
    EXPECT_EQ(ticker.TextExtent(), QSize(bare.width() + 18, qMax(bare.height(), 16)));
    const QImage img = ticker.RenderFrame();
    EXPECT_EQ(img.pixelColor(5, 5), QColor(Qt::green)) << "glyph at the text's top-left";
    // The text begins after the glyph and 2 pixels.
    int firstText = -1;
    for (int x = 0; x < img.width() && firstText < 0; ++x)
        for (int y = 0; y < img.height(); ++y)
            if (img.pixelColor(x, y) == QColor(Qt::black)) {
                firstText = x;
                break;
            }
    EXPECT_GE(firstText, 18);

    ticker.setNumGlyphs(3);
    EXPECT_EQ(ticker.NumGlyphs(), 2) << "above 2 stored as 2";

    ticker.setAutoSize(true);
    EXPECT_EQ(ticker.size(), ticker.TextExtent());
    ticker.setAlignment(coolctrls::taRightJustify);
    const int right = ticker.x() + ticker.width();
    ticker.setStrings({"a longer text"});
    EXPECT_EQ(ticker.x() + ticker.width(), right) << "right-justified keeps its right edge";
}

TEST(ScrollingText, WhatIsKeptBetweenTicksFollowsEveryChangeAndAHiddenTickerOnlyMoves)
{
    TickerOnPage fixture(QSize(120, 20));
    QWidget &page = fixture.page;
    TCoolScrollingText &ticker = fixture.ticker;
    ticker.setFontColor(platform::clBlue);
    ticker.setSimpleView(true);
    ticker.Add("MMMM");
    ticker.ResetPosition(true);
    QImage img = ticker.RenderFrame();
    EXPECT_GT(count(img, Qt::blue), 0);

    ticker.setFontColor(platform::clRed);
    img = ticker.RenderFrame();
    EXPECT_EQ(count(img, Qt::blue), 0) << "a new font colour redraws the kept text";
    EXPECT_GT(count(img, Qt::red), 0);

    const int narrow = ticker.TextExtent().width();
    ticker.setStrings({"MMMMMMMM"});
    EXPECT_GT(ticker.TextExtent().width(), narrow) << "a new text is measured again";
    const int wide = count(ticker.RenderFrame(), Qt::red);
    EXPECT_GT(wide, count(img, Qt::red));
    ticker.setFontHeight(-20);
    EXPECT_GT(count(ticker.RenderFrame(), Qt::red), wide) << "and a new font";

    ticker.setColor(platform::clLime);
    EXPECT_EQ(ticker.RenderFrame().pixelColor(119, 19), QColor(Qt::green)) << "a new colour";
    ticker.setWallpaper(solid(4, 4, Qt::yellow));
    EXPECT_EQ(ticker.RenderFrame().pixelColor(119, 19), QColor(Qt::yellow)) << "a new wallpaper";
    // Drawn on in place: the kept background follows its content.
    ticker.Wallpaper()->Canvas().FillRect(QRect(0, 0, 4, 4), QColorToColor(Qt::cyan));
    EXPECT_EQ(ticker.RenderFrame().pixelColor(119, 19), QColor(Qt::cyan));
    ticker.resize(150, 20);
    EXPECT_EQ(ticker.RenderFrame().pixelColor(149, 19), QColor(Qt::cyan)) << "a new size";

    // Centred text in a rectangle whose width changes at every step still
    // moves by the rule (half a pixel per pixel of the rectangle).
    ticker.setWallpaper(QImage());
    ticker.setColor(platform::clWhite);
    ticker.setAlignment(coolctrls::taCenter);
    ticker.setStrings({"MM"});
    auto firstRed = [](const QImage &frame) {
        for (int x = 0; x < frame.width(); ++x)
            for (int y = 0; y < frame.height(); ++y)
                if (frame.pixelColor(x, y) == QColor(Qt::red))
                    return x;
        return -1;
    };
    ticker.ResetPosition(true);
    const int atRest = firstRed(ticker.RenderFrame());
    for (int i = 0; i < 20; ++i)
        ticker.Tick();
    EXPECT_EQ(ticker.ScrollX(), -20);
    EXPECT_NEAR(firstRed(ticker.RenderFrame()), atRest - 10, 1);

    page.show();
    QApplication::processEvents();
    ticker.Tick();
    const int frames = ticker.FramesPainted();
    page.hide();
    const int x = ticker.ScrollX();
    ticker.Tick();
    ticker.Tick();
    EXPECT_EQ(ticker.ScrollX(), x - 2) << "a hidden ticker moves on";
    EXPECT_EQ(ticker.FramesPainted(), frames) << "but paints no frame";
}

TEST(ScrollingText, AHiddenTickerSleepsAndKeepsItsPlaceByTheClock)
{
    QWidget page;
    page.resize(200, 40);
    TCoolScrollingText ticker(&page);
    ticker.resize(120, 20);
    ticker.setStrings({"MMMM"});
    qint64 now = 1000;
    ticker.setClock([&] { return now; });
    int passes = 0;
    ticker.OnTextScrolled = [&](QObject *, bool &) { ++passes; };
    ticker.ScrollTimer().setManual(true);
    ticker.setActive(true);
    ticker.Loaded();
    page.show();
    EXPECT_TRUE(ticker.ScrollTimer().Enabled());
    const int x = ticker.ScrollX();

    page.hide();  // its page is no longer the current one
    EXPECT_FALSE(ticker.ScrollTimer().Enabled()) << "the thread sleeps while nothing shows";
    now += 250;   // ten 25 ms ticks
    EXPECT_EQ(ticker.ScrollX(), x) << "nothing moves while hidden";
    page.show();
    EXPECT_TRUE(ticker.ScrollTimer().Enabled());
    EXPECT_EQ(ticker.ScrollX(), x - 10) << "shown again where the ticks would have taken it";

    // A long absence: whole passes with their OnTextScrolled, then the rest.
    const int pass = 120 + ticker.TextExtent().width() + 1;  // steps from entry to entry
    page.hide();
    now += 25 * (2 * pass + 5);
    page.show();
    EXPECT_EQ(passes, 2);
    EXPECT_EQ(ticker.ScrollX(), x - 15);

    // Stopped while hidden: it moves up to the stop, not after.
    page.hide();
    now += 100;
    ticker.setActive(false);
    now += 1000;
    page.show();
    EXPECT_FALSE(ticker.ScrollTimer().Enabled());
    EXPECT_EQ(ticker.ScrollX(), x - 19);
}

TEST(ScrollingText, OnAPageNeverShownTheFirstTickPutsTheThreadToSleep)
{
    QWidget window;
    window.resize(300, 100);
    QWidget quizPage(&window), infoPage(&window);
    infoPage.hide();  // the page that is not the current one
    TCoolScrollingText ticker(&infoPage);
    ticker.ScrollTimer().setManual(true);
    qint64 now = 0;
    ticker.setClock([&] { return now; });
    ticker.setActive(true);
    ticker.Loaded();
    window.show();
    ASSERT_TRUE(ticker.ScrollTimer().Enabled());
    const int x = ticker.ScrollX();
    ticker.Tick();
    EXPECT_FALSE(ticker.ScrollTimer().Enabled()) << "nothing to show: the thread sleeps";
    now += 50;
    infoPage.show();
    EXPECT_TRUE(ticker.ScrollTimer().Enabled());
    EXPECT_EQ(ticker.ScrollX(), x - 3) << "the tick and the two the clock held";
}

namespace {

// The rectangles of the paint events a widget receives.
class PaintRecorder : public QObject
{
public:
    std::vector<QRect> rects;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            rects.push_back(static_cast<QPaintEvent *>(event)->rect());
        return false;
    }
};

} // namespace

// A tick draws and shows only the strip the text left and entered, in every
// direction, over a wallpaper and over the parent's captured background,
// and what shows is the whole frame drawn afresh, pixel for pixel; a new
// background look (the capture at the first tick) shows the whole frame.
TEST(ScrollingText, ATickRepaintsTheTextsStripAloneAndShowsTheWholeFrame)
{
    for (const TScrollDirection direction : {sdRightToLeft, sdLeftToRight, sdBottomToTop, sdTopToBottom}) {
        for (const bool transparent : {false, true}) {
            SCOPED_TRACE(testing::Message() << "direction " << int(direction) << " transparent " << transparent);
            ColourWidget parent;
            parent.colour = QColor(200, 220, 90);
            parent.resize(260, 60);
            TCoolScrollingText ticker(&parent);
            manual(ticker);
            ticker.setGeometry(10, 10, 240, 30);
            ticker.setScrollDirection(direction);
            ticker.setShadowColor(platform::clBlue);
            ticker.setStrings({"Ab"});
            if (transparent) {
                ticker.setTransparent(true);
            } else {
                QImage wallpaper(5, 3, QImage::Format_RGB32);
                for (int x = 0; x < 5; ++x)
                    for (int y = 0; y < 3; ++y)
                        wallpaper.setPixelColor(x, y, QColor(40 * x, 70 * y, 128));
                ticker.setWallpaper(wallpaper);
            }
            ticker.setActive(true);
            ticker.Loaded();
            parent.show();
            QApplication::processEvents();
            PaintRecorder recorder;
            ticker.installEventFilter(&recorder);

            for (int i = 0; i < 60; ++i) {
                recorder.rects.clear();
                const QPoint before(ticker.ScrollX(), ticker.ScrollY());
                ticker.Tick();
                // At a wrap the strip reaches from the old place to the new.
                const bool wrapped = (QPoint(ticker.ScrollX(), ticker.ScrollY()) - before).manhattanLength() > 1;
                const std::vector<QRect> painted = recorder.rects;
                const QImage shown = ticker.grab().toImage().convertToFormat(QImage::Format_RGB32);
                ASSERT_EQ(shown, ticker.RenderFrame()) << "tick " << i;
                if (i == 0 && transparent) {
                    ASSERT_EQ(painted.size(), 1u);
                    EXPECT_EQ(painted[0], ticker.rect()) << "the captured background shows whole";
                    continue;
                }
                ASSERT_LE(painted.size(), 1u) << "tick " << i;
                if (painted.empty() || wrapped)
                    continue; // the text is outside: nothing changed
                const QRect strip = painted[0];
                if (direction == sdRightToLeft || direction == sdLeftToRight)
                    EXPECT_LT(strip.width(), ticker.width() / 2) << "tick " << i;
                else
                    EXPECT_LT(strip.height(), ticker.height()) << "tick " << i;
            }
        }
    }
}

TEST(ScrollingText, AfterStoppingTheLastFrameStaysUntilTheParentPaintsThatArea)
{
    ColourWidget page;
    page.colour = Qt::red;
    page.resize(200, 40);
    TCoolScrollingText ticker(&page);
    manual(ticker);
    ticker.setGeometry(10, 10, 100, 20);
    ticker.setColor(platform::clWhite);
    ticker.Add("moving");
    ticker.setActive(true);
    ticker.Loaded();
    page.show();
    QApplication::processEvents();
    for (int i = 0; i < 30; ++i)
        ticker.ScrollTimer().trigger();
    const QImage last = ticker.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(last.pixelColor(99, 0), QColor(Qt::white)) << "the ticker's own background";

    ticker.setActive(false);
    ticker.setColor(platform::clBlue);  // a stopped ticker shows no change
    QApplication::processEvents();
    EXPECT_EQ(ticker.grab().toImage().convertToFormat(QImage::Format_RGB32), last) << "the frame stands";

    // The parent paints that area: its background shows there from now on.
    page.update(QRect(0, 0, 60, 40));
    QApplication::processEvents();
    const QImage afterParent = page.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(afterParent.pixelColor(10 + 99, 10), QColor(Qt::red));
    EXPECT_EQ(afterParent.pixelColor(10 + 5, 10 + 5), QColor(Qt::red));

    // Started again, the ticker covers its area with its frames.
    ticker.setActive(true);
    ticker.ScrollTimer().trigger();
    QApplication::processEvents();
    EXPECT_EQ(page.grab().toImage().convertToFormat(QImage::Format_RGB32).pixelColor(10 + 99, 10),
              QColor(Qt::blue));
}

TEST(ScrollingText, ReChoosingTheDirectionRepaintsWhenItResetsTheAlignment)
{
    QWidget page;
    page.resize(200, 40);
    TCoolScrollingText ticker(&page);
    manual(ticker);
    ticker.resize(150, 20);
    ticker.Add("aligned");
    ticker.setAlignment(coolctrls::taCenter);  // kept while the direction is horizontal
    page.show();
    QApplication::processEvents();
    const int frames = ticker.FramesPainted();
    ticker.setScrollDirection(ticker.ScrollDirection());
    EXPECT_EQ(ticker.Alignment(), coolctrls::taLeftJustify);
    QApplication::processEvents();
    EXPECT_GT(ticker.FramesPainted(), frames) << "the new alignment is shown";
    const int again = ticker.FramesPainted();
    ticker.setScrollDirection(ticker.ScrollDirection());
    QApplication::processEvents();
    EXPECT_EQ(ticker.FramesPainted(), again) << "nothing changed, nothing painted";
}

TEST(ScrollingText, InheritedParentColorAndConstraints)
{
    ColourWidget page;
    TCoolScrollingText ticker(&page);
    EXPECT_TRUE(ticker.ParentColor());
    ticker.setColor(platform::clWhite);
    EXPECT_FALSE(ticker.ParentColor());
    ticker.Constraints()->setMinWidth(120);
    ticker.resize(50, 15);
    EXPECT_EQ(ticker.width(), 120);
    EXPECT_TRUE(ticker.setProperty("Align", QVariant::fromValue(platform::alTop)));
    EXPECT_EQ(ticker.Align(), platform::alTop);
}
