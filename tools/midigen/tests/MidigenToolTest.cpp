// The midigen tool as a user runs it: its output, files and exit statuses.
#include "tools/midigen/SmfWriter.h"

#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/WavFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun midigen(const QStringList &args, const QString &midiOut = {})
{
    QProcess p;
    if (!midiOut.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TONVIK_MIDI_OUT"), midiOut);
        p.setProcessEnvironment(env);
    }
    p.start(QStringLiteral(MIDIGEN_TOOL), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Frames (10 ms) where the level jumps: the start of a struck note.
std::vector<double> onsetsSeconds(const platform::midi::PcmAudio &audio)
{
    const int frame = audio.sampleRate / 100;
    std::vector<double> energy;
    for (int64_t start = 0; start + frame <= audio.frames(); start += frame) {
        double sum = 0;
        for (int64_t i = start; i < start + frame; ++i) {
            double mono = 0;
            for (int c = 0; c < audio.channels; ++c)
                mono += audio.samples[std::size_t(i * audio.channels + c)];
            sum += mono * mono;
        }
        energy.push_back(std::sqrt(sum / frame));
    }
    std::vector<double> onsets;
    const double floor = 200.0;
    for (std::size_t i = 0; i < energy.size(); ++i) {
        const double before = i == 0 ? 0.0 : energy[i - 1];
        const bool rises = energy[i] > floor && energy[i] > 1.6 * before + floor;
        if (rises && (onsets.empty() || double(i) / 100.0 - onsets.back() > 0.2))
            onsets.push_back(double(i) / 100.0);
    }
    return onsets;
}

} // namespace

TEST(MidigenTool, DumpPrintsTheStreamEventsOnly)
{
    const ToolRun r = midigen({"dump", "--sustain", "--duration", "150", "N60,150;N64,150;N60,150"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[0], "0 176 121 0 cb");
    EXPECT_EQ(lines[1], "0 185 121 0");
    EXPECT_EQ(lines[12], "0 176 64 127");
    EXPECT_EQ(lines.mid(15), (QStringList{"0 192 0 0", "0 144 60 127", "150 144 60 0", "0 144 64 127",
                                          "150 144 64 0", "0 144 60 127", "150 144 60 0"}));

    const ToolRun opts = midigen({"dump", "--channel", "3", "--instrument", "mgViolin", "--pan", "-100", "--volume",
                              "50", "C5"});
    ASSERT_EQ(opts.exitCode, 0);
    const QStringList l = opts.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(l.size(), 18);
    EXPECT_EQ(l[7], "0 178 10 1");
    EXPECT_EQ(l[10], "0 178 7 63");
    EXPECT_EQ(l[15], "0 194 40 0");
    EXPECT_EQ(l[17], "50 146 60 0");

    const ToolRun note = midigen({"dump", "--note", "mgE", "--octave", "5", "--duration", "20"});
    ASSERT_EQ(note.exitCode, 0);
    EXPECT_TRUE(note.out.endsWith("0 144 64 127\n20 144 64 0\n")) << note.out.toStdString();
}

TEST(MidigenTool, BadUseGetsUsageAndStatus2)
{
    for (const QStringList &args : {QStringList{}, QStringList{"dump"}, QStringList{"dump", "--volume", "loud", "N60"},
                                    QStringList{"dump", "--channel", "0", "N60"},
                                    QStringList{"dump", "--frobnicate", "N60"}, QStringList{"sing", "N60"},
                                    QStringList{"export", "N60"}, QStringList{"dump", "--note", "H", ""}}) {
        const ToolRun r = midigen(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("Usage: midigen")) << r.err.toStdString();
    }
    const ToolRun empty = midigen({"dump", "E#4"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_TRUE(empty.out.isEmpty());
    EXPECT_TRUE(empty.err.contains("no notes"));
}

TEST(MidigenTool, DoubleDashEndsTheOptions)
{
    // "-" in front of a segment is no note; the N60 after it still plays.
    const ToolRun plain = midigen({"dump", "N60"});
    ASSERT_EQ(plain.exitCode, 0);
    const ToolRun dashed = midigen({"dump", "--", "-,N60"});
    EXPECT_EQ(dashed.exitCode, 0) << dashed.err.toStdString();
    EXPECT_EQ(dashed.out, plain.out);
    const ToolRun optionsFirst = midigen({"dump", "--octave", "5", "--", "-,C"});
    EXPECT_EQ(optionsFirst.exitCode, 0);
    EXPECT_TRUE(optionsFirst.out.endsWith("0 144 60 127\n50 144 60 0\n")) << optionsFirst.out.toStdString();

    const ToolRun undashed = midigen({"dump", "-,N60"});
    EXPECT_EQ(undashed.exitCode, 2) << "without -- it is taken for options";
    const ToolRun help = midigen({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("[--] PLAYSTRING"));
    EXPECT_TRUE(help.out.contains("begins with \"-\" goes after it"));
}

TEST(MidigenTool, ANoteOfDurationZeroEndsRightAfterItStarts)
{
    const ToolRun r = midigen({"dump", "--duration", "0", "N60,100;N62"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith("0 144 60 127\n0 144 60 0\n100 144 62 127\n0 144 62 0\n")) << r.out.toStdString();
}

TEST(MidigenTool, PlayOnTheCaptureOutputRunsItsClockAndPrintsWhatWasPlayed)
{
    const ToolRun r = midigen({"play", "--sustain", "--duration", "150", "--loops", "2", "N60,150;N64"}, "capture");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList notes;
    for (const QString &line : r.out.split('\n', Qt::SkipEmptyParts))
        if (line.section(' ', 1, 1) == "144")
            notes << line;
    EXPECT_EQ(notes, (QStringList{"0.000 144 60 127", "1500.000 144 60 0", "1500.000 144 64 127",
                                  "3000.000 144 64 0", "3000.000 144 60 127", "4500.000 144 60 0",
                                  "4500.000 144 64 127", "6000.000 144 64 0"}));
    // Damper up and all notes off when the stream ends, sent directly.
    EXPECT_TRUE(r.out.contains("6000.000 176 64 0 direct\n6000.000 176 123 0 direct")) << r.out.toStdString();

    const ToolRun endless = midigen({"play", "--loops", "0", "N60"}, "capture");
    EXPECT_EQ(endless.exitCode, 1);
    EXPECT_TRUE(endless.out.isEmpty());
    EXPECT_TRUE(endless.err.contains("never happens on the capture output")) << endless.err.toStdString();
}

TEST(MidigenTool, PlayWithoutADeviceFailsClearly)
{
    const ToolRun r = midigen({"play", "N60"}, "none");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("no MIDI output device")) << r.err.toStdString();
}

TEST(MidigenTool, ExportWritesAStandardMidiFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("q.mid");
    const ToolRun r = midigen({"export", "--sustain", "--duration", "150", "N60,0;N64,150", "-o", path});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    ASSERT_GE(data.size(), 22);
    EXPECT_EQ(data.left(14), QByteArray("MThd\0\0\0\6\0\0\0\1\0\x32", 14));
    EXPECT_EQ(data.mid(14, 4), "MTrk");
    const int length = (uchar(data[18]) << 24) | (uchar(data[19]) << 16) | (uchar(data[20]) << 8) | uchar(data[21]);
    EXPECT_EQ(length, data.size() - 22);
    EXPECT_EQ(data.mid(22, 7), QByteArray("\0\xFF\x51\x03\x07\xA1\x20", 7));
    EXPECT_TRUE(data.endsWith(QByteArray("\0\xFF\x2F\0", 4)));
    // The harmonic question ends with two note offs 150 ticks after the ons:
    // variable-length 150 is 0x81 0x16.
    EXPECT_TRUE(data.contains(QByteArray("\x81\x16\x90\x3C\x00\x00\x90\x40\x00", 9)));
}

TEST(SmfWriter, VariableLengthDeltasAndOneDataByteMessages)
{
    const std::vector<TStreamEvent> events{{0, 0, 0x0005C0}, {0x4000, 0, 0x7F3C90}, {200000, 0, 0x003C90}};
    const QByteArray track = SmfWriter::Write(events).mid(22);
    EXPECT_EQ(track, QByteArray("\0\xFF\x51\x03\x07\xA1\x20"
                                "\0\xC0\x05"
                                "\x81\x80\x00\x90\x3C\x7F"
                                "\x8C\x9A\x40\x90\x3C\x00"
                                "\0\xFF\x2F\0",
                                26));
}

TEST(MidigenTool, RenderPutsTheMelodicNotesAtTheirTimes)
{
    if (!platform::midi::FluidSynthDevice::soundFontExists(platform::midi::FluidSynthDevice::defaultSoundFont()))
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("q.wav");
    const ToolRun r = midigen({"render", "--sustain", "--duration", "150", "N60,150;N64,150;N60,150", "-o", path});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const platform::midi::PcmAudio audio = platform::midi::readWav(path);
    EXPECT_EQ(audio.sampleRate, 44100);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_GT(audio.seconds(), 4.5);
    const std::vector<double> onsets = onsetsSeconds(audio);
    ASSERT_EQ(onsets.size(), 3u) << ::testing::PrintToString(onsets);
    EXPECT_NEAR(onsets[0], 0.0, 0.03);
    EXPECT_NEAR(onsets[1], 1.5, 0.03);
    EXPECT_NEAR(onsets[2], 3.0, 0.03);
}

TEST(MidigenTool, AFailedWriteExitsWith1AndTheSystemsMessage)
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    const ToolRun run = midigen({"export", "-o", "/dev/full", "C,E,G"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("/dev/full")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("No space left on device")) << run.err.toStdString();
}

TEST(MidigenTool, RenderRefusesAStreamTooLongForAWaveFileBeforeRendering)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath("long.wav");
    QElapsedTimer clock;
    clock.start();
    const ToolRun run = midigen({"render", "-o", wav, "0;N60;2147483647"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("audio too long for a WAVE file")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(wav));
    EXPECT_LT(clock.elapsed(), 30000);
}

TEST(MidigenTool, APlayStringFromAFileOrStandardInputActsAsTheArgument)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("question.txt");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("C,E,G\n");
    }
    const ToolRun direct = midigen({"dump", "C,E,G"});
    ASSERT_EQ(direct.exitCode, 0);
    const ToolRun fromFile = midigen({"dump", "--file", path});
    EXPECT_EQ(fromFile.exitCode, 0);
    EXPECT_EQ(fromFile.out, direct.out);

    QProcess p;
    p.setStandardInputFile(path);
    p.start(QStringLiteral(MIDIGEN_TOOL), {"dump", "-"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), direct.out);

    const ToolRun missing = midigen({"dump", "--file", dir.filePath("none.txt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("none.txt"));
    EXPECT_EQ(midigen({"dump", "--file", path, "C"}).exitCode, 2);
}
