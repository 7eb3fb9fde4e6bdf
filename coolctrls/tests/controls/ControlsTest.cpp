#include "coolctrls/CoolUtils.h"
#include "coolctrls/TCoolBtn.h"
#include "coolctrls/TCoolComboBox.h"
#include "coolctrls/TCoolGroupBox.h"
#include "coolctrls/TCoolImages.h"
#include "coolctrls/TCoolLabel.h"
#include "coolctrls/TCoolMemo.h"
#include "coolctrls/TCoolPanel.h"
#include "coolctrls/TCoolScrollingText.h"
#include "coolctrls/TImageItem.h"
#include "coolctrls/TImages.h"
#include "platform/canvas/TCanvas.h"

#include <QApplication>
#include <QBuffer>
#include <QFontInfo>
#include <QPainter>
#include <QTextBlock>
#include <QTest>
#include <gtest/gtest.h>

using namespace coolctrls;

namespace {

QImage solid(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// A store whose item 0 is a picture of one colour.
void addPicture(TCoolImages &store, QColor c)
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    solid(8, 8, c).save(&buffer, "BMP");
    TPicture picture;
    QByteArray stored;
    stored.append(char(7)).append("TBitmap");
    const quint32 n = bmp.size();
    stored.append(reinterpret_cast<const char *>(&n), 4).append(bmp);
    picture.loadFromStoredForm(stored);
    store.Images()->Add()->setPicture(&picture);
}

struct MouseRecord
{
    QObject *sender = nullptr;
    Qt::MouseButton button = Qt::NoButton;
    Qt::KeyboardModifiers shift;
    int x = -1, y = -1, downs = 0, ups = 0, clicks = 0;
};

} // namespace

TEST(CoolLabel, AutoSizeMeasuresTextAndShadowOffset)
{
    QWidget parent;
    TCoolLabel label(&parent);
    label.setFontHeight(-11);
    label.setCaption("O1 - Minor second");
    // Measured as the label draws: DrawText of the canvas in the label's
    // font (the system's text measurement, not QFontMetrics' rounding).
    auto measured = [&](const QString &text) {
        QImage scratch(1, 1, QImage::Format_RGB32);
        platform::TCanvas canvas(&scratch);
        canvas.Font.Assign(label.font());
        QRect r(0, 0, 0, 0);
        canvas.DrawText(text, r, platform::DT_CALCRECT);
        return r.size();
    };
    const QSize text = measured("O1 - Minor second");
    EXPECT_EQ(label.width(), text.width() + 1);
    EXPECT_EQ(label.height(), text.height() + 1);

    // The disabled look has no shadow offset.
    label.setEnabled(false);
    EXPECT_EQ(label.height(), text.height());
    label.setEnabled(true);

    // Underlining re-measures; an empty caption still measures one line.
    label.setFontStyle(detail::fsUnderline);
    EXPECT_TRUE(label.FontUnderline());
    label.setCaption("");
    EXPECT_EQ(label.height(), measured(" ").height() + 1);
    EXPECT_GT(label.width(), 1);

    // A right-justified label keeps its right edge.
    label.setAlignment(coolctrls::taRightJustify);
    label.setCaption("12");
    const int right = label.geometry().right();
    label.setCaption("1234567890");
    EXPECT_EQ(label.geometry().right(), right);

    label.setAutoSize(false);
    label.resize(5, 5);
    label.setCaption("long text that does not fit");
    EXPECT_EQ(label.size(), QSize(5, 5));
}

