#include "TestImages.h"
#include "raster32/Errors.h"
#include "raster32/TBitmap32.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPicture>
#include <QPixmap>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace raster32;
using raster32::testing::fillPattern;

namespace {

// Records the order of the bitmap's events.
struct EventLog
{
    QStringList events;
    explicit EventLog(TBitmap32 &b)
    {
        b.OnChange = [this](QObject *) { events << "change"; };
        b.OnResize = [this](QObject *) { events << "resize"; };
        b.OnHandleChanged = [this](QObject *) { events << "handle"; };
    }
};

} // namespace

TEST(ThreadPersistent, UpdatesBatchChangeEventsAndUnpairedEndUpdateIsReported)
{
    TBitmap32 b;
    int changes = 0;
    b.OnChange = [&](QObject *sender) {
        EXPECT_EQ(sender, &b);
        ++changes;
    };
    b.BeginUpdate();
    b.BeginUpdate();
    b.NotifyChange();
    b.EndUpdate();
    b.NotifyChange();
    b.EndUpdate();
    EXPECT_EQ(changes, 0) << "no event inside an update, and EndUpdate raises none";
    b.NotifyChange();
    EXPECT_EQ(changes, 1);
    try {
        b.EndUpdate();
        FAIL() << "unpaired EndUpdate accepted";
    } catch (const EAssertionFailed &e) {
        EXPECT_EQ(e.message(), "Unpaired TThreadPersistent.EndUpdate");
    }
    EXPECT_EQ(b.UpdateCount(), 0);
}

TEST(ThreadPersistent, LockIsReentrantCountedAndExcludesOtherThreads)
{
    TBitmap32 b;
    b.SetDimensions(4, 4);
    b.AcquireLock();
    b.AcquireLock();
    EXPECT_EQ(b.LockCount(), 2);
    b.ReleaseLock();
    b.ReleaseLock();
    EXPECT_EQ(b.LockCount(), 0);

    // Two threads incrementing a pixel under the lock never lose a step.
    b.FillAll(0);
    b.BeginUpdate();
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            TLockGuard32 lock(b);
            b.SetPixel(1, 1, b.Pixel(1, 1) + 1);
        }
    };
    std::thread t1(work), t2(work);
    t1.join();
    t2.join();
    EXPECT_EQ(b.Pixel(1, 1), 40000u);
    EXPECT_EQ(b.LockCount(), 0);
}

TEST(Bitmap32, DefaultsAndSetterNotificationRules)
{
    TBitmap32 b;
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.Pixels(), nullptr);
    EXPECT_EQ(b.DrawMode(), dmOpaque);
    EXPECT_EQ(b.CombineMode(), cmBlend);
    EXPECT_EQ(b.MasterAlpha(), 255u);
    EXPECT_EQ(b.OuterColor(), 0u);
    EXPECT_EQ(b.StretchFilter(), sfNearest);
    EXPECT_FALSE(b.HasCanvas());

    EventLog log(b);
    b.setDrawMode(dmOpaque);
    b.setMasterAlpha(255);
    b.setStretchFilter(sfNearest);
    EXPECT_TRUE(log.events.isEmpty()) << "unchanged values raise nothing";
    b.setCombineMode(cmBlend);
    EXPECT_EQ(log.events.size(), 1) << "CombineMode notifies always";
    b.setDrawMode(dmBlend);
    b.setMasterAlpha(300); // not clamped
    b.setStretchFilter(sfLanczos);
    EXPECT_EQ(log.events.size(), 4);
    EXPECT_EQ(b.MasterAlpha(), 300u);
}

