#include "ControlTestSupport.h"

#include "coolctrls/TCoolGroupBox.h"
#include "coolctrls/TCoolLabel.h"
#include "coolctrls/TCoolPanel.h"
#include "coolctrls/TFormLoading.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace coolctrls;
using namespace controltest;
using namespace platform;

namespace {

QSize textSize(const QWidget &w, const QString &text)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.Font.Assign(w.font());
    QRect r(0, 0, 0, 0);
    canvas.DrawText(text, r, DT_CALCRECT | DT_EXPANDTABS);
    return r.size();
}

// An interval label as on the quiz page, in the window font.
struct IntervalLabel : ::testing::Test
{
    QWidget form;
    TCoolLabel *label = nullptr;
    void SetUp() override
    {
        form.setFont(QFont("MS Sans Serif"));
        form.resize(200, 100);
        label = new TCoolLabel(&form);  // owned by the form
        label->setFontHeight(-11);
        label->move(23, 19);
    }
};

} // namespace

TEST_F(IntervalLabel, EnabledMeasuresTheShadowOffsetAndDrawsTextOverItsShadow)
{
    label->setTransparent(true);
    label->setCaption("O1 - Minor second");
    const QSize text = textSize(*label, "O1 - Minor second");
    EXPECT_EQ(label->size(), text + QSize(1, 1));

    label->setTransparent(false);
    label->setColor(platform::clBlue);
    label->setShadowColor(platform::clRed);
    const QImage img = shot(*label);
    const QRect ink = boundsOf(img, Qt::black);
    const QRect shadow = boundsOf(img, Qt::red);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_EQ(ink.topLeft(), shadow.topLeft() + QPoint(1, 1)) << "text at (1, 1), shadow at (0, 0)";
}

TEST_F(IntervalLabel, DisabledHasNoOffsetAndEnablingResizes)
{
    label->setCaption("O5 - Perfect fourth");
    label->setEnabled(false);
    const QSize text = textSize(*label, "O5 - Perfect fourth");
    EXPECT_EQ(label->size(), text);
    label->setTransparent(false);
    label->setColor(platform::clBlue);
    const QImage img = shot(*label);
    const QRect grey = boundsOf(img, sys(clBtnShadow));
    const QRect white = boundsOf(img, sys(clBtnHighlight));
    ASSERT_FALSE(grey.isEmpty());
    // The white copy lies under the grey text, so compare the far corners.
    EXPECT_EQ(white.bottomRight(), grey.bottomRight() + QPoint(1, 1)) << "white copy one right and down";

    label->setEnabled(true);
    EXPECT_EQ(label->size(), text + QSize(1, 1));
}

TEST_F(IntervalLabel, UnderlineAndEmptyCaptionReMeasure)
{
    label->setCaption("O3 - Minor third");
    const QSize plain = label->size();
    label->setFontStyle(detail::fsUnderline);
    EXPECT_EQ(label->size(), textSize(*label, "O3 - Minor third") + QSize(1, 1));
    label->setFontStyle(0);
    EXPECT_EQ(label->size(), plain);
    label->setCaption("");
    EXPECT_EQ(label->height(), textSize(*label, " ").height() + 1) << "a blank measures one line";
}

TEST_F(IntervalLabel, ShadowSettersRepaintOnlyAndRightJustifiedKeepsItsRightEdge)
{
    label->setCaption("100 SEC.");
    const QSize size = label->size();
    label->setShadowSize(3);
    label->setShadowPos(coolctrls::spRightBottom);
    label->setSimpleView(true);
    EXPECT_EQ(label->size(), size);

    label->setSimpleView(false);
    label->setAlignment(coolctrls::taRightJustify);
    label->setCaption("5");
    const int right = label->geometry().right();
    label->setCaption("300 SEC.");
    EXPECT_EQ(label->geometry().right(), right);
}

TEST_F(IntervalLabel, BevelsOffsetTurnsAutoSizeOffAndInsetsTheText)
{
    label->setCaption("Tip");
    label->setTransparent(false);
    label->setColor(platform::clBlue);
    label->setAutoSize(false);
    label->resize(60, 30);
    label->setBevelOuter(coolctrls::bvRaised);
    const QRect before = boundsOf(shot(*label), Qt::black);
    label->setBevelsOffset(3);
    EXPECT_EQ(label->size(), QSize(60, 30));
    const QImage img = shot(*label);
    EXPECT_EQ(boundsOf(img, Qt::black).topLeft(), before.topLeft() + QPoint(3, 3));
    EXPECT_NE(img.pixelColor(10, 0), QColor(Qt::blue)) << "raised outer edge";
    EXPECT_EQ(img.pixelColor(10, 29), sys(cl3DDkShadow));
}

TEST_F(IntervalLabel, BevelsOffsetOtherThanZeroSwitchesAutoSizeOff)
{
    label->setBevelsOffset(0);
    EXPECT_TRUE(label->AutoSize());
    label->setBevelsOffset(3);
    EXPECT_FALSE(label->AutoSize());
    EXPECT_EQ(label->BevelsOffset(), 3);
}