TEST(CoolLabel, MouseEventsCarrySenderButtonShiftAndPositionAndNoneWhileDisabled)
{
    QWidget parent;
    parent.resize(200, 100);
    TCoolLabel label(&parent);
    label.setCaption("O3 - Minor third");
    parent.show();
    MouseRecord r;
    label.OnMouseDown = [&](QObject *s, Qt::MouseButton b, Qt::KeyboardModifiers sh, int x, int y) {
        r = {s, b, sh, x, y, r.downs + 1, r.ups, r.clicks};
    };
    label.OnMouseUp = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++r.ups; };
    label.OnClick = [&](QObject *) { ++r.clicks; };

    QTest::mouseClick(&label, Qt::RightButton, Qt::ShiftModifier, QPoint(4, 5));
    EXPECT_EQ(r.sender, &label);
    EXPECT_EQ(r.button, Qt::RightButton);
    EXPECT_EQ(r.shift, Qt::ShiftModifier);
    EXPECT_EQ(r.x, 4);
    EXPECT_EQ(r.y, 5);
    EXPECT_EQ(r.ups, 1);
    EXPECT_EQ(r.clicks, 0) << "only the left button clicks";
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(r.clicks, 1);

    label.setEnabled(false);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(r.downs, 2);
    EXPECT_EQ(r.ups, 2);
    EXPECT_EQ(r.clicks, 1);
}

TEST(CoolBtn, ClickRaisesOnClickWithTheButtonOnlyWhileEnabled)
{
    TCoolBtn button;
    button.setCaption("Start");
    EXPECT_EQ(button.text(), "Start");
    QObject *sender = nullptr;
    int clicks = 0;
    button.OnClick = [&](QObject *s) { sender = s; ++clicks; };
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(sender, &button);
    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST(CoolComboBox, OnChangeOnlyWhenTheUserPicks)
{
    TCoolComboBox box;
    box.setItems({"Level 1", "Level 2"});
    int changes = 0;
    box.OnChange = [&](QObject *s) { EXPECT_EQ(s, &box); ++changes; };
    box.setItemIndex(1);
    EXPECT_EQ(box.ItemIndex(), 1);
    box.setItemIndex(7);
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(changes, 0);
    box.setItemIndex(0);
    box.show();
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(box.ItemIndex(), 1);
    EXPECT_EQ(changes, 1);
    box.setEnabled(false);
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(changes, 1);
}

TEST(CoolWallpaper, StoreItemWinsOverOwnWallpaperAndAGoneStoreFallsBack)
{
    auto store = std::make_unique<TCoolImages>();
    addPicture(*store, Qt::red);
    TCoolPanel panel;
    panel.resize(40, 30);
    panel.setBevelOuter(coolctrls::bvNone);
    panel.setColor(platform::clBlue);
    panel.setWallpaper(solid(4, 4, Qt::green));
    auto at = [&](int x, int y) { return panel.grab().toImage().pixelColor(x, y); };

    EXPECT_EQ(at(10, 10), QColor(Qt::green)) << "own wallpaper without a store";
    panel.setCoolImages(store.get());
    panel.setIdWallpaper(0);
    EXPECT_EQ(at(10, 10), QColor(Qt::red));
    panel.setIdWallpaper(1);
    EXPECT_EQ(at(10, 10), QColor(Qt::green)) << "index past the end";
    panel.setIdWallpaper(0);
    store.reset();
    EXPECT_EQ(panel.CoolImages(), nullptr);
    EXPECT_EQ(at(10, 10), QColor(Qt::green));
    panel.setWallpaper(QImage());
    EXPECT_EQ(at(10, 10), QColor(Qt::blue)) << "plain colour at last";
}

TEST(CoolWallpaper, EveryControlShowsANewStoreOrItemAtItsNextPaint)
{
    TCoolImages store;
    addPicture(store, Qt::red);
    QWidget page;
    page.resize(200, 200);
    auto *panel = new TCoolPanel(&page);
    panel->setBevelOuter(coolctrls::bvNone);
    auto *box = new TCoolGroupBox(&page);
    auto *label = new TCoolLabel(&page);
    label->setAutoSize(false);
    auto *ticker = new TCoolScrollingText(&page);
    auto *memo = new TCoolMemo(&page);
    memo->setCoolOptions(TCoolOptions{ocPaintWallpaper, ocNoCaption});
    auto *button = new TCoolBtn(&page);
    button->setOptions(TCoolOptions{ocPaintWallpaper});
    struct Sample
    {
        QWidget *widget;
        TWallpaperControl *control;
        QPoint inside;
    };
    const Sample samples[] = {{panel, panel, {10, 10}},   {box, box, {20, 30}},     {label, label, {5, 5}},
                              {ticker, ticker, {90, 12}}, {memo, memo, {150, 60}}, {button, button, {70, 20}}};
    page.show();
    for (const Sample &s : samples) {
        const QColor before = s.widget->grab().toImage().pixelColor(s.inside);
        EXPECT_NE(before, QColor(Qt::red)) << s.widget->metaObject()->className();
        s.control->setCoolImages(&store);
        s.control->setIdWallpaper(0);
        EXPECT_EQ(s.widget->grab().toImage().pixelColor(s.inside), QColor(Qt::red))
            << s.widget->metaObject()->className();
        s.control->setIdWallpaper(-1);
        EXPECT_EQ(s.widget->grab().toImage().pixelColor(s.inside), before) << s.widget->metaObject()->className();
    }
}

TEST(CoolWallpaper, TilesStartAtTheAreaCornerAndAreCut)
{
    QImage tile(3, 2, QImage::Format_RGB32);
    tile.fill(Qt::white);
    tile.setPixelColor(0, 0, Qt::black);
    QImage canvas(10, 5, QImage::Format_RGB32);
    canvas.fill(Qt::gray);
    QPainter p(&canvas);
    {
        platform::TCanvas c(&p);
        DrawWallpaper(c, tile, QRect(1, 1, 7, 3), platform::SRCCOPY, false);
    }
    p.end();
    EXPECT_EQ(canvas.pixelColor(1, 1), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(4, 1), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(7, 3), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(8, 1), QColor(Qt::gray)) << "cut at the right";
    EXPECT_EQ(canvas.pixelColor(1, 4), QColor(Qt::gray)) << "cut at the bottom";
    EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::gray));
}

