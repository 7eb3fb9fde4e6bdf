#include "AppTestSupport.h"

#include "platform/Exception.h"

using namespace app;
using apptest::AppTest;

using QuizRules = AppTest;

TEST_F(QuizRules, SecondNoteStaysWithinTheTwoOctaves)
{
    Quiz.AllowedIntervals = LevelIntervals;
    struct Case { int interval, down, base, second; } cases[] = {
        {4, 0, 71, 67},  // 75 is above 72: downward instead
        {3, 1, 48, 51},  // 45 is below 48: upward instead
        {3, 0, 69, 72},  // the upper bound is inclusive
        {3, 1, 51, 48},  // so is the lower one
        {2, 0, 60, 62},
        {1, 1, 60, 59},
    };
    for (const Case &c : cases) {
        nextQuestion(c.interval, c.down, c.base);
        NewQuestion();
        EXPECT_EQ(Quiz.CurrentInterval, c.interval);
        EXPECT_EQ(Quiz.Notes[1], c.base);
        EXPECT_EQ(Quiz.Notes[2], c.second) << c.interval << " from " << c.base;
    }
}

TEST_F(QuizRules, OnlyAllowedIntervalsAreAsked)
{
    Quiz.AllowedIntervals = LevelIntervals;
    // Draws of 5..12 are thrown away until an allowed one comes.
    m_draws->assign({11, 4, 7, 2, 0, 5});
    NewQuestion();
    EXPECT_EQ(Quiz.CurrentInterval, 3);
    EXPECT_EQ(Quiz.Notes[1], 53);

    SetRandomSource({});
    Randomize();
    for (int i = 0; i < 2000; ++i) {
        NewQuestion();
        ASSERT_GE(Quiz.CurrentInterval, 1);
        ASSERT_LE(Quiz.CurrentInterval, 4);
        ASSERT_GE(Quiz.Notes[1], 48);
        ASSERT_LE(Quiz.Notes[1], 71);
        ASSERT_GE(Quiz.Notes[2], 48);
        ASSERT_LE(Quiz.Notes[2], 72);
        ASSERT_EQ(std::abs(Quiz.Notes[2] - Quiz.Notes[1]), Quiz.CurrentInterval);
    }
}

TEST_F(QuizRules, AQuestionWithoutAllowedIntervalIsAnErrorNotAHang)
{
    Quiz.AllowedIntervals = 0;
    EXPECT_THROW(NewQuestion(), platform::Exception);
    Quiz.AllowedIntervals = 1 | (1 << 13) | (1 << 15);  // 0, 13, 15 are never drawn
    EXPECT_THROW(NewQuestion(), platform::Exception);
}

TEST_F(QuizRules, PlayTexts)
{
    EXPECT_EQ(BuildPlayText(60, 64, 1), "N60,150;N64,150;N60,150");
    EXPECT_EQ(BuildPlayText(60, 64, 0), "N60,0;N64,150");
    EXPECT_EQ(BuildPlayText(48, 51, 7), "N48,0;N51,150");
}

TEST_F(QuizRules, PercentIsTruncated)
{
    Quiz.CurrentInterval = 2;
    EXPECT_TRUE(JudgeAnswer(2));
    EXPECT_TRUE(JudgeAnswer(2));
    EXPECT_FALSE(JudgeAnswer(3));
    EXPECT_EQ(Quiz.Percent, 66);
    EXPECT_TRUE(JudgeAnswer(2));
    EXPECT_EQ(Quiz.Percent, 75);
    EXPECT_EQ(Quiz.RightCount, 3);
    EXPECT_EQ(Quiz.WrongCount, 1);
    EXPECT_TRUE(Quiz.Answered);
    EXPECT_EQ(Quiz.PauseTicks, 2);
}

TEST_F(QuizRules, ThirdTickAfterAnAnswerAsksAndTheThreeHundredthEndsTheRun)
{
    Quiz.Level = 1;
    InitQuizState();
    Quiz.Running = true;
    JudgeAnswer(1);
    EXPECT_EQ(CountDown(), TTickAction::None);
    EXPECT_EQ(CountDown(), TTickAction::None);
    EXPECT_EQ(CountDown(), TTickAction::Ask);
    EXPECT_FALSE(Quiz.Answered);
    for (int tick = 4; tick < 300; ++tick)
        ASSERT_EQ(CountDown(), TTickAction::None) << tick;
    EXPECT_EQ(CountDown(), TTickAction::EndRun);
    EXPECT_EQ(Quiz.SecondsLeft, 0);
    EXPECT_FALSE(Quiz.Running);
}

TEST_F(QuizRules, HighScoreRisesOnlyWhenStrictlyBeaten)
{
    Quiz.Level = 2;
    Quiz.HighScore[2] = 75;
    for (int percent : {74, 75}) {
        Quiz.Percent = percent;
        EXPECT_FALSE(RaiseHighScore());
        EXPECT_EQ(Quiz.HighScore[2], 75);
    }
    Quiz.Percent = 76;
    EXPECT_TRUE(RaiseHighScore());
    EXPECT_EQ(Quiz.HighScore[2], 76);
    EXPECT_EQ(Quiz.HighScore[1], 0);
}