TEST_F(IntervalLabel, GlyphWidensTheLabelAndNumGlyphsStoresAtMostTwo)
{
    label->setCaption("Lamp");
    const QSize plain = label->size();
    TBitmap glyph;
    glyph.SetSize(32, 20);
    glyph.Canvas().FillRect(QRect(0, 0, 32, 20), RGB(255, 0, 0));
    glyph.Canvas().SetPixel(0, 19, clOlive);  // the transparent colour
    label->setGlyph(&glyph);
    EXPECT_EQ(label->NumGlyphs(), 1) << "32 is not a whole multiple of 20";
    EXPECT_EQ(label->size(), QSize(plain.width() + 32 + 2, qMax(plain.height(), 20)));
    label->setNumGlyphs(5);
    EXPECT_EQ(label->NumGlyphs(), 2);
    label->setNumGlyphs(0);
    EXPECT_EQ(label->NumGlyphs(), 2) << "the holder ignores 0";

    label->setTransparent(false);
    label->setColor(platform::clBlue);
    const QImage img = shot(*label);
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::red)) << "the glyph before the text";
    EXPECT_GE(boundsOf(img, Qt::black).left(), 16 + 2);
}

TEST_F(IntervalLabel, EdgeBordersAndBottomLayout)
{
    label->setCaption("x");
    label->setAutoSize(false);
    label->resize(30, 40);
    label->setTransparent(false);
    label->setColor(platform::clBlue);
    const QRect top = boundsOf(shot(*label), Qt::black);
    label->setLayout(coolctrls::tlBottom);
    const QRect bottom = boundsOf(shot(*label), Qt::black);
    EXPECT_EQ(bottom.top() - top.top(), 40 - label->textExtent().height());

    label->setCaption("");
    label->setEdgeBorders(TEdgeBorders{ebTop, ebLeft});
    label->BorderPen().setColor(RGB(255, 0, 0));
    const QImage img = shot(*label);
    EXPECT_EQ(img.pixelColor(15, 1), QColor(Qt::red)) << "top line on the second row";
    EXPECT_EQ(img.pixelColor(1, 20), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(28, 20), QColor(Qt::blue)) << "no right line";
}

TEST_F(IntervalLabel, ALoadingWindowMeasuresItsLabelsOnceAtTheEnd)
{
    QSize direct;
    {
        TCoolLabel reference(&form);
        reference.setFontHeight(-16);
        reference.setFontBold(true);
        reference.setCaption("Right answers");
        direct = reference.size();
    }
    auto *gone = new TCoolLabel(&form);
    {
        const TFormLoading loading;
        label->resize(5, 5);
        label->setFontHeight(-16);
        label->setFontBold(true);
        label->setCaption("Right answers");
        EXPECT_EQ(label->size(), QSize(5, 5)) << "not measured while loading";
        gone->setCaption("destroyed before the end");
        delete gone;
    }
    EXPECT_EQ(label->size(), direct) << "measured once with the final font and caption";
    label->setCaption("R");
    EXPECT_LT(label->width(), direct.width()) << "after loading, at once again";
}

TEST(CoolLabel, AnOpaqueLabelWithParentColorPaintsItsContainersColourAndFollowsIt)
{
    TCoolGroupBox box;
    box.resize(160, 80);
    box.setColor(platform::clWhite);
    TCoolLabel label(&box);
    label.setCaption("Score");
    label.move(20, 30);
    EXPECT_TRUE(label.ParentColor());
    EXPECT_FALSE(label.Transparent());
    const QPoint background(label.width() - 1, label.height() - 1);  // right of the text's shadow
    EXPECT_EQ(shot(label).pixelColor(background), QColor(Qt::white)) << "white, not the button face";
    EXPECT_EQ(shot(box).pixelColor(label.geometry().topLeft() + background), QColor(Qt::white));

    box.setColor(platform::clYellow);
    EXPECT_EQ(label.Color(), platform::clYellow);
    EXPECT_EQ(shot(label).pixelColor(background), QColor(Qt::yellow));

    label.setColor(platform::clAqua);
    EXPECT_FALSE(label.ParentColor()) << "a colour of its own";
    box.setColor(platform::clWhite);
    EXPECT_EQ(shot(label).pixelColor(background), QColor(Qt::cyan));
    label.setParentColor(true);
    EXPECT_EQ(shot(label).pixelColor(background), QColor(Qt::white));
}

