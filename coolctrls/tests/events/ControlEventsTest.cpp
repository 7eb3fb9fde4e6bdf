// The mouse, keyboard and focus events every skinned control publishes:
// which are raised, in which order, and where none may be.
#include "EventLog.h"

#include "coolctrls/TCoolBtn.h"
#include "coolctrls/TCoolComboBox.h"
#include "coolctrls/TCoolGroupBox.h"
#include "coolctrls/TCoolLabel.h"
#include "coolctrls/TCoolListBox.h"
#include "coolctrls/TCoolMemo.h"
#include "coolctrls/TCoolPanel.h"
#include "coolctrls/TCoolScrollingText.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace coolctrls;
using eventtest::record;
using eventtest::showActive;

namespace {

std::string joined(const QStringList &log)
{
    return log.join(", ").toStdString();
}

QStringList without(QStringList log, const QString &event)
{
    log.removeIf([&](const QString &line) { return line.contains(event); });
    return log;
}

} // namespace

TEST(PanelEvents, PressAndReleaseInsideClickBeforeMouseUpAndOnlyWithTheLeftButton)
{
    QWidget window;
    TCoolPanel panel(&window);
    panel.setGeometry(10, 10, 100, 60);
    window.show();
    QStringList log;
    record(panel, "p", log);

    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_EQ(log, (QStringList{"p:down L 5,6", "p:click", "p:up L 5,6"}));

    log.clear();
    QTest::mouseClick(&panel, Qt::RightButton, {}, QPoint(7, 8));
    EXPECT_EQ(log, (QStringList{"p:down R 7,8", "p:up R 7,8"})) << "the right button does not click";

    log.clear();
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(150, 6));
    EXPECT_EQ(log, (QStringList{"p:down L 5,6", "p:up L 150,6"})) << "released outside: no click";

    log.clear();
    QTest::mouseMove(&panel, QPoint(20, 30));
    EXPECT_EQ(log, QStringList{"p:move 20,30"}) << "moves are reported without a button held";
}

