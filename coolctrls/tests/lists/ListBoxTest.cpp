#include "ListTestSupport.h"

#include "coolctrls/TCoolListBox.h"
#include "coolctrls/TItemPainter.h"
#include "platform/canvas/TBitmap.h"
#include "platform/Exception.h"
#include "platform/testing/ErrorCapture.h"

#include <QTemporaryDir>
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace coolctrls;
using namespace platform;
using namespace liststest;

TEST(CoolListBox, DefaultsAndTheCaptionBarAfterRemovingNoCaption)
{
    TCoolListBox box;
    EXPECT_EQ(box.Options(), (TCoolOptions{ocBevelOnlyIfSel, ocNoCaption}));
    EXPECT_EQ(box.Color(), clWindow);
    EXPECT_EQ(box.SelColor(), clHighlight);
    EXPECT_EQ(box.SelFont().Color(), clHighlightText);
    EXPECT_EQ(box.ExtendedStyle(), ctCoolControl);
    EXPECT_TRUE(box.LightColorControl());
    EXPECT_EQ(box.FileMask(), "*.*");
    EXPECT_EQ(box.FileType(), (TFileType{ftDirectory, ftArchive}).toInt());
    EXPECT_EQ(box.SelectedColor(), clBlack);
    EXPECT_EQ(box.CaptionColor(), clInactiveCaption);
    EXPECT_FALSE(box.CaptionBar().Visible());
    EXPECT_EQ(box.viewport()->y(), box.frameWidth());

    box.setCaption("Files");
    box.setOptions(TCoolOptions{ocBevelOnlyIfSel});
    EXPECT_TRUE(box.CaptionBar().Visible());
    EXPECT_GT(box.viewport()->y(), box.CaptionBar().CaptionHeight() - 1);
    const QRect q = box.CaptionBar().CaptionRect();
    const QImage image = render(&box);
    EXPECT_EQ(at(image, q.right() - 2, q.top() + 2), rgb(clInactiveCaption));
}

TEST(CoolListBox, FoldersListDirectoriesFirstInCaseInsensitiveOrderAndGoUpOnDotDot)
{
    QTemporaryDir dir;
    const QString root = dir.path() + "/data";
    QDir().mkpath(root + "/sub");
    QDir().mkpath(root + "/z");
    QDir().mkpath(root + "/Y");
    touch(root + "/b.txt");
    touch(root + "/A.txt");
    QDir(root).rmdir("sub");

    TCoolListBox box;
    box.setFolderName(root + "/sub/..");
    EXPECT_EQ(box.FolderName(), root + "/");
    box.setExtendedStyle(ctFolderControl);
    EXPECT_EQ(box.Items(), (QStringList{"Y", "z", "A.txt", "b.txt"}));
    // A folder that cannot be read leaves an empty list, not the old one.
    box.setFolderName(root + "/missing");
    EXPECT_EQ(box.count(), 0);
    EXPECT_EQ(TCoolItems::NormalizeFolderName("/data/sub/.."), "/data/");
}

TEST(CoolListBox, ColourModeListsSixteenOrFortyTwoAndReportsANonColourOnceWhenAdded)
{
    testsupport::ErrorCapture errors;
    TCoolListBox box;
    box.setExtendedStyle(ctColorControl);
    EXPECT_EQ(box.count(), 16);
    box.setLightColorControl(false);
    EXPECT_EQ(box.count(), 42);
    EXPECT_EQ(box.Items().last(), "clNone");
    EXPECT_TRUE(errors.messages().isEmpty());

    box.items().AddItem("nonsense");
    EXPECT_EQ(errors.messages().size(), 1);
    box.show();
    render(&box);
    render(&box);
    EXPECT_EQ(errors.messages().size(), 1) << "painting reports nothing";

    box.SelectColor(clRed);
    EXPECT_EQ(box.ItemIndex(), 9);
    EXPECT_EQ(box.SelectedColor(), clRed);
    box.SelectColor(RGB(1, 2, 3));
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.SelectedColor(), TColor(-1));
}

