// The control layer every control inherits: alignment and anchors,
// constraints and the resize veto, the parent's colour, hints, the context
// menu, the tab order and dragging one control onto another.
#include "platform/TControl.h"
#include "platform/TSizeConstraints.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <functional>

using namespace platform;

namespace {

// A control with a colour, recording the sizes it is told about.
class TTestControl : public QWidget, public TControl
{
public:
    explicit TTestControl(QWidget *parent = nullptr) : QWidget(parent), TControl(this) {}
    using TControl::setTabOrder;
    using QWidget::setTabOrder;

    TColor color = clBtnFace;
    void setColor(TColor value)
    {
        if (value == color)
            return;
        color = value;
        ColorChanged();
    }
    std::vector<QSize> sizes;
    std::function<void()> onPress;
    int releases = 0;

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        if (onPress)
            onPress();
    }
    void mouseReleaseEvent(QMouseEvent *) override { ++releases; }
    TColor ControlColor() const override { return color; }
    void ApplyParentColor(TColor value) override { setColor(value); }
    void resizeEvent(QResizeEvent *event) override { sizes.push_back(event->size()); }
};

// A shown window of 200 × 100 to put controls on.
struct Host
{
    QWidget window;
    Host()
    {
        window.resize(200, 100);
        window.show();
    }
    TTestControl *add(QRect geometry)
    {
        auto *c = new TTestControl(&window);
        c->setGeometry(geometry);
        c->show();
        return c;
    }
};

} // namespace

TEST(Control, AlignedControlsShareTheParentTopBottomLeftRightThenClient)
{
    Host h;
    TTestControl *client = h.add({0, 0, 5, 5});
    TTestControl *top = h.add({0, 0, 10, 20});
    TTestControl *bottom = h.add({0, 0, 10, 10});
    TTestControl *left = h.add({0, 0, 30, 10});
    TTestControl *right = h.add({0, 0, 40, 10});
    TTestControl *loose = h.add({3, 4, 5, 6});
    client->setAlign(alClient);
    top->setAlign(alTop);
    bottom->setAlign(alBottom);
    left->setAlign(alLeft);
    right->setAlign(alRight);
    EXPECT_EQ(top->geometry(), QRect(0, 0, 200, 20));
    EXPECT_EQ(bottom->geometry(), QRect(0, 90, 200, 10));
    EXPECT_EQ(left->geometry(), QRect(0, 20, 30, 70));
    EXPECT_EQ(right->geometry(), QRect(160, 20, 40, 70));
    EXPECT_EQ(client->geometry(), QRect(30, 20, 130, 70));
    EXPECT_EQ(loose->geometry(), QRect(3, 4, 5, 6)) << "alNone stays where it is";

    // The parent's resize, a control hidden, an aligned control's own resize.
    h.window.resize(300, 150);
    EXPECT_EQ(bottom->geometry(), QRect(0, 140, 300, 10));
    EXPECT_EQ(client->geometry(), QRect(30, 20, 230, 120));
    top->hide();
    EXPECT_EQ(left->geometry(), QRect(0, 0, 30, 140));
    right->resize(60, 10);
    EXPECT_EQ(right->geometry(), QRect(240, 0, 60, 140)) << "keeps its width, takes the height";
    EXPECT_EQ(client->geometry(), QRect(30, 0, 210, 140));
    client->move(5, 5);
    EXPECT_EQ(client->geometry(), QRect(30, 0, 210, 140)) << "an aligned control stays in place";
}

TEST(Control, AnchorsKeepTheDistancesToTheirSides)
{
    Host h;
    TTestControl *c = h.add({10, 10, 50, 20});
    EXPECT_EQ(c->Anchors(), TAnchors(akLeft) | akTop);
    h.window.resize(250, 130);
    EXPECT_EQ(c->geometry(), QRect(10, 10, 50, 20));
    c->setAnchors(TAnchors(akRight) | akBottom);
    h.window.resize(300, 150);
    EXPECT_EQ(c->geometry(), QRect(60, 30, 50, 20));
    c->setAnchors(TAnchors(akLeft) | akRight | akTop | akBottom);
    c->setGeometry(20, 20, 60, 40);
    h.window.resize(400, 200);
    EXPECT_EQ(c->geometry(), QRect(20, 20, 160, 90));
    h.window.resize(200, 100);
    EXPECT_EQ(c->geometry(), QRect(20, 20, 0, 0)) << "never below nothing";
    // Anchored on neither side: the centre stays at the same fraction.
    c->setAnchors({});
    c->setGeometry(100, 50, 20, 10);
    h.window.resize(600, 300); // from 200 × 100: the centre 110, 55 becomes 330, 165
    EXPECT_EQ(c->geometry(), QRect(320, 160, 20, 10));
}

