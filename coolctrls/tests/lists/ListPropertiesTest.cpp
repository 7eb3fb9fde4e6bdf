// The toolkit properties the list box and the combo box share (ParentFont
// with SelFont, Sorted, TabStop, Ctl3D), checked on both controls.

#include "ListTestSupport.h"

#include "coolctrls/TCoolComboBox.h"
#include "coolctrls/TCoolListBox.h"
#include "coolctrls/TCoolPanel.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QTest>
#include <type_traits>
#include <gtest/gtest.h>

using namespace coolctrls;
using namespace platform;
using namespace liststest;

template <typename T>
class CoolListProperties : public ::testing::Test
{
};
using ListControls = ::testing::Types<TCoolListBox, TCoolComboBox>;
TYPED_TEST_SUITE(CoolListProperties, ListControls);

TYPED_TEST(CoolListProperties, SelFontOfItsOwnTurnsParentFontOffParentFontCopiesIntoIt)
{
    QWidget form;
    TypeParam box(&form);
    EXPECT_TRUE(box.ParentFont());
    QFont big = form.font();
    big.setPixelSize(20);
    form.setFont(big);
    EXPECT_EQ(box.SelFont().Height(), -20);
    EXPECT_EQ(box.SelFont().Color(), clHighlightText);
    EXPECT_TRUE(box.ParentFont()) << "copying the parent's font is no choice of the control's";

    // SelFont changed by the program: the control keeps its font from now on.
    box.SelFont().setName("Courier New");
    EXPECT_FALSE(box.ParentFont());
    EXPECT_FALSE(box.property("ParentFont").toBool());
    EXPECT_EQ(box.font().pixelSize(), 20) << "the font it had stays";
    big.setPixelSize(30);
    form.setFont(big);
    EXPECT_EQ(box.font().pixelSize(), 20);
    EXPECT_EQ(box.SelFont().Name(), "Courier New");
    EXPECT_EQ(box.SelFont().Height(), -20);

    // Back to the parent's font: both follow it again.
    box.setProperty("ParentFont", true);
    EXPECT_TRUE(box.ParentFont());
    EXPECT_EQ(box.font().pixelSize(), 30);
    EXPECT_EQ(box.SelFont().Height(), -30);
    EXPECT_EQ(box.SelFont().Color(), clHighlightText);
    big.setPixelSize(12);
    form.setFont(big);
    EXPECT_EQ(box.SelFont().Height(), -12);
    EXPECT_TRUE(box.ParentFont());

    // The published SelFont properties are SelFont's changes too.
    box.setProperty("SelFontHeight", -14);
    EXPECT_FALSE(box.ParentFont());
}

TYPED_TEST(CoolListProperties, SortedIgnoresCaseAndTheItemsKeepTheirStateWhenTheyMove)
{
    TypeParam box;
    box.setExtendedCheck(true);
    box.setItems({"beta", "Gamma", "alpha", "Alpha", "delta"});
    box.setChecked(1, true); // Gamma
    box.setItemIndex(4);     // delta
    int clicks = 0;
    box.OnClick = [&](QObject *) { ++clicks; };

    box.setProperty("Sorted", true);
    EXPECT_TRUE(box.Sorted());
    // Case does not split the order ("Gamma" is not before "alpha"); equal
    // texts keep the order they came in.
    EXPECT_EQ(box.Items(), (QStringList{"alpha", "Alpha", "beta", "delta", "Gamma"}));
    EXPECT_EQ(box.ItemIndex(), 3) << "ItemIndex follows its item";
    EXPECT_TRUE(box.Checked(4)) << "the check record follows its item";
    EXPECT_FALSE(box.Checked(1));

    // Items added later go to their sorted place, one or several at once.
    box.addItem("Charlie");
    EXPECT_EQ(box.Items(), (QStringList{"alpha", "Alpha", "beta", "Charlie", "delta", "Gamma"}));
    EXPECT_EQ(box.ItemIndex(), 4);
    EXPECT_TRUE(box.Checked(5));
    box.addItems({"zulu", "Bravo", "ALPHA"});
    EXPECT_EQ(box.Items(), (QStringList{"alpha", "Alpha", "ALPHA", "beta", "Bravo", "Charlie", "delta",
                                        "Gamma", "zulu"}));
    EXPECT_EQ(box.ItemIndex(), 6);
    EXPECT_EQ(clicks, 0) << "moving items is no selection of the user's";

    // Not sorted: new items are appended again.
    box.setSorted(false);
    box.addItem("aaa");
    EXPECT_EQ(box.Items().last(), "aaa");
}

