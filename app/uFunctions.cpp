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

namespace {

// The settings keys in file order. LoadSettings stops at a value that is not
// an integer, so the keys from there on are not read; SaveSettings writes such
// a key only when the run changed it, so a stored value that was never read
// (a high score after a damaged key) is not replaced by a start value.
const char *const SettingsKeys[3] = {"Level", "Score 1", "Score 2"};
int keysRead = 3;
int startValues[3] = {1, 0, 0};

int *settingsValue(int key)
{
    return key == 0 ? &Quiz.Level : &Quiz.HighScore[key];
}

} // namespace

void LoadSettings()
{
    // Start values first, so that a bad stored value leaves a usable state.
    Quiz.Level = 1;
    Quiz.HighScore[1] = 0;
    Quiz.HighScore[2] = 0;
    for (int key = 0; key < 3; ++key)
        startValues[key] = *settingsValue(key);
    keysRead = 3;
    SettingsFile = std::make_unique<TSettingsFile>(SettingsFileName);
    if (!platform::profile::FileExists(SettingsFileName))
        return;
    keysRead = 0;
    const int level = SettingsFile->ReadInteger(SettingsSection, SettingsKeys[0], "1");
    Quiz.Level = (level == 1 || level == 2) ? level : 1;
    keysRead = 1;
    Quiz.HighScore[1] = SettingsFile->ReadInteger(SettingsSection, SettingsKeys[1], "0");
    keysRead = 2;
    Quiz.HighScore[2] = SettingsFile->ReadInteger(SettingsSection, SettingsKeys[2], "0");
    keysRead = 3;
}

void SaveSettings()
{
    try {
        if (!SettingsFile) {
            SettingsFile = std::make_unique<TSettingsFile>(SettingsFileName);
            keysRead = 3;
        }
        for (int key = 0; key < 3; ++key) {
            const int value = *settingsValue(key);
            if (key >= keysRead && value == startValues[key])
                continue;
            SettingsFile->WriteInteger(SettingsSection, SettingsKeys[key], value);
        }
        SettingsFile->UpdateFile();
    } catch (...) {
        // A settings file that cannot be written is not worth bothering the
        // user at close; the old file stays as it was.
    }
}

} // namespace app