TEST(CoolListBox, CheckRecordsBelongToTheirItemsAndNoDataValueIsTakenForOne)
{
    TCoolListBox box;
    box.setItems({"a", "b", "c"});
    box.setItemData(1, 0x1234);
    EXPECT_FALSE(box.Checked(1)) << "outside check mode an own value is no record";
    EXPECT_EQ(box.ItemData(1), 0x1234);

    box.setExtendedStyle(ctCheckControl);
    EXPECT_EQ(box.ItemData(1), 0);
    box.setItemData(2, 77);
    box.setChecked(2, true);
    box.items().setCheckState(0, 2);
    EXPECT_EQ(box.CheckState(0), 2);
    // Deleting an earlier item keeps the record with its item.
    delete box.takeItem(1);
    EXPECT_TRUE(box.Checked(1));
    EXPECT_EQ(box.ItemData(1), 77);
    EXPECT_EQ(box.items().checkRecords().count(), 2);
    EXPECT_THROW(box.setItemData(9, 1), platform::Exception);
}

TEST(CoolListBox, MouseInTheCheckAreaAndSpaceToggleAndSurviveARecreation)
{
    TCoolListBox box;
    box.resize(150, 100);
    box.setItems({"one", "two", "three"});
    box.setExtendedCheck(true);
    box.show();
    const QRect second = box.visualRect(box.model()->index(1, 0));
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(3, second.center().y()));
    EXPECT_TRUE(box.Checked(1));
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(100, second.center().y()));
    EXPECT_TRUE(box.Checked(1)) << "outside the check area only selects";
    box.setItemIndex(2);
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_TRUE(box.Checked(2));
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_FALSE(box.Checked(2));
    box.setChecked(0, true);

    box.setOptions(box.Options() | TCoolOptions{ocFlatBorder});  // re-creates the window
    EXPECT_TRUE(box.Checked(0));
    EXPECT_TRUE(box.Checked(1));
    EXPECT_FALSE(box.Checked(2));
    EXPECT_TRUE(box.items().SavedStates().empty());
}

TEST(CoolListBox, AnEmptyListWithAWallpaperShowsTheWallpaper)
{
    TCoolListBox box;
    box.resize(80, 60);
    TBitmap green(8, 8);
    green.Canvas().FillRect(QRect(0, 0, 8, 8), clLime);
    box.setWallpaper(&green);
    box.setOptions(box.Options() | TCoolOptions{ocPaintWallpaper});
    const QImage image = render(&box);
    EXPECT_EQ(at(image, 40, 30), clLime);
}

TEST(CoolListBox, TheHorizontalExtentFollowsTheWidestItemOnAddAndDelete)
{
    TCoolListBox box;
    box.resize(60, 80);
    box.addItem("short");
    EXPECT_EQ(box.MaxItemWidth(), 0) << "not wider than the list";
    box.addItem("a much longer item text than the list is wide");
    const int wide = box.MaxItemWidth();
    EXPECT_GT(wide, 60);
    EXPECT_EQ(box.HorizontalExtent(), wide);
    box.addItem("medium item");
    EXPECT_EQ(box.MaxItemWidth(), wide);
    delete box.takeItem(1);
    EXPECT_EQ(box.MaxItemWidth(), box.items().MeasureItem("medium item"));
    box.clear();
    EXPECT_EQ(box.MaxItemWidth(), 0);
    EXPECT_EQ(box.HorizontalExtent(), 0);
}

