#include "coolctrls/CoolUtils.h"
#include "platform/Exception.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

using namespace coolctrls;

TEST(CoolOptions, WallpaperAndTransparencyExcludeEachOtherTheNewOneWins)
{
    const TCoolOptions wall{ocPaintWallpaper}, trans{ocPaintTransparently};
    const TCoolOptions both{ocPaintWallpaper, ocPaintTransparently};
    EXPECT_EQ(ExcludeConflictingOptions(wall, both), trans);
    EXPECT_EQ(ExcludeConflictingOptions(trans, both), wall);
    // Neither set before: both may stay.
    EXPECT_EQ(ExcludeConflictingOptions({ocNoCaption}, both), both);
    // Other values pass through untouched.
    EXPECT_EQ(ExcludeConflictingOptions(wall, TCoolOptions{ocPaintTransparently, ocFlatBorder}),
              (TCoolOptions{ocPaintTransparently, ocFlatBorder}));
    EXPECT_EQ(TCoolOptions{ocPaintTransparently}.toInt(), 1u << 20);
}

TEST(CoolOptions, WrittenAsValueNamesAndReadBack)
{
    const TCoolOptions opts{ocPaintWallpaper, ocNoCaption, ocPaintTransparently};
    EXPECT_EQ(CoolOptionsToString(opts), QStringLiteral("[ocPaintWallpaper,ocNoCaption,ocPaintTransparently]"));
    EXPECT_EQ(StringToCoolOptions(QStringLiteral("[ ocPaintWallpaper , ocNoCaption,ocPaintTransparently ]")), opts);
    EXPECT_EQ(StringToCoolOptions(QStringLiteral("[]")), TCoolOptions{});
    EXPECT_THROW(StringToCoolOptions(QStringLiteral("[ocBogus]")), platform::EConvertError);
    EXPECT_THROW(StringToCoolOptions(QStringLiteral("ocNoCaption")), platform::EConvertError);
}

TEST(StringRoutines, ReverseLastPosParentFolderAndRectSides)
{
    EXPECT_EQ(ReverseString(QStringLiteral("abc")), QStringLiteral("cba"));
    EXPECT_EQ(ReverseString(QString()), QString());
    // Counted from the end: the last "ab" of "abxab" starts 2 from the end.
    EXPECT_EQ(LastPos(QStringLiteral("ab"), QStringLiteral("abxab")), 1);
    EXPECT_EQ(LastPos(QStringLiteral("x"), QStringLiteral("abxab")), 3);
    EXPECT_EQ(LastPos(QStringLiteral("q"), QStringLiteral("abxab")), 0);
    EXPECT_EQ(LastPos(QString(), QStringLiteral("abc")), 0);

    EXPECT_EQ(ExtractParentFolder(QStringLiteral("/data/sub/")), QStringLiteral("/data/"));
    EXPECT_EQ(ExtractParentFolder(QStringLiteral("/data/sub")), QStringLiteral("/data/"));
    EXPECT_EQ(ExtractParentFolder(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(ExtractParentFolder(QStringLiteral("name")), QStringLiteral("name"));

    QRect r(10, 10, 20, 20);
    AdjustRectSides(r, -1, 2, 3, -4);
    EXPECT_EQ(r, QRect(QPoint(9, 12), QPoint(32, 25)));
}

TEST(ColourAndNumberRoutines, InvertColorAndMulDiv)
{
    EXPECT_EQ(InvertColor(platform::TColor(0x00102030)), platform::TColor(0x00EFDFCFu));
    EXPECT_EQ(InvertColor(platform::clBlack), platform::TColor(0x00FFFFFFu));
    EXPECT_EQ(InvertColor(platform::clBtnHighlight), platform::clBlack); // system colours resolved: white
    EXPECT_EQ(MulDiv(1, 255, 2), 128);
    EXPECT_EQ(MulDiv(-1, 255, 2), -128);
    EXPECT_EQ(MulDiv(3, 100, 4), 75);
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
}

TEST(Controls, ParentAtLevelAndCoolClassNames)
{
    QWidget top;
    auto *mid = new QWidget(&top);
    auto *leaf = new QWidget(mid);
    EXPECT_EQ(GetParentAtLevel(leaf, 0), leaf);
    EXPECT_EQ(GetParentAtLevel(leaf, 1), mid);
    EXPECT_EQ(GetParentAtLevel(leaf, 2), &top);
    EXPECT_EQ(GetParentAtLevel(leaf, 255), &top); // stops at the top
    EXPECT_EQ(GetParentAtLevel(nullptr, 3), nullptr);
    EXPECT_FALSE(IsCoolControl(&top));
    EXPECT_FALSE(IsCoolControl(nullptr));
}

TEST(GetFolderList, DirectoriesFirstThenFilesEachCaseInsensitive)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QDir dir(tmp.path());
    for (const char *d : {"c", "A", "z", "Y"})
        ASSERT_TRUE(dir.mkdir(QString::fromLatin1(d)));
    for (const char *f : {"b.txt", "a.txt", "A.TXT2", ".hidden", "readme"}) {
        QFile file(dir.filePath(QString::fromLatin1(f)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const uint32_t wanted = faDirectory | faArchive;
    EXPECT_EQ(GetFolderList(tmp.path(), QStringLiteral("*.*"), wanted),
              (QStringList{"A", "c", "Y", "z", "a.txt", "A.TXT2", "b.txt", "readme"}));
    // Trailing separator, a mask (case-insensitive), files only.
    EXPECT_EQ(GetFolderList(tmp.path() + QLatin1Char('/'), QStringLiteral("*.TXT"), faArchive),
              (QStringList{"a.txt", "b.txt"}));
    // Hidden entries only with faHidden.
    EXPECT_TRUE(GetFolderList(tmp.path(), QStringLiteral("*.*"), faAnyFile).contains(QStringLiteral(".hidden")));
    EXPECT_FALSE(GetFolderList(tmp.path(), QStringLiteral("*.*"), wanted).contains(QStringLiteral(".hidden")));
    // Directories only.
    EXPECT_EQ(GetFolderList(tmp.path(), QStringLiteral("*"), faDirectory), (QStringList{"A", "c", "Y", "z"}));
    // Nothing to read: an empty list.
    EXPECT_TRUE(GetFolderList(tmp.path() + QStringLiteral("/missing"), QStringLiteral("*"), faAnyFile).isEmpty());
}

TEST(ColourNames, AllFortyTwoNamesConvertBothWays)
{
    ASSERT_EQ(colorNames().size(), 42u);
    EXPECT_EQ(basicColorNames().size(), 16);
    EXPECT_EQ(basicColorNames().front(), QStringLiteral("clBlack"));
    for (const auto &[value, name] : colorNames()) {
        EXPECT_EQ(ColorToString(value), name);
        EXPECT_EQ(StringToColor(name), value);
        EXPECT_EQ(StringToColor(name.toUpper()), value);
    }
    EXPECT_EQ(ColorToString(platform::TColor(0x00123456)), QStringLiteral("$00123456"));
    EXPECT_EQ(StringToColor(QStringLiteral("$00123456")), platform::TColor(0x00123456u));
    EXPECT_EQ(StringToColor(QStringLiteral("255")), platform::clRed);
    EXPECT_THROW(StringToColor(QStringLiteral("Chartreuse")), platform::EConvertError);
}
