#include "platform/profile/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace platform::profile;

namespace {

class ProfileFile : public ::testing::Test
{
protected:
    QString path(const QString &name = "test.ini") const { return dir.filePath(name); }
    void put(const QByteArray &bytes, const QString &name = "test.ini")
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray get(const QString &name = "test.ini") const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QString read(const QString &section, const QString &key, const QString &def = "dflt")
    {
        return GetPrivateProfileString(section, key, def, path());
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ProfileFile, ReadGivesDefaultForMissingFileSectionOrKey)
{
    EXPECT_EQ(read("S", "k"), "dflt");
    put("[Other]\nk=1\n[S]\nx=2\n");
    EXPECT_EQ(read("S", "k"), "dflt");
    EXPECT_EQ(read("Nope", "x"), "dflt");
    EXPECT_EQ(read("S", "x"), "2");
    // A folder of that name is no file.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ini"));
    EXPECT_EQ(GetPrivateProfileString("S", "x", "d", path("folder.ini")), "d");
    EXPECT_FALSE(FileExists(path("folder.ini")));
    EXPECT_TRUE(FileExists(path()));
}

TEST_F(ProfileFile, NamesAreCaseInsensitiveAndBlanksAroundAreIgnored)
{
    put("; comment=zzz\r\n[  tonvik - INTERVALS (demo) ]\r\n  score 1  =  75  \r\n;Level=9\r\nLevel=\r\n");
    EXPECT_EQ(read("Tonvik - Intervals (DEMO)", "Score 1"), "75");
    EXPECT_EQ(read(" Tonvik - Intervals (DEMO)", " SCORE 1 "), "75");
    EXPECT_EQ(read("Tonvik - Intervals (DEMO)", "Level"), "") << "empty value, not the default, and not the comment";
}

TEST_F(ProfileFile, LongValuesAreCutAt2047Characters)
{
    put("[S]\nk=" + QByteArray(5000, 'x') + "\n");
    EXPECT_EQ(read("S", "k").size(), 2047);
}

TEST_F(ProfileFile, WriteCreatesFileSectionAndKey)
{
    ASSERT_TRUE(WritePrivateProfileString("Sec", "Level", "2", path()));
    ASSERT_TRUE(WritePrivateProfileString("Sec", "Score 1", "75", path()));
    EXPECT_EQ(get(), "[Sec]\nLevel=2\nScore 1=75\n");
    ASSERT_TRUE(WritePrivateProfileString("Sec", "level", "1", path()));
    EXPECT_EQ(get(), "[Sec]\nlevel=1\nScore 1=75\n") << "existing key replaced in place";
    EXPECT_TRUE(FlushPrivateProfile(path()));
}

TEST_F(ProfileFile, WriteKeepsEverythingElseByteForByte)
{
    const QByteArray before =
        "; my settings\r\n[Other]\r\nA = 1\r\n\r\n[Tonvik - Intervals (DEMO)]\r\nLevel=1\r\n; note\r\n"
        "Score 2=5\r\n\r\n[Last]\r\nB=2";
    put(before);
    ASSERT_TRUE(WritePrivateProfileString("Tonvik - Intervals (DEMO)", "Level", "2", path()));
    ASSERT_TRUE(WritePrivateProfileString("Tonvik - Intervals (DEMO)", "Score 1", "75", path()));
    ASSERT_TRUE(WritePrivateProfileString("New", "C", "3", path()));
    EXPECT_EQ(get(),
              "; my settings\r\n[Other]\r\nA = 1\r\n\r\n[Tonvik - Intervals (DEMO)]\r\nLevel=2\r\n; note\r\n"
              "Score 2=5\r\nScore 1=75\r\n\r\n[Last]\r\nB=2\r\n[New]\r\nC=3\r\n");
    EXPECT_EQ(read("Tonvik - Intervals (DEMO)", "Score 1"), "75");
    EXPECT_EQ(read("Other", "A"), "1");
}

TEST_F(ProfileFile, ReadOnlyFileStaysUntouched)
{
    // Also for root, whom the system would let replace it by rename.
    put("[S]\nk=1\n");
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "2", path()));
    EXPECT_FALSE(WritePrivateProfileString("T", "k", "2", path()));
    EXPECT_EQ(get(), "[S]\nk=1\n");
}

