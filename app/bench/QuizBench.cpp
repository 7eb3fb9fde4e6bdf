// How long the GUI thread is busy when a question starts (Start, and the
// third tick after an answer) and on a plain countdown tick. A question has
// to start well within one frame (16 ms) so the window never stalls.
#include "app/TfMain.h"
#include "app/uVariables.h"
#include "coolctrls/TCoolLabel.h"
#include "midigen/TMidiGen.h"
#include "platform/Application.h"
#include "platform/TTimer.h"
#include "platform/midi/CaptureDevice.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using platform::midi::CaptureDevice;

namespace {

app::TfMain *window = nullptr;

// Plays the question to its end on the capture device's clock.
void finishSound()
{
    auto &capture = CaptureDevice::install();
    capture.advance(6000);
    for (int i = 0; i < 1000 && window->MidiGen().IsPlaying(); ++i) {
        capture.advance(10);
        platform::waitForMessages(1);
    }
}

void BM_StartAsksAQuestion(benchmark::State &state)
{
    for (auto _ : state) {
        window->bStartClick(window);
        state.PauseTiming();
        finishSound();
        window->bResetClick(window);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartAsksAQuestion)->Unit(benchmark::kMicrosecond);

void BM_AnswerThenThirdTickAsks(benchmark::State &state)
{
    window->bStartClick(window);
    for (auto _ : state) {
        state.PauseTiming();
        finishSound();
        window->LabelMouseDown(window->intervalLabel(1), Qt::LeftButton, {}, 0, 0);
        window->TimerTimer(window);
        window->TimerTimer(window);
        if (app::Quiz.SecondsLeft < 10)
            app::Quiz.SecondsLeft = 300;
        state.ResumeTiming();
        window->TimerTimer(window);  // asks the next question
    }
    finishSound();
    window->bResetClick(window);
}
BENCHMARK(BM_AnswerThenThirdTickAsks)->Unit(benchmark::kMicrosecond);

void BM_CountdownTick(benchmark::State &state)
{
    for (auto _ : state) {
        window->TimerTimer(window);
        if (app::Quiz.SecondsLeft < 10)
            app::Quiz.SecondsLeft = 300;
    }
}
BENCHMARK(BM_CountdownTick)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application application(argc, argv);
    CaptureDevice::install();
    QTemporaryDir dir;  // the settings file, if any, goes here
    QDir::setCurrent(dir.path());
    app::TfMain fMain;
    fMain.Timer().setManual(true);
    fMain.show();
    window = &fMain;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    finishSound();
    return 0;
}
