#include "coolctrls/TCoolCaptionBar.h"
#include "coolctrls/TCoolImages.h"
#include "coolctrls/TCoolMemo.h"
#include "coolctrls/TCoolPanel.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace coolctrls;
using namespace platform;

namespace {

QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(100 + (x * 7) % 100, 120 + (y * 5) % 100, 200));
    return img;
}

QImage solid(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

bool showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QImage shot(QWidget &w)
{
    QImage img(w.size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    w.render(&img);
    return img;
}

class ColourWidget : public QWidget
{
public:
    explicit ColourWidget(QColor c, QWidget *parent = nullptr) : QWidget(parent), colour(c) {}
    QColor colour;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), colour);
    }
};

// The usage memo of the Information page.
void likeUsage(TCoolMemo &memo)
{
    memo.resize(594, 88);
    memo.setFontHeight(-13);
    memo.setFontBold(true);
    memo.setWallpaper(pattern(64, 48));
    memo.setOptions(coolctrls::ocPaintWallpaper | coolctrls::ocNoCaption);
    memo.setEdgeBorders(coolctrls::ebLeft | coolctrls::ebTop | coolctrls::ebRight | coolctrls::ebBottom);
    memo.setBordersTrColor(platform::clBlack);
}

// Lines "line 0" ... "line n-1", each followed by tail.
QStringList numberedLines(int n, const QString &tail = {})
{
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines << QString("line %1").arg(i) + tail;
    return lines;
}

} // namespace

TEST(Memo, UsageFrameIsTwoBlackPixelsOnAllFourOuterEdgesAndTheWallpaperStartsAtTheClientOrigin)
{
    TCoolMemo memo;
    likeUsage(memo);
    memo.setLines({"", "", "", "", " USAGE"});  // text low, so the top rows show only wallpaper
    const QImage img = shot(memo);
    const int w = img.width(), h = img.height();
    const QColor black(Qt::black);
    for (int x = 0; x < w; ++x)
        for (int y : {0, 1, h - 2, h - 1})
            ASSERT_EQ(img.pixelColor(x, y), black) << x << "," << y;
    for (int y = 0; y < h; ++y)
        for (int x : {0, 1, w - 2, w - 1})
            ASSERT_EQ(img.pixelColor(x, y), black) << x << "," << y;
    // Inside the frame the wallpaper, tile origin at the client corner (2, 2).
    const QImage wall = pattern(64, 48);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(img.pixel(2 + x, 2 + y), wall.pixel(x % 64, y % 48)) << x << "," << y;
}

TEST(Memo, TypingAndScrollingRedrawOnTheWallpaperWithoutAFlatBox)
{
    QWidget window;
    TCoolMemo memo(&window);
    likeUsage(memo);
    memo.setColor(platform::clFuchsia);  // a flat fill would show in this colour
    window.show();
    memo.setFocus();
    QTest::keyClicks(&memo, "typed on wood");
    QApplication::processEvents();
    QImage img = shot(memo);
    int flat = 0;
    for (int y = 2; y < img.height() - 2; ++y)
        for (int x = 2; x < img.width() - 2; ++x)
            flat += img.pixelColor(x, y) == QColor(Qt::magenta);
    EXPECT_EQ(flat, 0);
    EXPECT_EQ(memo.toPlainText(), "typed on wood");
    EXPECT_EQ(img.pixel(300, 60), pattern(64, 48).pixel((300 - 2) % 64, (60 - 2) % 48));

    // Scrolled text moves over a wallpaper that stays where it is.
    memo.setLines(numberedLines(30));
    memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum());
    QApplication::processEvents();
    img = shot(memo);
    EXPECT_EQ(img.pixel(500, 4), pattern(64, 48).pixel((500 - 2) % 64, 2));
}

