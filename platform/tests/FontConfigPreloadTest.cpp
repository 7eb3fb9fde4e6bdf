// The font configuration read on a thread of its own at a program's start.
#include "platform/canvas/TFontConfigPreload.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

#include <gtest/gtest.h>

TEST(FontConfigPreload, IsReadOnceAndTheThreadIsJoinedOnEveryPath)
{
    // Destroyed without wait(): the destructor joins (an unjoined thread
    // would end the process).
    { platform::TFontConfigPreload unwaited; }

    platform::TFontConfigPreload preload;
    preload.wait();
    preload.wait();   // at once, no second join
    FcConfig *config = FcConfigGetCurrent();
    ASSERT_NE(config, nullptr);
    // Qt's own reading finds the configuration made and keeps it.
    EXPECT_FALSE(QFontDatabase::families().isEmpty());
    EXPECT_EQ(FcConfigGetCurrent(), config);
}