// The leftmost and rightmost columns holding red, apart from the 20-pixel
// strips at either end (where a combo box's drop button may lie).
static std::pair<int, int> redSpan(QWidget &control)
{
    const QImage image = render(&control);
    int left = -1, right = -1;
    for (int x = 20; x < image.width() - 20; ++x)
        for (int y = 0; y < image.height(); ++y)
            if (at(image, x, y) == rgb(clRed)) {
                if (left < 0)
                    left = x;
                right = x;
            }
    return {left, right};
}

TYPED_TEST(CoolListProperties, RightToLeftBiDiModePutsTheCaptionsOnTheRight)
{
    QWidget form;
    form.resize(320, 120);
    TypeParam box(&form);
    box.setGeometry(0, 0, 300, 40);
    box.setFontColor(clRed);
    box.setItems({"abcdefghijkl"});
    // The closed combo box shows its current entry (unselected while it
    // has no focus).
    if constexpr (std::is_same_v<TypeParam, TCoolComboBox>)
        box.setItemIndex(0);
    EXPECT_TRUE(box.ParentBiDiMode());
    EXPECT_EQ(box.BiDiMode(), bdLeftToRight);
    const auto ltr = redSpan(box);
    ASSERT_GE(ltr.first, 0);
    EXPECT_LT(ltr.second, 150) << "the caption starts at the left";

    // The parent's direction is followed while ParentBiDiMode is on.
    form.setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(box.BiDiMode(), bdRightToLeft);
    EXPECT_TRUE(box.ParentBiDiMode());
    const auto rtl = redSpan(box);
    ASSERT_GE(rtl.first, 0);
    EXPECT_GT(rtl.first, 150) << "the caption ends at the right";

    // A mode of the control's own stays when the parent changes.
    box.setProperty("BiDiMode", QVariant::fromValue(bdRightToLeftReadingOnly));
    EXPECT_FALSE(box.ParentBiDiMode());
    form.setLayoutDirection(Qt::LeftToRight);
    EXPECT_EQ(box.BiDiMode(), bdRightToLeftReadingOnly);
    EXPECT_EQ(redSpan(box), rtl);
    box.setParentBiDiMode(true);
    EXPECT_EQ(box.BiDiMode(), bdLeftToRight);
    EXPECT_EQ(redSpan(box), ltr);
}

TEST(CoolListProperties, SortedPutsAccentedWordsWithTheirLetter)
{
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(TCoolItems::SortsBefore("apple", "Banana"));
    EXPECT_TRUE(TCoolItems::SortsBefore("Étude", "fugue"));
    EXPECT_FALSE(TCoolItems::SortsBefore("ABC", "abc"));
    EXPECT_FALSE(TCoolItems::SortsBefore("abc", "ABC"));
    QLocale::setDefault(old);
}

TEST(CoolListProperties, TabStopFalseLeavesTheControlOutOfTheTabChain)
{
    QWidget form;
    TCoolListBox list(&form);
    TCoolComboBox combo(&form);
    QLineEdit edit(&form);
    EXPECT_TRUE(list.TabStop());
    EXPECT_TRUE(combo.TabStop());
    combo.setProperty("TabStop", false);
    EXPECT_FALSE(combo.TabStop());
    ASSERT_TRUE(showActive(form));

    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Tab);
    EXPECT_TRUE(edit.hasFocus()) << "Tab passes the combo box by";

    list.setTabStop(false);
    combo.setTabStop(true);
    QTest::keyClick(&edit, Qt::Key_Tab);
    EXPECT_TRUE(combo.hasFocus()) << "Tab passes the list box by";

    // A click still gives it the focus.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(list.hasFocus());
}