TEST_F(ProfileFile, WriteRefusesInputThatWouldBreakTheFile)
{
    put("[S]\nk=1\n");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "2\n[X]", path()));
    EXPECT_FALSE(WritePrivateProfileString("S]", "k", "2", path()));
    EXPECT_FALSE(WritePrivateProfileString("S", "a=b", "2", path()));
    EXPECT_FALSE(WritePrivateProfileString("S", "", "2", path()));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "2", dir.filePath("no/such/folder.ini")));
    EXPECT_EQ(get(), "[S]\nk=1\n");
}

TEST_F(ProfileFile, WriteNeverLeavesATruncatedFile)
{
    // /dev/full fails every write: the folder holds no temporary leftovers
    // and the target is not replaced.
    put("[S]\nk=1\n");
    const auto files = QDir::Files | QDir::Hidden;
    QStringList before = QDir(dir.path()).entryList(files);
    // A folder where nothing may be created: the old content stays.
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    QFile::copy(path(), dir.filePath("locked/t.ini"));
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
    bool wrote = WritePrivateProfileString("S", "k", "2", dir.filePath("locked/t.ini"));
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile f(dir.filePath("locked/t.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray after = f.readAll();
    EXPECT_TRUE(after == "[S]\nk=1\n" || (wrote && after == "[S]\nk=2\n")) << after.constData();
    EXPECT_EQ(QDir(dir.path()).entryList(files), before);
}

TEST_F(ProfileFile, ALoneCrEndsALineAndNewLinesTakeTheFilesEnding)
{
    put("[Tonvik - Intervals (DEMO)]\rLevel=2\rScore 1=75\rScore 2=50\r");
    EXPECT_EQ(read("Tonvik - Intervals (DEMO)", "Level"), "2");
    EXPECT_EQ(read("Tonvik - Intervals (DEMO)", "Score 1"), "75");
    EXPECT_EQ(read("Tonvik - Intervals (DEMO)", "Score 2"), "50");

    ASSERT_TRUE(WritePrivateProfileString("Tonvik - Intervals (DEMO)", "Score 3", "25", path()));
    ASSERT_TRUE(WritePrivateProfileString("Other", "k", "v", path()));
    EXPECT_EQ(get(), "[Tonvik - Intervals (DEMO)]\rLevel=2\rScore 1=75\rScore 2=50\rScore 3=25\r[Other]\rk=v\r");
    EXPECT_EQ(read("Tonvik - Intervals (DEMO)", "Score 2"), "50");
    EXPECT_EQ(read("Other", "k"), "v");

    // Mixed endings are each kept; an empty line between CR and LF pairs
    // stays a line of its own.
    put("[S]\r\na=1\rb=2\n\r\rc=3");
    EXPECT_EQ(read("S", "b"), "2");
    EXPECT_EQ(read("S", "c"), "3");
    ASSERT_TRUE(WritePrivateProfileString("S", "a", "9", path()));
    EXPECT_EQ(get(), "[S]\r\na=9\rb=2\n\r\rc=3");
    ASSERT_TRUE(WritePrivateProfileString("S", "d", "4", path()));
    EXPECT_EQ(get(), "[S]\r\na=9\rb=2\n\r\rc=3\r\nd=4\r\n");
}

TEST_F(ProfileFile, WritesNeverGoThroughALink)
{
    put("[S]\nk=1\n", "target.ini");
    ASSERT_TRUE(QFile::link(path("target.ini"), path()));
    EXPECT_EQ(read("S", "k"), "1") << "reads follow the link";
    EXPECT_EQ(PrivateProfileAccess(path()), ProfileAccess::Readable);
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "2", path()));
    EXPECT_EQ(get("target.ini"), "[S]\nk=1\n");
    EXPECT_TRUE(QFileInfo(path()).isSymLink());

    // A link to nothing: the name it points to is not created.
    ASSERT_TRUE(QFile::link(path("absent.ini"), path("dangling.ini")));
    EXPECT_EQ(PrivateProfileAccess(path("dangling.ini")), ProfileAccess::Unreadable);
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "2", path("dangling.ini")));
    EXPECT_FALSE(QFileInfo::exists(path("absent.ini")));
}

