#include "TestImages.h"
#include "raster32/Errors.h"
#include "raster32/TBitmap32List.h"
#include "raster32/TImage32.h"
#include "tools/lampgen/LampPattern.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <thread>

using namespace raster32;

namespace {

// What the control shows: rendered offscreen into an image.
QImage render(QWidget &w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The quiz's indicator: a 26 × 26 stretched view.
struct LampView
{
    TImage32 view;
    TBitmap32 lamp;
    LampView()
    {
        view.resize(26, 26);
        view.setBitmapAlign(baTopLeft);
        view.setScale(1);
        view.setScaleMode(smStretch);
        view.setColor(platform::TColor(0x00FF00FFu)); // magenta, never part of a lamp
        lampgen::paintLamp(lamp, lampgen::LampGreen);
    }
};

} // namespace

TEST(Image32, StretchedLampCoversTheWholeControl)
{
    LampView v;
    v.view.setBitmap(&v.lamp);
    const QImage shown = render(v.view);
    ASSERT_EQ(shown.size(), QSize(26, 26));
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 26; ++x)
            ASSERT_EQ(shown.pixel(x, y), v.lamp.Pixel(x * 11 / 26, y / 2) | 0xFF000000u) << x << "," << y;
    EXPECT_EQ(v.view.BitmapBoxCache(), (TRect{0, 0, 26, 26}));
    EXPECT_EQ(v.view.ScaleX(), 154903); // 26 * 65536 / 11, rounded
    EXPECT_EQ(v.view.ScaleY(), 131072);
    EXPECT_EQ(v.view.RevScaleX(), 27727);

    // Switching to the red lamp shows red where the fill is.
    TBitmap32 red;
    lampgen::paintLamp(red, lampgen::LampRed);
    v.view.setBitmap(&red);
    EXPECT_EQ(render(v.view).pixel(13, 13), 0xFFFF0000u);
}

TEST(Image32, CentredNormalViewFillsTheBandsWithTheColour)
{
    LampView v;
    v.view.setScaleMode(smNormal);
    v.view.setBitmapAlign(baCenter);
    v.view.setBitmap(&v.lamp);
    const QImage shown = render(v.view);
    EXPECT_EQ(v.view.BitmapBoxCache(), (TRect{7, 6, 18, 19}));
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 26; ++x) {
            const bool inside = x >= 7 && x < 18 && y >= 6 && y < 19;
            const QRgb want = inside ? v.lamp.Pixel(x - 7, y - 6) : 0xFFFF00FFu;
            ASSERT_EQ(shown.pixel(x, y), want) << x << "," << y;
        }
}

TEST(Image32, TiledAndCustomPlacements)
{
    LampView v;
    v.view.resize(30, 30);
    v.view.setScaleMode(smNormal);
    v.view.setBitmapAlign(baTile);
    v.view.setBitmap(&v.lamp);
    QImage shown = render(v.view);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(shown.pixel(x, y), v.lamp.Pixel(x % 11, y % 13)) << x << "," << y;

    v.view.setBitmapAlign(baCustom);
    v.view.setOffsetX(2.5f); // rounds to the even neighbour: 2
    v.view.setOffsetY(3.5f); // 4
    shown = render(v.view);
    EXPECT_EQ(v.view.BitmapBoxCache(), (TRect{2, 4, 13, 17}));
    EXPECT_EQ(shown.pixel(1, 4), 0xFFFF00FFu);
    EXPECT_EQ(shown.pixel(2, 4), v.lamp.Pixel(0, 0));
}

TEST(Image32, ScaleModesComputeTheExtentWithEvenRounding)
{
    TImage32 view;
    view.resize(100, 60);
    TBitmap32 b;
    b.SetDimensions(11, 13);
    b.FillAll(0xFF000000u);
    view.setBitmap(&b);
    view.setScaleMode(smScale);
    view.setScale(2.5f);
    EXPECT_EQ(view.BitmapExtent(), QSize(28, 32)) << "27.5 rounds to 28, 32.5 to 32";
    view.setScale(1.5f);
    EXPECT_EQ(view.BitmapExtent(), QSize(16, 20)) << "16.5 rounds to 16, 19.5 to 20";
    view.setScale(0);
    EXPECT_FLOAT_EQ(view.Scale(), 0.001f);
    view.setScale(-3);
    EXPECT_FLOAT_EQ(view.Scale(), 0.001f);

    view.setScaleMode(smResize);
    EXPECT_EQ(view.BitmapExtent(), QSize(51, 60)) << "limited by the height: 11 * 60 / 13";
    view.resize(20, 60);
    EXPECT_EQ(view.BitmapExtent(), QSize(20, 24));
    view.setScaleMode(smStretch);
    EXPECT_EQ(view.BitmapExtent(), QSize(20, 60));
    view.setScaleMode(smNormal);
    EXPECT_EQ(view.BitmapExtent(), QSize(11, 13));
    view.resize(0, 60);
    EXPECT_EQ(view.BitmapExtent(), QSize(0, 0));
}