TEST(CoolListProperties, OnDropDownComesBeforeTheListShowsAndCanFillIt)
{
    QWidget form;
    TCoolComboBox box(&form);
    bool listVisibleAtDropDown = true;
    box.OnDropDown = [&](QObject *sender) {
        EXPECT_EQ(sender, &box);
        listVisibleAtDropDown = box.view()->isVisible();
        if (box.count() == 0)
            box.setItems({"one", "two", "three"});
    };
    ASSERT_TRUE(showActive(form));
    box.showPopup();
    QApplication::processEvents();
    EXPECT_FALSE(listVisibleAtDropDown);
    EXPECT_TRUE(box.view()->isVisible());
    EXPECT_EQ(box.view()->model()->rowCount(), 3) << "what the handler added is in the list";
    box.hidePopup();
}

TEST(CoolListProperties, AnItemDraggedFromTheListBoxDropsOnTheComboBox)
{
    QWidget form;
    form.resize(300, 100);
    TCoolListBox list(&form);
    list.setGeometry(0, 0, 100, 60);
    list.setItems({"one", "two"});
    TCoolComboBox combo(&form);
    combo.setGeometry(150, 0, 100, 21);
    ASSERT_TRUE(showActive(form));
    QStringList log;
    list.OnMouseDown = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { list.BeginDrag(false, 10); };
    list.OnStartDrag = [&](QObject *, QObject *&) { log << "start"; };
    list.OnEndDrag = [&](QObject *, QObject *target, int x, int y) {
        log << QString("end %1 %2,%3").arg(target == &combo).arg(x).arg(y);
    };
    combo.OnDragOver = [&](QObject *, QObject *source, int, int, TDragState state, bool &accept) {
        if (state == dsDragEnter)
            log << "enter";
        accept = source == &list;
    };
    combo.OnDragDrop = [&](QObject *, QObject *source, int x, int y) {
        log << QString("drop %1 %2,%3").arg(source == &list).arg(x).arg(y);
    };
    QWidget *items = list.viewport();
    const QPoint press(20, 5);
    QTest::mousePress(items, Qt::LeftButton, {}, press);
    QTest::mouseMove(items, press + QPoint(4, 2));
    EXPECT_TRUE(log.isEmpty()) << "within the threshold of the press: no drag yet";
    EXPECT_FALSE(list.Dragging());
    QTest::mouseMove(items, press + QPoint(30, 0));
    EXPECT_TRUE(list.Dragging());
    const QPoint onCombo = items->mapFrom(&form, QPoint(160, 8));
    QTest::mouseMove(items, onCombo);
    QTest::mouseRelease(items, Qt::LeftButton, {}, onCombo);
    EXPECT_EQ(log, (QStringList{"start", "enter", "drop 1 10,8", "end 1 10,8"}));
    EXPECT_FALSE(list.Dragging());

    // DragMode dmAutomatic: a press over the items begins the drag itself.
    log.clear();
    list.OnMouseDown = nullptr;
    list.setProperty("DragMode", QVariant::fromValue(dmAutomatic));
    QTest::mousePress(items, Qt::LeftButton, {}, press);
    QTest::mouseMove(items, press + QPoint(30, 0));
    EXPECT_TRUE(list.Dragging());
    QTest::mouseMove(items, onCombo);
    QTest::mouseRelease(items, Qt::LeftButton, {}, onCombo);
    EXPECT_EQ(log, (QStringList{"start", "enter", "drop 1 10,8", "end 1 10,8"}));
}

