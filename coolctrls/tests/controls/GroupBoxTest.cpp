#include "ControlTestSupport.h"

#include "coolctrls/TCoolGroupBox.h"
#include "coolctrls/TCoolLabel.h"
#include "coolctrls/TCoolPanel.h"
#include "platform/canvas/TCanvas.h"

#include <QPaintEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace coolctrls;
using namespace controltest;
using namespace platform;

namespace {

// The height of "0" in the box's font, as the box measures it.
int textHeight(const QWidget &w)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.Font.Assign(w.font());
    return canvas.TextHeight("0");
}

} // namespace

TEST(CoolGroupBox, ScoreBoxFrameLinesAndCaptionCell)
{
    QWidget form;
    form.setFont(QFont("MS Sans Serif"));
    TCoolGroupBox gbScore(&form);
    gbScore.setFontHeight(-11);
    gbScore.setGeometry(0, 0, 173, 93);
    gbScore.setColor(platform::clWhite);
    gbScore.setCaption("Score (only current Level)");
    const int h = textHeight(gbScore);
    const int y = h / 2 - 1;  // 5 for a 13-pixel font
    const QImage img = shot(gbScore);

    // Shadow frame on y, highlight frame one lower and one right.
    EXPECT_EQ(img.pixelColor(170, y), sys(clBtnShadow));
    EXPECT_EQ(img.pixelColor(170, y + 1), sys(clBtnHighlight));
    EXPECT_EQ(img.pixelColor(0, 50), sys(clBtnShadow));
    EXPECT_EQ(img.pixelColor(1, 50), sys(clBtnHighlight));
    EXPECT_EQ(img.pixelColor(171, 50), sys(clBtnShadow));
    EXPECT_EQ(img.pixelColor(172, 50), sys(clBtnHighlight));
    EXPECT_EQ(img.pixelColor(50, 91), sys(clBtnShadow));
    EXPECT_EQ(img.pixelColor(50, 92), sys(clBtnHighlight));

    // The caption cell: x = 7 to the measured end + 1, H high, white.
    const QRect cell = gbScore.captionRect();
    EXPECT_EQ(cell.left(), 7);
    EXPECT_EQ(cell.top(), 0);
    EXPECT_EQ(cell.height(), h);
    EXPECT_EQ(img.pixelColor(6, y), sys(clBtnShadow)) << "the frame left of the cell";
    EXPECT_EQ(img.pixelColor(7, y + 1), QColor(Qt::white)) << "covered by the cell";
    EXPECT_EQ(img.pixelColor(cell.right() + 1, y), sys(clBtnShadow)) << "the frame right of the cell";
    // The caption in the font colour starts at (8, 1) or later.
    const QRect text = boundsOf(img.copy(cell), Qt::black).translated(cell.topLeft());
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.left(), 8);
    EXPECT_GE(text.top(), 1);
    EXPECT_LE(text.right(), cell.right());
}

TEST(CoolGroupBox, FlatFrameEmptyCaptionAndShadowPosition)
{
    TCoolGroupBox box;
    box.resize(100, 60);
    box.setColor(platform::clWhite);
    const int y = textHeight(box) / 2 - 1;
    QImage img = shot(box);
    EXPECT_EQ(img.pixelColor(10, y), sys(clBtnShadow)) << "no caption cell without a caption";
    EXPECT_TRUE(box.captionRect().isEmpty());

    box.setCtl3D(false);
    img = shot(box);
    EXPECT_EQ(img.pixelColor(10, y), sys(clWindowFrame));
    EXPECT_EQ(img.pixelColor(0, 30), sys(clWindowFrame));
    EXPECT_EQ(img.pixelColor(99, 30), sys(clWindowFrame));
    EXPECT_EQ(img.pixelColor(50, 59), sys(clWindowFrame));

    box.setSimpleView(true);
    box.setShadowPos(coolctrls::spRightBottom);
    EXPECT_FALSE(box.SimpleView()) << "a shadow setter brings the shadow back";
    box.setCaption("Ab");
    box.setShadowColor(platform::clRed);
    img = shot(box).copy(box.captionRect());  // the flat frame is black too
    const QRect text = boundsOf(img, Qt::black);
    const QRect shadow = boundsOf(img, Qt::red);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(shadow.topLeft(), text.topLeft() + QPoint(1, 1)) << "shadow down and right";
}