TEST(Image32, AutoSizeFollowsTheScaledBitmap)
{
    TImage32 view;
    view.setScaleMode(smScale);
    view.setScale(2.5f);
    view.setAutoSize(true);
    TBitmap32 b;
    b.SetDimensions(11, 13);
    b.FillAll(0xFF000000u);
    int resizes = 0;
    view.OnBitmapResize = [&](QObject *) { ++resizes; };
    view.setBitmap(&b);
    EXPECT_EQ(view.size(), QSize(28, 32));
    EXPECT_EQ(resizes, 1);
}

TEST(Image32, BufferGrowsWithSlackAndShrinksBeyondIt)
{
    TImage32 view; // 192 × 192 as constructed
    view.ResizeBuffer();
    EXPECT_EQ(view.Buffer()->Width(), 232);
    view.resize(26, 26);
    view.ResizeBuffer();
    EXPECT_EQ(view.Buffer()->Width(), 26) << "26 is below 232 - 40";
    view.resize(30, 26);
    view.ResizeBuffer();
    EXPECT_EQ(view.Buffer()->Width(), 70);
    view.resize(26, 26);
    view.ResizeBuffer();
    EXPECT_EQ(view.Buffer()->Width(), 26) << "26 is below 70 - 40 = 30";
    view.resize(30, 26);
    view.ResizeBuffer();
    view.resize(31, 26);
    view.ResizeBuffer();
    EXPECT_EQ(view.Buffer()->Width(), 70) << "31 is neither above 70 nor below 30";
    view.resize(30, 26);
    view.ResizeBuffer();
    EXPECT_EQ(view.Buffer()->Width(), 70) << "30 is not below 30";
    view.resize(20, 26);
    view.ResizeBuffer();
    EXPECT_EQ(view.Buffer()->Width(), 20);
    EXPECT_EQ(view.Buffer()->Height(), 26);
    view.setBufferSlack(0);
    view.resize(0, 0);
    view.ResizeBuffer();
    EXPECT_EQ(view.Buffer()->Width(), 1) << "never below one pixel";
}

TEST(Image32, ChangesRepaintAndRaiseOnChangeOutsideUpdates)
{
    LampView v;
    int changes = 0;
    v.view.OnChange = [&](QObject *sender) {
        EXPECT_EQ(sender, &v.view);
        ++changes;
    };
    v.view.setBitmap(&v.lamp);
    render(v.view);
    EXPECT_TRUE(v.view.BufferValid());
    changes = 0;
    v.view.setBitmap(&v.lamp); // same size and pixels
    EXPECT_GE(changes, 1) << "copying the same image still repaints";
    EXPECT_FALSE(v.view.BufferValid());

    v.view.BeginUpdate();
    changes = 0;
    v.view.Bitmap()->FillAll(0xFF000000u);
    v.view.setScaleMode(smNormal);
    EXPECT_EQ(changes, 0);
    v.view.EndUpdate();
    try {
        v.view.EndUpdate();
        FAIL();
    } catch (const EAssertionFailed &e) {
        EXPECT_EQ(e.message(), "Unpaired EndUpdate call");
    }
    v.view.setScaleMode(smNormal);
    EXPECT_EQ(changes, 0) << "unchanged scale mode";
    v.view.setBitmapAlign(baCenter);
    EXPECT_EQ(changes, 1);
}

