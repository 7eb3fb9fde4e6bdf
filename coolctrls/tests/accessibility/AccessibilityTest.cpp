// What the skinned controls tell assistive technology: roles, names, text,
// actions and the events of a caption change.
#include "coolctrls/TCoolGroupBox.h"
#include "coolctrls/TCoolLabel.h"
#include "coolctrls/TCoolMemo.h"
#include "coolctrls/TCoolPanel.h"
#include "coolctrls/TCoolScrollingText.h"
#include "coolctrls/TCoolTextAccessible.h"

#include <QAccessible>
#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace coolctrls;

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(iface, nullptr);
    return iface;
}

} // namespace

TEST(LabelAccessibility, ATextLabelIsStaticTextNamedAndReadByItsCaption)
{
    QWidget parent;
    TCoolLabel label(&parent);
    label.setCaption("&Right answers && more");
    QAccessibleInterface *iface = accessible(&label);
    EXPECT_EQ(iface->role(), QAccessible::StaticText);
    EXPECT_EQ(iface->text(QAccessible::Name), "Right answers & more");
    ASSERT_NE(iface->textInterface(), nullptr);
    EXPECT_EQ(iface->textInterface()->text(0, -1), "Right answers & more");
    EXPECT_EQ(iface->textInterface()->characterCount(), 20);
    int start = 0, end = 0;
    EXPECT_EQ(iface->textInterface()->textAtOffset(7, QAccessible::WordBoundary, &start, &end), "answers");
    EXPECT_EQ(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()), false);

    label.setShowAccelChar(false);
    EXPECT_EQ(iface->text(QAccessible::Name), "&Right answers && more") << "no accelerator: the text as drawn";
    label.setAccessibleName("Score");
    EXPECT_EQ(iface->text(QAccessible::Name), "Score") << "a name the program sets wins";
    label.setToolTip("Key 1");
    EXPECT_EQ(iface->text(QAccessible::Description), "Key 1");
}

TEST(LabelAccessibility, ACharacterLiesWhereTheLabelDrawsIt)
{
    QWidget parent;
    TCoolLabel label(&parent);
    label.setCaption("ab");
    label.move(10, 20);
    parent.show();
    QAccessibleTextInterface *text = accessible(&label)->textInterface();
    const QRect a = text->characterRect(0);
    const QRect b = text->characterRect(1);
    EXPECT_EQ(a.topLeft(), label.mapToGlobal(QPoint(1, 1))) << "after the shadow to the left and above";
    EXPECT_EQ(b.left(), a.left() + QFontMetrics(label.font()).horizontalAdvance('a'));
    EXPECT_EQ(text->offsetAtPoint(b.center()), 1);
    EXPECT_EQ(text->characterRect(2), QRect());
    EXPECT_EQ(text->offsetAtPoint(label.mapToGlobal(QPoint(-5, -5))), -1);
}

TEST(LabelAccessibility, AClickableLabelIsAButtonWhosePressActsAsAClick)
{
    QWidget parent;
    TCoolLabel label(&parent);
    label.setCaption("O1 - Minor second");
    QStringList calls;
    label.OnMouseDown = [&](QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
        EXPECT_EQ(sender, &label);
        EXPECT_EQ(button, Qt::LeftButton);
        calls << "down";
    };
    label.OnMouseUp = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { calls << "up"; };
    label.OnClick = [&](QObject *) { calls << "click"; };
    new QShortcut(QKeySequence(Qt::Key_1), &label);

    QAccessibleInterface *iface = accessible(&label);
    EXPECT_EQ(iface->role(), QAccessible::Button);
    EXPECT_EQ(iface->text(QAccessible::Name), "O1 - Minor second");
    EXPECT_EQ(iface->textInterface(), nullptr) << "a button offers no text interface";
    QAccessibleActionInterface *actions = iface->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    EXPECT_EQ(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()), QStringList{"1"});
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(calls, (QStringList{"down", "up", "click"}));

    label.setEnabled(false);
    EXPECT_TRUE(iface->state().disabled);
    EXPECT_FALSE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(calls.size(), 3) << "a disabled label is not pressed";
}

TEST(ContainerAccessibility, PanelsAndGroupBoxesAreGroupingsNamedByTheirCaption)
{
    TCoolPanel panel;
    TCoolGroupBox box(&panel);
    box.setCaption("&Intervals");
    QAccessibleInterface *boxIface = accessible(&box);
    EXPECT_EQ(boxIface->role(), QAccessible::Grouping);
    EXPECT_EQ(boxIface->text(QAccessible::Name), "Intervals");
    EXPECT_EQ(accessible(&panel)->role(), QAccessible::Grouping);
    EXPECT_EQ(accessible(&panel)->text(QAccessible::Name), "");
    EXPECT_EQ(accessible(&panel)->childCount(), 1);
    EXPECT_EQ(accessible(&panel)->child(0), boxIface);
}

TEST(ScrollingTextAccessibility, HoldsItsWholeTextWhereverItHasMoved)
{
    QWidget parent;
    TCoolScrollingText ticker(&parent);
    ticker.resize(60, 15);
    ticker.setStrings({"credits & thanks", "second line"});
    ticker.ResetPosition(false);
    QAccessibleInterface *iface = accessible(&ticker);
    EXPECT_EQ(iface->role(), QAccessible::StaticText);
    EXPECT_EQ(iface->text(QAccessible::Name), "credits & thanks second line");
    EXPECT_EQ(iface->textInterface()->text(0, -1), "credits & thanks\nsecond line");
    parent.show();
    const QRect before = iface->textInterface()->characterRect(0);
    EXPECT_EQ(before.left(), ticker.mapToGlobal(QPoint(ticker.ScrollX(), 0)).x()) << "at the entry position";
    ticker.Tick();
    EXPECT_EQ(iface->textInterface()->characterRect(0), before.translated(-1, 0)) << "one pixel to the left";
    const QRect secondLine = iface->textInterface()->characterRect(17);
    EXPECT_EQ(secondLine.left(), before.left() - 1);
    EXPECT_EQ(secondLine.top(), before.top() + QFontMetrics(ticker.font()).lineSpacing());
}

TEST(AccessibleText, TheAcceleratorMarkIsNotRead)
{
    EXPECT_EQ(stripAccelerator("&File"), "File");
    EXPECT_EQ(stripAccelerator("Fish && Chips"), "Fish & Chips");
    EXPECT_EQ(stripAccelerator("a&&&b"), "a&b");
    EXPECT_EQ(stripAccelerator("tail&"), "tail&");
    EXPECT_EQ(stripAccelerator(""), "");
}

TEST(MemoKeyboard, TabMovesTheFocusOnUnlessTabsAreWanted)
{
    QWidget window;
    TCoolMemo first(&window), second(&window);
    first.setLines({"text"});
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first.setFocus();
    EXPECT_FALSE(first.WantTabs());
    QTest::keyClick(&first, Qt::Key_Tab);
    EXPECT_TRUE(second.hasFocus());
    EXPECT_EQ(first.Lines(), QStringList{"text"});
    QTest::keyClick(&second, Qt::Key_Backtab);
    EXPECT_TRUE(first.hasFocus());

    first.setWantTabs(true);
    QTest::keyClick(&first, Qt::Key_Tab);
    EXPECT_TRUE(first.hasFocus());
    EXPECT_TRUE(first.Lines().join("").contains('\t'));
}
