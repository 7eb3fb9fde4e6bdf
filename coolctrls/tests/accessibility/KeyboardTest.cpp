// A label that takes the focus: Space and Enter act as the mouse button,
// the arrow keys move among the labels beside it, and the focus rectangle
// shows only when the focus came from the keyboard.
#include "coolctrls/TCoolLabel.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <array>

using namespace coolctrls;

namespace {

// Four captions in two rows and two columns, a fifth disabled below, as
// the interval captions stand, all focusable with Tab.
class Captions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(300, 120);
        const QPoint at[] = {{20, 10}, {150, 10}, {20, 40}, {150, 40}, {20, 70}};
        for (int i = 0; i < 5; ++i) {
            labels[i] = new TCoolLabel(&window);
            labels[i]->setCaption(QString("Caption %1").arg(i + 1));
            labels[i]->move(at[i]);
            labels[i]->setFocusPolicy(Qt::TabFocus);
            labels[i]->OnMouseDown = [this, i](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                calls << QString("down %1").arg(i + 1);
            };
            labels[i]->OnMouseUp = [this, i](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                calls << QString("up %1").arg(i + 1);
            };
            labels[i]->OnClick = [this, i](QObject *) { calls << QString("click %1").arg(i + 1); };
        }
        labels[4]->setEnabled(false);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QWidget *focused() const { return QApplication::focusWidget(); }
    QImage shot() { return window.grab().toImage(); }

    QWidget window;
    std::array<TCoolLabel *, 5> labels{};
    QStringList calls;
};

} // namespace

TEST_F(Captions, SpaceIsTheMouseButtonAndEnterAClick)
{
    labels[0]->setFocus(Qt::TabFocusReason);
    QTest::keyPress(labels[0], Qt::Key_Space);
    EXPECT_EQ(calls, QStringList{"down 1"}) << "the press acts at once, as a mouse-down";
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(labels[0], &repeat);
    EXPECT_EQ(calls, QStringList{"down 1"}) << "held down, Space is one press";
    QTest::keyRelease(labels[0], Qt::Key_Space);
    EXPECT_EQ(calls, (QStringList{"down 1", "up 1", "click 1"}));

    calls.clear();
    QTest::keyClick(labels[0], Qt::Key_Return);
    QTest::keyClick(labels[0], Qt::Key_Enter);
    EXPECT_EQ(calls, (QStringList{"down 1", "up 1", "click 1", "down 1", "up 1", "click 1"}));

    // Space let go after the focus moved on: the button still comes up.
    calls.clear();
    QTest::keyPress(labels[0], Qt::Key_Space);
    labels[1]->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(calls, (QStringList{"down 1", "up 1"}));
    QTest::keyRelease(labels[1], Qt::Key_Space);
    EXPECT_EQ(calls, (QStringList{"down 1", "up 1"}));
}

TEST_F(Captions, ArrowsMoveToTheNearestCaptionThatWay)
{
    labels[0]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(labels[0], Qt::Key_Right);
    EXPECT_EQ(focused(), labels[1]);
    QTest::keyClick(labels[1], Qt::Key_Down);
    EXPECT_EQ(focused(), labels[3]);
    QTest::keyClick(labels[3], Qt::Key_Down);
    EXPECT_EQ(focused(), labels[3]) << "the disabled caption below is skipped; the edge keeps the focus";
    QTest::keyClick(labels[3], Qt::Key_Left);
    EXPECT_EQ(focused(), labels[2]);
    QTest::keyClick(labels[2], Qt::Key_Up);
    EXPECT_EQ(focused(), labels[0]);
    QTest::keyClick(labels[0], Qt::Key_Left);
    EXPECT_EQ(focused(), labels[0]);

    labels[2]->setFocusPolicy(Qt::NoFocus);
    QTest::keyClick(labels[0], Qt::Key_Down);
    EXPECT_EQ(focused(), labels[3]) << "a caption without tab focus is no stop; the nearest one below is";
    EXPECT_TRUE(calls.isEmpty()) << "moving answers nothing";
}

TEST_F(Captions, TheFocusRectangleShowsOnlyAfterAKey)
{
    const QImage rest = shot();
    const QRect second = labels[1]->geometry();

    // Focus that follows a click (as after a mouse click on a button that
    // then turns disabled) shows nothing.
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(5, 100));
    labels[1]->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(focused(), labels[1]);
    EXPECT_EQ(shot(), rest);

    // From the keyboard the caption is framed by dotted lines.
    QTest::keyClick(labels[1], Qt::Key_Left);
    QTest::keyClick(labels[0], Qt::Key_Right);
    ASSERT_EQ(focused(), labels[1]);
    const QImage framed = shot();
    EXPECT_NE(framed, rest);
    int changed = 0;
    for (int y = 0; y < framed.height(); ++y)
        for (int x = 0; x < framed.width(); ++x)
            if (framed.pixel(x, y) != rest.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(second.contains(x, y)) << x << "," << y;
                EXPECT_TRUE(x == second.left() || x == second.right() || y == second.top() || y == second.bottom())
                    << "only on the border: " << x << "," << y;
            }
    EXPECT_GT(changed, second.width());

    labels[1]->clearFocus();
    EXPECT_EQ(shot(), rest) << "gone with the focus";
}
