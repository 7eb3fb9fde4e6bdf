// Costs of the drawing operations a skinned control repaint is made of.
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TImageList.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

using namespace platform;

namespace {

TBitmap &surface()
{
    static TBitmap bmp(800, 400);
    return bmp;
}

void BM_FillRect(benchmark::State &state)
{
    TCanvas &c = surface().Canvas();
    for (auto _ : state)
        c.FillRect(Rect(0, 0, 609, 313), clBtnFace);
}
BENCHMARK(BM_FillRect);

void BM_WallpaperCopy(benchmark::State &state)
{
    static TBitmap wallpaper(800, 376);
    TCanvas &c = surface().Canvas();
    for (auto _ : state)
        c.BitBlt(0, 0, 609, 313, wallpaper, 0, 0, SRCCOPY);
}
BENCHMARK(BM_WallpaperCopy);

void BM_WallpaperInvertedCopy(benchmark::State &state)
{
    static TBitmap wallpaper(800, 376);
    TCanvas &c = surface().Canvas();
    for (auto _ : state)
        c.BitBlt(0, 0, 288, 13, wallpaper, 0, 0, NOTSRCCOPY);
}
BENCHMARK(BM_WallpaperInvertedCopy);

void BM_StretchedWallpaper(benchmark::State &state)
{
    static TBitmap wallpaper(800, 376);
    TCanvas &c = surface().Canvas();
    for (auto _ : state)
        c.StretchBlt(0, 0, 770, 22, wallpaper, 0, 0, 800, 376, SRCCOPY);
}
BENCHMARK(BM_StretchedWallpaper);

void BM_MaskBlitGlyph(benchmark::State &state)
{
    static TBitmap mask(16, 16);
    mask.setMonochrome(true);
    TCanvas &c = surface().Canvas();
    c.Brush.setColor(clBtnShadow);
    for (auto _ : state)
        c.BitBlt(0, 0, 16, 16, mask, 0, 0, ROP_DSPDxax);
}
BENCHMARK(BM_MaskBlitGlyph);

void BM_DrawEdge(benchmark::State &state)
{
    TCanvas &c = surface().Canvas();
    for (auto _ : state)
        c.DrawEdge(Rect(0, 0, 75, 25), EDGE_RAISED, BF_RECT);
}
BENCHMARK(BM_DrawEdge);

void BM_DrawTextCaption(benchmark::State &state)
{
    TCanvas &c = surface().Canvas();
    c.SetBkMode(TRANSPARENT);
    for (auto _ : state)
        c.DrawText("O1 - Minor second", Rect(0, 0, 150, 20), DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}
BENCHMARK(BM_DrawTextCaption);

void BM_MeasureWrappedText(benchmark::State &state)
{
    TCanvas &c = surface().Canvas();
    const QString text = "Click on the interval you heard. The next question follows two to three seconds later.";
    for (auto _ : state) {
        QRect r = Rect(0, 0, 200, 0);
        benchmark::DoNotOptimize(c.DrawText(text, r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS));
    }
}
BENCHMARK(BM_MeasureWrappedText);

void BM_ImageListTransparentDraw(benchmark::State &state)
{
    static TImageList list(16, 16);
    if (list.Count() == 0) {
        TBitmap glyph(16, 16);
        list.AddMasked(glyph, clDefault);
    }
    TCanvas &c = surface().Canvas();
    for (auto _ : state)
        list.Draw(c, 4, 4, 0);
}
BENCHMARK(BM_ImageListTransparentDraw);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
