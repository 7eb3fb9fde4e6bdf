#include "uFunctions.h"

#include "TSettingsFile.h"
#include "uVariables.h"

#include "platform/Exception.h"
#include "platform/profile/ProfileFile.h"

#include <chrono>
#include <random>

namespace app {

const char *const SettingsFileName = "./melbrook.ini";
const char *const SettingsSection = "Tonvik - Intervals (DEMO)";

namespace {

std::mt19937 &generator()
{
    static std::mt19937 engine(5489u);
    return engine;
}

TRandomSource &randomSource()
{
    static TRandomSource source;
    return source;
}

bool isAllowed(int interval)
{
    return interval >= 0 && interval <= 15 && (Quiz.AllowedIntervals & (1u << interval));
}

} // namespace

void SetRandomSource(TRandomSource source)
{
    randomSource() = std::move(source);
}

int Random(int n)
{
    if (n <= 1)
        return 0;
    if (randomSource())
        return randomSource()(n);
    return std::uniform_int_distribution<int>(0, n - 1)(generator());
}

void Randomize()
{
    auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    generator().seed(static_cast<std::mt19937::result_type>(now ^ (now >> 32)));
}

void NewQuestion()
{
    bool any = false;
    for (int i = 1; i <= 12; ++i)
        any = any || isAllowed(i);
    if (!any)
        throw platform::Exception("No interval to ask: the level allows none of 1 to 12");

    int interval;
    do {
        interval = Random(12) + 1;
    } while (!isAllowed(interval));
    Quiz.CurrentInterval = interval;

    const bool down = Random(2) == 1;
    const int base = LowestNote + Random(24);
    int second;
    if (!down) {
        second = base + interval;
        if (second > HighestNote)
            second = base - interval;
    } else {
        second = base - interval;
        if (second < LowestNote)
            second = base + interval;
    }
    Quiz.Notes[1] = base;
    Quiz.Notes[2] = second;
}

QString BuildPlayText(int baseNote, int secondNote, int melodic)
{
    if (melodic == 1)
        return QString("N%1,150;N%2,150;N%1,150").arg(baseNote).arg(secondNote);
    return QString("N%1,0;N%2,150").arg(baseNote).arg(secondNote);
}

void InitQuizState()
{
    Quiz.Running = false;
    Randomize();
    Quiz.Answered = false;
    Quiz.AnswerCount = 0;
    Quiz.RightCount = 0;
    Quiz.WrongCount = 0;
    Quiz.Percent = 0;
    Quiz.SecondsLeft = RunSeconds;
    if (Quiz.Level == 1 || Quiz.Level == 2)
        SelectLevel(Quiz.Level - 1);
}

bool JudgeAnswer(int tag)
{
    ++Quiz.AnswerCount;
    const bool right = Quiz.CurrentInterval == tag;
    if (right)
        ++Quiz.RightCount;
    else
        ++Quiz.WrongCount;
    Quiz.Percent = Quiz.RightCount * 100 / Quiz.AnswerCount;
    Quiz.PauseTicks = AnswerPauseTicks;
    Quiz.Answered = true;
    return right;
}

TTickAction CountDown()
{
    --Quiz.SecondsLeft;
    if (Quiz.SecondsLeft == 0) {
        Quiz.Running = false;
        return TTickAction::EndRun;
    }
    if (Quiz.Answered) {
        if (Quiz.PauseTicks == 0) {
            Quiz.Answered = false;
            return TTickAction::Ask;
        }
        --Quiz.PauseTicks;
    }
    return TTickAction::None;
}

bool RaiseHighScore()
{
    if (Quiz.Level < 1 || Quiz.Level > 2 || Quiz.HighScore[Quiz.Level] >= Quiz.Percent)
        return false;
    Quiz.HighScore[Quiz.Level] = Quiz.Percent;
    return true;
}

void SelectLevel(int entryIndex)
{
    // Both levels ask the intervals 1 to 4; they differ in how they sound.
    if (entryIndex == 0) {
        Quiz.AllowedIntervals = LevelIntervals;
        Quiz.Melodic = 1;
    } else if (entryIndex == 1) {
        Quiz.AllowedIntervals = LevelIntervals;
        Quiz.Melodic = 0;
    }
}

void LoadSettings()
{
    // Start values first, so that a bad stored value leaves a usable state.
    Quiz.Level = 1;
    Quiz.HighScore[1] = 0;
    Quiz.HighScore[2] = 0;
    SettingsFile = std::make_unique<TSettingsFile>(SettingsFileName);
    if (!platform::profile::FileExists(SettingsFileName))
        return;
    const int level = SettingsFile->ReadInteger(SettingsSection, "Level", "1");
    Quiz.Level = (level == 1 || level == 2) ? level : 1;
    Quiz.HighScore[1] = SettingsFile->ReadInteger(SettingsSection, "Score 1", "0");
    Quiz.HighScore[2] = SettingsFile->ReadInteger(SettingsSection, "Score 2", "0");
}

void SaveSettings()
{
    try {
        if (!SettingsFile)
            SettingsFile = std::make_unique<TSettingsFile>(SettingsFileName);
        SettingsFile->WriteInteger(SettingsSection, "Level", Quiz.Level);
        SettingsFile->WriteInteger(SettingsSection, "Score 1", Quiz.HighScore[1]);
        SettingsFile->WriteInteger(SettingsSection, "Score 2", Quiz.HighScore[2]);
        SettingsFile->UpdateFile();
    } catch (...) {
        // A settings file that cannot be written is not worth bothering the
        // user at close; the old file stays as it was.
    }
}

} // namespace app