TEST(CoolLabel, AcceleratorFocusesTheFocusControlAndAWallpaperRepaintsAtOnce)
{
    QWidget window;
    window.resize(200, 100);
    TCoolLabel label(&window);
    label.setCaption("&Name");
    auto *edit = new QLineEdit(&window);
    edit->move(0, 40);
    auto *other = new QLineEdit(&window);
    other->move(0, 70);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(other->hasFocus()) << "no FocusControl: the key does nothing";

    label.setFocusControl(edit);
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(edit->hasFocus());

    other->setFocus();
    label.setShowAccelChar(false);
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(other->hasFocus()) << "without ShowAccelChar the & is no accelerator";
    label.setShowAccelChar(true);
    label.setEnabled(false);
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(other->hasFocus()) << "a disabled label";
    label.setEnabled(true);
    label.setCaption("Na&me");
    QTest::keyClick(&window, Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(edit->hasFocus()) << "the new caption's letter";
    delete edit;
    EXPECT_EQ(label.FocusControl(), nullptr);

    // The own wallpaper shows without waiting for the event loop.
    QApplication::processEvents();
    EventCounter paints(&label, QEvent::Paint);
    label.setWallpaper(patterned(8, 8));
    EXPECT_EQ(paints.count, 1);
}

namespace {

// A label beside a group box on a shown window, to be dragged onto it.
struct LabelBesideBox : ::testing::Test
{
    QWidget window;
    TCoolLabel label{&window};
    TCoolGroupBox box{&window};
    void SetUp() override
    {
        window.resize(300, 120);
        label.setCaption("O1 - Minor second");
        label.move(5, 5);
        box.setGeometry(150, 0, 140, 100);
        window.show();
    }
};

} // namespace

TEST_F(LabelBesideBox, DraggedOntoAGroupBoxWhichTakesTheDrop)
{
    QStringList log;
    label.OnMouseDown = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { label.BeginDrag(true); };
    label.OnStartDrag = [&](QObject *, QObject *&) { log << "start"; };
    box.OnDragOver = [&](QObject *, QObject *source, int, int, platform::TDragState, bool &accept) {
        accept = source == &label;
    };
    box.OnDragDrop = [&](QObject *, QObject *source, int x, int y) {
        log << QString("drop %1,%2 %3").arg(x).arg(y).arg(source == &label);
    };
    label.OnEndDrag = [&](QObject *, QObject *target, int, int) { log << QString("end %1").arg(target == &box); };
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    const QPoint overBox = label.mapFrom(&window, QPoint(170, 40));
    QTest::mouseMove(&label, overBox);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, overBox);
    EXPECT_EQ(log.join(" | ").toStdString(), "start | drop 20,40 1 | end 1");
}

TEST_F(LabelBesideBox, AutomaticDragModeDragsOnAPressAndAMoveManualDoesNot)
{
    QStringList log;
    int downs = 0;
    label.OnMouseDown = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
    label.OnStartDrag = [&](QObject *, QObject *&) { log << "start"; };
    box.OnDragOver = [&](QObject *, QObject *source, int, int, TDragState state, bool &accept) {
        log << QString("over %1").arg(state == dsDragEnter ? "enter" : state == dsDragMove ? "move" : "leave");
        accept = source == &label;
    };
    box.OnDragDrop = [&](QObject *, QObject *, int x, int y) { log << QString("drop %1,%2").arg(x).arg(y); };
    label.OnEndDrag = [&](QObject *, QObject *target, int, int) { log << QString("end %1").arg(target == &box); };
    const QPoint overBox = label.mapFrom(&window, QPoint(170, 40));
    const QPoint furtherIn = label.mapFrom(&window, QPoint(180, 50));
    auto dragOntoTheBox = [&] {
        QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(&label, overBox);
        QTest::mouseMove(&label, furtherIn);
        QTest::mouseRelease(&label, Qt::LeftButton, {}, furtherIn);
    };

    // Manual (the default): a press and a move are no drag.
    EXPECT_EQ(label.property("DragMode").value<TDragMode>(), dmManual);
    dragOntoTheBox();
    EXPECT_TRUE(log.isEmpty());
    EXPECT_FALSE(label.Dragging());

    ASSERT_TRUE(label.setProperty("DragMode", QVariant::fromValue(dmAutomatic)));
    dragOntoTheBox();
    EXPECT_EQ(log.join(" | ").toStdString(), "start | over enter | over move | drop 30,50 | end 1");
    EXPECT_EQ(downs, 2) << "the press still reaches the label";

    // A click with automatic dragging stays a click.
    log.clear();
    int clicks = 0;
    label.OnClick = [&](QObject *) { ++clicks; };
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(clicks, 1);

    // The right button and a docking kind begin nothing.
    QTest::mousePress(&label, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseMove(&label, overBox);
    QTest::mouseRelease(&label, Qt::RightButton, {}, overBox);
    ASSERT_TRUE(label.setProperty("DragKind", QVariant::fromValue(dkDock)));
    dragOntoTheBox();
    EXPECT_TRUE(log.isEmpty());
}

TEST(CoolLabel, EveryDraggableControlPublishesDragModeAndDragKind)
{
    QWidget window;
    TCoolLabel label(&window);
    TCoolPanel panel(&window);
    TCoolGroupBox box(&window);
    for (QObject *control : std::initializer_list<QObject *>{&label, &panel, &box}) {
        SCOPED_TRACE(control->metaObject()->className());
        EXPECT_TRUE(control->setProperty("DragMode", QVariant::fromValue(dmAutomatic)));
        EXPECT_TRUE(control->setProperty("DragKind", QVariant::fromValue(dkDock)));
        EXPECT_EQ(control->property("DragMode").value<TDragMode>(), dmAutomatic);
        EXPECT_EQ(control->property("DragKind").value<TDragKind>(), dkDock);
    }
}