TEST(Bitmap32, SetDimensionsClampsNegativesAndSkipsUnchangedSizes)
{
    TBitmap32 b;
    EventLog log(b);
    EXPECT_TRUE(b.SetDimensions(-5, 10));
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 10);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.Pixels(), nullptr);
    EXPECT_EQ(b.DibHandle(), nullptr);
    EXPECT_EQ(log.events, QStringList({"handle", "change", "resize"}));

    log.events.clear();
    EXPECT_FALSE(b.SetDimensions(0, 10));
    EXPECT_FALSE(b.SetDimensions(-1, 10));
    EXPECT_TRUE(log.events.isEmpty()) << "no event for an unchanged size";

    EXPECT_TRUE(b.SetDimensions(3, 2));
    EXPECT_FALSE(b.IsEmpty());
    ASSERT_NE(b.DibHandle(), nullptr);
    EXPECT_EQ(b.DibHandle()->bits(), reinterpret_cast<uchar *>(b.Pixels())) << "the Qt image shares the pixels";
    EXPECT_EQ(b.ClipBox(), (TRect{0, 0, 3, 2}));
    EXPECT_EQ(b.PixelAddress(2, 1), b.Pixels() + 5);
    EXPECT_EQ(b.RowAddress(1), b.Pixels() + 3);
    EXPECT_EQ(b.BoundsBox(), (TRect{0, 0, 3, 2}));
}

TEST(Bitmap32, RefusesSizesBeyondItsPixelIndexRange)
{
    TBitmap32 b;
    b.SetDimensions(2, 2);
    try {
        b.SetDimensions(100000, 100000);
        FAIL();
    } catch (const EBitmapError &e) {
        EXPECT_EQ(e.message(), "Can't allocate the DIB handle");
    }
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.Width(), 0);
}