TEST(Image32, StagesRunInOrderAndCustomStagesGetTheBuffer)
{
    LampView v;
    v.view.setBitmap(&v.lamp);
    v.view.PaintStages().Clear();
    v.view.PaintStages().Add() = {false, true, StageClearBuffer, 0};
    v.view.PaintStages().Add() = {false, true, StageCustom, 0};
    v.view.PaintStages().Add() = {true, false, StageDrawBitmap, 0}; // design time only
    std::vector<unsigned> seen;
    v.view.OnPaintStage = [&](QObject *, TBitmap32 *buffer, unsigned stage) {
        EXPECT_EQ(buffer, v.view.Buffer());
        seen.push_back(stage);
        buffer->SetPixel(0, 0, 0xFF0000FFu);
    };
    const QImage shown = render(v.view);
    EXPECT_EQ(seen, std::vector<unsigned>{1});
    EXPECT_EQ(shown.pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(shown.pixel(13, 13), 0xFFFF00FFu) << "the design-time bitmap stage does not run";

    v.view.setDesigning(true);
    v.view.Invalidate();
    EXPECT_EQ(render(v.view).pixel(13, 13), v.lamp.Pixel(5, 6));
}

TEST(Image32, MouseEventsCarryPositionButtonAndNoLayer)
{
    LampView v;
    v.view.show();
    QStringList log;
    v.view.OnMouseDown = [&](QObject *, Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y, TCustomLayer *l) {
        log << QString("down %1 %2,%3 %4").arg(int(b)).arg(x).arg(y).arg(l == nullptr);
    };
    v.view.OnMouseUp = [&](QObject *, Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y, TCustomLayer *) {
        log << QString("up %1 %2,%3").arg(int(b)).arg(x).arg(y);
    };
    v.view.OnClick = [&](QObject *) { log << "click"; };
    QTest::mouseClick(&v.view, Qt::LeftButton, {}, QPoint(5, 7));
    EXPECT_EQ(log, QStringList({"down 1 5,7 1", "up 1 5,7", "click"}));
    EXPECT_EQ(v.view.Layers()->Count(), 0);
}

namespace {

// Paints one pixel into the buffer; takes the mouse everywhere.
class DotLayer : public TCustomLayer
{
public:
    using TCustomLayer::TCustomLayer;
    void Paint(TBitmap32 &buffer) override { buffer.SetPixel(1, 1, 0xFF00FFFFu); }
    bool HitTest(int, int) const override { return true; }
};

} // namespace

TEST(Image32, VisibleLayersAreDrawnOverTheBitmapAndGetTheMouse)
{
    LampView v;
    v.view.setBitmap(&v.lamp);
    auto *layer = static_cast<DotLayer *>(v.view.Layers()->Add(new DotLayer(v.view.Layers())));
    EXPECT_EQ(render(v.view).pixel(1, 1), 0xFF00FFFFu);
    layer->setVisible(false);
    v.view.Invalidate();
    EXPECT_EQ(render(v.view).pixel(1, 1), v.lamp.Pixel(0, 0));

    layer->setVisible(true);
    layer->setLayerOptions(LOB_VISIBLE | LOB_MOUSE_EVENTS);
    v.view.Layers()->setMouseEvents(true);
    TCustomLayer *hit = nullptr;
    v.view.OnMouseDown = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int, TCustomLayer *l) { hit = l; };
    v.view.show();
    QTest::mousePress(&v.view, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(&v.view, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(hit, layer);
    delete layer;
    EXPECT_EQ(v.view.Layers()->Count(), 0);
}

TEST(Image32, PublishesThePropertiesOfTheView)
{
    const QStringList published{"Align", "Anchors", "AutoSize", "Bitmap", "BitmapAlign", "Color", "Constraints",
                                "Cursor", "DragCursor", "ParentColor", "ParentShowHint", "PopupMenu", "Scale",
                                "ScaleMode", "ShowHint", "TabOrder", "TabStop", "Visible"};
    const QMetaObject &meta = TImage32::staticMetaObject;
    for (const QString &name : published) {
        const int index = meta.indexOfProperty(name.toLatin1());
        ASSERT_GE(index, meta.propertyOffset()) << name.toStdString() << " is published by TImage32";
        EXPECT_TRUE(meta.property(index).isWritable() || name == "Constraints") << name.toStdString();
    }
    // The Bitmap setter copies: the view keeps no reference to the source.
    LampView v;
    ASSERT_TRUE(v.view.setProperty("Bitmap", QVariant::fromValue(&v.lamp)));
    EXPECT_TRUE(v.view.Bitmap()->SameImage(&v.lamp));
    EXPECT_NE(v.view.property("Bitmap").value<TBitmap32 *>(), &v.lamp);
    v.view.setProperty("Align", QVariant::fromValue(platform::alClient));
    EXPECT_EQ(v.view.Align(), platform::alClient);
    v.view.setProperty("Visible", false);
    EXPECT_TRUE(v.view.isHidden());
}

TEST(Image32, DrawingOnTheBitmapsCanvasRepaintsAtOnce)
{
    LampView v;
    v.view.setBitmap(&v.lamp);
    render(v.view);
    int changes = 0;
    v.view.OnChange = [&](QObject *) { ++changes; };
    platform::TCanvas &canvas = v.view.Bitmap()->Canvas();
    canvas.FillRect(QRect(0, 0, 11, 1), platform::clBlue); // top row
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(v.view.BufferValid());
    const QImage shown = render(v.view);
    EXPECT_EQ(shown.pixel(0, 0), 0xFF0000FFu) << "shown while the canvas is still held";
    EXPECT_EQ(shown.pixel(25, 1), 0xFF0000FFu);
    EXPECT_EQ(shown.pixel(0, 2), v.lamp.Pixel(0, 1));
    v.view.Bitmap()->ReleaseCanvas();
}

TEST(Image32, AChangeFromAnotherThreadRepaintsOnTheViewsThread)
{
    LampView v;
    v.view.setBitmap(&v.lamp);
    render(v.view);
    std::vector<QThread *> threads;
    v.view.OnChange = [&](QObject *) { threads.push_back(QThread::currentThread()); };
    std::thread worker([&] {
        TLockGuard32 lock(*v.view.Bitmap());
        v.view.Bitmap()->FillAll(0xFF0000FFu);
    });
    worker.join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !threads.empty(); }, 5000));
    EXPECT_EQ(threads, std::vector<QThread *>{v.view.thread()});
    EXPECT_EQ(render(v.view).pixel(13, 13), 0xFF0000FFu);
}