TEST(CoolGroupBox, WallpaperedCaptionCellRestartsThePattern)
{
    TCoolImages store;
    const QImage wallpaper = patterned(400, 200);
    addPicture(store, wallpaper);
    TCoolGroupBox box;
    box.resize(397, 162);
    box.setCoolImages(&store);
    box.setIdWallpaper(0);
    box.setCaption("   Intervals");  // blanks first: the cell's corner stays clear
    const QImage img = shot(box);
    const QRect cell = box.captionRect();
    EXPECT_EQ(img.pixelColor(cell.left(), 0), wallpaper.pixelColor(0, 0));
    EXPECT_EQ(img.pixelColor(cell.left() + 1, 1), wallpaper.pixelColor(1, 1));
    EXPECT_EQ(img.pixelColor(cell.right() + 2, 0), wallpaper.pixelColor(cell.right() + 2, 0))
        << "beside the cell the box's own layout";
    EXPECT_EQ(img.pixelColor(100, 100), wallpaper.pixelColor(100, 100));
}

TEST(CoolGroupBox, DisablingChangesTheCaptionWhileAPanelStaysAlike)
{
    TCoolPanel panel;
    panel.resize(200, 100);
    panel.setCaption("Panel");
    TCoolGroupBox box(&panel);
    box.setGeometry(10, 10, 150, 60);
    box.setCaption("Intervals");
    panel.show();
    const QImage panelEnabled = shot(panel);
    const QImage boxEnabled = shot(box);
    box.setEnabled(false);
    const QImage boxDisabled = shot(box);
    EXPECT_NE(boxDisabled, boxEnabled);
    // The embossed copy: shadow-grey text with highlight one right and down.
    EXPECT_FALSE(boundsOf(boxDisabled.copy(box.captionRect()), sys(clBtnShadow)).isEmpty());

    box.setEnabled(true);
    panel.setEnabled(false);
    EXPECT_EQ(shot(panel).copy(170, 0, 30, 100), panelEnabled.copy(170, 0, 30, 100))
        << "the panel's caption and bevels look the same";
}

TEST(CoolGroupBox, TransparentBoxAlignsWithItsAncestorAtLevelZeroAndOne)
{
    TCoolImages store;
    const QImage wallpaper = patterned(300, 200);
    addPicture(store, wallpaper);
    TCoolPanel outer;
    outer.resize(300, 200);
    outer.setCoolImages(&store);
    outer.setIdWallpaper(0);
    TCoolLabel sibling(&outer);
    sibling.setGeometry(30, 60, 40, 20);
    sibling.setAutoSize(false);
    sibling.setColor(platform::clLime);
    auto *box = new TCoolGroupBox(&outer);  // owned by the panel, moved below
    box->setGeometry(20, 30, 150, 100);
    box->setTransparent(true);
    box->setCaption("   Tip");
    outer.show();

    QImage img = shot(*box);
    EXPECT_EQ(img.pixelColor(5, 25), wallpaper.pixelColor(25, 55)) << "the client area";
    const QRect cell = box->captionRect();
    EXPECT_EQ(img.pixelColor(cell.left(), 0), wallpaper.pixelColor(20 + cell.left(), 30)) << "the caption cell";
    EXPECT_EQ(img.pixelColor(15, 35), QColor(Qt::green)) << "a graphic sibling under the box";

    // Level 1 inside an inner panel: the outer panel's background shifted by
    // the inner panel's position.
    auto *inner = new TCoolPanel(&outer);
    inner->setGeometry(40, 50, 200, 120);
    inner->setColor(platform::clBlue);
    inner->show();
    box->setParent(inner);
    box->setGeometry(10, 10, 100, 80);
    box->show();
    img = shot(*box);
    EXPECT_EQ(img.pixelColor(5, 40), QColor(Qt::blue)) << "level 0: the inner panel's colour";
    box->setTransparencyLevel(1);
    img = shot(*box);
    EXPECT_EQ(img.pixelColor(5, 40), wallpaper.pixelColor(40 + 5, 50 + 40));
}

