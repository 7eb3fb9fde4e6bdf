// Damaged, odd and hostile settings files, each met by the program's real
// start and close: the main window is created as the program entry creates
// it (which reads the file), shown, and closed (which writes it). Errors go
// to the test main's capture instead of a dialog. Whatever is in place of
// the file, the program starts, shows at most the conversion error of a bad
// number, and never cuts, replaces or writes through what it did not read.
#include "AppTestSupport.h"

#include "app/TfMain.h"
#include "coolctrls/TCoolComboBox.h"
#include "coolctrls/TCoolLabel.h"
#include "platform/Application.h"
#include "platform/midi/CaptureDevice.h"
#include "platform/profile/ProfileFile.h"
#include "platform/testing/ErrorCapture.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

using namespace app;

namespace {

const QByteArray Section = "[Tonvik - Intervals (DEMO)]";

// What one start and close of the program showed and read.
struct ProgramRun
{
    QStringList atStart;  // messages shown while the window was created
    QStringList atClose;  // messages shown when it closed
    int levelEntry = -1;
    QString highScore;
    int score[3] = {0, 0, 0};
};

class HostileSettings : public apptest::AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        platform::midi::CaptureDevice::install().clear();
    }

    // Starts the program, lets during() act as the user's run (it may change
    // the quiz state the close writes), and closes it.
    ProgramRun startAndClose(const std::function<void()> &during = {})
    {
        ProgramRun run;
        platform::testsupport::ErrorCapture errors;
        {
            TfMain fMain;
            fMain.show();
            platform::processMessages();
            run.atStart = errors.messages();
            errors.clear();
            run.levelEntry = fMain.cbLevel()->ItemIndex();
            run.highScore = fMain.lHighScore()->Caption();
            run.score[1] = Quiz.HighScore[1];
            run.score[2] = Quiz.HighScore[2];
            if (during)
                during();
            fMain.close();
            platform::processMessages();
            run.atClose = errors.messages();
        }
        ResetQuizState();
        return run;
    }

    // A run that reaches new high scores on both levels, to be written.
    static void newHighScores()
    {
        Quiz.HighScore[1] = 91;
        Quiz.HighScore[2] = 92;
    }

    // Every name in the working folder, hidden ones (temporary files) too.
    static QStringList entries(const QString &path = ".")
    {
        return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    static QByteArray contentOf(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    static void expectUntouchedStart(const ProgramRun &run)
    {
        EXPECT_EQ(run.atStart, QStringList());
        EXPECT_EQ(run.levelEntry, 0);
        EXPECT_EQ(run.highScore, "(High-score: 0%)");
        EXPECT_EQ(run.atClose, QStringList());
    }
};

// Deterministic random bytes (xorshift64*), so a failure can be repeated.
QByteArray randomBytes(qsizetype size, quint64 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint64 x = seed | 1;
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        x ^= x >> 12;
        x ^= x << 25;
        x ^= x >> 27;
        const quint64 v = x * 0x2545F4914F6CDD1DULL;
        memcpy(bytes.data() + i, &v, 8);
    }
    for (; i < size; ++i)
        bytes[i] = char(i * 131);
    return bytes;
}

// For the length of a scope, the process acts as an ordinary user: as root
// the effective user and group become nobody's, since root reads and writes
// files whatever their permissions say.
class OrdinaryUser
{
public:
    OrdinaryUser()
    {
        if (::geteuid() != 0)
            return;
        m_dropped = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
        if (!m_dropped)
            restore();
    }
    ~OrdinaryUser()
    {
        if (m_dropped)
            restore();
    }
    OrdinaryUser(const OrdinaryUser &) = delete;
    OrdinaryUser &operator=(const OrdinaryUser &) = delete;

    bool ordinary() const { return ::geteuid() != 0; }

private:
    static void restore()
    {
        (void)!::seteuid(0);
        (void)!::setegid(0);
    }
    bool m_dropped = false;
};

} // namespace

