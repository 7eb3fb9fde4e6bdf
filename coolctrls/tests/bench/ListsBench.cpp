// Filling the font list and the 42-colour list, and painting a screenful of
// list items (a 300 x 400 list box, about thirty rows) through the item
// painter.

#include "coolctrls/TCoolListBox.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

using namespace coolctrls;

void BM_FillFontList(benchmark::State &state)
{
    TCoolListBox box;
    for (auto _ : state) {
        box.setExtendedStyle(ctCoolControl);
        box.setExtendedStyle(ctFontControl);
        benchmark::DoNotOptimize(box.count());
    }
    state.counters["fonts"] = box.count();
}
BENCHMARK(BM_FillFontList)->Unit(benchmark::kMillisecond);

void BM_FillColorList42(benchmark::State &state)
{
    TCoolListBox box;
    box.setLightColorControl(false);
    for (auto _ : state) {
        box.setExtendedStyle(ctCoolControl);
        box.setExtendedStyle(ctColorControl);
        benchmark::DoNotOptimize(box.count());
    }
}
BENCHMARK(BM_FillColorList42)->Unit(benchmark::kMicrosecond);

void paintScreenful(benchmark::State &state, TCoolControlStyle style)
{
    TCoolListBox box;
    box.resize(300, 400);
    box.setLightColorControl(false);
    box.setExtendedStyle(style);
    if (style == ctCoolControl) {
        QStringList items;
        for (int i = 0; i < 40; ++i)
            items << QStringLiteral("Item %1").arg(i);
        box.setItems(items);
    }
    box.setItemIndex(2);
    QImage image(box.size(), QImage::Format_RGB32);
    for (auto _ : state)
        box.render(&image);
}

void BM_PaintScreenfulPlain(benchmark::State &state) { paintScreenful(state, ctCoolControl); }
BENCHMARK(BM_PaintScreenfulPlain)->Unit(benchmark::kMillisecond);
void BM_PaintScreenfulColors(benchmark::State &state) { paintScreenful(state, ctColorControl); }
BENCHMARK(BM_PaintScreenfulColors)->Unit(benchmark::kMillisecond);
void BM_PaintScreenfulFonts(benchmark::State &state) { paintScreenful(state, ctFontControl); }
BENCHMARK(BM_PaintScreenfulFonts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
