#include "ListTestSupport.h"

#include "coolctrls/TCoolListBox.h"
#include "platform/canvas/TBitmap.h"
#include "platform/Exception.h"
#include "platform/testing/ErrorCapture.h"

#include <QTemporaryDir>
#include <QApplication>
#include <QMouseEvent>
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