TEST_F(HostileSettings, AFolderOfThatNameIsNeitherReadNorReplaced)
{
    ASSERT_TRUE(QDir().mkdir("melbrook.ini"));
    QFile inside("melbrook.ini/inside.txt");
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.write(Section + "\nLevel=2\n");
    inside.close();

    const ProgramRun run = startAndClose(newHighScores);
    expectUntouchedStart(run);
    EXPECT_TRUE(QFileInfo("melbrook.ini").isDir());
    EXPECT_EQ(entries(), QStringList{"melbrook.ini"});
    EXPECT_EQ(entries("melbrook.ini"), QStringList{"inside.txt"});
    EXPECT_EQ(contentOf("melbrook.ini/inside.txt"), Section + "\nLevel=2\n");
}

TEST_F(HostileSettings, ALinkIsReadThroughButNeverWrittenThrough)
{
    // A link to settings kept elsewhere: read, shown, and left alone at
    // close, the link as well as the file it points to.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString target = elsewhere.filePath("shared.ini");
    const QByteArray shared = Section + "\nLevel=2\nScore 1=10\nScore 2=75\n";
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(shared);
    }
    struct stat before;
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &before), 0);
    ASSERT_TRUE(QFile::link(target, "melbrook.ini"));

    ProgramRun run = startAndClose(newHighScores);
    EXPECT_EQ(run.atStart, QStringList());
    EXPECT_EQ(run.levelEntry, 1);
    EXPECT_EQ(run.highScore, "(High-score: 75%)");
    EXPECT_EQ(run.atClose, QStringList());
    EXPECT_EQ(QFileInfo("melbrook.ini").symLinkTarget(), target);
    EXPECT_EQ(contentOf(target), shared);
    struct stat after;
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the target was replaced";
    EXPECT_EQ(entries(), QStringList{"melbrook.ini"});
    EXPECT_EQ(entries(elsewhere.path()), QStringList{"shared.ini"});

    // A link to nothing: the file it names is not created.
    ASSERT_TRUE(QFile::remove("melbrook.ini"));
    ASSERT_TRUE(QFile::link(elsewhere.filePath("new.ini"), "melbrook.ini"));
    expectUntouchedStart(startAndClose(newHighScores));
    EXPECT_EQ(entries(elsewhere.path()), QStringList{"shared.ini"});
    EXPECT_TRUE(QFileInfo("melbrook.ini").isSymLink());

    // A link to a device that never ends: not read, not written.
    ASSERT_TRUE(QFile::remove("melbrook.ini"));
    ASSERT_TRUE(QFile::link("/dev/zero", "melbrook.ini"));
    expectUntouchedStart(startAndClose(newHighScores));
    EXPECT_EQ(QFileInfo("melbrook.ini").symLinkTarget(), "/dev/zero");
}

