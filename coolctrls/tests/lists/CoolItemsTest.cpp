#include "ListTestSupport.h"

#include "coolctrls/TCoolComboBox.h"
#include "coolctrls/TCoolListBox.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace coolctrls;
using namespace platform;
using namespace liststest;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

TEST(CoolItems, EverySetterComparesStoresAndAnnouncesTheChangeOnce)
{
    TCoolListBox box;
    TCoolItems &items = box.items();
    QSignalSpy changed(&items, &TCoolItems::Changed);
    int expected = 0;
    // Each call sets a new value (announced once), then the same value
    // again (not announced).
    auto twice = [&](const char *what, const std::function<void()> &set) {
        set();
        ++expected;
        EXPECT_EQ(changed.count(), expected) << what;
        set();
        EXPECT_EQ(changed.count(), expected) << what << " again";
    };
    twice("Color", [&] { box.setColor(clYellow); });
    twice("SelColor", [&] { box.setSelColor(clRed); });
    twice("BevelInner", [&] { box.setBevelInner(bvRaised); });
    twice("BevelOuter", [&] { box.setBevelOuter(bvLowered); });
    twice("BevelStyle", [&] { box.setBevelStyle(bsBevelOnlyText); });
    twice("EdgeBorders", [&] { box.setEdgeBorders(TEdgeBorders{ebLeft, ebTop}); });
    twice("BordersTrColor", [&] { box.setBordersTrColor(clBlack); });
    twice("FlatCheckBox", [&] { box.setFlatCheckBox(true); });
    twice("FontAutoUpdate", [&] { box.setFontAutoUpdate(true); });
    twice("ExtendedCheck", [&] { box.setExtendedCheck(true); });
    twice("idWallpaper", [&] { box.setIdWallpaper(3); });
    twice("idSelWallpaper", [&] { box.setIdSelWallpaper(2); });
    twice("TransparencyLevel", [&] { box.setTransparencyLevel(300); });
    EXPECT_EQ(box.TransparencyLevel(), 255);
    twice("NumGlyphs", [&] { box.setNumGlyphs(4); });
    EXPECT_EQ(box.NumGlyphs(), 2);
    twice("SimpleView", [&] { box.setSimpleView(true); });
    // A shadow value turns SimpleView off again: a change even when the
    // value itself is the one it had.
    box.setShadowColor(clBtnHighlight);
    EXPECT_EQ(changed.count(), ++expected);
    EXPECT_FALSE(box.SimpleView());
    twice("ShadowPos", [&] { box.setShadowPos(spRightBottom); });
    box.setShadowPos(TShadowPosition(7));
    EXPECT_EQ(box.ShadowPos(), spRightBottom) << "no fifth position";
    EXPECT_EQ(changed.count(), expected);

    // The owned font and pen announce every change made inside them.
    box.SelFont().setName("Courier New");
    EXPECT_EQ(changed.count(), ++expected);
    box.BorderPen().setWidth(2);
    EXPECT_EQ(changed.count(), ++expected);

    QSignalSpy height(&items, &TCoolItems::ItemHeightChanged);
    twice("ItemHeight", [&] { box.setItemHeight(20); });
    EXPECT_EQ(height.count(), 1);
    box.setItemHeight(0);
    EXPECT_EQ(box.ItemHeight(), 1);

    // The option set keeps its exclusion rule and tells the control, which
    // re-creates its window.
    QSignalSpy options(&items, &TCoolItems::OptionsChanged);
    box.setOptions(TCoolOptions{ocPaintWallpaper, ocNoCaption});
    box.setOptions(box.Options() | ocPaintTransparently);
    EXPECT_EQ(box.Options(), (TCoolOptions{ocPaintTransparently, ocNoCaption}));
    box.setOptions(box.Options());
    EXPECT_EQ(options.count(), 2);
    box.setOptions(TCoolOptions{ocBevelOnlyIfSel});
    EXPECT_TRUE(box.CaptionBar().Visible()) << "re-created with its caption bar";
}

TEST(CoolItems, PublishedAsPropertiesOfTheirOwnTypes)
{
    TCoolComboBox box;
    EXPECT_TRUE(box.setProperty("SelColor", QStringLiteral("clRed")));
    EXPECT_EQ(box.SelColor(), clRed);
    EXPECT_EQ(box.property("Color").value<TColor>(), clWindow);
    EXPECT_TRUE(box.setProperty("BevelOuter", QVariant::fromValue(bvRaised)));
    EXPECT_EQ(box.BevelOuter(), bvRaised);
    EXPECT_TRUE(box.setProperty("ShadowPos", QVariant::fromValue(spRightTop)));
    EXPECT_EQ(box.ShadowPos(), spRightTop);
    EXPECT_EQ(box.property("Options").value<TCoolOptions>(), TCoolOptions{ocBevelOnlyIfSel});
    EXPECT_TRUE(box.setProperty("EdgeBorders", QVariant::fromValue(TEdgeBorders{ebBottom})));
    EXPECT_EQ(box.EdgeBorders(), TEdgeBorders{ebBottom});
}

TEST(CoolItems, ASelectionColourChangeRepaintsTheShownItems)
{
    TCoolListBox box;
    box.resize(100, 60);
    box.setItems({"one", "two"});
    box.setItemIndex(0);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    PaintCounter counter(box.viewport());
    box.setSelColor(clRed);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }));
    const QRect first = box.visualRect(box.model()->index(0, 0));
    EXPECT_EQ(at(render(&box), box.viewport()->x() + first.right() - 1, box.viewport()->y() + first.center().y()),
              rgb(clRed));
}

TEST(CoolItems, TheExtentIsMeasuredWhenAskedForByTheRuleOfTheTimeEachItemCame)
{
    TCoolListBox box;
    box.resize(600, 80);
    // Wider than the text, so it does not widen the extent - even after the
    // list has become narrower.
    box.addItem("an item of some length");
    box.resize(40, 80);
    EXPECT_EQ(box.MaxItemWidth(), 0);
    box.addItem("another item of some length");
    const int wide = box.items().MeasureItem("another item of some length");
    EXPECT_EQ(box.MaxItemWidth(), wide);

    // A removal takes the longest text by its length, whatever the limit;
    // what comes after it is measured against that.
    box.resize(600, 80);
    delete box.takeItem(1);
    box.addItem("x");
    EXPECT_EQ(box.MaxItemWidth(), box.items().MeasureItem("an item of some length"));
    delete box.takeItem(0);
    delete box.takeItem(0);
    box.resize(10, 80);
    box.addItem("tiny");
    EXPECT_EQ(box.MaxItemWidth(), box.items().MeasureItem("tiny"));
}
