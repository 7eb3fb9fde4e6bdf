// Image stores named in a form's description: linking any kind of skinned
// control, and loading the store's pictures all or nothing.
#include "coolctrls/CoolImagesLink.h"
#include "coolctrls/TCoolBtn.h"
#include "coolctrls/TCoolComboBox.h"
#include "coolctrls/TCoolImages.h"
#include "coolctrls/TCoolLabel.h"
#include "coolctrls/TCoolListBox.h"
#include "coolctrls/TCoolMemo.h"
#include "coolctrls/TCoolPanel.h"
#include "coolctrls/TCoolScrollingText.h"
#include "platform/Exception.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace coolctrls;

namespace {
const QString Wallpaper = QStringLiteral(TONVIK_SOURCE_DIR "/resources/wallpaper.pic");
}

TEST(CoolImagesLink, LinksEveryKindOfSkinnedControlAndNothingElse)
{
    TCoolImages store;
    QWidget form;
    auto *panel = new TCoolPanel(&form);
    auto *label = new TCoolLabel(panel);
    auto *button = new TCoolBtn(panel);
    auto *memo = new TCoolMemo(panel);
    auto *list = new TCoolListBox(panel);
    auto *combo = new TCoolComboBox(panel);
    auto *ticker = new TCoolScrollingText(panel);
    for (QObject *control : std::initializer_list<QObject *>{panel, label, button, memo, list, combo, ticker})
        EXPECT_TRUE(LinkCoolImages(control, &store)) << control->metaObject()->className();
    EXPECT_EQ(panel->CoolImages(), &store);
    EXPECT_EQ(label->CoolImages(), &store);
    EXPECT_EQ(button->CoolImages(), &store);
    EXPECT_EQ(combo->CoolImages(), &store);
    EXPECT_EQ(ticker->CoolImages(), &store);

    QWidget plain;
    EXPECT_FALSE(LinkCoolImages(&plain, &store));
    EXPECT_FALSE(LinkCoolImages(&store, &store));
}

TEST(CoolImagesLink, LoadsThePicturesInOrderOrLeavesTheStoreAsItWas)
{
    TCoolImages store;
    LoadCoolImages(store, {Wallpaper, Wallpaper});
    EXPECT_EQ(store.ImageCount(), 2);

    // A missing file and a file that is not a picture's stored form: the
    // error names it, the store keeps its two pictures.
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.pic");
    try {
        LoadCoolImages(store, {Wallpaper, missing});
        ADD_FAILURE() << "no error for a missing file";
    } catch (const platform::Exception &e) {
        EXPECT_EQ(e.message(), "Picture " + missing + " not found");
    }
    EXPECT_EQ(store.ImageCount(), 2);

    QFile junk(dir.filePath("junk.pic"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\x05JUNK!not a picture");
    junk.close();
    try {
        LoadCoolImages(store, {junk.fileName()});
        ADD_FAILURE() << "no error for a file that is not a picture";
    } catch (const platform::Exception &e) {
        EXPECT_EQ(e.message(), "Picture " + junk.fileName() + ": Unknown picture format JUNK!");
    }
    EXPECT_EQ(store.ImageCount(), 2);

    LoadCoolImages(store, {});
    EXPECT_EQ(store.ImageCount(), 0);
}
