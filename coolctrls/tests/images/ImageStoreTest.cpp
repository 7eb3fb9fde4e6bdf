#include "coolctrls/TCoolChangeLink.h"
#include "coolctrls/TCoolImages.h"
#include "coolctrls/TImageItem.h"
#include "coolctrls/TJPEGImage.h"
#include "platform/canvas/TBitmap.h"
#include "platform/testing/ErrorCapture.h"
#include "utils/TestWidgets.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace coolctrls;
using testing_cool::WallpaperWidget;

namespace {

QByteArray wallpaperJpeg()
{
    return testing_cool::readSourceFile(QStringLiteral("resources/wallpaper.jpg"));
}

} // namespace

TEST(ChangeLinks, RegistrationOrderDoubleRegistrationAndUnknownLinks)
{
    TCoolImages store;
    TCoolChangeLink a, b, stranger;
    std::vector<char> calls;
    a.OnChange = [&](QObject *sender) {
        EXPECT_EQ(sender, &store);
        calls.push_back('a');
    };
    b.OnChange = [&](QObject *) { calls.push_back('b'); };

    store.RegisterChanges(&b);
    store.RegisterChanges(&a);
    store.RegisterChanges(&b); // twice: called twice
    EXPECT_EQ(a.Sender(), &store);
    store.Change();
    EXPECT_EQ(calls, (std::vector<char>{'b', 'a', 'b'}));

    store.UnRegisterChanges(&stranger); // ignored
    store.UnRegisterChanges(&b);        // first entry only; still registered once
    EXPECT_EQ(b.Sender(), &store);
    calls.clear();
    store.Change();
    EXPECT_EQ(calls, (std::vector<char>{'a', 'b'}));
    store.UnRegisterChanges(&b);
    EXPECT_EQ(b.Sender(), nullptr);
    EXPECT_EQ(store.Links().size(), 1u);
}

TEST(ChangeLinks, DestructionEitherOrder)
{
    // Link first: it leaves the store.
    TCoolImages store;
    {
        TCoolChangeLink link;
        store.RegisterChanges(&link);
    }
    EXPECT_TRUE(store.Links().empty());

    // Store first: every Sender cleared, last registered first; the links'
    // later destruction touches nothing.
    auto first = std::make_unique<TCoolChangeLink>();
    auto second = std::make_unique<TCoolChangeLink>();
    {
        TCoolImages doomed;
        doomed.RegisterChanges(first.get());
        doomed.RegisterChanges(second.get());
    }
    EXPECT_EQ(first->Sender(), nullptr);
    EXPECT_EQ(second->Sender(), nullptr);
    first.reset();
    second.reset();
}

TEST(ChangeLinks, HandlerMayDestroyOtherLinksDuringChange)
{
    TCoolImages store;
    auto victim = std::make_unique<TCoolChangeLink>();
    TCoolChangeLink killer;
    int victimCalls = 0;
    killer.OnChange = [&](QObject *) { victim.reset(); };
    victim->OnChange = [&](QObject *) { ++victimCalls; };
    store.RegisterChanges(&killer);
    store.RegisterChanges(victim.get());
    store.Change(); // the destroyed link must not be called
    EXPECT_EQ(victimCalls, 0);
    EXPECT_EQ(store.Links().size(), 1u);
}