TEST(Image32, OnInitStagesIsRaisedOnceWithoutLoaded)
{
    int raised = 0;
    auto count = [&](QObject *) { ++raised; };
    {
        // Before the first paint, and not again.
        LampView v;
        v.view.OnInitStages = count;
        render(v.view);
        EXPECT_EQ(raised, 1);
        v.view.Loaded();
        QCoreApplication::processEvents();
        EXPECT_EQ(raised, 1);
    }
    {
        // On the event loop's next turn after construction.
        raised = 0;
        TImage32 view;
        view.OnInitStages = count;
        EXPECT_EQ(raised, 0);
        QCoreApplication::processEvents();
        EXPECT_EQ(raised, 1);
    }
    {
        // Rebuilding the stages there is what the first paint uses.
        TImage32 view;
        view.resize(4, 4);
        view.setColor(platform::TColor(0x000000FFu));
        view.OnInitStages = [&](QObject *sender) {
            EXPECT_EQ(sender, &view);
            view.PaintStages().Clear();
            view.PaintStages().Add() = {false, true, StageClearBuffer, 0};
        };
        view.Loaded();
        EXPECT_EQ(render(view).pixel(3, 3), 0xFFFF0000u);
    }
}

TEST(Image32, ResizingAHiddenViewInvalidatesItsCache)
{
    LampView v;
    v.view.setBitmap(&v.lamp);
    v.view.UpdateCache();
    ASSERT_TRUE(v.view.CacheValid());
    ASSERT_FALSE(v.view.isVisible());
    v.view.resize(52, 39);
    EXPECT_FALSE(v.view.CacheValid());
    EXPECT_FALSE(v.view.BufferValid());
    v.view.UpdateCache();
    EXPECT_EQ(v.view.BitmapBoxCache(), (TRect{0, 0, 52, 39}));
    EXPECT_EQ(v.view.ScaleY(), 3 * 65536);
    EXPECT_EQ(render(v.view).pixel(51, 38), v.lamp.Pixel(10, 12));
}

