// The real main window, driven offscreen: MIDI goes to the capture device
// and the one-second timer is stepped by hand. Only the first MIDI generator
// of a process may play, so each test needs a process of its own (ctest
// runs them so).
#include "AppTestSupport.h"

#include "app/TfMain.h"
#include "coolctrls/TCoolBtn.h"
#include "coolctrls/TCoolComboBox.h"
#include "coolctrls/TCoolLabel.h"
#include "coolctrls/TCoolScrollingText.h"
#include "midigen/TMidiGen.h"
#include "platform/Application.h"
#include "platform/TTimer.h"
#include "platform/midi/CaptureDevice.h"
#include "platform/testing/ErrorCapture.h"
#include "raster32/TBitmap32.h"
#include "raster32/TImage32.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTest>
#include <QWidget>

using namespace app;
using platform::midi::CaptureDevice;

namespace {

constexpr uint32_t LampGreen = 0xFF00FF00;
constexpr uint32_t LampRed = 0xFFFF0000;
constexpr uint32_t LampOff = 0xFF0080FF;

class Window : public apptest::AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // Every test's window is the process's first generator to play,
        // on a fresh capture device whose clock is at 0, as in a program
        // run, also when the whole binary runs in one process.
        TMidiGen::ResetStreamOwnerForTests();
        capture = &CaptureDevice::install();
        capture->clear();
    }
    void TearDown() override
    {
        if (w) {
            w->hide();
            // The capture clock moves only when stepped: let a stopped or
            // playing stream reach its end so the generator can close it.
            w->MidiGen().Stop();
            drain();
            w.reset();
        }
        CaptureDevice::uninstall();
        AppTest::TearDown();
    }

    void open()
    {
        w = std::make_unique<TfMain>();
        w->Timer().setManual(true);
        w->show();
    }

    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            w->Timer().trigger();
    }
    void click(int tag) { QTest::mouseClick(w->intervalLabel(tag), Qt::LeftButton, {}, QPoint(3, 3)); }
    void clickAnswers(int right, int wrong)
    {
        for (int i = 0; i < right; ++i)
            click(Quiz.CurrentInterval);
        for (int i = 0; i < wrong; ++i)
            click(Quiz.CurrentInterval == 1 ? 2 : 1);
    }

    // Steps the capture clock and delivers the stream's notifications until
    // the generator has closed its stream (bounded).
    void drain()
    {
        QElapsedTimer clock;
        clock.start();
        while (w->MidiGen().IsPlaying() && clock.elapsed() < 3000) {
            capture->advance(10);
            platform::waitForMessages(5);
        }
    }
    // Plays the sound to its end.
    void finishSound()
    {
        capture->advance(6000);
        drain();
        ASSERT_FALSE(w->MidiGen().IsPlaying());
    }

    // Note-on numbers with their times, relative to the first one.
    std::vector<std::pair<int, double>> notesOn() const
    {
        std::vector<std::pair<int, double>> notes;
        for (const auto &m : capture->messages())
            if (m.kind() == 0x90 && m.data2 > 0)
                notes.push_back({m.data1, m.timeMs()});
        for (size_t i = notes.size(); i-- > 0;)
            notes[i].second -= notes[0].second;
        return notes;
    }

    QString text(coolctrls::TCoolLabel *label) const { return label->Caption(); }
    uint32_t lamp() const { return w->imgAnswer()->Bitmap()->Pixel(5, 6); }

    CaptureDevice *capture = nullptr;
    std::unique_ptr<TfMain> w;
};

} // namespace