TEST(Memo, Ctl3DFollowsTheParentAndChoosesTheSunkenEdgeOrOneFlatLine)
{
    TCoolPanel parent;
    parent.resize(200, 100);
    TCoolMemo memo(&parent);
    memo.setGeometry(10, 10, 120, 60);
    EXPECT_TRUE(memo.Ctl3D());
    EXPECT_TRUE(memo.ParentCtl3D());
    EXPECT_EQ(memo.viewport()->geometry().topLeft(), QPoint(2, 2));
    QImage img = shot(memo);
    EXPECT_EQ(img.pixelColor(0, 30), ColorToQColor(clBtnShadow)) << "the sunken edge";
    EXPECT_EQ(img.pixelColor(119, 30), ColorToQColor(clBtnHighlight));

    // The parent's change reaches the memo: one window-frame line, the text
    // area one pixel in.
    const int before = memo.Recreations();
    parent.setCtl3D(false);
    EXPECT_FALSE(memo.Ctl3D());
    EXPECT_GT(memo.Recreations(), before);
    EXPECT_EQ(memo.viewport()->geometry(), QRect(1, 1, 118, 58));
    img = shot(memo);
    EXPECT_EQ(img.pixelColor(0, 30), ColorToQColor(clWindowFrame));
    EXPECT_EQ(img.pixelColor(119, 30), ColorToQColor(clWindowFrame));
    EXPECT_EQ(img.pixelColor(60, 0), ColorToQColor(clWindowFrame));
    EXPECT_EQ(img.pixelColor(1, 30), ColorToQColor(clWindow)) << "the text area";

    // Its own value stops following; without a border Ctl3D changes nothing.
    memo.setCtl3D(true);
    EXPECT_FALSE(memo.ParentCtl3D());
    EXPECT_EQ(memo.viewport()->geometry().topLeft(), QPoint(2, 2));
    memo.setBorderStyle(bsNone);
    memo.setCtl3D(false);
    EXPECT_EQ(memo.viewport()->geometry().topLeft(), QPoint(0, 0));
}

TEST(Memo, RemovingNoCaptionRecreatesWithACaptionBarTwoPixelsIn)
{
    TCoolMemo memo;
    likeUsage(memo);
    memo.setLines({"kept"});
    memo.setCaption("Information");
    memo.setCaptionColor(platform::clRed);
    memo.setCaptionTextColor(platform::clWhite);
    EXPECT_TRUE(memo.CaptionBar().CaptionRect().isEmpty());
    const int before = memo.Recreations();
    memo.setOptions(coolctrls::ocPaintWallpaper);
    EXPECT_EQ(memo.Recreations(), before + 1);
    EXPECT_EQ(memo.Lines(), QStringList{"kept"}) << "the text survives";
    EXPECT_EQ(memo.viewport()->geometry().top(), 3 + 19 + 2);
    const QRect b = memo.CaptionBar().CaptionRect();
    ASSERT_FALSE(b.isEmpty());
    const QImage img = shot(memo);
    EXPECT_EQ(img.pixelColor(b.left() + 1, b.center().y()), QColor(Qt::red));
    int textLeft = -1;
    for (int x = b.left(); x <= b.right() && textLeft < 0; ++x)
        for (int y = b.top(); y <= b.bottom(); ++y)
            if (img.pixelColor(x, y) == QColor(Qt::white)) {
                textLeft = x;
                break;
            }
    EXPECT_GE(textLeft, b.left() + 2);
    EXPECT_LE(textLeft, b.left() + 4);

    memo.setOptions(coolctrls::ocPaintWallpaper);
    EXPECT_EQ(memo.Recreations(), before + 1) << "an unchanged set does nothing";
    memo.setOptions(coolctrls::ocPaintWallpaper | coolctrls::ocSmallCaption);
    EXPECT_EQ(memo.viewport()->geometry().top(), 3 + 15 + 2);
}

TEST(Memo, CaptionDragMovesTheMemoUnlessForbidden)
{
    QWidget parent;
    parent.resize(400, 300);
    TCoolMemo memo(&parent);
    memo.move(10, 10);
    memo.setOptions(0);
    const QPoint at(30, 10);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, QPointF(100, 100), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&memo, &press);
    QMouseEvent move(QEvent::MouseMove, at, at, QPointF(120, 130), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&memo, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, QPointF(120, 130), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&memo, &release);
    EXPECT_EQ(memo.pos(), QPoint(30, 40));
    memo.setOptions(coolctrls::ocNoDragUsingCaption);
    QApplication::sendEvent(&memo, &press);
    QApplication::sendEvent(&memo, &move);
    QApplication::sendEvent(&memo, &release);
    EXPECT_EQ(memo.pos(), QPoint(30, 40));
}