TEST(PanelEvents, ADoubleClickClicksOnceAndRaisesOnDblClick)
{
    QWidget window;
    TCoolPanel panel(&window);
    panel.setGeometry(0, 0, 100, 60);
    window.show();
    QStringList log;
    record(panel, "p", log);

    // A double click as Qt reports it: press, release, the double click,
    // release.
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseDClick(&panel, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(log, (QStringList{"p:down L 4,4", "p:click", "p:up L 4,4", "p:dblclick", "p:down L 4,4",
                                "p:up L 4,4"}));

    // With the second press reported before the double click: that press
    // is the one mouse-down, and its release no click.
    log.clear();
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseDClick(&panel, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(log, (QStringList{"p:down L 4,4", "p:click", "p:up L 4,4", "p:down L 4,4", "p:dblclick",
                                "p:up L 4,4"}));
}

TEST(PanelEvents, ADisabledPanelRaisesNothing)
{
    QWidget window;
    TCoolPanel panel(&window);
    panel.setGeometry(0, 0, 100, 60);
    window.show();
    QStringList log;
    record(panel, "p", log);
    panel.setEnabled(false);
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(&panel, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&panel, QPoint(8, 8));
    EXPECT_TRUE(log.isEmpty()) << joined(log);
}

TEST(PanelEvents, EnterAndExitFollowTheFocusMovingIntoAndOutOfItsChildren)
{
    QWidget window;
    window.resize(300, 200);
    TCoolPanel panel(&window);
    panel.setGeometry(0, 0, 200, 100);
    TCoolBtn inside(&panel);
    inside.move(10, 10);
    TCoolBtn outside(&window);
    outside.move(10, 150);
    outside.setFocus();
    ASSERT_TRUE(showActive(window));
    QStringList log;
    record(panel, "p", log);
    record(inside, "in", log);
    record(outside, "out", log);

    inside.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(log, (QStringList{"out:exit", "p:enter", "in:enter"})) << "exits first, then enters from the outside in";
    log.clear();
    outside.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(log, (QStringList{"in:exit", "p:exit", "out:enter"}));
}

TEST(GroupBoxEvents, TheMouseOverADisabledLabelIsTheGroupBoxsAndNotItsContainers)
{
    QWidget window;
    TCoolPanel panel(&window);
    panel.setGeometry(0, 0, 200, 120);
    TCoolGroupBox box(&panel);
    box.setGeometry(10, 10, 180, 100);
    TCoolLabel enabled(&box), disabled(&box);
    enabled.setCaption("Major third");
    enabled.move(10, 20);
    disabled.setCaption("Tritone");
    disabled.move(10, 50);
    disabled.setEnabled(false);
    window.show();
    QStringList log;
    record(panel, "p", log);
    record(box, "g", log);
    record(enabled, "l", log);
    record(disabled, "d", log);

    QTest::mouseClick(&enabled, Qt::LeftButton, {}, QPoint(2, 3));
    EXPECT_EQ(log, (QStringList{"l:down L 2,3", "l:click", "l:up L 2,3"}));
    log.clear();
    QTest::mouseClick(&disabled, Qt::LeftButton, {}, QPoint(2, 3));
    EXPECT_EQ(log, (QStringList{"g:down L 12,53", "g:click", "g:up L 12,53"}))
        << "in the group box's coordinates; the panel around it sees nothing";
    log.clear();
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(150, 80));
    EXPECT_EQ(log, (QStringList{"g:down L 150,80", "g:click", "g:up L 150,80"}));
}

TEST(LabelEvents, DoubleClickAndMoveBesideTheClickThatAnswersAQuestion)
{
    QWidget window;
    TCoolLabel label(&window);
    label.setCaption("Perfect fifth");
    window.show();
    QStringList log;
    record(label, "l", log);

    QTest::mouseMove(&label, QPoint(3, 4));
    EXPECT_EQ(log, QStringList{"l:move 3,4"});
    log.clear();
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseDClick(&label, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(3, 4));
    EXPECT_EQ(log, (QStringList{"l:down L 3,4", "l:click", "l:up L 3,4", "l:dblclick", "l:down L 3,4",
                                "l:up L 3,4"}));

    log.clear();
    label.setEnabled(false);
    QTest::mouseDClick(&label, Qt::LeftButton, {}, QPoint(3, 4));
    EXPECT_TRUE(log.isEmpty()) << joined(log);
}

TEST(ButtonEvents, OneClickPerActivationAndEnterExitOnlyWhenTheFocusMovesInTheWindow)
{
    QWidget window;
    window.resize(200, 100);
    TCoolBtn first(&window), second(&window);
    second.move(0, 40);
    first.setFocus();
    ASSERT_TRUE(showActive(window));
    QStringList log;
    record(first, "a", log);
    record(second, "b", log);

    QTest::mouseClick(&first, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(without(log, "move"), (QStringList{"a:down L 5,5", "a:up L 5,5", "a:click"}))
        << "the button's own click, raised once, as the release activates it";
    log.clear();
    QTest::keyClick(&first, Qt::Key_Space);
    EXPECT_EQ(log.count("a:click"), 1) << "Space activates the button";

    log.clear();
    second.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(log, (QStringList{"a:exit", "b:enter"}));

    // Another window taking the activation, and giving it back, moves no
    // focus inside this one.
    log.clear();
    QWidget other;
    TCoolBtn elsewhere(&other);
    elsewhere.setFocus();
    ASSERT_TRUE(showActive(other));
    ASSERT_TRUE(showActive(window));
    EXPECT_TRUE(log.isEmpty()) << joined(log);
}

TEST(MemoEvents, MouseInTheTextAreaIsReportedInTheMemosCoordinates)
{
    QWidget window;
    TCoolMemo memo(&window);
    memo.setLines({"one", "two"});
    ASSERT_TRUE(showActive(window));
    QStringList log;
    record(memo, "m", log);

    const QPoint at = memo.viewport()->pos() + QPoint(10, 5);
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(without(log, "move"),
              (QStringList{QString("m:down L %1,%2").arg(at.x()).arg(at.y()), "m:click",
                           QString("m:up L %1,%2").arg(at.x()).arg(at.y())}));
}

TEST(MemoEvents, KeyHandlersSeeKeysFirstAndCanSwallowOrChangeThem)
{
    QWidget window;
    TCoolMemo memo(&window);
    memo.setLines({});
    TCoolBtn next(&window);
    next.move(0, 100);
    memo.setFocus();
    ASSERT_TRUE(showActive(window));
    QStringList log;
    int changes = 0;
    memo.OnChange = [&](QObject *) { ++changes; };
    memo.OnKeyDown = [&](QObject *, int &key, Qt::KeyboardModifiers) {
        log << QString("down %1").arg(key, 0, 16);
        if (key == Qt::Key_X)
            key = 0;
    };
    memo.OnKeyPress = [&](QObject *, QChar &ch) {
        log << QString("press ") + ch;
        if (ch == 'a')
            ch = 'b';
    };
    memo.OnKeyUp = [&](QObject *, int &key, Qt::KeyboardModifiers) { log << QString("up %1").arg(key, 0, 16); };

    QTest::keyClick(&memo, Qt::Key_A, {}, 0);
    EXPECT_EQ(log, (QStringList{"down 41", "press a", "up 41"}));
    EXPECT_EQ(memo.toPlainText(), "b") << "the character the handler chose is typed";
    EXPECT_EQ(changes, 1);

    log.clear();
    QTest::keyClick(&memo, Qt::Key_X);
    EXPECT_EQ(memo.toPlainText(), "b") << "a key set to 0 is swallowed";
    EXPECT_EQ(log.first(), "down 58");

    log.clear();
    QTest::keyClick(&memo, Qt::Key_Tab);
    EXPECT_TRUE(log.isEmpty()) << "Tab moves the focus on: " << joined(log);
    EXPECT_TRUE(next.hasFocus());
    memo.setFocus();
    memo.setWantTabs(true);
    QTest::keyClick(&memo, Qt::Key_Tab);
    EXPECT_EQ(log.value(0), "down 1000001");
    EXPECT_EQ(memo.toPlainText().toStdString(), "b\t");
}

TEST(ScrollingTextEvents, ClickDoubleClickAndMove)
{
    QWidget window;
    TCoolScrollingText ticker(&window);
    ticker.setGeometry(0, 0, 120, 20);
    ticker.setStrings({"credits"});
    window.show();
    QStringList log;
    record(ticker, "t", log);

    QTest::mouseClick(&ticker, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(log, (QStringList{"t:down L 30,5", "t:click", "t:up L 30,5"}));
    log.clear();
    QTest::mouseDClick(&ticker, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(log, (QStringList{"t:dblclick", "t:down L 30,5"}));
    log.clear();
    QTest::mouseMove(&ticker, QPoint(40, 6));
    EXPECT_EQ(log, QStringList{"t:move 40,6"});
}

TEST(ListBoxEvents, OnClickIsTheUsersSelectionNeverACodeOne)
{
    QWidget window;
    TCoolListBox list(&window);
    list.setGeometry(0, 0, 120, 100);
    list.setItems({"one", "two", "three"});
    list.setFocus();
    ASSERT_TRUE(showActive(window));
    int clicks = 0;
    list.OnClick = [&](QObject *) { ++clicks; };

    list.setItemIndex(1);
    EXPECT_EQ(clicks, 0) << "selected from code";
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(clicks, 1) << "a key that moves the selection";
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(clicks, 1) << "at the last item the selection stays";

    const QRect first = list.visualItemRect(list.item(0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(clicks, 2) << "a click on an item";
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, list.viewport()->height() - 3));
    EXPECT_EQ(clicks, 2) << "a click below the items selects nothing";
}

TEST(ListBoxEvents, MouseEventsInTheListsCoordinates)
{
    QWidget window;
    TCoolListBox list(&window);
    list.setGeometry(0, 0, 120, 100);
    list.setItems({"one"});
    window.show();
    QStringList log;
    record(list, "l", log);
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, QPoint(6, 4));
    const QPoint at = list.viewport()->pos() + QPoint(6, 4);
    EXPECT_EQ(without(without(log, "move"), "enter"),
              (QStringList{QString("l:down R %1,%2").arg(at.x()).arg(at.y()),
                           QString("l:up R %1,%2").arg(at.x()).arg(at.y())}));
}

TEST(ListBoxEvents, ADoubleClickOnAnItemSelectsItOnceAndAKeyHandlerCanSwallowTheMove)
{
    QWidget window;
    TCoolListBox list(&window);
    list.setGeometry(0, 0, 120, 100);
    list.setItems({"one", "two", "three"});
    list.setFocus();
    ASSERT_TRUE(showActive(window));
    QStringList log;
    record(list, "l", log);
    int measured = 0;
    list.OnMeasureItem = [&](int, int &) { ++measured; };

    const QPoint second = list.visualItemRect(list.item(1)).center();
    // What the window system sends: a click, then a double click in place
    // of the second press.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, second);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(list.ItemIndex(), 1);
    const QStringList clicks = log.filter(QRegularExpression(":(dbl)?click"));
    EXPECT_EQ(clicks, (QStringList{"l:click", "l:dblclick"})) << joined(log);

    // A handler that sets the key to 0 keeps the list from moving.
    log.clear();
    list.OnKeyDown = [&](QObject *, int &key, Qt::KeyboardModifiers) {
        log << "keydown";
        if (key == Qt::Key_Down)
            key = 0;
    };
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_FALSE(log.contains("l:click"));
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(without(log, "keyup"), (QStringList{"keydown", "keydown", "l:click"}));

    // Every item is ItemHeight high: the list never asks for a height.
    list.grab();
    EXPECT_EQ(measured, 0);
    EXPECT_EQ(list.visualItemRect(list.item(2)).height(), list.ItemHeight());
}

TEST(ComboBoxEvents, ThePicksClickComesBeforeItsChangeAndCodeRaisesNeither)
{
    QWidget window;
    TCoolComboBox combo(&window);
    combo.addItems({"Level 1", "Level 2"});
    combo.setFocus();
    ASSERT_TRUE(showActive(window));
    QStringList log;
    combo.OnClick = [&](QObject *) { log << "click"; };
    combo.OnChange = [&](QObject *) { log << "change"; };
    combo.OnEnter = [&](QObject *) { log << "enter"; };

    combo.setCurrentIndex(1);
    combo.setCurrentIndex(0);
    EXPECT_TRUE(log.isEmpty());
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_EQ(log, (QStringList{"click", "change"}));
}