TEST_F(Window, StartsWithTheDesignedLayoutAndACleanQuiz)
{
    open();
    EXPECT_EQ(w->windowTitle(), "Tonvik - Intervals (DEMO)");
    EXPECT_EQ(w->windowIcon().availableSizes(), QList<QSize>{QSize(128, 128)});
    EXPECT_EQ(w->minimumSize(), QSize(617, 341));
    EXPECT_EQ(w->maximumSize(), QSize(617, 341));
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(w->windowType(), Qt::Window) << "the main window, not a transient tool window";
    EXPECT_TRUE(w->testAttribute(Qt::WA_QuitOnClose));
    EXPECT_EQ(w->PageControl()->currentWidget(), w->tsMain());
    EXPECT_EQ(w->PageControl()->tabText(0), "Tonvik");
    EXPECT_EQ(w->PageControl()->tabText(1), "Information");

    EXPECT_EQ(text(w->lRight()), "0");
    EXPECT_EQ(text(w->lWrong()), "0");
    EXPECT_EQ(text(w->lPercent()), "0%");
    EXPECT_EQ(text(w->lCountDown()), "300 SEC.");
    EXPECT_EQ(text(w->lName()), "");
    EXPECT_EQ(text(w->lHighScore()), "(High-score: 0%)");
    EXPECT_TRUE(w->bStart()->isEnabled());
    EXPECT_FALSE(w->bReset()->isEnabled());
    EXPECT_FALSE(w->bRepeat()->isEnabled());
    EXPECT_EQ(w->cbLevel()->ItemIndex(), 0);
    EXPECT_EQ(w->cbLevel()->currentText(), "Level 1 - Melodic  - 01, 02, 03, 04");
    EXPECT_FALSE(w->Timer().Enabled());
    EXPECT_EQ(w->Timer().Interval(), 1000);
    EXPECT_EQ(w->MidiGen().Duration(), 150u);
    EXPECT_TRUE(w->MidiGen().Sustain());
    EXPECT_EQ(lamp(), LampOff);
    EXPECT_EQ(w->CoolScrollingText()->Strings(), QStringList{TfMain::CreditsLine});

    const char *captions[] = {"O1 - Minor second", "O2 - Major second", "O3 - Minor third", "O4 - Major third",
                              "O5 - Perfect fourth", "O6 - Diminished fifth / Augmented fourth",
                              "O7 - Perfect fifth", "O8 - Minor sixth / Augmented fifth", "09 - Major sixth",
                              "10 - Minor seventh / Augmented sixth", "11 - Major seventh", "12 - Perfect octave"};
    for (int tag = 1; tag <= 12; ++tag) {
        auto *label = w->intervalLabel(tag);
        ASSERT_NE(label, nullptr) << tag;
        EXPECT_EQ(label->Caption(), captions[tag - 1]);
        EXPECT_EQ(label->isEnabled(), tag <= 4) << tag;
    }
}

TEST_F(Window, StartAsksAtOnceMelodicallyAtLevelOne)
{
    open();
    nextQuestion(4, 0, 60);
    w->bStart()->click();
    EXPECT_EQ(Quiz.PlayText, "N60,150;N64,150;N60,150");
    EXPECT_TRUE(w->MidiGen().IsPlaying());
    EXPECT_FALSE(w->bStart()->isEnabled());
    EXPECT_TRUE(w->bReset()->isEnabled());
    EXPECT_FALSE(w->cbLevel()->isEnabled());
    EXPECT_TRUE(w->Timer().Enabled());
    finishSound();
    auto notes = notesOn();
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].first, 60);
    EXPECT_EQ(notes[1].first, 64);
    EXPECT_EQ(notes[2].first, 60);
    EXPECT_NEAR(notes[1].second, 1500, 1);
    EXPECT_NEAR(notes[2].second, 3000, 1);
}

TEST_F(Window, LevelTwoPlaysBothNotesTogether)
{
    writeSettings("[Tonvik - Intervals (DEMO)]\nLevel=2\nScore 1=10\nScore 2=20\n");
    open();
    EXPECT_EQ(w->cbLevel()->ItemIndex(), 1);
    EXPECT_EQ(text(w->lHighScore()), "(High-score: 20%)");
    nextQuestion(3, 1, 50);
    w->bStart()->click();
    EXPECT_EQ(Quiz.PlayText, "N50,0;N53,150");
    finishSound();
    auto notes = notesOn();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].first, 50);
    EXPECT_EQ(notes[1].first, 53);
    EXPECT_NEAR(notes[1].second, 0, 1);
}