TEST_F(ProfileFile, FilesOverTheSizeLimitAndOtherThanRegularFilesAreLeftAlone)
{
    // At the limit (padded with NUL bytes, sparse) the file is read and
    // written; one byte more and it is neither.
    put("[S]\nk=1\n");
    ASSERT_EQ(::truncate(QFile::encodeName(path()).constData(), MaxProfileFileSize), 0);
    EXPECT_EQ(read("S", "k"), "1");
    EXPECT_TRUE(WritePrivateProfileString("S", "k", "2", path()));
    EXPECT_EQ(QFileInfo(path()).size(), MaxProfileFileSize);
    ASSERT_EQ(::truncate(QFile::encodeName(path()).constData(), MaxProfileFileSize + 1), 0);
    EXPECT_EQ(read("S", "k"), "dflt");
    EXPECT_EQ(PrivateProfileAccess(path()), ProfileAccess::Unreadable);
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "3", path()));
    EXPECT_EQ(QFileInfo(path()).size(), MaxProfileFileSize + 1);
    EXPECT_EQ(get().left(8), "[S]\nk=2\n");

    // A FIFO is neither waited on nor replaced.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo.ini")).constData(), 0644), 0);
    EXPECT_EQ(GetPrivateProfileString("S", "k", "d", path("fifo.ini")), "d");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "2", path("fifo.ini")));
    EXPECT_FALSE(QFileInfo(path("fifo.ini")).isFile());
    EXPECT_EQ(PrivateProfileAccess(path("none.ini")), ProfileAccess::Missing);
}

TEST_F(ProfileFile, ByteOrderMarks)
{
    put("\xEF\xBB\xBF[S]\r\nk=1\r\n");
    EXPECT_EQ(read("S", "k"), "1");
    ASSERT_TRUE(WritePrivateProfileString("S", "j", "2", path()));
    EXPECT_EQ(get(), "\xEF\xBB\xBF[S]\r\nk=1\r\nj=2\r\n");
    put("\xEF\xBB\xBF");
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "1", path()));
    EXPECT_EQ(get(), "\xEF\xBB\xBF[S]\nk=1\n");

    // A mark inside a line is text: a value that starts with one reads
    // back with it, and a key that starts with one is another key.
    put("[S]\n");
    const QString marked = QString(QChar(0xFEFF)) + "v";
    ASSERT_TRUE(WritePrivateProfileString("S", "k", marked, path()));
    EXPECT_EQ(get(), "[S]\nk=\xEF\xBB\xBFv\n");
    EXPECT_EQ(read("S", "k"), marked);
    put("[S]\n\xEF\xBB\xBFk=1\n");
    EXPECT_EQ(read("S", "k"), "dflt");

    const QByteArray wide("\xFF\xFE[\0S\0]\0\n\0", 10);
    put(wide);
    EXPECT_EQ(read("S", "k"), "dflt");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "1", path()));
    EXPECT_EQ(get(), wide);
}

TEST_F(ProfileFile, AReplacedFileKeepsItsPermissionsAndAnUnchangedOneIsNotRewritten)
{
    put("[S]\nk=1\n");
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "2", path()));
    struct stat before, after;
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &before), 0);
    EXPECT_EQ(before.st_mode & 07777, 0640u);
    EXPECT_TRUE(WritePrivateProfileString("S", "k", " 2 ", path()));
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "rewritten although nothing changed";
    EXPECT_EQ(get(), "[S]\nk=2\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"test.ini"});
}
