#include "AppTestSupport.h"

#include "app/TSettingsFile.h"
#include "platform/Exception.h"

using namespace app;
using apptest::AppTest;

using Settings = AppTest;

namespace {

QString loadError()
{
    try {
        LoadSettings();
    } catch (const platform::EConvertError &e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST_F(Settings, NoFileGivesLevelOneAndZeroScoresAndIsCreatedAtSave)
{
    EXPECT_EQ(loadError(), "");
    EXPECT_EQ(Quiz.Level, 1);
    EXPECT_EQ(Quiz.HighScore[1], 0);
    EXPECT_EQ(Quiz.HighScore[2], 0);
    EXPECT_EQ(settings(), "<missing>") << "loading creates nothing";
    Quiz.Level = 2;
    Quiz.HighScore[2] = 60;
    SaveSettings();
    EXPECT_EQ(settings(), "[Tonvik - Intervals (DEMO)]\nLevel=2\nScore 1=0\nScore 2=60\n");
}

TEST_F(Settings, ValuesAreReadWithDefaultsForMissingKeys)
{
    writeSettings("[tonvik - intervals (demo)]\nLevel = 2\nScore 1=-5\n");
    EXPECT_EQ(loadError(), "");
    EXPECT_EQ(Quiz.Level, 2);
    EXPECT_EQ(Quiz.HighScore[1], -5) << "no range check on scores";
    EXPECT_EQ(Quiz.HighScore[2], 0);
}

TEST_F(Settings, BadNumbersRaiseTheConversionErrorAndLeaveLaterKeysAtZero)
{
    writeSettings("[Tonvik - Intervals (DEMO)]\nLevel=2\nScore 1=abc\nScore 2=50\n");
    EXPECT_EQ(loadError(), "'abc' is not a valid integer value");
    EXPECT_EQ(Quiz.Level, 2);
    EXPECT_EQ(Quiz.HighScore[1], 0);
    EXPECT_EQ(Quiz.HighScore[2], 0);

    writeSettings("[Tonvik - Intervals (DEMO)]\nLevel=2\nScore 1=10\nScore 2=\n");
    EXPECT_EQ(loadError(), "'' is not a valid integer value");
    EXPECT_EQ(Quiz.HighScore[1], 10);
    EXPECT_EQ(Quiz.HighScore[2], 0);
}

TEST_F(Settings, ALevelOutsideOneAndTwoFallsBackToOne)
{
    for (const char *level : {"3", "0", "-1", "99999999999"}) {
        writeSettings(QByteArray("[Tonvik - Intervals (DEMO)]\nLevel=") + level + "\nScore 1=7\n");
        QString error = loadError();
        EXPECT_EQ(Quiz.Level, 1) << level;
        if (error.isEmpty()) {
            EXPECT_EQ(Quiz.HighScore[1], 7);
        }
    }
    writeSettings("[Tonvik - Intervals (DEMO)]\nLevel=x\n");
    EXPECT_EQ(loadError(), "'x' is not a valid integer value");
    EXPECT_EQ(Quiz.Level, 1) << "a usable level even after the error";
    writeSettings("[Tonvik - Intervals (DEMO)]\nLevel=\nScore 1=5\n");
    EXPECT_EQ(loadError(), "'' is not a valid integer value");
    EXPECT_EQ(Quiz.Level, 1);
    EXPECT_EQ(Quiz.HighScore[1], 0);
}

TEST_F(Settings, SaveKeepsOtherSectionsCommentsAndLineEndings)
{
    const QByteArray other = "; written by hand\r\n[Other]\r\nkey = value \r\n\r\n";
    writeSettings(other + "[Tonvik - Intervals (DEMO)]\r\nScore 2=40\r\nLevel=1\r\n");
    LoadSettings();
    Quiz.Level = 2;
    Quiz.HighScore[1] = 75;
    SaveSettings();
    EXPECT_EQ(settings(), other + "[Tonvik - Intervals (DEMO)]\r\nScore 2=40\r\nLevel=2\r\nScore 1=75\r\n");
}

TEST_F(Settings, ReadOnlyFileIsLeftUntouchedSilently)
{
    const QByteArray before = "[Tonvik - Intervals (DEMO)]\nLevel=1\n";
    writeSettings(before);
    QFile::setPermissions("melbrook.ini", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    LoadSettings();
    Quiz.Level = 2;
    EXPECT_NO_THROW(SaveSettings());
    EXPECT_EQ(settings(), before);
}

TEST_F(Settings, FailingWriteNamesTheFile)
{
    TSettingsFile file(QDir::current().filePath("no/such/folder/melbrook.ini"));
    try {
        file.WriteInteger("S", "k", 1);
        FAIL() << "no error";
    } catch (const platform::Exception &e) {
        EXPECT_TRUE(e.message().startsWith("Unable to write to ")) << e.message().toStdString();
        EXPECT_TRUE(e.message().endsWith("no/such/folder/melbrook.ini"));
    }
}

TEST_F(Settings, IntegerConversion)
{
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt(" -7 "), -7);
    EXPECT_EQ(StrToInt("+3"), 3);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    for (const char *bad : {"", " ", "1.5", "0x10", "2147483648", "12abc"})
        EXPECT_THROW(StrToInt(bad), platform::EConvertError) << bad;
    for (const QString &bad : {QString("1") + QChar(0) + "2", QString("3") + QChar(0), QString("+"), QString("-"),
                               QString("\u0663")})  // an Arabic-Indic three
        EXPECT_THROW(StrToInt(bad), platform::EConvertError) << bad.toStdString();
}
