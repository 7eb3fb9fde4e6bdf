#include "ListTestSupport.h"

#include "coolctrls/TCoolComboBox.h"

#include <QAbstractItemView>
#include <QListView>
#include <QApplication>
#include <QScrollBar>
#include "platform/canvas/TBitmap.h"
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace coolctrls;
using namespace platform;
using namespace liststest;

TEST(CoolComboBoxItems, DefaultsOfTheSkinnedComboBox)
{
    TCoolComboBox box;
    EXPECT_EQ(box.DropDownCount(), 8);
    EXPECT_EQ(box.Options(), TCoolOptions{ocBevelOnlyIfSel});
    EXPECT_EQ(box.ListBoxWidth(), box.width());
    EXPECT_EQ(box.Alignment(), paLeft);
    EXPECT_EQ(box.BorderStyle(), coolctrls::bsSingle);
    box.setListBoxWidth(0);
    EXPECT_EQ(box.ListBoxWidth(), box.width());
}

TEST(CoolComboBoxItems, AWiderListIsPlacedLeftCentredOrRightUnderTheControl)
{
    EXPECT_EQ(TCoolComboBox::PopupLeft(0, 288, 400, paCenter), -56);
    EXPECT_EQ(TCoolComboBox::PopupLeft(0, 288, 400, paRight), 288 - 400);
    EXPECT_EQ(TCoolComboBox::PopupLeft(10, 298, 400, paLeft), 10);

    QWidget form;
    form.resize(800, 300);
    TCoolComboBox box(&form);
    box.setGeometry(200, 10, 288, 19);
    box.setItems({"a", "b"});
    box.setListBoxWidth(400);
    box.setAlignment(paCenter);
    form.show();
    box.showPopup();
    const QRect list = box.view()->window()->geometry();
    const int left = box.mapToGlobal(QPoint(0, 0)).x();
    EXPECT_EQ(list.width(), 400);
    EXPECT_EQ(list.left(), left - 56);
    box.hidePopup();
    box.setAlignment(paRight);
    box.showPopup();
    EXPECT_EQ(box.view()->window()->geometry().right(), left + 287);
    box.hidePopup();
}

TEST(CoolComboBoxItems, ItemIndexFromCodeRaisesNoChangeAndAPickRaisesOne)
{
    TCoolComboBox box;
    box.setItems({"one", "two"});
    int changes = 0;
    box.OnChange = [&](QObject *) { ++changes; };
    box.setItemIndex(1);
    EXPECT_EQ(changes, 0);
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(changes, 1);
}

TEST(CoolComboBoxItems, TheFocusedSelectedFieldHasSelColourButNoBevel)
{
    QWidget form;
    TCoolComboBox box(&form);
    box.setGeometry(0, 0, 200, 21);
    box.setItems({"Level 1"});
    box.setItemIndex(0);
    box.setBevelOuter(bvRaised);
    box.setBevelInner(bvRaised);
    box.setSelColor(clRed);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    box.setFocus();
    EXPECT_EQ(box.FieldState(), (TOwnerDrawState{odSelected, odFocused, odComboBoxEdit}));
    const QImage image = render(&box);
    EXPECT_EQ(at(image, 10, 10), clRed);
    // No bevel line on the field's top row inside the frame.
    EXPECT_FALSE(contains(image, clBtnHighlight, QRect(20, 3, 100, 1)) && !contains(image, clRed, QRect(20, 3, 100, 1)));

    box.clearFocus();
    form.setFocus();
    EXPECT_EQ(box.FieldState(), TOwnerDrawState{odComboBoxEdit});
    const QImage unfocused = render(&box);
    EXPECT_EQ(at(unfocused, 10, 10), rgb(clWindow));
}

TEST(CoolComboBoxItems, ADisabledComboLooksDisabled)
{
    TCoolComboBox box;
    box.resize(200, 21);
    box.setItems({"Level 1 - Melodic"});
    box.setItemIndex(0);
    const QImage enabled = render(&box);
    EXPECT_TRUE(contains(enabled, clWindowText, QRect(4, 3, 120, 15)));
    box.setEnabled(false);
    EXPECT_EQ(box.FieldState(), (TOwnerDrawState{odComboBoxEdit, odDisabled}));
    const QImage disabled = render(&box);
    EXPECT_FALSE(contains(disabled, clWindowText, QRect(4, 3, 120, 15)));
    EXPECT_TRUE(contains(disabled, clBtnShadow, QRect(4, 3, 120, 15)));
}