TEST(CoolGroupBox, TransparentAndParentColourTellTheChildrenAndShadowSettersTellTheBoxChanged)
{
    TCoolPanel panel;
    TCoolGroupBox box(&panel);
    box.setColor(platform::clWhite);
    EXPECT_FALSE(box.ParentColor());
    auto *probe = new ParentColorProbe(&box);
    box.setTransparent(true);
    EXPECT_EQ(probe->notified, 1) << "Transparent tells the children";
    box.setTransparent(true);
    EXPECT_EQ(probe->notified, 1) << "an unchanged value tells nothing";
    panel.setColor(platform::clRed);
    EXPECT_EQ(probe->notified, 2) << "the parent's colour is passed on, whatever ParentColor";
    EXPECT_EQ(box.Color(), platform::clWhite);

    int changed = 0;
    QObject::connect(&box, &TCoolGroupBox::Changed, [&] { ++changed; });
    box.setShadowSize(3);
    box.setShadowColor(platform::clRed);
    box.setShadowPos(coolctrls::spRightBottom);
    EXPECT_EQ(changed, 3);
    box.setShadowSize(3);
    EXPECT_EQ(changed, 3);
    box.setSimpleView(true);
    EXPECT_EQ(changed, 4);

    // A new own wallpaper is a colour change for the children too.
    const int before = probe->notified;
    box.setWallpaper(patterned(8, 8));
    EXPECT_GT(probe->notified, before);
}

TEST(CoolGroupBox, TakesItsParentsColourUntilItGetsOneOfItsOwn)
{
    TCoolPanel panel;
    panel.setColor(platform::clWhite);
    TCoolGroupBox box(&panel);
    box.resize(80, 50);
    EXPECT_TRUE(box.ParentColor());
    EXPECT_EQ(box.Color(), platform::clWhite);
    EXPECT_EQ(shot(box).pixelColor(40, 30), QColor(Qt::white));
    panel.setColor(platform::clYellow);
    EXPECT_EQ(box.Color(), platform::clYellow);
    box.setColor(platform::clAqua);
    EXPECT_FALSE(box.ParentColor());
    panel.setColor(platform::clWhite);
    EXPECT_EQ(box.Color(), platform::clAqua);
}

namespace {

// A group box that counts its paints.
class CountedBox : public TCoolGroupBox
{
public:
    using TCoolGroupBox::TCoolGroupBox;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        TCoolGroupBox::paintEvent(event);
    }
};

} // namespace

TEST(CoolGroupBox, Ctl3DFollowsTheParentAndItsFrameRepaints)
{
    QWidget window;
    window.resize(300, 200);
    TCoolPanel panel(&window);
    panel.setGeometry(0, 0, 300, 200);
    CountedBox following(&panel), own(&panel);
    following.setGeometry(10, 10, 100, 60);
    own.setGeometry(150, 10, 100, 60);
    own.setCtl3D(true);
    EXPECT_FALSE(own.ParentCtl3D()) << "setting Ctl3D leaves the parent's";
    EXPECT_TRUE(following.ParentCtl3D());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return following.paints > 0 && own.paints > 0; }));

    const int y = textHeight(following) / 2 - 1;
    const int before = following.paints;
    const int ownBefore = own.paints;
    panel.setCtl3D(false);
    EXPECT_FALSE(following.Ctl3D());
    EXPECT_TRUE(own.Ctl3D());
    ASSERT_TRUE(QTest::qWaitFor([&] { return following.paints > before; })) << "the flat frame is painted";
    EXPECT_EQ(own.paints, ownBefore);
    EXPECT_EQ(shot(following).pixelColor(0, 30), sys(clWindowFrame));
    EXPECT_EQ(shot(own).pixelColor(10, y), sys(clBtnShadow)) << "its own etched frame";

    // Following the parent again takes its look; leaving it keeps it.
    own.setParentCtl3D(true);
    EXPECT_FALSE(own.Ctl3D());
    following.setParentCtl3D(false);
    panel.setCtl3D(true);
    EXPECT_FALSE(following.Ctl3D());
    EXPECT_TRUE(own.Ctl3D());
    EXPECT_TRUE(own.property("ParentCtl3D").toBool());
}
