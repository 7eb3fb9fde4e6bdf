// Full repaint of one 75 x 25 push button as the main window has it: the
// owner-drawn TCoolBtn (default look, focused with its frame and focus mark,
// elliptic with a gradient) side by side with a plain Fusion QPushButton of
// the same size and caption.

#include "coolctrls/TCoolBtn.h"
#include "platform/canvas/ColorScheme.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QStyleFactory>

#include <benchmark/benchmark.h>

namespace {

void repaint(benchmark::State &state, QWidget &button)
{
    QImage target(button.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        button.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}

void BM_CoolBtnRepaint(benchmark::State &state)
{
    coolctrls::TCoolBtn button;
    button.setCaption("Start");
    repaint(state, button);
}
BENCHMARK(BM_CoolBtnRepaint)->Unit(benchmark::kMicrosecond);

void BM_CoolBtnRepaintDefaultFrame(benchmark::State &state)
{
    coolctrls::TCoolBtn button;
    button.setCaption("Start");
    button.setDefault(true);
    repaint(state, button);
}
BENCHMARK(BM_CoolBtnRepaintDefaultFrame)->Unit(benchmark::kMicrosecond);

void BM_CoolBtnRepaintRoundedGradient(benchmark::State &state)
{
    QWidget parent;
    parent.resize(100, 40);
    coolctrls::TCoolBtn button(&parent);
    button.setCaption("Start");
    button.setOptions({coolctrls::ocRoundedForm, coolctrls::ocPaintGradiently});
    repaint(state, button);
}
BENCHMARK(BM_CoolBtnRepaintRoundedGradient)->Unit(benchmark::kMicrosecond);

void BM_FusionPushButtonRepaint(benchmark::State &state)
{
    QPushButton button("Start");
    button.resize(75, 25);
    repaint(state, button);
}
BENCHMARK(BM_FusionPushButtonRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::applyClassicLook();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