TEST(Bitmap32, FillsAlphaAndClippedBoxes)
{
    TBitmap32 b;
    b.SetDimensions(6, 4);
    b.FillAll(0x11223344u);
    b.SetAllAlpha(0x80);
    EXPECT_EQ(b.Pixel(5, 3), 0x80223344u);
    b.SetAllAlpha();
    EXPECT_EQ(b.Pixel(0, 0), 0xFF223344u);

    b.setClipBox({1, 1, 4, 3});
    int changes = 0;
    b.OnChange = [&](QObject *) { ++changes; };
    b.FillBoxClipped(-10, -10, 100, 100, 0xFFFF0000u);
    b.FillBoxClipped(3, 0, 2, 4, 0xFF00FF00u);  // x1 >= x2
    b.FillBoxClipped(4, 0, 6, 4, 0xFF00FF00u);  // outside the clip box
    EXPECT_EQ(changes, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(b.Pixel(x, y), (x >= 1 && x < 4 && y >= 1 && y < 3) ? 0xFFFF0000u : 0xFF223344u)
                << x << "," << y;
    EXPECT_EQ(b.PixelS(-1, 0), b.OuterColor());
    b.SetDimensions(7, 4);
    EXPECT_EQ(b.ClipBox(), (TRect{0, 0, 7, 4})) << "a size change resets the clip box";
}

TEST(Bitmap32, CopyFromBitmapCopiesPixelsAndDrawingSettingsButNotCombineMode)
{
    TBitmap32 src;
    fillPattern(src, 11, 13);
    src.setCombineMode(cmMerge);
    src.setDrawMode(dmBlend);
    src.setMasterAlpha(100);
    src.setOuterColor(0x12345678u);
    src.setStretchFilter(sfSpline);

    TBitmap32 dst;
    dst.SetDimensions(3, 3);
    dst.setClipBox({1, 1, 2, 2});
    int changes = 0;
    dst.OnChange = [&](QObject *) { ++changes; };
    dst.CopyFrom(&src);
    EXPECT_EQ(changes, 1) << "one change event for the whole copy";
    EXPECT_TRUE(dst.SameImage(&src));
    EXPECT_EQ(dst.CombineMode(), cmBlend);
    EXPECT_EQ(dst.DrawMode(), dmBlend);
    EXPECT_EQ(dst.MasterAlpha(), 100u);
    EXPECT_EQ(dst.OuterColor(), 0x12345678u);
    EXPECT_EQ(dst.StretchFilter(), sfSpline);
    EXPECT_EQ(dst.ClipBox(), (TRect{0, 0, 11, 13}));

    dst.CopyFrom(nullptr);
    EXPECT_TRUE(dst.IsEmpty());
    EXPECT_EQ(changes, 2);
}

TEST(Bitmap32, CopyFromPlatformImagesHonoursTransparency)
{
    QImage rgb(4, 2, QImage::Format_RGB888);
    rgb.fill(QColor(10, 20, 30));
    rgb.setPixelColor(1, 1, QColor(200, 100, 50));
    TBitmap32 b;
    b.CopyFrom(rgb);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Pixel(0, 0), 0xFF0A141Eu) << "a bitmap without alpha becomes opaque";
    EXPECT_EQ(b.Pixel(1, 1), 0xFFC86432u);

    b.CopyFrom(rgb, qRgb(10, 20, 30));
    EXPECT_EQ(b.Pixel(0, 0), 0x000A141Eu) << "the transparent colour gets alpha 0";
    EXPECT_EQ(b.Pixel(1, 1), 0xFFC86432u);

    QImage argb(2, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, 0x40102030u);
    argb.setPixel(1, 0, 0xFFFFFFFFu);
    b.CopyFrom(argb);
    EXPECT_EQ(b.Pixel(0, 0), 0x40102030u) << "alpha of a 32-bit bitmap is kept";

    QPixmap pixmap = QPixmap::fromImage(argb);
    b.CopyFrom(pixmap);
    EXPECT_EQ(AlphaComponent(b.Pixel(0, 0)), 0x40);
    EXPECT_EQ(b.Pixel(1, 0), 0xFFFFFFFFu);

    QImage out;
    b.CopyToPlatformBitmap(out);
    EXPECT_EQ(out.format(), QImage::Format_ARGB32);
    EXPECT_EQ(out.size(), QSize(2, 1));
    EXPECT_EQ(out.pixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(AlphaComponent(out.pixel(0, 0)), 0x40);
}

TEST(Bitmap32, CopyFromPictureMarksUncoveredPixelsTransparent)
{
    QPicture picture;
    {
        QPainter p(&picture);
        p.fillRect(QRect(0, 0, 4, 4), QColor(0, 0, 255));
        p.fillRect(QRect(8, 8, 4, 4), QColor(255, 255, 255));
    }
    TBitmap32 b;
    b.CopyFrom(picture);
    ASSERT_EQ(b.Width(), 12);
    EXPECT_EQ(b.Pixel(1, 1), 0xFF0000FFu);
    EXPECT_EQ(b.Pixel(9, 9), 0xFFFFFFFFu) << "white drawn over white still counts as covered";
    EXPECT_EQ(AlphaComponent(b.Pixel(6, 6)), 0) << "the background showed through";

    // Any other graphic is drawn and made opaque.
    b.CopyFrom(QSize(3, 3), [](QPainter &p) { p.fillRect(QRect(0, 0, 3, 3), QColor(0, 255, 0, 10)); });
    EXPECT_EQ(AlphaComponent(b.Pixel(2, 2)), 255);
}

TEST(Bitmap32, CopyFromAnUnsupportedObjectFailsWithTheAssignError)
{
    TBitmap32 b;
    QObject other;
    try {
        b.CopyFrom(&other);
        FAIL();
    } catch (const platform::EConvertError &e) {
        EXPECT_EQ(e.message(), "Cannot assign a QObject to a TBitmap32");
    }
    TBitmap32 src;
    fillPattern(src, 2, 2);
    b.CopyFrom(static_cast<const QObject *>(&src));
    EXPECT_TRUE(b.SameImage(&src));
}

TEST(Bitmap32, SameImageComparesSizeAndPixels)
{
    TBitmap32 a, b;
    EXPECT_TRUE(a.SameImage(&b)) << "two empty bitmaps";
    fillPattern(a, 3, 3);
    EXPECT_FALSE(a.SameImage(&b));
    b.CopyFrom(&a);
    EXPECT_TRUE(a.SameImage(&b));
    b.SetPixel(2, 2, b.Pixel(2, 2) ^ 0x01000000u);
    EXPECT_FALSE(a.SameImage(&b)) << "alpha counts";
    EXPECT_TRUE(a.StoresData());
    EXPECT_FALSE(TBitmap32().StoresData());
    EXPECT_TRUE(b.StoresData(&a));
    b.CopyFrom(&a);
    EXPECT_FALSE(b.StoresData(&a)) << "same as the ancestor: nothing to store";
}

TEST(Bitmap32, EachDrawingThroughTheCanvasAnnouncesTheChangeAtOnce)
{
    TBitmap32 b;
    b.Canvas().FillRect(QRect(0, 0, 2, 2), platform::clRed); // empty: nothing to draw on
    EXPECT_TRUE(b.HasCanvas());
    b.SetDimensions(5, 5);
    b.FillAll(0xFF000000u);
    std::vector<TColor32> seen; // the pixel (1, 1) at each change
    b.OnChange = [&](QObject *) { seen.push_back(b.Pixel(1, 1)); };
    platform::TCanvas &canvas = b.Canvas();
    canvas.FillRect(QRect(1, 1, 2, 2), platform::clRed);
    EXPECT_EQ(seen, std::vector<TColor32>{0xFFFF0000u}) << "announced with the pixels in place, not at release";
    canvas.Brush.setColor(platform::clLime);
    canvas.FillRect(QRect(0, 0, 1, 1));
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(b.Pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(b.Pixel(3, 3), 0xFF000000u);
    b.ReleaseCanvas();
    EXPECT_EQ(seen.size(), 2u) << "releasing draws nothing";

    // The canvas stays, follows size changes and keeps its font; nothing is
    // announced inside an update.
    b.Font().setHeight(-20);
    b.SetDimensions(8, 8);
    seen.clear();
    b.BeginUpdate();
    b.Canvas().FillRect(QRect(6, 6, 8, 8), platform::clBlue);
    EXPECT_TRUE(seen.empty());
    b.EndUpdate();
    EXPECT_EQ(b.Pixel(7, 7), 0xFF0000FFu);
    EXPECT_EQ(&b.Canvas(), &canvas);
    EXPECT_EQ(b.Font().Height(), -20);
    // The bitmap's own drawing ends the canvas' painter first.
    b.CopyFrom(QSize(8, 8), [](QPainter &p) { p.fillRect(0, 0, 8, 8, Qt::white); });
    EXPECT_EQ(b.Pixel(7, 7), 0xFFFFFFFFu);
    b.Canvas().SetPixel(7, 7, platform::clBlack);
    EXPECT_EQ(b.Pixel(7, 7), 0xFF000000u);
}

TEST(Bitmap32, CopyToDeviceIgnoresAlpha)
{
    TBitmap32 b;
    b.SetDimensions(2, 2);
    b.FillAll(0x00336699u);
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(0xFF000000u);
    b.CopyToDevice(&target, 1, 1);
    EXPECT_EQ(target.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(target.pixel(1, 1), 0xFF336699u);
    EXPECT_EQ(target.pixel(2, 2), 0xFF336699u);
    EXPECT_EQ(target.pixel(3, 3), 0xFF000000u);
}

TEST(Bitmap32, ToColor32SwapsPlatformColourOrderAndResolvesSystemColours)
{
    EXPECT_EQ(ToColor32(0x00FF8000u), 0xFF0080FFu);
    EXPECT_EQ(ToColor32(0x000000FFu), 0xFFFF0000u);
    const QColor face = QGuiApplication::palette().color(QPalette::Button);
    EXPECT_EQ(ToColor32(0x8000000Fu), Color32(face.red(), face.green(), face.blue()));
}

TEST(Bitmap32, CopyFromClipboardTakesItsImage)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    clipboard->setImage(image);
    TBitmap32 b;
    b.CopyFrom(clipboard);
    if (clipboard->image().isNull())
        GTEST_SKIP() << "this platform keeps no clipboard";
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Pixel(2, 1), 0xFF010203u);
    clipboard->clear();
    b.CopyFrom(static_cast<const QObject *>(clipboard));
    EXPECT_TRUE(b.IsEmpty()) << "an empty clipboard gives an empty bitmap";
}