TEST(Memo, TransparentShowsTheAncestorAtItsLevelAndStretchedWallpaperFills)
{
    ColourWidget grand(Qt::green);
    grand.resize(300, 200);
    ColourWidget parent(Qt::blue, &grand);
    parent.resize(300, 200);  // at the grandparent's origin, so levels line up
    TCoolMemo memo(&parent);
    memo.setGeometry(20, 20, 120, 60);
    memo.setOptions(coolctrls::ocPaintTransparently);
    memo.setLines({""});
    EXPECT_EQ(shot(memo).pixelColor(60, 30), QColor(Qt::blue));
    memo.setTransparencyLevel(1);
    EXPECT_EQ(shot(memo).pixelColor(60, 30), QColor(Qt::green));

    // Adding the wallpaper option drops transparency; stretched over the text area.
    QImage halves = solid(2, 1, Qt::yellow);
    halves.setPixelColor(0, 0, Qt::red);
    memo.setWallpaper(halves);
    memo.setOptions(coolctrls::ocPaintWallpaper | coolctrls::ocPaintTransparently | coolctrls::ocStretchWallpaper);
    EXPECT_EQ(memo.Options(), int(coolctrls::ocPaintWallpaper | coolctrls::ocStretchWallpaper));
    const QImage img = shot(memo);
    EXPECT_EQ(img.pixelColor(10, 30), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(110, 30), QColor(Qt::yellow));
}

TEST(Memo, BorderPenDrawsTheChosenSidesOverTheFrame)
{
    TCoolMemo memo;
    likeUsage(memo);
    memo.setEdgeBorders(coolctrls::ebTop);
    memo.BorderPen().setColor(clRed);
    const QImage img = shot(memo);
    EXPECT_EQ(img.pixelColor(100, 1), QColor(Qt::red)) << "the top line on the second row";
    EXPECT_EQ(img.pixelColor(100, 0), QColor(Qt::black)) << "the 2-pixel frame under it";
    EXPECT_EQ(img.pixelColor(100, img.height() - 2), QColor(Qt::black)) << "no bottom line, frame only";
}

TEST(Memo, WithoutABorderTheFrameLinesLieOverTheTextArea)
{
    QWidget window;
    TCoolMemo memo(&window);
    likeUsage(memo);
    memo.setBorderStyle(coolctrls::bsNone);
    memo.setEdgeBorders(coolctrls::ebTop | coolctrls::ebLeft | coolctrls::ebRight | coolctrls::ebBottom);
    memo.BorderPen().setColor(clRed);
    memo.setLines(numberedLines(30, " with some words on it"));
    window.show();
    QApplication::processEvents();
    // The lines where the shared edge-border routine puts them, over the
    // 2-pixel frame.
    auto checkFrame = [&](const char *when) {
        const QImage img = shot(memo);
        const int w = img.width(), h = img.height();
        for (int x = 4; x < w - 4; x += 7) {
            EXPECT_EQ(img.pixelColor(x, 0), QColor(Qt::black)) << when << " top frame " << x;
            EXPECT_EQ(img.pixelColor(x, 1), QColor(Qt::red)) << when << " top line " << x;
            EXPECT_EQ(img.pixelColor(x, h - 2), QColor(Qt::black)) << when << " bottom frame " << x;
            EXPECT_EQ(img.pixelColor(x, h - 1), QColor(Qt::red)) << when << " bottom line " << x;
        }
        for (int y = 4; y < h - 4; y += 5) {
            EXPECT_EQ(img.pixelColor(1, y), QColor(Qt::red)) << when << " left line " << y;
            EXPECT_EQ(img.pixelColor(w - 2, y), QColor(Qt::black)) << when << " right frame " << y;
            EXPECT_EQ(img.pixelColor(w - 1, y), QColor(Qt::red)) << when << " right line " << y;
        }
    };
    checkFrame("shown");
    // Scrolled text repaints under the lines instead of moving them along.
    memo.setOptions(coolctrls::ocNoCaption);  // no wallpaper: plain scrolling
    memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum() / 2);
    QApplication::processEvents();
    checkFrame("scrolled");
}