TEST_F(Window, AnswersAreCountedAndShownWithTheLamp)
{
    open();
    nextQuestion(2, 0, 60);
    w->bStart()->click();
    click(2);
    EXPECT_EQ(lamp(), LampGreen);
    EXPECT_TRUE(w->intervalLabel(2)->FontStyle() == 0) << "underlined only while the button is down";
    click(2);
    click(3);
    EXPECT_EQ(lamp(), LampRed);
    EXPECT_EQ(text(w->lPercent()), "66%");
    click(2);
    EXPECT_EQ(text(w->lRight()), "3");
    EXPECT_EQ(text(w->lWrong()), "1");
    EXPECT_EQ(text(w->lPercent()), "75%");
    EXPECT_EQ(text(w->lName()), "2");
    EXPECT_EQ(lamp(), LampGreen);

    // A disabled label takes no click.
    QTest::mouseClick(w->intervalLabel(8), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(Quiz.AnswerCount, 4);
    EXPECT_EQ(text(w->lWrong()), "1");
}

TEST_F(Window, MouseDownUnderlinesTheCaptionUntilMouseUp)
{
    open();
    auto *label = w->intervalLabel(1);
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(label->FontUnderline());
    EXPECT_EQ(Quiz.AnswerCount, 1) << "the answer counts on mouse down";
    EXPECT_EQ(text(w->lName()), "0") << "before the first question";
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(label->FontUnderline());
}

TEST_F(Window, RepeatBecomesUsableOnTheFirstTickAfterTheSound)
{
    open();
    w->bStart()->click();
    tick();
    EXPECT_FALSE(w->bRepeat()->isEnabled()) << "still playing";
    finishSound();
    EXPECT_FALSE(w->bRepeat()->isEnabled()) << "only a tick enables it";
    tick();
    EXPECT_TRUE(w->bRepeat()->isEnabled());

    capture->clear();
    const QString asked = Quiz.PlayText;
    w->bRepeat()->click();
    EXPECT_EQ(Quiz.PlayText, asked);
    finishSound();
    EXPECT_EQ(notesOn().size(), 3u) << "the same question again";
}

TEST_F(Window, TheThirdTickAfterAnAnswerAsksTheNextQuestion)
{
    open();
    nextQuestion(1, 0, 60);
    w->bStart()->click();
    finishSound();
    nextQuestion(4, 1, 70);
    click(1);
    capture->clear();
    tick(2);
    finishSound();
    EXPECT_TRUE(notesOn().empty());
    EXPECT_EQ(Quiz.CurrentInterval, 1);
    tick();
    EXPECT_EQ(Quiz.CurrentInterval, 4);
    EXPECT_EQ(Quiz.PlayText, "N70,150;N66,150;N70,150");
    finishSound();
    EXPECT_EQ(notesOn().size(), 3u);
    EXPECT_EQ(text(w->lCountDown()), "297 SEC.");
}

class HighScoreAtRunEnd : public Window, public ::testing::WithParamInterface<std::tuple<int, int, int>>
{
};

TEST_P(HighScoreAtRunEnd, OnlyAHigherPercentageBeatsTheStoredOne)
{
    const auto [right, wrong, expected] = GetParam();
    writeSettings("[Tonvik - Intervals (DEMO)]\nLevel=1\nScore 1=75\nScore 2=0\n");
    open();
    EXPECT_EQ(text(w->lHighScore()), "(High-score: 75%)");
    w->bStart()->click();
    clickAnswers(right, wrong);
    tick(299);
    EXPECT_EQ(text(w->lCountDown()), "1 SEC.");
    EXPECT_EQ(text(w->lHighScore()), "(High-score: 75%)");
    tick();
    EXPECT_EQ(text(w->lCountDown()), "0 SEC.");
    EXPECT_FALSE(w->Timer().Enabled());
    EXPECT_FALSE(Quiz.Running);
    EXPECT_TRUE(w->bStart()->isEnabled());
    EXPECT_FALSE(w->bReset()->isEnabled());
    EXPECT_FALSE(w->bRepeat()->isEnabled());
    EXPECT_TRUE(w->cbLevel()->isEnabled());
    EXPECT_EQ(Quiz.HighScore[1], expected);
    EXPECT_EQ(text(w->lHighScore()), QString("(High-score: %1%)").arg(expected));

    w->close();
    EXPECT_EQ(settings(), QString("[Tonvik - Intervals (DEMO)]\nLevel=1\nScore 1=%1\nScore 2=0\n").arg(expected).toUtf8());
}

INSTANTIATE_TEST_SUITE_P(Window, HighScoreAtRunEnd,
                         ::testing::Values(std::make_tuple(37, 13, 75),   // 74%
                                           std::make_tuple(3, 1, 75),     // 75%
                                           std::make_tuple(19, 6, 76)));  // 76%

TEST_F(Window, ResetAbandonsTheRunButKeepsHighScoreAndLamp)
{
    writeSettings("[Tonvik - Intervals (DEMO)]\nScore 1=40\n");
    open();
    w->bStart()->click();
    click(Quiz.CurrentInterval);
    tick(5);
    w->bReset()->click();
    EXPECT_FALSE(w->Timer().Enabled());
    EXPECT_FALSE(Quiz.Running);
    EXPECT_TRUE(w->bStart()->isEnabled());
    EXPECT_FALSE(w->bReset()->isEnabled());
    EXPECT_TRUE(w->cbLevel()->isEnabled());
    EXPECT_EQ(text(w->lRight()), "0");
    EXPECT_EQ(text(w->lPercent()), "0%");
    EXPECT_EQ(text(w->lCountDown()), "300 SEC.");
    EXPECT_EQ(text(w->lHighScore()), "(High-score: 40%)");
    EXPECT_EQ(lamp(), LampGreen);
    finishSound();

    // An answer outside a run still counts, against the last question.
    click(Quiz.CurrentInterval == 1 ? 2 : 1);
    EXPECT_EQ(text(w->lWrong()), "1");
    EXPECT_EQ(text(w->lPercent()), "0%");
    EXPECT_EQ(lamp(), LampRed);
}

TEST_F(Window, PickingALevelShowsItsHighScoreAndSettingItFromCodeRaisesNothing)
{
    writeSettings("[Tonvik - Intervals (DEMO)]\nLevel=1\nScore 1=10\nScore 2=20\n");
    open();
    w->cbLevel()->setFocus();
    QTest::keyClick(w->cbLevel(), Qt::Key_Down);
    EXPECT_EQ(Quiz.Level, 2);
    EXPECT_EQ(Quiz.Melodic, 0);
    EXPECT_EQ(text(w->lHighScore()), "(High-score: 20%)");

    w->cbLevel()->setItemIndex(0);
    EXPECT_EQ(Quiz.Level, 2) << "no change event from code";

    nextQuestion(1, 0, 60);
    w->bStart()->click();
    EXPECT_EQ(Quiz.PlayText, "N60,0;N61,150");
}

TEST_F(Window, ShowingTheQuizPageDuringARunRestartsTheCountsButNotTheTimer)
{
    open();
    w->bStart()->click();
    click(Quiz.CurrentInterval);
    tick(5);
    w->PageControl()->setCurrentIndex(1);
    w->PageControl()->setCurrentIndex(0);
    EXPECT_EQ(text(w->lRight()), "0");
    EXPECT_EQ(text(w->lCountDown()), "300 SEC.");
    EXPECT_FALSE(Quiz.Running);
    EXPECT_TRUE(w->bStart()->isEnabled());
    EXPECT_TRUE(w->Timer().Enabled());
    EXPECT_FALSE(w->cbLevel()->isEnabled());
    tick(300);
    EXPECT_EQ(text(w->lCountDown()), "0 SEC.");
    EXPECT_FALSE(w->Timer().Enabled());
    EXPECT_TRUE(w->cbLevel()->isEnabled());
}

TEST_F(Window, ClosingWhileAQuestionPlaysStopsItAndWritesTheSettings)
{
    open();
    w->bStart()->click();
    ASSERT_TRUE(w->MidiGen().IsPlaying());
    capture->advance(500);
    platform::processMessages();
    w->close();
    drain();
    EXPECT_FALSE(w->MidiGen().IsPlaying());
    const double closedAt = capture->clockMs();
    capture->advance(5000);
    for (const auto &m : capture->messages())
        EXPECT_FALSE(m.kind() == 0x90 && m.data2 > 0 && m.timeMs() > closedAt) << "a note after the stop";
    EXPECT_EQ(capture->openStreams(), 0u);
    EXPECT_EQ(settings(), "[Tonvik - Intervals (DEMO)]\nLevel=1\nScore 1=0\nScore 2=0\n");
}

TEST_F(Window, ABadStoredScoreIsReportedAndTheQuizStillWorks)
{
    writeSettings("[Tonvik - Intervals (DEMO)]\nLevel=2\nScore 1=abc\nScore 2=50\n");
    platform::testsupport::ErrorCapture errors;
    open();
    EXPECT_EQ(errors.messages(), QStringList{"'abc' is not a valid integer value"});
    EXPECT_EQ(w->cbLevel()->ItemIndex(), 1);
    EXPECT_EQ(text(w->lHighScore()), "(High-score: 0%)");
    w->bStart()->click();
    EXPECT_TRUE(Quiz.Running);
    EXPECT_FALSE(Quiz.PlayText.isEmpty());
}

TEST_F(Window, EachAnswerDuringThePauseCountsAndRestartsThePause)
{
    open();
    nextQuestion(2, 0, 60);
    w->bStart()->click();
    finishSound();
    click(2);
    tick();
    click(3);  // judged again against the same question
    EXPECT_EQ(text(w->lRight()), "1");
    EXPECT_EQ(text(w->lWrong()), "1");
    EXPECT_EQ(text(w->lPercent()), "50%");
    EXPECT_EQ(Quiz.PauseTicks, 2);
    nextQuestion(4, 0, 60);
    tick(2);
    EXPECT_EQ(Quiz.CurrentInterval, 2) << "the second answer started the pause again";
    tick();
    EXPECT_EQ(Quiz.CurrentInterval, 4);
    EXPECT_FALSE(Quiz.Answered);
}

TEST_F(Window, QuizPanelFillsItsTabPageAsDesignedInsideTheClassicFrame)
{
    open();
    w->show();
    QApplication::processEvents();
    w->grab();
    QWidget *pMain = w->findChild<QWidget *>("pMain");
    ASSERT_NE(pMain, nullptr);
    EXPECT_EQ(w->tsMain()->size(), QSize(609, 313));
    EXPECT_EQ(pMain->size(), QSize(609, 313));
    EXPECT_EQ(pMain->pos(), QPoint(0, 0));
    // The frame around the page: the classic raised edge, highlight on the
    // left (outer column), dark shadow on the right.
    const QImage img = w->grab().toImage();
    const QPoint page = w->tsMain()->mapTo(w.get(), QPoint(0, 0));
    EXPECT_EQ(w->tsMain()->size(), QSize(609, 313)) << "also after the window was laid out and painted";
    EXPECT_EQ(img.pixelColor(0, page.y() + 100), QColor(255, 255, 255));
    EXPECT_EQ(img.pixelColor(616, page.y() + 100), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(img.pixelColor(615, page.y() + 100), QColor(0x80, 0x80, 0x80));
}

// --- keyboard and assistive technology ---------------------------------------

namespace {

// Counts the mouse events the application sees.
class MouseEventCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            ++count;
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

class Keyboard : public Window
{
protected:
    void openActive()
    {
        open();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void key(int k, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : w.get();
        QTest::keyClick(target, Qt::Key(k), modifiers);
    }
    // Presses Tab (or Shift+Tab) until widget has the focus.
    void tabTo(QWidget *widget, bool backwards = false)
    {
        for (int i = 0; i < 40 && QApplication::focusWidget() != widget; ++i)
            key(backwards ? Qt::Key_Backtab : Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), widget) << "Tab never reached " << widget->objectName().toStdString();
    }
    QWidget *focused() const { return QApplication::focusWidget(); }
};

TEST_F(Keyboard, AWholeRunWithoutTheMouse)
{
    MouseEventCounter mouse;
    qApp->installEventFilter(&mouse);
    openActive();
    for (int tag = 1; tag <= 12; ++tag)
        EXPECT_EQ(w->intervalLabel(tag)->focusPolicy(), Qt::NoFocus) << "no tab stop outside a run";

    nextQuestion(2, 0, 60);
    tabTo(w->bStart());
    key(Qt::Key_Space);
    ASSERT_TRUE(Quiz.Running);
    EXPECT_EQ(focused(), w->intervalLabel(1)) << "the focus leaves the disabled Start for the first caption";
    for (int tag = 1; tag <= 12; ++tag)
        EXPECT_EQ(w->intervalLabel(tag)->focusPolicy(), tag <= 4 ? Qt::TabFocus : Qt::NoFocus) << tag;

    // Space answers at the press, as a mouse-down does, and underlines the
    // caption until it is let go.
    key(Qt::Key_Right);
    ASSERT_EQ(focused(), w->intervalLabel(2));
    QTest::keyPress(focused(), Qt::Key_Space);
    EXPECT_EQ(Quiz.RightCount, 1);
    EXPECT_TRUE(w->intervalLabel(2)->FontUnderline());
    EXPECT_EQ(lamp(), LampGreen);
    QTest::keyRelease(focused(), Qt::Key_Space);
    EXPECT_FALSE(w->intervalLabel(2)->FontUnderline());

    key(Qt::Key_Down);  // O4
    key(Qt::Key_Return);
    key(Qt::Key_Left);  // O3
    key(Qt::Key_Space);
    key(Qt::Key_Up);  // O1
    key(Qt::Key_Return);
    EXPECT_EQ(focused(), w->intervalLabel(1));
    key(Qt::Key_Tab);  // O2
    key(Qt::Key_Space);
    EXPECT_EQ(text(w->lRight()), "2");
    EXPECT_EQ(text(w->lWrong()), "3");
    // The direct keys, whatever has the focus.
    for (int k : {Qt::Key_2, Qt::Key_2, Qt::Key_1, Qt::Key_3, Qt::Key_4})
        key(k);
    key(Qt::Key_5);  // a disabled interval's key answers nothing
    EXPECT_EQ(Quiz.AnswerCount, 10);
    EXPECT_EQ(text(w->lRight()), "4");
    EXPECT_EQ(text(w->lWrong()), "6");
    EXPECT_EQ(text(w->lPercent()), "40%");
    EXPECT_EQ(text(w->lName()), "2");
    EXPECT_EQ(lamp(), LampRed);

    // Repeat, once the next question has played.
    nextQuestion(3, 0, 50);
    tick(3);
    finishSound();
    tick();
    ASSERT_TRUE(w->bRepeat()->isEnabled());
    capture->clear();
    tabTo(w->bRepeat(), true);
    key(Qt::Key_Space);
    finishSound();
    EXPECT_EQ(notesOn().size(), 3u) << "the question again";
    EXPECT_EQ(Quiz.PlayText, "N50,150;N53,150;N50,150");

    tabTo(w->bReset(), true);
    key(Qt::Key_Space);
    EXPECT_FALSE(Quiz.Running);
    EXPECT_EQ(text(w->lRight()), "0");
    EXPECT_EQ(focused(), w->bStart()) << "the focus leaves the disabled Reset for Start";
    for (int tag = 1; tag <= 4; ++tag)
        EXPECT_EQ(w->intervalLabel(tag)->focusPolicy(), Qt::NoFocus);

    tabTo(w->cbLevel());
    key(Qt::Key_Down);
    EXPECT_EQ(Quiz.Level, 2);
    EXPECT_EQ(w->cbLevel()->ItemIndex(), 1);

    key(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(w->PageControl()->currentWidget(), w->tsInfo());
    auto *usage = w->findChild<QWidget *>("mUsage");
    auto *info = w->findChild<QWidget *>("mInfo");
    tabTo(info);
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), usage) << "Tab moves on from a memo";
    key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w->PageControl()->currentWidget(), w->tsMain());

    EXPECT_EQ(mouse.count, 0);
    qApp->removeEventFilter(&mouse);
}

TEST_F(Keyboard, TheEndOfARunHandsTheFocusOfACaptionToStart)
{
    openActive();
    tabTo(w->bStart());
    key(Qt::Key_Space);
    ASSERT_EQ(focused(), w->intervalLabel(1));
    tick(300);
    EXPECT_FALSE(Quiz.Running);
    EXPECT_EQ(focused(), w->bStart());
    EXPECT_EQ(w->intervalLabel(1)->focusPolicy(), Qt::NoFocus);
    key(Qt::Key_1);
    EXPECT_EQ(Quiz.AnswerCount, 1) << "an answer outside a run still counts, as a click does";
}

TEST_F(Keyboard, AMouseUserSeesNoFocusRectangleAndTheLampIsNamed)
{
    openActive();
    EXPECT_EQ(w->imgAnswer()->accessibleName(), "none yet");
    EXPECT_EQ(w->intervalLabel(1)->toolTip(), "Key 1");
    EXPECT_EQ(w->intervalLabel(10)->toolTip(), "Key 0");
    EXPECT_EQ(w->intervalLabel(12)->toolTip(), "Key =");
    nextQuestion(3, 0, 60);
    QTest::mouseClick(w->bStart(), Qt::LeftButton);
    ASSERT_TRUE(Quiz.Running);
    QWidget *caption = focused();
    ASSERT_NE(caption, nullptr);
    const QImage withFocus = w->grab().toImage();
    caption->clearFocus();
    EXPECT_EQ(w->grab().toImage(), withFocus) << "no focus rectangle after a click";
    click(3);
    EXPECT_EQ(w->imgAnswer()->accessibleName(), "right");
    click(1);
    EXPECT_EQ(w->imgAnswer()->accessibleName(), "wrong");
}