TEST(CoolGroupBox, CaptionCellCoversTheFrameWithTheColour)
{
    TCoolGroupBox box;
    box.resize(120, 60);
    box.setColor(platform::clWhite);
    box.setCaption("Score");
    const QImage img = box.grab().toImage();
    const QRect cell = box.captionRect();
    ASSERT_FALSE(cell.isEmpty());
    const int frameY = QFontMetrics(box.font()).height() / 2 - 1;
    EXPECT_NE(img.pixelColor(cell.right() + 5, frameY), QColor(Qt::white)) << "frame line beside the caption";
    EXPECT_EQ(img.pixelColor(cell.left(), frameY), QColor(Qt::white)) << "covered under the caption";
    EXPECT_NE(img.pixelColor(0, frameY + 10), QColor(Qt::white)) << "left frame line";
    EXPECT_EQ(img.pixelColor(5, frameY + 10), QColor(Qt::white)) << "inside";
}

TEST(CoolMemo, WallpaperAndTransparencyOptionsExcludeEachOther)
{
    TCoolMemo memo;
    memo.setOptions(coolctrls::ocPaintWallpaper);
    memo.setOptions(coolctrls::ocPaintWallpaper | coolctrls::ocPaintTransparently);
    EXPECT_EQ(memo.Options(), int(coolctrls::ocPaintTransparently));
    memo.setOptions(coolctrls::ocPaintWallpaper | coolctrls::ocPaintTransparently);
    EXPECT_EQ(memo.Options(), int(coolctrls::ocPaintWallpaper));

    memo.setLines({" USAGE", " o Select a level"});
    EXPECT_EQ(memo.Lines(), QStringList({" USAGE", " o Select a level"}));
    memo.setTextAlign(coolctrls::taCenter);
    EXPECT_EQ(memo.document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST(CoolScrollingText, MovesOnePixelPerTickAndStartsOver)
{
    TCoolScrollingText ticker;
    ticker.resize(50, 20);
    ticker.ScrollTimer().setManual(true);
    ticker.Add("credits");
    ticker.Clear();
    ticker.Add("line");
    EXPECT_EQ(ticker.Strings(), QStringList{"line"});
    ticker.setActive(true);
    ticker.Loaded();
    EXPECT_TRUE(ticker.ScrollTimer().Enabled());
    EXPECT_EQ(ticker.ScrollTimer().Interval(), 25);
    EXPECT_EQ(ticker.ScrollX(), 50) << "enters from the right";
    ticker.ScrollTimer().trigger();
    ticker.ScrollTimer().trigger();
    EXPECT_EQ(ticker.ScrollX(), 48);
    const int textWidth = ticker.TextExtent().width();
    for (int i = 0; i < 48 + textWidth; ++i)
        ticker.ScrollTimer().trigger();
    EXPECT_EQ(ticker.ScrollX(), -textWidth) << "the last character has just left";
    ticker.ScrollTimer().trigger();
    EXPECT_EQ(ticker.ScrollX(), 50) << "left the area and starts over";
    ticker.ScrollTimer().trigger();
    ticker.setActive(false);
    EXPECT_FALSE(ticker.ScrollTimer().Enabled());
    EXPECT_EQ(ticker.ScrollX(), 49) << "stops where it is";
}

TEST(CoolControls, EveryControlPublishesBiDiModeAndFollowsARightToLeftParent)
{
    TCoolPanel panel;
    auto *box = new TCoolGroupBox(&panel);
    const std::vector<QWidget *> controls{box,
                                          new TCoolLabel(&panel),
                                          new TCoolMemo(&panel),
                                          new TCoolComboBox(&panel),
                                          new TCoolBtn(box),
                                          new TCoolScrollingText(box)};
    panel.setProperty("BiDiMode", QVariant::fromValue(platform::bdRightToLeft));
    for (QWidget *control : controls) {
        const char *name = control->metaObject()->className();
        EXPECT_EQ(control->property("BiDiMode").value<platform::TBiDiMode>(), platform::bdRightToLeft) << name;
        EXPECT_TRUE(control->property("ParentBiDiMode").toBool()) << name;
        EXPECT_EQ(control->layoutDirection(), Qt::RightToLeft) << name;
    }
    // The group box's own mode reaches the button inside it, not the label.
    EXPECT_TRUE(box->setProperty("BiDiMode", QVariant::fromValue(platform::bdLeftToRight)));
    EXPECT_FALSE(box->property("ParentBiDiMode").toBool());
    EXPECT_EQ(controls[4]->layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(controls[1]->layoutDirection(), Qt::RightToLeft);
}

TEST(CoolControls, FontNameIsTheFaceAskedForWhileTheFontIsDrawnInItsSubstitute)
{
    // A lone control shows the application's classic face.
    const QFont application = QApplication::font();
    QApplication::setFont(platform::makeFont(platform::DefaultFontName, platform::DefaultFontHeight));
    EXPECT_EQ(TCoolLabel().FontName(), "MS Sans Serif");
    QApplication::setFont(application);

    // A face of its own: published as asked, drawn in the installed family.
    TCoolPanel form;
    TCoolGroupBox box(&form);
    QWidget page(&box); // a plain widget between publishes no face
    TCoolLabel label(&page);
    TCoolMemo memo(&form);
    memo.setFontName("Courier New");
    EXPECT_EQ(memo.FontName(), "Courier New");
    EXPECT_EQ(memo.font().family(), "Liberation Mono");
    EXPECT_EQ(memo.property("FontName").toString(), "Courier New");

    // Controls that follow their parent's font publish the parent's face,
    // through plain widgets between, and follow it when it changes.
    form.setFontName("Times New Roman");
    EXPECT_EQ(box.FontName(), "Times New Roman");
    EXPECT_EQ(label.FontName(), "Times New Roman");
    EXPECT_EQ(QFontInfo(label.font()).family(), "Liberation Serif");
    EXPECT_EQ(memo.FontName(), "Courier New") << "a face of its own stays";
    form.setFontName("Arial");
    EXPECT_EQ(label.FontName(), "Arial");

    // A face of the child's own outranks the parent's; an installed family
    // is published as itself; a font set directly names its family.
    label.setFontName("MS Sans Serif");
    EXPECT_EQ(label.FontName(), "MS Sans Serif");
    label.setFontName("DejaVu Sans");
    EXPECT_EQ(label.FontName(), "DejaVu Sans");
    label.setFont(QFont("DejaVu Serif"));
    EXPECT_EQ(label.FontName(), "DejaVu Serif");
}