TEST(Control, OnCanResizeChangesOrRefusesANewSizeBeforeTheControlTakesIt)
{
    Host h;
    TTestControl *c = h.add({0, 0, 40, 40});
    c->sizes.clear();
    std::vector<QSize> asked;
    c->OnCanResize = [&](QObject *sender, int &w, int &h, bool &resize) {
        EXPECT_EQ(sender, c);
        asked.emplace_back(w, h);
        if (w > 100)
            resize = false;
        else
            h = std::min(h, 50);
    };
    c->resize(60, 80);
    EXPECT_EQ(c->size(), QSize(60, 50));
    c->resize(120, 20);
    EXPECT_EQ(c->size(), QSize(60, 50)) << "refused";
    c->resize(60, 50);
    EXPECT_EQ(asked, (std::vector<QSize>{{60, 80}, {120, 20}}));
    EXPECT_EQ(c->sizes, std::vector<QSize>{QSize(60, 50)}) << "the control sees accepted sizes only";

    // A hidden control is asked when it is shown.
    c->hide();
    asked.clear();
    c->resize(200, 30);
    EXPECT_TRUE(asked.empty());
    c->show();
    EXPECT_EQ(asked, std::vector<QSize>{QSize(200, 30)});
    EXPECT_EQ(c->size(), QSize(60, 50));
    EXPECT_EQ(c->sizes.back(), QSize(60, 50));

    // Constraints are applied as Qt's limits and never contradict.
    c->OnCanResize = nullptr;
    TSizeConstraints &limits = *c->Constraints();
    limits.setMaxWidth(30);
    EXPECT_EQ(c->width(), 30);
    limits.setMinWidth(45);
    EXPECT_EQ(limits.MaxWidth(), 45);
    EXPECT_EQ(c->width(), 45);
    limits.setMaxWidth(20);
    EXPECT_EQ(limits.MinWidth(), 20);
    limits.setMaxWidth(0);
    c->resize(500, 10);
    EXPECT_EQ(c->width(), 500) << "0: no limit";
}

TEST(Control, ParentColorFollowsTheParentUntilTheColourIsSet)
{
    Host h;
    TTestControl *parent = h.add({0, 0, 100, 100});
    parent->setColor(clWhite);
    auto *child = new TTestControl(parent);
    auto *grandChild = new TTestControl(child);
    child->show();
    EXPECT_TRUE(child->ParentColor());
    EXPECT_EQ(child->color, clWhite) << "taken when first polished";
    EXPECT_EQ(grandChild->color, clWhite);

    parent->setColor(clRed);
    EXPECT_EQ(child->color, clRed);
    EXPECT_EQ(grandChild->color, clRed) << "passed on down the tree";
    EXPECT_TRUE(child->ParentColor());

    child->setColor(clBlue);
    EXPECT_FALSE(child->ParentColor());
    EXPECT_EQ(grandChild->color, clBlue);
    parent->setColor(clLime);
    EXPECT_EQ(child->color, clBlue);
    child->setParentColor(true);
    EXPECT_EQ(child->color, clLime);

    // A plain widget's colour is its palette's window colour.
    QWidget plain;
    QPalette palette = plain.palette();
    palette.setColor(QPalette::Window, QColor(1, 2, 3));
    plain.setPalette(palette);
    auto *onPlain = new TTestControl(&plain);
    onPlain->ensurePolished();
    EXPECT_EQ(onPlain->color, RGB(1, 2, 3));
    palette.setColor(QPalette::Window, QColor(4, 5, 6));
    plain.setPalette(palette);
    EXPECT_EQ(onPlain->color, RGB(4, 5, 6));
    // A widget with a Color property of its own.
    QWidget described;
    described.setProperty("Color", QColor(7, 8, 9));
    onPlain->setParent(&described);
    EXPECT_EQ(onPlain->color, RGB(7, 8, 9));
    EXPECT_EQ(TControl::ColorOf(&described), RGB(7, 8, 9));
    // A colour value property, a system colour included, is taken as it is.
    described.setProperty("Color", QVariant::fromValue(clInfoBk));
    EXPECT_EQ(TControl::ColorOf(&described), clInfoBk);
    described.setProperty("Color", QVariant::fromValue(RGB(10, 11, 12)));
    EXPECT_EQ(TControl::ColorOf(&described), RGB(10, 11, 12));
}