TEST(Memo, FlatBorderIsHighlightedExactlyWhileFocusedAndMouseEventsFireEitherWay)
{
    QWidget window;
    TCoolMemo memo(&window);
    memo.resize(120, 60);
    QLineEdit other(&window);
    other.move(0, 100);
    ASSERT_TRUE(showActive(window));
    int enters = 0, leaves = 0;
    other.setFocus();
    memo.OnMouseEnter = [&](QObject *s) { enters += s == &memo; };
    memo.OnMouseLeave = [&](QObject *s) { leaves += s == &memo; };
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(&memo, &enter);
    QApplication::sendEvent(&memo, &leave);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);

    const QColor plain = ColorToQColor(clBtnFace), sunken = ColorToQColor(clBtnShadow);
    memo.setOptions(coolctrls::ocNoCaption | coolctrls::ocFlatBorder);
    EXPECT_EQ(shot(memo).pixelColor(0, 30), plain);
    // The mouse alone does not leave a highlighted border behind a paint.
    QApplication::sendEvent(&memo, &enter);
    QApplication::processEvents();
    EXPECT_FALSE(memo.FlatBorderHighlighted());
    EXPECT_EQ(shot(memo).pixelColor(0, 30), plain) << "mouse over, no focus";
    memo.setFocus();
    EXPECT_EQ(shot(memo).pixelColor(0, 30), sunken) << "focused";
    QApplication::sendEvent(&memo, &leave);
    EXPECT_EQ(shot(memo).pixelColor(0, 30), sunken) << "focused, mouse gone";
    other.setFocus();
    EXPECT_EQ(shot(memo).pixelColor(0, 30), plain) << "focus gone";
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(leaves, 2);
}

TEST(Memo, PageKeysAreAskedBeforeTheyActAndPageDownTakesTheWholePositionAnswer)
{
    QWidget window;
    TCoolMemo memo(&window);
    memo.resize(200, 60);
    memo.setOptions(coolctrls::ocNoCaption | coolctrls::ocFlatBorder);
    memo.setLines(numberedLines(40));  // "line 0".."line 9": 7 characters with the break, then 8
    ASSERT_TRUE(showActive(window));
    memo.setFocus();
    auto placeCursor = [&](int position) {
        QTextCursor cursor = memo.textCursor();
        cursor.setPosition(position);
        memo.setTextCursor(cursor);
    };
    EXPECT_EQ(memo.LineCount(), 40);

    // At the top Page Up is swallowed before the text box moves the caret.
    placeCursor(14);  // start of line 2, on the first page
    EXPECT_EQ(memo.FirstVisibleLine(), 0);
    QTest::keyClick(&memo, Qt::Key_PageUp);
    EXPECT_EQ(memo.textCursor().position(), 14) << "swallowed";
    memo.setOptions(coolctrls::ocNoCaption);
    QTest::keyClick(&memo, Qt::Key_PageUp);
    EXPECT_EQ(memo.textCursor().position(), 0) << "without the flat border it acts";

    // At the bottom: the bottom-left corner (in the margin under the last
    // line) answers line 39 in the high word and the end of the text in
    // the low one; that goes on whole as a character index, past the text,
    // whose line is the last one, 39: not the line count, so Page Down acts.
    memo.setOptions(coolctrls::ocNoCaption | coolctrls::ocFlatBorder);
    memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum());
    QApplication::processEvents();
    const int lastLineStart = 10 * 7 + 29 * 8;
    const int packed = memo.CharFromPos(QPoint(0, memo.viewport()->height() - 1));
    EXPECT_EQ(packed, (39 << 16) | (lastLineStart + 7));
    EXPECT_EQ(memo.LineFromChar(packed), 39);
    EXPECT_FALSE(memo.PageKeySwallowed(Qt::Key_PageDown));
    EXPECT_FALSE(memo.PageKeySwallowed(Qt::Key_PageUp)) << "not at the first line";
    placeCursor(lastLineStart - 8 * 3);  // start of line 36, on the last page
    QTest::keyClick(&memo, Qt::Key_PageDown);
    EXPECT_EQ(memo.textCursor().position(), lastLineStart);
}