TYPED_TEST(CoolListProperties, Ctl3DChoosesTheSunkenEdgeOrOneWindowFrameLine)
{
    TCoolPanel parent;
    parent.resize(200, 120);
    TypeParam box(&parent);
    box.setGeometry(10, 10, 120, std::is_same_v<TypeParam, TCoolComboBox> ? 21 : 80);
    box.setItems({"one", "two"});
    const int w = box.width(), h = box.height(), midY = h / 2, midX = w / 2;
    EXPECT_TRUE(box.Ctl3D());
    EXPECT_TRUE(box.ParentCtl3D());
    const QImage sunken = render(&box);
    // Dark at the top and left, light at the bottom and right.
    EXPECT_EQ(at(sunken, 0, midY), at(sunken, midX, 0));
    EXPECT_EQ(at(sunken, w - 1, midY), at(sunken, midX, h - 1));
    EXPECT_LT(qGray(sunken.pixel(0, midY)), qGray(sunken.pixel(w - 1, midY))) << "the sunken edge";
    EXPECT_NE(at(sunken, 0, midY), rgb(clWindowFrame));

    // The parent's change reaches the control: one window-frame line all
    // round, the inside one pixel further out.
    parent.setCtl3D(false);
    EXPECT_FALSE(box.Ctl3D());
    const QImage flat = render(&box);
    for (QPoint p : {QPoint(0, midY), QPoint(w - 1, midY), QPoint(midX, 0), QPoint(midX, h - 1)})
        EXPECT_EQ(at(flat, p.x(), p.y()), rgb(clWindowFrame)) << p.x() << "," << p.y();
    for (int x = 1; x <= 3; ++x)
        EXPECT_EQ(at(flat, x, midY), at(sunken, x + 1, midY)) << x;

    // Its own value stops following; without a border there is no line.
    box.setCtl3D(true);
    EXPECT_FALSE(box.ParentCtl3D());
    EXPECT_EQ(at(render(&box), 0, midY), at(sunken, 0, midY));
    box.setCtl3D(false);
    box.setBorderStyle(bsNone);
    EXPECT_NE(at(render(&box), 0, midY), rgb(clWindowFrame));
}

TEST(CoolListBoxFrame, WithoutCtl3DTheItemsAndScrollBarsLieInsideTheLine)
{
    TCoolListBox box;
    box.resize(120, 60);
    box.setCtl3D(false);
    QStringList many;
    for (int i = 0; i < 20; ++i)
        many << QString("item %1 with a long text that scrolls sideways").arg(i);
    box.setItems(many);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(box.viewport()->geometry().topLeft(), QPoint(1, 1));
    const QRect inside = box.rect().adjusted(1, 1, -1, -1);
    for (QScrollBar *bar : {box.verticalScrollBar(), box.horizontalScrollBar()}) {
        ASSERT_TRUE(bar->isVisible());
        EXPECT_TRUE(inside.contains(bar->mapTo(&box, bar->rect().topLeft())));
        EXPECT_TRUE(inside.contains(bar->mapTo(&box, bar->rect().bottomRight())));
    }
    const QImage img = render(&box);
    EXPECT_EQ(at(img, 0, 30), rgb(clWindowFrame));
    EXPECT_EQ(at(img, 119, 30), rgb(clWindowFrame));
}

TYPED_TEST(CoolListProperties, SelFontFollowsTheParentsFaceByTheNameItWasAskedFor)
{
    // The parent draws "Courier New" in its substitute; SelFont copies the
    // parent's font under the face's own name, as FontName publishes it.
    TCoolPanel form;
    TypeParam box(&form);
    form.setFontName("Courier New");
    EXPECT_EQ(box.FontName(), "Courier New");
    EXPECT_EQ(box.SelFont().Name(), "Courier New");
    EXPECT_EQ(box.SelFontName(), "Courier New");
    EXPECT_EQ(QFontInfo(box.SelFont().toQFont()).family(), "Liberation Mono");
    EXPECT_TRUE(box.ParentFont());
}
