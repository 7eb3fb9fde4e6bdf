// TabStop on every windowed skinned control: it decides only whether Tab
// stops at the control; whether a click focuses it stays as the control is.
#include "EventLog.h"

#include "coolctrls/TCoolBtn.h"
#include "coolctrls/TCoolComboBox.h"
#include "coolctrls/TCoolGroupBox.h"
#include "coolctrls/TCoolListBox.h"
#include "coolctrls/TCoolMemo.h"
#include "coolctrls/TCoolPanel.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include <vector>

using namespace coolctrls;
using eventtest::showActive;

namespace {

struct Stop
{
    QWidget *widget;
    platform::TControl *control;
    const char *name;
    bool tabStopByDefault;
    bool focusedByClick;
};

// A window with an edit, the five controls side by side and an edit after
// them, in that tab order.
struct Form
{
    QWidget window;
    QLineEdit first{&window};
    TCoolPanel panel{&window};
    TCoolGroupBox group{&window};
    TCoolBtn button{&window};
    TCoolMemo memo{&window};
    TCoolListBox list{&window};
    TCoolComboBox combo{&window};
    QLineEdit last{&window};

    Form()
    {
        window.resize(640, 120);
        int x = 0;
        for (QWidget *w : std::initializer_list<QWidget *>{&first, &panel, &group, &button, &memo, &list, &combo, &last}) {
            w->setGeometry(x, 10, 75, 60);
            x += 80;
        }
        combo.resize(75, 21);
        combo.setItems({"one", "two"});
        list.setItems({"one", "two"});
    }

    std::vector<Stop> stops()
    {
        return {{&panel, &panel, "panel", false, false},   {&group, &group, "group box", false, false},
                {&button, &button, "button", true, true}, {&memo, &memo, "memo", true, true},
                {&list, &list, "list box", true, true},   {&combo, &combo, "combo box", true, true}};
    }

    // The widgets Tab visits from the first edit to the last one.
    std::vector<QWidget *> tabChain()
    {
        std::vector<QWidget *> chain;
        first.setFocus();
        for (int i = 0; i < 10 && !last.hasFocus(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *now = QApplication::focusWidget();
            if (now != &last)
                chain.push_back(now);
        }
        return chain;
    }

    void click(QWidget *w)
    {
        QWidget *target = w == &memo ? memo.viewport() : w == &list ? list.viewport() : w;
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5));
        if (w == &combo)
            combo.hidePopup(); // a click opens the list; the focus comes back to the field
    }
};

} // namespace

TEST(TabStop, DefaultsAndTheTabChainFollowTheProperty)
{
    Form form;
    ASSERT_TRUE(showActive(form.window));
    std::vector<QWidget *> defaults;
    for (const Stop &s : form.stops()) {
        EXPECT_EQ(s.control->TabStop(), s.tabStopByDefault) << s.name;
        EXPECT_EQ(s.widget->property("TabStop").toBool(), s.tabStopByDefault) << s.name;
        if (s.tabStopByDefault)
            defaults.push_back(s.widget);
    }
    EXPECT_EQ(form.tabChain(), defaults) << "button, memo, list box, combo box; not the containers";

    std::vector<QWidget *> all;
    for (const Stop &s : form.stops()) {
        ASSERT_TRUE(s.widget->setProperty("TabStop", true)) << s.name;
        all.push_back(s.widget);
    }
    EXPECT_EQ(form.tabChain(), all) << "every control in its place, the containers too";

    // Each taken out alone: Tab passes it by and keeps the others' order.
    for (const Stop &s : form.stops()) {
        s.control->setTabStop(false);
        EXPECT_FALSE(s.control->TabStop()) << s.name;
        std::vector<QWidget *> expected = all;
        std::erase(expected, s.widget);
        EXPECT_EQ(form.tabChain(), expected) << s.name;
        s.control->setTabStop(true);
    }
}

TEST(TabStop, AClickFocusesTheControlsThatTakeClicksWhateverTabStopSays)
{
    Form form;
    ASSERT_TRUE(showActive(form.window));
    for (bool tabStop : {false, true}) {
        for (const Stop &s : form.stops()) {
            s.control->setTabStop(tabStop);
            form.first.setFocus();
            form.click(s.widget);
            EXPECT_EQ(s.widget->hasFocus(), s.focusedByClick) << s.name << " TabStop " << tabStop;
        }
    }
}