TEST_F(HostileSettings, FilesBeyondTheSizeLimitAreNeitherReadNorWritten)
{
    // 50 MB of random bytes (from the kernel: quick also under the
    // sanitizers): refused unread, so neither held in memory nor rewritten.
    QFile urandom("/dev/urandom");
    ASSERT_TRUE(urandom.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    const QByteArray noise = urandom.read(50 * 1000 * 1000);
    ASSERT_EQ(noise.size(), 50 * 1000 * 1000);
    writeSettings(noise);
    expectUntouchedStart(startAndClose(newHighScores));
    EXPECT_TRUE(settings() == noise) << "the file changed";
    EXPECT_EQ(entries(), QStringList{"melbrook.ini"});

    // A file that claims 3 GiB (sparse, so cheap to make), its settings in
    // front: refused on its size alone.
    writeSettings(Section + "\nLevel=2\nScore 2=60\n");
    ASSERT_EQ(::truncate("melbrook.ini", 3LL << 30), 0);
    expectUntouchedStart(startAndClose(newHighScores));
    EXPECT_EQ(QFileInfo("melbrook.ini").size(), 3LL << 30);
    EXPECT_EQ(entries(), QStringList{"melbrook.ini"});
}

TEST_F(HostileSettings, RandomBytesBelowTheLimitAreKeptAroundTheSettings)
{
    // A megabyte of noise with the settings section after it: the values
    // are found, and the close adds its key without changing a byte of the
    // rest. New lines take the ending of the file's first line, whatever
    // the noise holds.
    const QByteArray before = randomBytes(1 << 20, 42) + "\n" + Section + "\nLevel=2\nScore 1=33";
    writeSettings(before);
    const ProgramRun run = startAndClose([] { Quiz.HighScore[2] = 44; });
    EXPECT_EQ(run.atStart, QStringList());
    EXPECT_EQ(run.levelEntry, 1);
    EXPECT_EQ(run.score[1], 33);
    EXPECT_EQ(run.atClose, QStringList());
    const QByteArray after = settings();
    ASSERT_TRUE(after.startsWith(before)) << "bytes before the new key changed";
    const QByteArray added = after.sliced(before.size());
    EXPECT_TRUE(added == "\nScore 2=44\n" || added == "\r\nScore 2=44\r\n" || added == "\rScore 2=44\r")
        << added.toPercentEncoding().constData();

    const ProgramRun again = startAndClose();
    EXPECT_EQ(again.levelEntry, 1);
    EXPECT_EQ(again.score[1], 33);
    EXPECT_EQ(again.score[2], 44);
    EXPECT_TRUE(settings() == after) << "an unchanged run rewrote the file";
}

TEST_F(HostileSettings, AMegabyteLineIsReadCutAndNeverCostsTheValuesAfterIt)
{
    // Another program's megabyte value, then a score of a million digits:
    // the score is shown cut to the profile functions' 2047 characters in
    // the conversion error, and the score after it, never read, is not
    // overwritten at close.
    const QByteArray blob(1 << 20, 'x');
    const QByteArray digits(1 << 20, '7');
    const QByteArray before = "[Other]\r\nblob=" + blob + "\r\n" + Section + "\r\nLevel=2\r\nScore 1=" + digits
                              + "\r\nScore 2=50";
    writeSettings(before);
    ProgramRun run = startAndClose();
    EXPECT_EQ(run.atStart, QStringList{"'" + QString(2047, '7') + "' is not a valid integer value"});
    EXPECT_EQ(run.levelEntry, 1);
    EXPECT_EQ(run.highScore, "(High-score: 0%)");
    EXPECT_EQ(run.atClose, QStringList());
    EXPECT_TRUE(settings() == before) << "a run that changed nothing rewrote the file";

    // A new high score on level 2 replaces the stored one in place; the
    // megabyte lines stay as they were.
    run = startAndClose([] { Quiz.HighScore[2] = 70; });
    EXPECT_EQ(run.atClose, QStringList());
    QByteArray expected = before;
    expected.replace("Score 2=50", "Score 2=70");
    EXPECT_TRUE(settings() == expected);
}

TEST_F(HostileSettings, NulBytesAreKeptAndAValueHoldingOneIsABadNumber)
{
    // NUL bytes around the settings (a file cut short by a crash is often
    // padded with them) do not hide the values.
    const QByteArray nuls(4096, '\0');
    const QByteArray padded = nuls + "\n" + Section + "\nLevel=2\n" + nuls + "\nScore 1=60\n" + nuls;
    writeSettings(padded);
    ProgramRun run = startAndClose([] { Quiz.HighScore[2] = 70; });
    EXPECT_EQ(run.atStart, QStringList());
    EXPECT_EQ(run.levelEntry, 1);
    EXPECT_EQ(run.score[1], 60);
    EXPECT_EQ(settings(), padded + "\nScore 2=70\n") << "the last NUL line ends the section";

    // A NUL inside a number makes it no number; what follows is not lost.
    const QByteArray broken = Section + "\nLevel=2\nScore 1=6" + QByteArray(1, '\0') + "0\nScore 2=50\n";
    writeSettings(broken);
    run = startAndClose();
    EXPECT_EQ(run.atStart, QStringList{QString("'6") + QChar(0) + "0' is not a valid integer value"});
    EXPECT_EQ(run.levelEntry, 1);
    EXPECT_EQ(run.score[1], 0);
    EXPECT_EQ(run.atClose, QStringList());
    EXPECT_TRUE(settings() == broken);
}

TEST_F(HostileSettings, InvalidUtf8IsKeptByteForByteAndNeverReadsAsDigits)
{
    // Bytes that are no UTF-8 (a name in an 8-bit code page, a stray byte,
    // an overlong encoding of "0") are kept as they are; the overlong "0"
    // does not turn 4 into 40.
    const QByteArray before = "[Other]\nName=M\xFCller\n" + Section + "\nLevel=2\xFF\xFE\nScore 1=4\xC0\xB0\n"
                              "Score 2=50\n";
    writeSettings(before);
    ProgramRun run = startAndClose();
    EXPECT_EQ(run.atStart, QStringList{QString("'2\uFFFD\uFFFD' is not a valid integer value")});
    EXPECT_EQ(run.levelEntry, 0);
    EXPECT_EQ(run.atClose, QStringList());
    EXPECT_TRUE(settings() == before);

    writeSettings("[\xFF\xFE]\nk=\xFF\n" + Section + "\nLevel=1\nScore 1=4\xC0\xB0\n");
    run = startAndClose();
    EXPECT_EQ(run.atStart, QStringList{QString("'4\uFFFD\uFFFD' is not a valid integer value")});
    EXPECT_EQ(run.score[1], 0);
}

TEST_F(HostileSettings, ByteOrderMarks)
{
    // A UTF-8 mark, as some editors save: the section right after it is
    // found and the mark is kept, so no second section is added.
    const QByteArray marked = "\xEF\xBB\xBF" + Section + "\r\nLevel=2\r\nScore 1=35\r\n";
    writeSettings(marked);
    ProgramRun run = startAndClose([] { Quiz.HighScore[2] = 5; });
    EXPECT_EQ(run.atStart, QStringList());
    EXPECT_EQ(run.levelEntry, 1);
    EXPECT_EQ(run.score[1], 35);
    EXPECT_EQ(settings(), marked + "Score 2=5\r\n");

    // UTF-16, as a Windows editor may save: not read, and not turned into a
    // mix of encodings by an 8-bit key added at its end.
    QByteArray wide = "\xFF\xFE";
    for (char c : Section + "\r\nLevel=2\r\n")
        wide += QByteArray(1, c) + '\0';
    writeSettings(wide);
    expectUntouchedStart(startAndClose(newHighScores));
    EXPECT_TRUE(settings() == wide);
}

TEST_F(HostileSettings, CrOnlyLineEndsKeepTheirValuesAndTheirEnding)
{
    writeSettings(Section + "\rLevel=2\rScore 1=75\rScore 2=50\r");
    ProgramRun run = startAndClose([] { Quiz.HighScore[1] = 80; });
    EXPECT_EQ(run.atStart, QStringList());
    EXPECT_EQ(run.levelEntry, 1);
    EXPECT_EQ(run.highScore, "(High-score: 50%)");
    EXPECT_EQ(run.score[1], 75);
    EXPECT_EQ(settings(), Section + "\rLevel=2\rScore 1=80\rScore 2=50\r");

    writeSettings("[Other]\rk=v\r" + Section + "\rLevel=2");
    run = startAndClose([] { Quiz.HighScore[2] = 12; });
    EXPECT_EQ(settings(), "[Other]\rk=v\r" + Section + "\rLevel=2\rScore 1=0\rScore 2=12\r");
    EXPECT_EQ(startAndClose().highScore, "(High-score: 12%)");
}

TEST_F(HostileSettings, ADuplicatedSectionReadsAsOneAndTheWrittenValueWins)
{
    const QByteArray before = Section + "\nLevel=2\nScore 1=10\n[Other]\nk=v\n" + Section
                              + "\nScore 1=99\nScore 2=50\n";
    writeSettings(before);
    ProgramRun run = startAndClose([] { Quiz.HighScore[2] = 60; });
    EXPECT_EQ(run.atStart, QStringList());
    EXPECT_EQ(run.levelEntry, 1);
    EXPECT_EQ(run.score[1], 10) << "the first occurrence of a key counts";
    EXPECT_EQ(run.score[2], 50) << "a key only in the second occurrence is found";
    // The key goes into the first occurrence, where a read finds it first;
    // the second occurrence stays as it was.
    EXPECT_EQ(settings(), Section + "\nLevel=2\nScore 1=10\nScore 2=60\n[Other]\nk=v\n" + Section
                              + "\nScore 1=99\nScore 2=50\n");
    run = startAndClose();
    EXPECT_EQ(run.score[1], 10);
    EXPECT_EQ(run.score[2], 60);
}

TEST_F(HostileSettings, AFileThatCannotBeReadIsNeverWritten)
{
    const QByteArray stored = Section + "\nLevel=2\nScore 1=75\nScore 2=50\n";
    writeSettings(stored);
    ASSERT_EQ(::chmod(".", 0777), 0);  // nobody's too, for the scope below
    ASSERT_EQ(::chmod("melbrook.ini", 0), 0);
    ProgramRun run;
    {
        OrdinaryUser user;
        if (!user.ordinary())
            GTEST_SKIP() << "running as root without the right to change the effective user: root reads "
                            "every file, so no file here is unreadable";
        const int fd = ::open("melbrook.ini", O_RDONLY);
        if (fd >= 0) {
            ::close(fd);
            GTEST_SKIP() << "this user can read a file of mode 000 (a capability to bypass permissions)";
        }
        // Not seen, so not replaced by the start values or the run's scores.
        run = startAndClose(newHighScores);
    }
    expectUntouchedStart(run);
    ::chmod("melbrook.ini", 0644);
    EXPECT_EQ(settings(), stored);
    EXPECT_EQ(entries(), QStringList{"melbrook.ini"});

    // Root reads it; the missing write permission still keeps it as it is.
    if (::geteuid() == 0) {
        ::chmod("melbrook.ini", 0);
        run = startAndClose(newHighScores);
        EXPECT_EQ(run.atStart, QStringList());
        EXPECT_EQ(run.highScore, "(High-score: 50%)");
        ::chmod("melbrook.ini", 0644);
        EXPECT_EQ(settings(), stored);
    }
}

TEST_F(HostileSettings, AWorkingFolderThatCannotBeWrittenKeepsWhatIsThere)
{
    // The file itself is writable, the folder not: the file cannot be
    // replaced safely, so it stays; without a file none is created.
    const QByteArray stored = Section + "\nLevel=2\nScore 1=75\n";
    writeSettings(stored);
    ASSERT_EQ(::chmod("melbrook.ini", 0666), 0);
    ASSERT_EQ(::chmod(".", 0555), 0);
    ProgramRun withFile;
    ProgramRun withoutFile;
    bool skipped = false;
    {
        OrdinaryUser user;
        const int fd = ::open("probe", O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (!user.ordinary() || fd >= 0) {
            if (fd >= 0)
                ::close(fd);
            skipped = true;
        } else {
            withFile = startAndClose(newHighScores);
        }
    }
    ::chmod(".", 0755);
    ::unlink("probe");
    if (skipped)
        GTEST_SKIP() << "this user can create files in a folder of mode 555 (root without the right to change "
                        "the effective user)";
    EXPECT_EQ(withFile.atStart, QStringList());
    EXPECT_EQ(withFile.levelEntry, 1);
    EXPECT_EQ(withFile.highScore, "(High-score: 0%)");
    EXPECT_EQ(withFile.atClose, QStringList());
    EXPECT_EQ(settings(), stored);
    EXPECT_EQ(entries(), QStringList{"melbrook.ini"});

    ASSERT_TRUE(QFile::remove("melbrook.ini"));
    ::chmod(".", 0555);
    {
        OrdinaryUser user;
        withoutFile = startAndClose(newHighScores);
    }
    ::chmod(".", 0755);
    expectUntouchedStart(withoutFile);
    EXPECT_EQ(entries(), QStringList());
}
