// CPU time of one full repaint of the quiz page (the window's client area,
// 617 x 341, with the "Tonvik" page shown), of one interval label and of one
// push button, each rendered into an image as a paint event would draw it.
#include "app/TfMain.h"
#include "coolctrls/TCoolBtn.h"
#include "coolctrls/TCoolLabel.h"
#include "platform/Application.h"
#include "platform/TTimer.h"
#include "platform/canvas/ColorScheme.h"
#include "platform/midi/CaptureDevice.h"

#include <QDir>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

app::TfMain *window = nullptr;

void renderRepeatedly(benchmark::State &state, QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        widget->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["pixels"] = double(widget->width()) * widget->height();
}

void BM_RepaintQuizPage(benchmark::State &state) { renderRepeatedly(state, window); }
BENCHMARK(BM_RepaintQuizPage)->Unit(benchmark::kMicrosecond);

void BM_RepaintIntervalLabel(benchmark::State &state) { renderRepeatedly(state, window->intervalLabel(1)); }
BENCHMARK(BM_RepaintIntervalLabel)->Unit(benchmark::kMicrosecond);

void BM_RepaintStartButton(benchmark::State &state) { renderRepeatedly(state, window->bStart()); }
BENCHMARK(BM_RepaintStartButton)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application application(argc, argv);
    platform::midi::CaptureDevice::install();
    platform::applyClassicLook();
    QTemporaryDir dir;  // the settings file, if any, goes here
    QDir::setCurrent(dir.path());
    app::TfMain fMain;
    fMain.Timer().setManual(true);
    fMain.show();
    fMain.PageControl()->setCurrentWidget(fMain.tsMain());
    application.processEvents();
    window = &fMain;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