TEST(CoolComboBoxItems, TheHorizontalExtentFollowsItemsWiderThanTheList)
{
    TCoolComboBox box;
    box.setListBoxWidth(60);
    box.addItem("tiny");
    EXPECT_EQ(box.MaxItemWidth(), 0);
    box.addItem("an item far wider than sixty pixels");
    EXPECT_GT(box.MaxItemWidth(), 60);
    const int wide = box.MaxItemWidth();
    box.addItem("x");
    EXPECT_EQ(box.MaxItemWidth(), wide);
    box.removeItem(2);
    box.removeItem(1);
    box.removeItem(0);
    EXPECT_EQ(box.MaxItemWidth(), 0);
}

TEST(CoolComboBoxItems, SpaceTogglesInCheckModeAndTheStateSurvivesARecreation)
{
    TCoolComboBox box;
    box.setItems({"a", "b"});
    box.setExtendedStyle(ctCheckControl);
    box.setItemIndex(1);
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_TRUE(box.Checked(1));
    EXPECT_FALSE(box.Checked(0));
    box.RecreateWnd();
    EXPECT_TRUE(box.Checked(1));
    EXPECT_EQ(box.ItemIndex(), 1);
}

TEST(CoolComboBoxItems, ScrollingWithAWallpaperRepaintsTheWholeListOncePerTopItem)
{
    TCoolComboBox box;
    QStringList items;
    for (int i = 0; i < 30; ++i)
        items << QString::number(i);
    box.setItems(items);
    box.show();
    box.showPopup();
    auto *bar = box.view()->verticalScrollBar();
    bar->setValue(3);
    EXPECT_EQ(box.FixedBackgroundRepaints(), 0) << "no wallpaper: plain scrolling";
    TBitmap wall(8, 8);
    box.setWallpaper(&wall);
    box.setOptions(TCoolOptions{ocPaintWallpaper});
    bar->setValue(5);
    bar->setValue(6);
    EXPECT_EQ(box.FixedBackgroundRepaints(), 2);
    box.hidePopup();
}

TEST(CoolComboBox, EachBoxKeepsItsOwnTopRowForTheFixedWallpaper)
{
    // Two boxes scrolled to the same top row: the second still repaints its
    // whole list (the row is remembered per box, not shared).
    QStringList items;
    for (int i = 0; i < 20; ++i)
        items << QStringLiteral("Item %1").arg(i);
    TBitmap wall(8, 8);
    std::vector<std::unique_ptr<TCoolComboBox>> boxes;
    for (int n = 0; n < 2; ++n) {
        auto box = std::make_unique<TCoolComboBox>();
        box->setItems(items);
        box->setWallpaper(&wall);
        box->setOptions(TCoolOptions{ocPaintWallpaper});
        box->show();
        box->showPopup();
        box->view()->verticalScrollBar()->setValue(4);
        EXPECT_EQ(box->FixedBackgroundRepaints(), 1) << "box " << n;
        box->hidePopup();
        boxes.push_back(std::move(box));
    }
}

TEST(CoolComboBox, TheDroppedListStartsBelowTheBottomRowAndTheFieldKeepsItsSelectedLook)
{
    QWidget form;
    form.resize(400, 300);
    TCoolComboBox box(&form);
    box.setGeometry(14, 4, 288, 19);
    box.setItems({"Level 1", "Level 2"});
    box.setItemIndex(0);
    box.setSelColor(clRed);
    ASSERT_TRUE(showActive(form));
    box.setFocus();
    EXPECT_TRUE(contains(render(&box), clRed, box.rect()));
    box.showPopup();
    QApplication::processEvents();
    ASSERT_TRUE(box.ListOpen());
    EXPECT_FALSE(box.hasFocus()) << "the list has taken the focus";
    EXPECT_EQ(box.view()->window()->geometry().top(), box.mapToGlobal(QPoint(0, box.height())).y());
    EXPECT_EQ(box.FieldState(), (TOwnerDrawState{odSelected, odFocused, odComboBoxEdit}));
    EXPECT_TRUE(contains(render(&box), clRed, box.rect())) << "the field as while focused";
    box.hidePopup();
    form.setFocus();
    EXPECT_FALSE(contains(render(&box), clRed, box.rect()));
}

