#pragma once

// The quiz state: one set of process-wide variables shared by the main
// window's handlers and the routines of uFunctions.

#include <QString>
#include <QtGlobal>

#include <memory>

namespace app {

class TSettingsFile;

struct TQuizState
{
    int Level = 0;                 // 1 or 2: the cbLevel entry index + 1
    int HighScore[3] = {0, 0, 0};  // indexed by level 1..2; [0] unused
    quint16 AllowedIntervals = 0;  // bit n set: interval n may be asked
    int Melodic = 0;               // 1: notes one after another, 0: together
    bool Running = false;
    bool Answered = false;
    int PauseTicks = 0;            // ticks to wait before the next question
    int SecondsLeft = 0;
    int AnswerCount = 0;
    int RightCount = 0;
    int WrongCount = 0;
    int Percent = 0;
    int CurrentInterval = 0;       // 0 before the first question
    int Notes[3] = {0, 0, 0};      // [1] base note, [2] second note
    QString PlayText;
};

// Interval set of both levels: the intervals 1 to 4 (bits 1..4).
constexpr quint16 LevelIntervals = 0x1E;
// Length of a run in seconds (timer ticks).
constexpr int RunSeconds = 300;
// Ticks between an answer and the next question (the third tick asks).
constexpr int AnswerPauseTicks = 2;

extern TQuizState Quiz;
// Created by LoadSettings and kept until the program ends.
extern std::unique_ptr<TSettingsFile> SettingsFile;

// Back to the start values (zero, False, empty); for tests that need a
// fresh process state.
void ResetQuizState();

} // namespace app