TEST(Image32, ParentColorShowsTheParentsColourAroundTheBitmap)
{
    TImage32 parent;
    parent.resize(40, 40);
    parent.setColor(platform::TColor(0x00FFFFFFu)); // white
    auto *view = new TImage32(&parent);
    view->setGeometry(5, 5, 26, 26);
    view->setScaleMode(smNormal);
    view->setBitmapAlign(baCenter);
    TBitmap32 lamp;
    lampgen::paintLamp(lamp, lampgen::LampGreen);
    view->setBitmap(&lamp);
    EXPECT_TRUE(view->ParentColor());
    const QImage shown = render(parent);
    EXPECT_EQ(view->Color(), platform::TColor(0x00FFFFFFu));
    EXPECT_EQ(shown.pixel(5, 5), 0xFFFFFFFFu) << "the band around the bitmap";
    parent.setColor(platform::TColor(0x000000FFu));
    EXPECT_EQ(render(parent).pixel(5, 5), 0xFFFF0000u) << "follows the parent";
    view->setColor(platform::TColor(0x00FF0000u));
    EXPECT_FALSE(view->ParentColor());
    parent.setColor(platform::TColor(0x0000FF00u));
    EXPECT_EQ(render(parent).pixel(5, 5), 0xFF0000FFu) << "its own colour now";
}

TEST(Image32, InheritedEventsReachTheView)
{
    QWidget window;
    window.resize(120, 60);
    auto *a = new TImage32(&window);
    auto *b = new TImage32(&window);
    a->setGeometry(0, 0, 40, 40);
    b->setGeometry(60, 0, 40, 40);
    window.show();
    QStringList log;

    // OnCanResize: a refused size is not taken, and OnResize stays quiet.
    a->OnResize = [&](QObject *) { log << "resize"; };
    a->OnCanResize = [&](QObject *, int &w, int &, bool &resize) { resize = w <= 50; };
    a->resize(80, 40);
    a->resize(50, 40);
    EXPECT_EQ(a->size(), QSize(50, 40));
    EXPECT_EQ(log, QStringList{"resize"});

    // OnContextPopup, then the PopupMenu when not handled.
    QMenu menu;
    menu.addAction("lamp");
    a->setPopupMenu(&menu);
    a->OnContextPopup = [&](QObject *, QPoint at, bool &) { log << QString("popup %1,%2").arg(at.x()).arg(at.y()); };
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(3, 4), a->mapToGlobal(QPoint(3, 4)));
    QApplication::sendEvent(a, &request);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();

    // Dragging one view onto the other.
    log.clear();
    a->OnMouseDown = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int, TCustomLayer *) {
        a->BeginDrag(true);
    };
    a->OnStartDrag = [&](QObject *, QObject *&) { log << "start"; };
    b->OnDragOver = [&](QObject *, QObject *source, int, int, platform::TDragState, bool &accept) {
        accept = source == a;
    };
    b->OnDragDrop = [&](QObject *, QObject *source, int x, int y) {
        log << QString("drop %1,%2 %3").arg(x).arg(y).arg(source == a);
    };
    a->OnEndDrag = [&](QObject *, QObject *target, int, int) { log << QString("end %1").arg(target == b); };
    QTest::mousePress(a, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(a, QPoint(70, 10));
    QTest::mouseRelease(a, Qt::LeftButton, {}, QPoint(70, 10));
    EXPECT_EQ(log.join(" | ").toStdString(), "start | drop 10,10 1 | end 1");
}

TEST(Bitmap32List, ItemsOwnCopiesAndIndexingIsChecked)
{
    TBitmap32List list;
    TBitmap32 green, red;
    lampgen::paintLamp(green, lampgen::LampGreen);
    lampgen::paintLamp(red, lampgen::LampRed);
    list.Bitmaps()->Add()->setBitmap(&green);
    list.Bitmaps()->Add()->setBitmap(&red);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_TRUE(list.BitmapAt(0)->SameImage(&green));
    EXPECT_TRUE(list.BitmapAt(1)->SameImage(&red));
    EXPECT_NE(list.BitmapAt(0), &green) << "the item keeps its own copy";
    EXPECT_EQ(list.Bitmaps()->Owner(), &list);
    EXPECT_EQ(list.Bitmaps()->Items(1)->Index(), 1);
    for (int bad : {2, -1}) {
        try {
            list.BitmapAt(bad);
            FAIL();
        } catch (const EListError &e) {
            EXPECT_EQ(e.message(), QString("List index out of bounds (%1)").arg(bad));
        }
    }
    list.Bitmaps()->Delete(0);
    EXPECT_TRUE(list.BitmapAt(0)->SameImage(&red));
}