TEST(Control, ShowHintFollowsTheParentAndHidesTheToolTip)
{
    Host h;
    TTestControl *parent = h.add({0, 0, 100, 100});
    auto *child = new TTestControl(parent);
    child->setGeometry(10, 10, 20, 20);
    child->setToolTip("tip");
    child->show();
    EXPECT_TRUE(child->ShowHint()) << "a window shows tool tips";
    parent->setShowHint(false);
    EXPECT_FALSE(parent->ParentShowHint());
    EXPECT_FALSE(child->ShowHint());
    auto askTip = [&] {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), child->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(child, &help);
        return QToolTip::isVisible();
    };
    EXPECT_FALSE(askTip());
    child->setParentShowHint(false);
    EXPECT_FALSE(child->ShowHint()) << "keeps the parent's value";
    child->setShowHint(true);
    EXPECT_TRUE(askTip());
    QToolTip::hideText();
}

TEST(Control, BiDiModeFollowsTheParentUntilSetAndIsTheLayoutDirection)
{
    Host h;
    TTestControl *parent = h.add({0, 0, 100, 100});
    auto *child = new TTestControl(parent);
    auto *grandchild = new TTestControl(child);
    auto *plain = new QWidget(child);
    EXPECT_TRUE(child->ParentBiDiMode());
    EXPECT_EQ(child->BiDiMode(), bdLeftToRight);

    // A right-to-left parent reaches the children that follow it, its mode
    // included, and Qt lays them out from the right.
    parent->setBiDiMode(bdRightToLeftNoAlign);
    EXPECT_FALSE(parent->ParentBiDiMode()) << "setting the mode leaves the parent's";
    EXPECT_EQ(parent->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(child->BiDiMode(), bdRightToLeftNoAlign);
    EXPECT_EQ(grandchild->BiDiMode(), bdRightToLeftNoAlign);
    EXPECT_EQ(plain->layoutDirection(), Qt::RightToLeft);
    EXPECT_TRUE(child->ParentBiDiMode());

    // Its own mode stops following; a later parent change passes it by and
    // reaches only its own followers.
    child->setBiDiMode(bdLeftToRight);
    EXPECT_FALSE(child->ParentBiDiMode());
    EXPECT_EQ(grandchild->layoutDirection(), Qt::LeftToRight);
    parent->setBiDiMode(bdRightToLeft);
    EXPECT_EQ(child->BiDiMode(), bdLeftToRight);
    EXPECT_EQ(grandchild->BiDiMode(), bdLeftToRight);

    // Following again takes the parent's at once; leaving keeps it as own.
    child->setParentBiDiMode(true);
    EXPECT_EQ(child->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(grandchild->layoutDirection(), Qt::RightToLeft);
    child->setParentBiDiMode(false);
    parent->setBiDiMode(bdLeftToRight);
    EXPECT_EQ(child->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(child->layoutDirection(), Qt::RightToLeft);

    // A child added later starts with the parent's direction.
    auto *late = new TTestControl(child);
    EXPECT_EQ(late->BiDiMode(), bdRightToLeft);
}

TEST(Control, ContextPopupComesBeforeThePopupMenuAndUnhandledGoesToTheParent)
{
    Host h;
    TTestControl *parent = h.add({0, 0, 100, 100});
    auto *child = new TTestControl(parent);
    child->setGeometry(10, 10, 30, 30);
    child->show();
    QMenu childMenu, parentMenu;
    childMenu.addAction("child");
    parentMenu.addAction("parent");
    parent->setPopupMenu(&parentMenu);
    std::vector<QPoint> asked;
    bool handle = true;
    child->OnContextPopup = [&](QObject *sender, QPoint at, bool &handled) {
        EXPECT_EQ(sender, child);
        asked.push_back(at);
        handled = handle;
    };
    auto request = [&](QContextMenuEvent::Reason reason) {
        QContextMenuEvent e(reason, QPoint(4, 6), child->mapToGlobal(QPoint(4, 6)));
        QApplication::sendEvent(child, &e);
    };
    request(QContextMenuEvent::Mouse);
    EXPECT_EQ(asked, std::vector<QPoint>{QPoint(4, 6)});
    EXPECT_FALSE(childMenu.isVisible());
    EXPECT_FALSE(parentMenu.isVisible()) << "handled";

    handle = false;
    child->setPopupMenu(&childMenu);
    request(QContextMenuEvent::Keyboard);
    EXPECT_EQ(asked.back(), QPoint(-1, -1)) << "asked from the keyboard";
    EXPECT_TRUE(childMenu.isVisible());
    EXPECT_FALSE(parentMenu.isVisible());
    childMenu.hide();

    child->setPopupMenu(nullptr);
    request(QContextMenuEvent::Mouse);
    EXPECT_TRUE(parentMenu.isVisible()) << "the request went on to the parent";
    parentMenu.hide();
}

TEST(Control, TabOrderIsThePlaceAmongTheSiblings)
{
    Host h;
    TTestControl *a = h.add({0, 0, 10, 10});
    TTestControl *b = h.add({0, 0, 10, 10});
    TTestControl *c = h.add({0, 0, 10, 10});
    EXPECT_EQ(std::vector<int>({a->TabOrder(), b->TabOrder(), c->TabOrder()}), std::vector<int>({0, 1, 2}));
    c->setTabOrder(0);
    EXPECT_EQ(std::vector<int>({c->TabOrder(), a->TabOrder(), b->TabOrder()}), std::vector<int>({0, 1, 2}));
    a->setTabOrder(7);
    EXPECT_EQ(std::vector<int>({c->TabOrder(), b->TabOrder(), a->TabOrder()}), std::vector<int>({0, 1, 2}));
    EXPECT_EQ(TTestControl().TabOrder(), -1);

    // Tab moves the focus in that order among the tab stops.
    for (QWidget *w : {static_cast<QWidget *>(a), static_cast<QWidget *>(b), static_cast<QWidget *>(c)})
        w->setFocusPolicy(Qt::StrongFocus);
    c->setFocus();
    QTest::keyClick(c, Qt::Key_Tab);
    EXPECT_EQ(h.window.focusWidget(), b);
    QTest::keyClick(b, Qt::Key_Tab);
    EXPECT_EQ(h.window.focusWidget(), a);
    // A tab stop keeps its place when it is no longer one, and back.
    b->setFocusPolicy(Qt::NoFocus);
    b->setTabOrder(0);
    EXPECT_EQ(std::vector<int>({b->TabOrder(), c->TabOrder(), a->TabOrder()}), std::vector<int>({0, 1, 2}));
}

namespace {

// The log in one line, for readable failures.
std::string joined(const QStringList &log)
{
    return log.join(" | ").toStdString();
}

// Two controls side by side on a window: a source and a target that
// accepts what comes from the source, with every drag event logged.
struct DragScene
{
    Host h;
    TTestControl *source = h.add({0, 0, 40, 40});
    TTestControl *target = h.add({100, 0, 40, 40});
    TTestControl *refusing = h.add({0, 60, 40, 40});
    QStringList log;

    DragScene()
    {
        source->OnStartDrag = [this](QObject *sender, QObject *&) { log << QString("start %1").arg(name(sender)); };
        source->OnEndDrag = [this](QObject *, QObject *t, int x, int y) {
            log << QString("end %1 %2,%3").arg(name(t)).arg(x).arg(y);
        };
        target->OnDragOver = [this](QObject *, QObject *src, int x, int y, TDragState state, bool &accept) {
            log << QString("over %1 %2,%3 from %4").arg(stateName(state)).arg(x).arg(y).arg(name(src));
            accept = src == source;
        };
        target->OnDragDrop = [this](QObject *, QObject *src, int x, int y) {
            log << QString("drop %1,%2 from %3").arg(x).arg(y).arg(name(src));
        };
        refusing->OnDragOver = [this](QObject *, QObject *, int, int, TDragState state, bool &accept) {
            log << QString("over refusing %1").arg(stateName(state));
            accept = false;
        };
    }
    static QString stateName(TDragState state)
    {
        return state == dsDragEnter ? "enter" : state == dsDragLeave ? "leave" : "move";
    }
    QString name(QObject *o) const
    {
        return o == source ? "source" : o == target ? "target" : o == refusing ? "refusing" : o ? "other" : "none";
    }
    // Moves the mouse to a point given in source coordinates.
    void moveTo(QPoint p) { QTest::mouseMove(source, p); }
};

} // namespace

TEST(Control, DraggingOneControlOntoAnotherAsksDropsAndEnds)
{
    DragScene d;
    d.source->onPress = [&] { d.source->BeginDrag(false, 5); };
    auto cursor = [] { return QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : -1; };
    QTest::mousePress(d.source, Qt::LeftButton, {}, QPoint(5, 5));
    d.moveTo(QPoint(7, 6));
    EXPECT_TRUE(d.log.isEmpty()) << "not beyond the threshold yet";
    EXPECT_FALSE(d.source->Dragging());
    d.moveTo(QPoint(30, 5));
    EXPECT_EQ(joined(d.log), "start source");
    EXPECT_TRUE(d.source->Dragging());
    EXPECT_EQ(cursor(), Qt::ForbiddenCursor) << "the source itself takes nothing";
    d.moveTo(QPoint(105, 7));
    d.moveTo(QPoint(110, 8));
    EXPECT_EQ(cursor(), Qt::DragMoveCursor);
    d.moveTo(QPoint(5, 65));
    EXPECT_EQ(cursor(), Qt::ForbiddenCursor);
    d.moveTo(QPoint(120, 20));
    QTest::mouseRelease(d.source, Qt::LeftButton, {}, QPoint(120, 20));
    EXPECT_EQ(joined(d.log), joined({"start source", "over enter 5,7 from source", "over move 10,8 from source",
                                  "over leave -95,65 from source", "over refusing enter", "over refusing leave",
                                  "over enter 20,20 from source",
                                  "drop 20,20 from source", "end target 20,20"}));
    EXPECT_FALSE(d.source->Dragging());
    EXPECT_EQ(cursor(), -1) << "the cursor is back";
    EXPECT_EQ(d.source->releases, 0) << "the drop is not a release on the source";
}

TEST(Control, ADragEndsWithoutDropWhenCancelledRefusedOrNeverStarted)
{
    DragScene d;
    d.source->onPress = [&] { d.source->BeginDrag(false); };
    // A click: no drag at all, and the control gets its release.
    QTest::mouseClick(d.source, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(d.log.isEmpty());
    EXPECT_EQ(d.source->releases, 1);

    // Escape over the target: it is left, nothing dropped.
    QTest::mousePress(d.source, Qt::LeftButton, {}, QPoint(5, 5));
    d.moveTo(QPoint(110, 10));
    QTest::keyClick(d.source, Qt::Key_Escape);
    EXPECT_EQ(joined(d.log), joined({"start source", "over enter 10,10 from source", "over leave 10,10 from source",
                                  "end none 0,0"}));
    QTest::mouseRelease(d.source, Qt::LeftButton, {}, QPoint(110, 10));

    // Released over a control that refuses.
    d.log.clear();
    QTest::mousePress(d.source, Qt::LeftButton, {}, QPoint(5, 5));
    d.moveTo(QPoint(10, 70));
    QTest::mouseRelease(d.source, Qt::LeftButton, {}, QPoint(10, 70));
    EXPECT_EQ(joined(d.log), joined({"start source", "over refusing enter", "over refusing leave", "end none 0,0"}));

    // Started from code at once, with a drag object of the handler's own:
    // the target sees that object; EndDrag(true) drops where the mouse is.
    d.log.clear();
    d.source->onPress = nullptr;
    QObject payload;
    d.source->OnStartDrag = [&](QObject *, QObject *&dragObject) { dragObject = &payload; };
    d.target->OnDragOver = [&](QObject *, QObject *src, int, int, TDragState, bool &accept) {
        accept = src == &payload;
    };
    d.target->OnDragDrop = [&](QObject *, QObject *src, int x, int y) {
        d.log << QString("drop %1,%2 %3").arg(x).arg(y).arg(src == &payload);
    };
    d.source->BeginDrag(true);
    EXPECT_TRUE(d.source->Dragging());
    d.moveTo(QPoint(101, 2));
    d.source->EndDrag(true);
    EXPECT_EQ(joined(d.log), joined({"drop 1,2 1", "end target 1,2"}));
    EXPECT_FALSE(d.source->Dragging());

    // A dragged control that goes away ends its drag without events.
    d.log.clear();
    d.source->BeginDrag(true);
    d.moveTo(QPoint(105, 5));
    delete d.source;
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    QTest::mouseClick(d.target, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(d.log.isEmpty()) << joined(d.log);
}
