// Libraries of our own loaded on first use: the printer list loads Qt Print
// Support only when printers are first listed, and a library that cannot be
// loaded says why.
#include "platform/OwnLibrary.h"
#include "platform/Printers.h"

#include <QPrinterInfo>

#include <dlfcn.h>

#include <gtest/gtest.h>

namespace {

bool isLoaded(const char *fileName)
{
    void *handle = dlopen(fileName, RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);   // only drops the reference NOLOAD took
    return handle != nullptr;
}

} // namespace

TEST(OwnLibrary, PrintersAreListedThroughALibraryLoadedAtTheFirstList)
{
    EXPECT_FALSE(isLoaded(TONVIK_PRINT_LIBRARY));
    const QStringList names = platform::availablePrinterNames();
    EXPECT_TRUE(isLoaded(TONVIK_PRINT_LIBRARY));
    EXPECT_EQ(names, QPrinterInfo::availablePrinterNames());
    EXPECT_EQ(platform::availablePrinterNames(), names);
}

TEST(OwnLibrary, ALibraryOrEntryThatCannotBeHadIsNullWithTheLinkersReasons)
{
    QString error = QStringLiteral("stale");
    EXPECT_EQ(platform::loadOwnLibrary(QStringLiteral("libtonvik-no-such-library.so.1"), "entry", &error), nullptr);
    EXPECT_TRUE(error.contains(QLatin1String("libtonvik-no-such-library.so.1"))) << error.toStdString();

    error = QStringLiteral("stale");
    EXPECT_EQ(platform::loadOwnLibrary(QStringLiteral(TONVIK_PRINT_LIBRARY), "noSuchEntry", &error), nullptr);
    EXPECT_TRUE(error.contains(QLatin1String("noSuchEntry"))) << error.toStdString();

    error = QStringLiteral("stale");
    EXPECT_NE(platform::loadOwnLibrary(QStringLiteral(TONVIK_PRINT_LIBRARY), platform::PrinterNamesEntryName, &error),
              nullptr);
    EXPECT_TRUE(error.isEmpty());
}