TEST(CoolComboBox, EdgeBordersAreDrawnOnlyWithoutABorderAndTheFlatBorderShowsTheFocus)
{
    QWidget form;
    TCoolComboBox box(&form);
    box.setGeometry(0, 0, 150, 21);
    box.setEdgeBorders(TEdgeBorders{ebLeft, ebTop, ebRight, ebBottom});
    box.BorderPen().setColor(clRed);
    EXPECT_FALSE(contains(render(&box), clRed, box.rect())) << "bsSingle: none";
    box.setBorderStyle(coolctrls::bsNone);
    EXPECT_EQ(at(render(&box), 60, 1), clRed);

    box.setBorderStyle(coolctrls::bsSingle);
    box.setEdgeBorders(TEdgeBorders{});
    box.setOptions(TCoolOptions{ocBevelOnlyIfSel, ocFlatBorder});
    QWidget *other = hoverWithoutFocus(box);
    ASSERT_TRUE(other);
    EXPECT_EQ(at(render(&box), 0, 10), rgb(clBtnFace)) << "mouse over only";
    box.setFocus();
    EXPECT_EQ(at(render(&box), 0, 10), rgb(clBtnShadow)) << "focused";
}

TEST(CoolComboBox, TheColourDialogSelectsWithoutOnChangeTheFontDialogChanges)
{
    auto oldColor = TCoolItems::setColorDialog([](QWidget *, TColor) { return std::optional<TColor>(clRed); });
    TCoolComboBox colours;
    colours.setExtendedStyle(ctColorControl);
    int changes = 0;
    colours.OnChange = [&](QObject *) { ++changes; };
    QTest::keyClick(&colours, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(colours.SelectedColor(), clRed);
    EXPECT_EQ(changes, 0);
    TCoolItems::setColorDialog(oldColor);

    auto oldFont = TCoolItems::setFontDialog([](QWidget *, const QFont &) { return std::optional<QFont>(QFont("Beta")); });
    TCoolComboBox fonts;
    fonts.setExtendedStyle(ctFontControl);
    fonts.setItems({"Alpha", "Beta"});
    fonts.OnChange = [&](QObject *) { ++changes; };
    QTest::keyClick(&fonts, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(fonts.ItemIndex(), 1);
    EXPECT_EQ(changes, 1);
    TCoolItems::setFontDialog(oldFont);
}

TEST(CoolComboBox, SelFontFollowsTheParentFontWhileParentFont)
{
    QWidget form;
    TCoolComboBox box(&form);
    QFont big = form.font();
    big.setPixelSize(20);
    big.setBold(true);
    form.setFont(big);
    EXPECT_EQ(box.SelFont().Height(), -20);
    EXPECT_TRUE(box.SelFont().toQFont().bold());
    EXPECT_EQ(box.SelFont().Color(), clHighlightText);

    QFont own = big;
    own.setPixelSize(11);
    box.setFont(own);
    EXPECT_EQ(box.SelFont().Height(), -20) << "a font of its own: SelFont stays";
    big.setPixelSize(30);
    form.setFont(big);
    EXPECT_EQ(box.SelFont().Height(), -20);
}

TEST(CoolComboBox, ListRectSpansTheHorizontalScrollRange)
{
    QWidget form;
    TCoolComboBox box(&form);
    box.setGeometry(0, 0, 120, 21);
    box.setItems({"short", QString(80, QLatin1Char('w')), "x"});
    ASSERT_TRUE(showActive(form));
    box.showPopup();
    QApplication::processEvents();
    const QScrollBar *bar = box.view()->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0)  << "the list scrolls sideways";
    EXPECT_EQ(box.ListRect().left(), bar->minimum());
    EXPECT_EQ(box.ListRect().width(), bar->maximum() - bar->minimum() + bar->pageStep());
    EXPECT_GT(box.ListRect().width(), box.view()->viewport()->width());
    box.hidePopup();
}

TEST(CoolComboBox, SortedKeepsEntriesAndTheCurrentOneInOrder)
{
    TCoolComboBox box;
    box.setItems({"pear", "apple", "fig"});
    box.setItemIndex(0);
    box.setSorted(true);
    EXPECT_EQ(box.Items(), (QStringList{"apple", "fig", "pear"}));
    EXPECT_EQ(box.currentText(), "pear");
    box.addItem("banana");
    EXPECT_EQ(box.Items(), (QStringList{"apple", "banana", "fig", "pear"}));
    EXPECT_EQ(box.currentText(), "pear");
    box.setSorted(false);
    box.addItem("aaa");
    EXPECT_EQ(box.Items().last(), "aaa");
}