TEST(CoolListBox, HotTrackingFollowsTheMouseAndSelectsNothingBelowTheLastItem)
{
    TCoolListBox box;
    box.resize(120, 120);
    box.setItems({"a", "b"});
    box.setHotTray(true);
    box.show();
    const QRect second = box.visualRect(box.model()->index(1, 0));
    auto move = [&](QPoint p) {
        QMouseEvent e(QEvent::MouseMove, p, box.viewport()->mapToGlobal(p), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(box.viewport(), &e);
    };
    move(second.center());
    EXPECT_EQ(box.ItemIndex(), 1);
    move(QPoint(10, 100));
    EXPECT_EQ(box.ItemIndex(), -1);
}

TEST(CoolListBox, CtrlEnterOpensTheColourAndFontDialogs)
{
    auto oldColor = TCoolItems::setColorDialog([](QWidget *, TColor) { return std::optional<TColor>(RGB(1, 2, 3)); });
    TCoolListBox box;
    box.setExtendedStyle(ctColorControl);
    QTest::keyClick(&box, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(box.count(), 17);
    EXPECT_EQ(box.Items().last(), "$00030201");
    EXPECT_EQ(box.ItemIndex(), 16);
    EXPECT_EQ(box.SelectedColor(), RGB(1, 2, 3));
    TCoolItems::setColorDialog(oldColor);

    auto oldFont = TCoolItems::setFontDialog([](QWidget *, const QFont &) { return std::optional<QFont>(QFont("Beta")); });
    TCoolListBox fonts;
    fonts.setItems({"Alpha", "Beta"});
    fonts.setExtendedStyle(ctFontControl);
    fonts.setItems({"Alpha", "Beta"});
    int clicks = 0;
    fonts.OnClick = [&](QObject *) { ++clicks; };
    QTest::keyClick(&fonts, Qt::Key_Enter, Qt::ControlModifier);
    EXPECT_EQ(fonts.ItemIndex(), 1);
    EXPECT_EQ(fonts.FontValue().Name(), "Beta");
    EXPECT_EQ(clicks, 1);
    TCoolItems::setFontDialog(oldFont);
}

TEST(CoolListBox, PrintersComeFromTheProvider)
{
    auto old = TCoolItems::setPrinterProvider([] { return QStringList{"Laser", "Ink"}; });
    TCoolListBox box;
    box.setExtendedStyle(ctPrinterControl);
    EXPECT_EQ(box.Items(), (QStringList{"Laser", "Ink"}));
    TCoolItems::setPrinterProvider(old);
}

namespace {

QStringList numbered(int n)
{
    QStringList items;
    for (int i = 0; i < n; ++i)
        items << QString("item %1").arg(i);
    return items;
}

} // namespace

TEST(CoolListBox, ColumnsSelectionModesSortingAndIntegralHeightAreTheToolkitLists)
{
    QWidget form;
    TCoolListBox box(&form);
    box.setGeometry(0, 0, 200, 100);
    box.setItemHeight(13);
    box.setItems(numbered(10));
    ASSERT_TRUE(showActive(form));

    // Two columns: the items run down the first column and on into the
    // second, each half the list wide (ten items fit, so no scroll bar).
    box.setColumns(2);
    QApplication::processEvents();
    // (The toolkit keeps room for a horizontal scroll bar below the rows.)
    const int half = box.viewport()->width() / 2;
    int rows = 0;
    while (rows < 10 && box.visualRect(box.model()->index(rows, 0)).x() == 0)
        ++rows;
    ASSERT_GE(rows, 5);
    EXPECT_LE(rows * 13, box.viewport()->height());
    EXPECT_EQ(box.visualRect(box.model()->index(rows - 1, 0)).topLeft(), QPoint(0, (rows - 1) * 13));
    EXPECT_EQ(box.visualRect(box.model()->index(rows, 0)).topLeft(), QPoint(half, 0));
    EXPECT_EQ(box.visualRect(box.model()->index(rows, 0)).width(), half);
    EXPECT_FALSE(box.verticalScrollBar()->isVisible()) << "columns scroll sideways";
    box.setColumns(0);
    QApplication::processEvents();
    EXPECT_EQ(box.visualRect(box.model()->index(rows, 0)).topLeft(), QPoint(0, rows * 13));

    // One item at a time, ranges with Shift, single items toggled.
    auto click = [&](int row, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(box.viewport(), Qt::LeftButton, mods, box.visualRect(box.model()->index(row, 0)).center());
    };
    click(1);
    click(3, Qt::ShiftModifier);
    EXPECT_EQ(box.SelCount(), 1) << "no MultiSelect";
    box.setMultiSelect(true);
    click(1);
    click(3, Qt::ShiftModifier);
    EXPECT_EQ(box.SelCount(), 3) << "ExtendedSelect: a range";
    box.setExtendedSelect(false);
    box.clearSelection();
    click(1);
    click(3);
    EXPECT_EQ(box.SelCount(), 2) << "each click toggles one";
    click(1);
    EXPECT_FALSE(box.Selected(1));
    EXPECT_TRUE(box.Selected(3));

    // Sorted: the items now, and those added later, in order.
    box.setItems({"pear", "apple", "fig"});
    box.setSorted(true);
    EXPECT_EQ(box.Items(), (QStringList{"apple", "fig", "pear"}));
    box.addItem("banana");
    EXPECT_EQ(box.Items(), (QStringList{"apple", "banana", "fig", "pear"}));

    // IntegralHeight: the items' part of the height is whole items.
    const int frame = box.height() - box.viewport()->height();
    box.setIntegralHeight(true);
    EXPECT_EQ(box.height(), frame + (100 - frame) / 13 * 13);
    box.resize(200, 130);
    EXPECT_EQ(box.height(), frame + (130 - frame) / 13 * 13);
}

TEST(CoolListBox, InheritsParentColourAlignAndTabOrderFromTheControlLayer)
{
    QWidget form;
    form.resize(300, 200);
    QPalette red = form.palette();
    red.setColor(QPalette::Window, Qt::red);
    form.setPalette(red);
    TCoolListBox box(&form);
    form.show();
    EXPECT_FALSE(box.ParentColor()) << "a list has a colour of its own";
    EXPECT_EQ(box.Color(), clWindow);
    box.setParentColor(true);
    EXPECT_EQ(box.Color(), clRed);
    box.setColor(clYellow);
    EXPECT_FALSE(box.ParentColor());

    box.setAlign(alClient);
    form.resize(320, 240);
    EXPECT_EQ(box.geometry(), QRect(0, 0, 320, 240));
    EXPECT_TRUE(box.setProperty("Anchors", QVariant::fromValue(TAnchors(akLeft))));
    EXPECT_EQ(box.TabOrder(), 0);
}

TEST(CoolListBox, WithACaptionBarTheScrollBarsLieBelowItInsideTheFrame)
{
    QWidget form;
    TCoolListBox box(&form);
    box.setGeometry(0, 0, 150, 120);
    box.setItems(numbered(30));
    box.setCaption("Files");
    box.setCaptionColor(clRed);
    box.setOptions(TCoolOptions{ocBevelOnlyIfSel});
    ASSERT_TRUE(showActive(form));
    QApplication::processEvents();
    const QMargins frame = box.CaptionBar().FrameMargins();
    const QWidget *bar = box.verticalScrollBar()->parentWidget();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry().top(), frame.top());
    EXPECT_EQ(bar->geometry().right(), box.width() - frame.right() - 1);
    EXPECT_EQ(bar->geometry().bottom(), box.height() - frame.bottom() - 1);
    // The caption bar runs to its right end, the frame beside the bar.
    const QRect q = box.CaptionBar().CaptionRect();
    const QImage image = render(&box);
    EXPECT_EQ(at(image, q.right() - 1, q.center().y()), rgb(clRed));
    EXPECT_NE(at(image, box.width() - 1, 60), at(image, bar->geometry().center().x(), 60));
    // A resize lays the bars out again, inside.
    box.resize(170, 140);
    QApplication::processEvents();
    EXPECT_EQ(bar->geometry().top(), frame.top());
    EXPECT_EQ(bar->geometry().right(), box.width() - frame.right() - 1);

    // A new caption wallpaper repaints the items too.
    int itemPaints = 0;
    box.OnDrawItem() = [&](TCanvas &, int, const QRect &, TOwnerDrawState) { ++itemPaints; };
    QImage green(4, 4, QImage::Format_RGB32);
    green.fill(Qt::green);
    box.CaptionWallpaper()->Assign(green);
    QApplication::processEvents();
    EXPECT_GT(itemPaints, 0);
}

TEST(CoolListBox, WithoutABorderTheEdgeBordersAndTheirFrameShowOverTheItems)
{
    TCoolListBox box;
    box.resize(120, 80);
    box.setItems({"a", "b", "c", "d", "e", "f"});
    box.setBorderStyle(coolctrls::bsNone);
    box.setEdgeBorders(TEdgeBorders{ebLeft, ebTop, ebRight, ebBottom});
    box.setBordersTrColor(clBlack);
    box.BorderPen().setColor(clRed);
    const QImage image = render(&box);
    EXPECT_EQ(at(image, 50, 0), clBlack) << "the frame's outer row";
    EXPECT_EQ(at(image, 50, 1), clRed) << "the top line";
    EXPECT_EQ(at(image, 1, 40), clRed) << "the left line";
    EXPECT_EQ(at(image, 0, 40), clBlack);
    EXPECT_EQ(at(image, 50, 79), clRed) << "the bottom line";
}

TEST(CoolListBox, SelectedColorFollowsTheUsersSelectionNotItemIndexFromCode)
{
    QWidget form;
    TCoolListBox box(&form);
    box.resize(150, 150);
    box.setExtendedStyle(ctColorControl);
    ASSERT_TRUE(showActive(form));
    box.setFocus();
    box.setItemIndex(3);
    EXPECT_EQ(box.SelectedColor(), clBlack) << "from code: unchanged";
    QTest::keyClick(&box, Qt::Key_Down);
    ASSERT_EQ(box.ItemIndex(), 4);
    EXPECT_EQ(box.SelectedColor(), *TCoolItems::ItemColor(box.Items().at(4)));
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, box.visualRect(box.model()->index(1, 0)).center());
    EXPECT_EQ(box.SelectedColor(), *TCoolItems::ItemColor(box.Items().at(1)));
}

