#include "TestWidgets.h"
#include "coolctrls/CoolUtils.h"
#include "coolctrls/TCoolImages.h"
#include "coolctrls/TImageItem.h"
#include "coolctrls/TPicture.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace coolctrls;
using namespace platform;
using testing_cool::patternImage;
using testing_cool::WallpaperWidget;

namespace {

struct StoreFixture : ::testing::Test
{
    TCoolImages store;
    TBitmap own;
    WallpaperWidget w;

    void SetUp() override
    {
        // The store item is red, the own wallpaper green.
        TImageItem *item = store.Images()->Add();
        QImage red(8, 8, QImage::Format_RGB32);
        red.fill(qRgb(255, 0, 0));
        QByteArray bmp;
        {
            QBuffer b(&bmp);
            b.open(QIODevice::WriteOnly);
            red.save(&b, "BMP");
        }
        TPicture picture;
        picture.loadFromStoredForm(QByteArray("\x07TBitmap", 8) + le32(bmp.size()) + bmp);
        item->setPicture(&picture);
        ASSERT_FALSE(item->BitmapObject()->Empty());

        own.SetSize(8, 8);
        own.Canvas().FillRect(QRect(0, 0, 8, 8), clLime);
        w.resize(20, 20);
        w.plain = clBlue;
    }

    static QByteArray le32(qsizetype n)
    {
        QByteArray out(4, '\0');
        for (int i = 0; i < 4; ++i)
            out[i] = char((quint32(n) >> (8 * i)) & 0xFF);
        return out;
    }

    QRgb shown() { return w.grab().toImage().pixel(10, 10); }
};

} // namespace

TEST_F(StoreFixture, ValidStoreItemWinsElseOwnWallpaperElsePlainColour)
{
    w.group.setCoolImages(&store);
    w.group.setWallpaper(&own);

    w.group.setIdWallpaper(0); // store item and own wallpaper: the item
    EXPECT_EQ(shown(), qRgb(255, 0, 0));
    w.group.setIdWallpaper(1); // past the end: own wallpaper
    EXPECT_EQ(shown(), qRgb(0, 255, 0));
    w.group.setIdWallpaper(-5); // negative: own wallpaper
    EXPECT_EQ(shown(), qRgb(0, 255, 0));

    w.group.Wallpaper()->SetSize(0, 0); // emptied own wallpaper: plain colour
    EXPECT_FALSE(w.group.HasWallpaper());
    EXPECT_EQ(shown(), qRgb(0, 0, 255));

    w.group.setIdWallpaper(0);
    w.group.setCoolImages(nullptr); // no store: plain colour
    EXPECT_EQ(shown(), qRgb(0, 0, 255));
}

TEST_F(StoreFixture, ChangesOfStoreAndOwnWallpaperRepaintTheControl)
{
    int images = 0, wallpaper = 0;
    w.group.OnImagesChanged = [&] { ++images; };
    w.group.OnWallpaperChanged = [&] { ++wallpaper; };
    w.group.setCoolImages(&store);
    store.Images()->Items(0)->Picture()->clear();
    EXPECT_EQ(images, 1);
    w.group.Wallpaper()->Canvas().FillRect(QRect(0, 0, 2, 2), clRed);
    EXPECT_GE(wallpaper, 1);
    const int before = wallpaper;
    w.group.setWallpaper(w.group.Wallpaper()); // onto itself: nothing
    EXPECT_EQ(wallpaper, before);
}

TEST(DrawWallpaper, TilesFromTheRectangleCornerWithCutLastTiles)
{
    const QImage pattern = patternImage(800, 376);
    for (const QSize area : {QSize(609, 313), QSize(1000, 400)}) {
        QImage target(area.width() + 20, area.height() + 20, QImage::Format_RGB32);
        target.fill(qRgb(1, 2, 3));
        {
            TCanvas canvas(&target);
            DrawWallpaper(canvas, pattern, QRect(QPoint(10, 10), area), SRCCOPY, false);
        }
        int wrong = 0;
        for (int y = 0; y < target.height(); ++y) {
            for (int x = 0; x < target.width(); ++x) {
                const bool inside = x >= 10 && y >= 10 && x < 10 + area.width() && y < 10 + area.height();
                const QRgb expected = inside ? pattern.pixel((x - 10) % 800, (y - 10) % 376) : qRgb(1, 2, 3);
                wrong += target.pixel(x, y) != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << area.width() << "x" << area.height();
    }
    // In 1000 x 400 the right and bottom tiles start at 800 and 376.
    QImage target(1000, 400, QImage::Format_RGB32);
    TCanvas canvas(&target);
    DrawWallpaper(canvas, pattern, QRect(0, 0, 1000, 400), SRCCOPY, false);
    canvas.releaseHandle();
    EXPECT_EQ(target.pixel(800, 0), pattern.pixel(0, 0));
    EXPECT_EQ(target.pixel(0, 376), pattern.pixel(0, 0));
    EXPECT_EQ(target.pixel(800, 376), pattern.pixel(0, 0));
    EXPECT_EQ(target.pixel(999, 399), pattern.pixel(199, 23));
}

TEST(DrawWallpaper, StretchedClippedAndInverted)
{
    QImage src(2, 2, QImage::Format_RGB32);
    src.setPixel(0, 0, qRgb(255, 0, 0));
    src.setPixel(1, 0, qRgb(0, 255, 0));
    src.setPixel(0, 1, qRgb(0, 0, 255));
    src.setPixel(1, 1, qRgb(255, 255, 255));
    TBitmap bitmap;
    bitmap.Assign(src);

    QImage target(40, 20, QImage::Format_RGB32);
    target.fill(Qt::black);
    TCanvas canvas(&target);
    DrawWallpaper(canvas, bitmap, QRect(0, 0, 40, 20), SRCCOPY, true);
    canvas.releaseHandle();
    EXPECT_EQ(target.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(35, 5), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(5, 15), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(35, 15), qRgb(255, 255, 255));

    // Laid out over the whole target, visible only in (20, 0, 10, 10), inverted.
    target.fill(Qt::black);
    DrawWallpaperClipped(canvas, bitmap, QRect(0, 0, 40, 20), NOTSRCCOPY, true, QRect(20, 0, 10, 10));
    canvas.releaseHandle();
    EXPECT_EQ(target.pixel(25, 5), qRgb(255, 0, 255)); // inverted green
    EXPECT_EQ(target.pixel(15, 5), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(25, 15), qRgb(0, 0, 0));
}