TEST(ImageItems, PictureChangeRendersOnceAndNotifies)
{
    TCoolImages store;
    TCoolChangeLink link;
    int changes = 0;
    link.OnChange = [&](QObject *) { ++changes; };
    store.RegisterChanges(&link);

    TImageItem *item = store.Images()->Add();
    EXPECT_EQ(changes, 0); // adding alone does not run Change
    const long before = TJPEGImage::decodeCount();
    item->Picture()->loadJpeg(wallpaperJpeg());
    EXPECT_EQ(TJPEGImage::decodeCount(), before + 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(item->Bitmap().width(), 800);
    EXPECT_EQ(item->Bitmap().height(), 376);

    // Copying into a second item decodes that item's picture once.
    TImageItem *copy = store.Images()->Add();
    copy->Assign(*item);
    EXPECT_EQ(TJPEGImage::decodeCount(), before + 2);
    EXPECT_EQ(copy->Bitmap(), item->Bitmap());
    EXPECT_EQ(changes, 2);

    // A destroyed item runs Change once on its way out, already removed.
    link.OnChange = [&](QObject *) {
        ++changes;
        EXPECT_EQ(store.Images()->Count(), 1);
    };
    store.Images()->Delete(0);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(store.Images()->Items(0), copy);
    EXPECT_THROW(store.Images()->Items(1), platform::Exception);
    EXPECT_EQ(store.Images()->find(-1), nullptr);
}

TEST(ImageItems, PaintingNeverDecodes)
{
    TCoolImages store;
    store.Images()->Add()->Picture()->loadJpeg(wallpaperJpeg());
    WallpaperWidget w;
    w.resize(609, 313);
    w.group.setCoolImages(&store);
    w.group.setIdWallpaper(0);
    const long before = TJPEGImage::decodeCount();
    for (int i = 0; i < 5; ++i)
        (void)w.grab();
    EXPECT_GE(w.paints, 5);
    EXPECT_EQ(TJPEGImage::decodeCount(), before);
}

TEST(ImageItems, UndecodablePicturesAreReportedAndFallBack)
{
    platform::testsupport::ErrorCapture errors;
    const QByteArray good = wallpaperJpeg();
    ASSERT_GT(good.size(), 1000);
    QByteArray corrupt = good;
    for (qsizetype i = good.size() / 2; i < good.size() / 2 + 400; ++i)
        corrupt[i] = char(0xFF ^ (i & 0x55));
    const QByteArray cases[] = {
        good.left(good.size() / 3),          // truncated
        corrupt,                              // corrupt entropy data
        QByteArray("GIF89a not a jpeg at all"), // not a JPEG
    };
    for (const QByteArray &bytes : cases) {
        errors.clear();
        TCoolImages store;
        WallpaperWidget w;
        w.resize(40, 30);
        w.plain = platform::clRed;
        w.group.setCoolImages(&store);
        w.group.setIdWallpaper(0);
        TImageItem *item = store.Images()->Add();
        item->Picture()->loadJpeg(bytes);
        EXPECT_TRUE(item->BitmapObject()->Empty());
        EXPECT_FALSE(item->renderError().isEmpty());
        ASSERT_EQ(errors.messages().size(), 1);
        EXPECT_TRUE(errors.messages().front().startsWith(QLatin1String("JPEG error")));
        EXPECT_FALSE(w.group.HasWallpaper());
        EXPECT_EQ(w.grab().toImage().pixel(20, 15), qRgb(255, 0, 0));
    }
}

TEST(WallpaperGroup, StoreDestroyedBeforeItsControls)
{
    auto store = std::make_unique<TCoolImages>();
    store->Images()->Add()->Picture()->loadJpeg(wallpaperJpeg());
    WallpaperWidget a, b;
    for (WallpaperWidget *w : {&a, &b}) {
        w->resize(30, 20);
        w->group.setCoolImages(store.get());
        w->group.setIdWallpaper(0);
        EXPECT_TRUE(w->group.HasWallpaper());
    }
    // b has an own wallpaper to fall back to; a only its colour.
    platform::TBitmap own(4, 4);
    own.Canvas().FillRect(QRect(0, 0, 4, 4), platform::clBlue);
    b.group.setWallpaper(&own);
    int removed = 0;
    a.group.OnStoreRemoved = [&] { ++removed; };

    store.reset();
    EXPECT_EQ(removed, 1);
    EXPECT_EQ(a.group.CoolImages(), nullptr);
    EXPECT_EQ(b.group.CoolImages(), nullptr);
    EXPECT_EQ(a.group.link().Sender(), nullptr);
    EXPECT_EQ(a.grab().toImage().pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(b.grab().toImage().pixel(5, 5), qRgb(0, 0, 255));
}

TEST(WallpaperGroup, ControlDestroyedBeforeStoreAndMovedBetweenStores)
{
    TCoolImages one, two;
    {
        WallpaperWidget w;
        w.group.setCoolImages(&one);
        EXPECT_EQ(one.Links().size(), 1u);
        w.group.setCoolImages(&two); // moves the link
        EXPECT_TRUE(one.Links().empty());
        EXPECT_EQ(two.Links().size(), 1u);
        EXPECT_EQ(w.group.link().Sender(), &two);
    }
    EXPECT_TRUE(two.Links().empty());
}