TEST(CoolListBox, TheFlatBorderIsHighlightedExactlyWhileFocused)
{
    QWidget form;
    TCoolListBox box(&form);
    box.resize(120, 80);
    box.setOptions(TCoolOptions{ocNoCaption, ocFlatBorder});
    QWidget *other = hoverWithoutFocus(box);
    ASSERT_TRUE(other);
    EXPECT_EQ(at(render(&box), 0, 40), rgb(clBtnFace)) << "mouse over only";
    box.setFocus();
    EXPECT_EQ(at(render(&box), 0, 40), rgb(clBtnShadow)) << "focused";
    other->setFocus();
    EXPECT_EQ(at(render(&box), 0, 40), rgb(clBtnFace));
}

TEST(CoolListBox, TabWidthSetsTheTabStopsOfTheCaptions)
{
    const QFontMetrics fm(QApplication::font());
    const QString expanded = TItemPainter::ExpandTabs("a\tb", fm, 40);
    const int beforeB = fm.horizontalAdvance(expanded.left(expanded.size() - 1));
    EXPECT_GE(beforeB, 40);
    EXPECT_LT(beforeB, 40 + fm.horizontalAdvance(QLatin1Char(' ')));
    EXPECT_GE(fm.horizontalAdvance(TItemPainter::ExpandTabs("\t\tx", fm, 40).chopped(1)), 80);
    EXPECT_EQ(TItemPainter::ExpandTabs("no tabs", fm, 40), "no tabs");

    TCoolListBox box;
    EXPECT_EQ(box.items().TabStopPixels(6), 48) << "0: every 8 average characters";
    box.setTabWidth(16);
    EXPECT_EQ(box.items().TabStopPixels(6), 24) << "16 dialog units: 4 characters";
    box.setTabWidth(-3);
    EXPECT_EQ(box.TabWidth(), 0);

    // Drawn: the text after the tab moves to the stop.
    box.resize(400, 40);
    box.setColor(clWhite);
    box.setFontColor(clBlack);
    box.setSimpleView(true);
    box.setItems({"a\tb"});
    auto rightmostInk = [&] {
        const QImage image = render(&box);
        int right = -1;
        for (int y = 4; y < 4 + box.ItemHeight(); ++y)
            for (int x = 4; x < image.width() - 4; ++x)
                if (at(image, x, y) == clBlack)
                    right = qMax(right, x);
        return right;
    };
    box.setTabWidth(8);
    const int near = rightmostInk();
    box.setTabWidth(200);
    const int far = rightmostInk();
    ASSERT_GT(near, 0);
    EXPECT_GT(far, near + 100);
}
