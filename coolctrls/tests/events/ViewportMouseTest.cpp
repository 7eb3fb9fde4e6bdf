// The mouse over a scroll area's viewport (the memo's text area, the list
// box's items) is the control's: a press there starts its drag distance and
// begins a dmAutomatic drag, and a right click shows its PopupMenu.
#include "EventLog.h"

#include "coolctrls/TCoolListBox.h"
#include "coolctrls/TCoolMemo.h"
#include "coolctrls/TCoolPanel.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <gtest/gtest.h>

using namespace coolctrls;
using namespace platform;
using eventtest::showActive;

namespace {

// A memo beside a panel that accepts whatever is dragged onto it; log
// collects the drag's events.
struct DragForm
{
    QWidget window;
    TCoolMemo memo{&window};
    TCoolPanel target{&window};
    QStringList log;
    int clicks = 0;

    DragForm()
    {
        window.resize(300, 100);
        memo.setGeometry(0, 0, 120, 80);
        memo.setLines({"one", "two"});
        target.setGeometry(150, 0, 100, 80);
        memo.OnClick = [this](QObject *) { ++clicks; };
        memo.OnStartDrag = [this](QObject *, QObject *&) { log << "start"; };
        memo.OnEndDrag = [this](QObject *, QObject *to, int x, int y) {
            log << QString("end %1 %2,%3").arg(to == &target).arg(x).arg(y);
        };
        target.OnDragOver = [this](QObject *, QObject *source, int, int, TDragState state, bool &accept) {
            if (state == dsDragEnter)
                log << "enter";
            accept = source == &memo;
        };
        target.OnDragDrop = [this](QObject *, QObject *source, int x, int y) {
            log << QString("drop %1 %2,%3").arg(source == &memo).arg(x).arg(y);
        };
    }

    QWidget *text() { return memo.viewport(); }
    QPoint onTarget() { return text()->mapFrom(&window, QPoint(160, 8)); }
};

} // namespace

TEST(ViewportMouse, APressInTheMemosTextMeasuresTheDragDistanceFromItself)
{
    DragForm form;
    ASSERT_TRUE(showActive(form.window));
    const QPoint press(20, 5);
    form.memo.setDragMode(dmAutomatic);

    // Below the drag distance: a click, no drag.
    const int small = QApplication::startDragDistance() / 2;
    QTest::mousePress(form.text(), Qt::LeftButton, {}, press);
    QTest::mouseMove(form.text(), press + QPoint(small, 0));
    EXPECT_FALSE(form.memo.Dragging());
    QTest::mouseRelease(form.text(), Qt::LeftButton, {}, press + QPoint(small, 0));
    EXPECT_TRUE(form.log.isEmpty()) << form.log.join(", ").toStdString();
    EXPECT_EQ(form.clicks, 1);
    EXPECT_FALSE(form.memo.Dragging());

    // Past it: the drag starts and drops on the panel.
    QTest::mousePress(form.text(), Qt::LeftButton, {}, press);
    QTest::mouseMove(form.text(), press + QPoint(30, 0));
    EXPECT_TRUE(form.memo.Dragging());
    QTest::mouseMove(form.text(), form.onTarget());
    QTest::mouseRelease(form.text(), Qt::LeftButton, {}, form.onTarget());
    EXPECT_EQ(form.log, (QStringList{"start", "enter", "drop 1 10,8", "end 1 10,8"}));
    EXPECT_FALSE(form.memo.Dragging());
    EXPECT_EQ(form.clicks, 1) << "a drag is no click";
}

TEST(ViewportMouse, ADragBegunFromOnMouseDownInTheMemoCountsFromThePress)
{
    DragForm form;
    ASSERT_TRUE(showActive(form.window));
    // The memo was last pressed on its frame, far from where the text is
    // pressed next: the threshold must be measured from the new press.
    QTest::mouseClick(&form.memo, Qt::LeftButton, {}, QPoint(1, 1));
    form.memo.OnMouseDown = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        form.memo.BeginDrag(false, 10);
    };
    const QPoint press(20, 5);
    QTest::mousePress(form.text(), Qt::LeftButton, {}, press);
    QTest::mouseMove(form.text(), press + QPoint(4, 2));
    EXPECT_FALSE(form.memo.Dragging()) << "within the threshold of the press";
    QTest::mouseMove(form.text(), press + QPoint(30, 0));
    EXPECT_TRUE(form.memo.Dragging());
    QTest::mouseMove(form.text(), form.onTarget());
    QTest::mouseRelease(form.text(), Qt::LeftButton, {}, form.onTarget());
    EXPECT_EQ(form.log, (QStringList{"start", "enter", "drop 1 10,8", "end 1 10,8"}));
}

TEST(ViewportMouse, ARightClickOverTheTextOrTheItemsShowsThePopupMenuAndAsksOnce)
{
    QWidget window;
    window.resize(300, 120);
    TCoolMemo memo(&window);
    memo.setGeometry(0, 0, 120, 100);
    TCoolListBox list(&window);
    list.setGeometry(150, 0, 120, 100);
    list.setItems({"one", "two"});
    ASSERT_TRUE(showActive(window));

    QMenu menu;
    menu.addAction("Copy");
    for (QAbstractScrollArea *area : std::initializer_list<QAbstractScrollArea *>{&memo, &list}) {
        auto *control = dynamic_cast<TControl *>(area);
        ASSERT_TRUE(control);
        control->setPopupMenu(&menu);
        QList<QPoint> asked;
        control->OnContextPopup = [&](QObject *sender, QPoint at, bool &) {
            EXPECT_EQ(sender, area);
            asked << at;
        };
        // The window system follows a right press with the request (the
        // test's mouse events go to the widget directly, so it is sent here).
        const QPoint at(12, 7);
        QTest::mousePress(area->viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, area->viewport()->mapToGlobal(at));
        QApplication::sendEvent(area->viewport(), &rightClick);
        QTest::mouseRelease(area->viewport(), Qt::RightButton, {}, at);
        ASSERT_EQ(asked.size(), 1) << area->metaObject()->className();
        EXPECT_EQ(asked[0], area->viewport()->mapTo(area, at)) << "in the control's coordinates";
        EXPECT_TRUE(menu.isVisible()) << area->metaObject()->className();
        menu.hide();

        // Unanswered by either, the request goes on to the control's own
        // handling, and still asks only once.
        control->setPopupMenu(nullptr);
        asked.clear();
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, area->viewport()->mapToGlobal(at));
        QApplication::sendEvent(area->viewport(), &request);
        EXPECT_EQ(asked.size(), 1) << area->metaObject()->className();
        for (QWidget *popup : QApplication::topLevelWidgets())
            if (qobject_cast<QMenu *>(popup) && popup != &menu)
                popup->close(); // the memo's standard menu
        control->OnContextPopup = nullptr;
    }
}