TEST(Memo, AlignmentIsTextAlignAndWordWrapBreaksAtTheEdge)
{
    TCoolMemo memo;
    memo.resize(120, 80);
    memo.setLines({"words that do not fit on one line of this memo"});
    memo.show();
    QApplication::processEvents();
    EXPECT_TRUE(memo.WordWrap());
    EXPECT_GT(memo.LineCount(), 1);
    memo.setWordWrap(false);
    EXPECT_EQ(memo.LineCount(), 1);
    memo.setProperty("WordWrap", true);
    EXPECT_GT(memo.LineCount(), 1);

    const int before = memo.Recreations();
    ASSERT_TRUE(memo.setProperty("Alignment", QVariant::fromValue(coolctrls::taRightJustify)));
    EXPECT_EQ(memo.TextAlign(), coolctrls::taRightJustify);
    EXPECT_EQ(memo.Recreations(), before + 1);
    memo.setTextAlign(coolctrls::taCenter);
    EXPECT_EQ(memo.Alignment(), coolctrls::taCenter);
    EXPECT_EQ(memo.document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST(Memo, MaxLengthStopsTypingPastingAndLineBreaksButNotTextFromCode)
{
    QWidget window;
    TCoolMemo memo(&window);
    ASSERT_TRUE(showActive(window));
    memo.setFocus();
    memo.setMaxLength(5);
    QTest::keyClicks(&memo, "abcdefg");
    EXPECT_EQ(memo.toPlainText(), "abcde");
    QTest::keyClick(&memo, Qt::Key_Return);
    EXPECT_EQ(memo.toPlainText(), "abcde") << "a line break is a character too";

    // Typing over a selection has the selection's room.
    QTextCursor cursor = memo.textCursor();
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    memo.setTextCursor(cursor);
    QTest::keyClicks(&memo, "XYZ");
    EXPECT_EQ(memo.toPlainText(), "aXYde");

    // Pasting is cut to what fits.
    memo.setLines({"ab"});
    memo.moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText("123456");
    memo.paste();
    EXPECT_EQ(memo.toPlainText(), "ab123");

    // Text from code is not cut; no limit takes anything.
    memo.setLines({"longer than five"});
    EXPECT_EQ(memo.toPlainText(), "longer than five");
    memo.setMaxLength(0);
    memo.moveCursor(QTextCursor::End);
    QTest::keyClicks(&memo, "!!");
    EXPECT_EQ(memo.toPlainText(), "longer than five!!");
}

TEST(Memo, HideSelectionShowsTheSelectionOnlyWhileFocused)
{
    QWidget window;
    TCoolMemo memo(&window);
    memo.resize(200, 60);
    memo.setColor(clWhite);
    memo.setLines({"selected text here"});
    QLineEdit other(&window);
    other.move(0, 100);
    ASSERT_TRUE(showActive(window));
    memo.selectAll();
    const QColor highlight = memo.palette().color(QPalette::Active, QPalette::Highlight);
    auto highlighted = [&] {
        const QImage img = shot(memo);
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixelColor(x, y) == highlight;
        return n;
    };
    memo.setFocus();
    EXPECT_GT(highlighted(), 100) << "focused: the selection shows";
    other.setFocus();
    EXPECT_EQ(highlighted(), 0) << "unfocused: hidden";
    EXPECT_EQ(memo.textCursor().selectedText(), "selected text here") << "but kept";
    memo.setColor(clYellow);  // a new palette keeps the rule
    EXPECT_EQ(highlighted(), 0);
    memo.setHideSelection(false);
    EXPECT_GT(highlighted(), 100) << "shown without the focus";
}

TEST(Memo, WithoutWantReturnsEnterClicksTheDefaultButtonAndCtrlEnterBreaksTheLine)
{
    QWidget window;
    TCoolMemo memo(&window);
    QPushButton ok("OK", &window);
    ok.move(0, 120);
    ok.setDefault(true);
    int clicks = 0;
    QObject::connect(&ok, &QPushButton::clicked, [&] { ++clicks; });
    ASSERT_TRUE(showActive(window));
    memo.setFocus();
    QTest::keyClicks(&memo, "a");
    QTest::keyClick(&memo, Qt::Key_Return);
    EXPECT_EQ(memo.toPlainText(), "a\n") << "WantReturns by default";
    EXPECT_EQ(clicks, 0);

    memo.setWantReturns(false);
    QTest::keyClick(&memo, Qt::Key_Return);
    QTest::keyClick(&memo, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(memo.toPlainText(), "a\n");
    EXPECT_EQ(clicks, 2);
    QTest::keyClick(&memo, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(memo.toPlainText(), "a\n\n");
    EXPECT_EQ(clicks, 2);
    memo.setReadOnly(true);
    QTest::keyClick(&memo, Qt::Key_Return);
    EXPECT_EQ(clicks, 3) << "a read-only memo passes Enter on too";
}

namespace {

// A memo that counts its caption-bar refreshes, as a subclass that paints
// a caption of its own would take them.
class CountingMemo : public TCoolMemo
{
public:
    int refreshes = 0;

protected:
    void UpdateCaptionBar() override
    {
        ++refreshes;
        TCoolMemo::UpdateCaptionBar();
    }
};

// Counts the events of one type that reach a widget.
class EventCounter : public QObject
{
public:
    EventCounter(QWidget *w, QEvent::Type type) : m_type(type) { w->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == m_type;
        return false;
    }

private:
    QEvent::Type m_type;
};

} // namespace

TEST(Memo, CaptionChangesComeThroughTheOverridableRefreshAndItsWallpaperRepaintsEverything)
{
    CountingMemo memo;
    memo.setOptions(0);  // with a caption bar
    memo.show();
    QApplication::processEvents();
    memo.setCaption("Notes");
    memo.setCaptionColor(clRed);
    memo.setCaptionTextColor(clWhite);
    memo.setIdCaptionWallpaper(0);
    TCoolImages store;
    memo.setCoolImages(&store);
    EXPECT_EQ(memo.refreshes, 5);

    // The caption wallpaper is one of the memo's own bitmaps: its change
    // repaints the text area too and tells the memo the colours changed.
    QApplication::processEvents();
    EventCounter textPaints(memo.viewport(), QEvent::Paint);
    EventCounter colours(&memo, QEvent::PaletteChange);
    memo.setCaptionWallpaper(solid(8, 8, Qt::green));
    QApplication::processEvents();
    EXPECT_GE(memo.refreshes, 6);
    EXPECT_GE(textPaints.count, 1);
    EXPECT_GE(colours.count, 1);
}

TEST(Memo, CenteredTextAndCaptionWithoutEffectUnderNoCaption)
{
    TCoolMemo memo;
    memo.resize(300, 80);
    memo.setLines({"ab", "a much longer line"});
    memo.setTextAlign(coolctrls::taCenter);
    memo.setCaption("Information");
    memo.setTransparencyLevel(100);
    memo.setColor(platform::clWhite);
    memo.setFontColor(platform::clBlack);
    const QImage img = shot(memo);
    // The first line's ink is centred in the text area.
    int left = img.width(), right = -1;
    const QRect area = memo.viewport()->geometry();
    const int lineHeight = memo.fontMetrics().height();
    for (int y = area.top(); y < area.top() + lineHeight; ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixelColor(x, y) == QColor(Qt::black)) {
                left = qMin(left, x);
                right = qMax(right, x);
            }
    ASSERT_GE(right, 0);
    EXPECT_NEAR((left + right) / 2.0, area.center().x(), 8);
    EXPECT_TRUE(memo.CaptionBar().CaptionRect().isEmpty());
}

TEST(Memo, InheritsParentColourAlignTabStopAndReadOnlyFromTheControlLayer)
{
    ColourWidget form(Qt::white);
    form.resize(300, 200);
    QPalette green = form.palette();
    green.setColor(QPalette::Window, Qt::green);
    form.setPalette(green);
    TCoolMemo memo(&form);
    form.show();
    EXPECT_FALSE(memo.ParentColor());
    EXPECT_EQ(memo.Color(), clWindow);
    memo.setParentColor(true);
    EXPECT_EQ(memo.Color(), clLime);
    memo.setLines({""});
    EXPECT_EQ(shot(memo).pixelColor(50, 40), QColor(Qt::green)) << "the text area in the parent's colour";
    memo.setColor(clYellow);
    EXPECT_FALSE(memo.ParentColor());

    memo.setAlign(alBottom);
    form.resize(320, 240);
    EXPECT_EQ(memo.geometry(), QRect(0, 240 - memo.height(), 320, memo.height()));

    EXPECT_TRUE(memo.TabStop());
    ASSERT_TRUE(memo.setProperty("TabStop", false));
    EXPECT_FALSE(memo.focusPolicy() & Qt::TabFocus);
    ASSERT_TRUE(memo.setProperty("ReadOnly", true));
    memo.setFocus();
    QTest::keyClicks(&memo, "x");
    EXPECT_EQ(memo.toPlainText(), "");
}

TEST(Memo, ThePopupMenuAndOnContextPopupAnswerOverTheTextAreaOnce)
{
    QWidget window;
    TCoolMemo memo(&window);
    memo.resize(200, 80);
    ASSERT_TRUE(showActive(window));
    QList<QPoint> asked;
    memo.OnContextPopup = [&](QObject *, QPoint at, bool &handled) {
        asked << at;
        handled = true;
    };
    const QPoint inText = memo.viewport()->rect().center();
    QContextMenuEvent mouse(QContextMenuEvent::Mouse, inText, memo.viewport()->mapToGlobal(inText));
    QApplication::sendEvent(memo.viewport(), &mouse);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0], memo.viewport()->mapTo(&memo, inText)) << "in the memo's coordinates";
    QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(5, 5), memo.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&memo, &keyboard);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[1], QPoint(-1, -1));
}
