#pragma once

// Routines of the quiz that need no window: the random source, the question
// generator and its play text, the scoring and countdown rules, and the
// settings file. They work on the quiz state of uVariables.

#include <QString>

#include <functional>

namespace app {

// --- random numbers -------------------------------------------------------

// A uniform integer in 0..n-1 for a given n >= 1.
using TRandomSource = std::function<int(int n)>;

// Replaces the program's random source (tests fix the questions with it);
// an empty function restores the built-in generator.
void SetRandomSource(TRandomSource source);
int Random(int n);
// Seeds the built-in generator from the clock.
void Randomize();

// --- questions ------------------------------------------------------------

constexpr int LowestNote = 48;
constexpr int HighestNote = 72;

// Draws CurrentInterval from AllowedIntervals, a direction and a base note in
// 48..71, and sets Notes so that both notes lie in 48..72. Raises
// platform::Exception when AllowedIntervals holds no interval of 1..12
// (instead of drawing for ever).
void NewQuestion();

// The play-string of a question: melodic (Melodic = 1) base, second, base,
// each for 150 ticks; otherwise both notes together for 150 ticks.
QString BuildPlayText(int baseNote, int secondNote, int melodic);

// --- quiz rules -----------------------------------------------------------

// Clears the counts and the countdown of a new run (the state part of
// InitQuiz) and sets the interval set and kind of questions of Level.
void InitQuizState();

// Counts an answer naming interval tag against the question last asked and
// arms the pause before the next question. Returns whether it was right.
bool JudgeAnswer(int tag);

enum class TTickAction { None, EndRun, Ask };

// One second of the countdown: EndRun when it reached 0 (Running cleared),
// Ask when the pause after an answer is over (Answered cleared), else None.
TTickAction CountDown();

// At the end of a run: raises the level's high score to Percent when it is
// strictly higher. Returns whether it changed.
bool RaiseHighScore();

// Sets the interval set and kind of questions of a level entry (0 or 1).
void SelectLevel(int entryIndex);

// --- settings file --------------------------------------------------------

extern const char *const SettingsFileName;  // "./melbrook.ini"
extern const char *const SettingsSection;   // "Tonvik - Intervals (DEMO)"

// Reads Level and the two high scores. A value that is not an integer
// raises platform::EConvertError; the keys before it keep what was read,
// the rest their start values. A level outside 1..2 becomes 1.
void LoadSettings();
// Writes Level and the two high scores; every error is ignored. A key that
// LoadSettings did not reach because of a bad value before it (or its own)
// is written only when its value changed since.
void SaveSettings();

} // namespace app
