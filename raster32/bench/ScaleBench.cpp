// Scaled drawing of a 1024 × 1024 bitmap up to 2048 × 2048 and down to
// 512 × 512, for the nearest, bilinear and Lanczos filters, each beside
// QImage::scaled (fast and smooth) on the same pixels. "Time" is wall-clock
// time, "CPU" the whole process's CPU time (all threads), since both Qt and
// large drawings here spread the work over threads.
//   build/raster32/bench/raster32_bench
#include "raster32/TBitmap32.h"
#include "raster32/Transfer32.h"

#include <QImage>
#include <benchmark/benchmark.h>

using namespace raster32;

namespace {

constexpr int SourceSize = 1024;

const TBitmap32 &source()
{
    static TBitmap32 *bitmap = [] {
        auto *b = new TBitmap32;
        b->SetDimensions(SourceSize, SourceSize);
        std::uint32_t s = 12345;
        for (int i = 0; i < SourceSize * SourceSize; ++i) {
            s = s * 1664525u + 1013904223u;
            b->Pixels()[i] = 0xFF000000u | (s >> 8);
        }
        return b;
    }();
    return *bitmap;
}

const QImage &sourceImage(QImage::Format format)
{
    static QImage argb = [] {
        QImage image;
        source().CopyToPlatformBitmap(image);
        return image;
    }();
    static QImage premultiplied = argb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return format == QImage::Format_ARGB32 ? argb : premultiplied;
}

void drawScaled(benchmark::State &state, TStretchFilter filter, int threads = 1)
{
    SetMaxTransferThreads(threads);
    const int size = int(state.range(0));
    TBitmap32 src;
    src.CopyFrom(&source());
    src.setStretchFilter(filter);
    TBitmap32 dst;
    dst.SetDimensions(size, size);
    for (auto _ : state) {
        src.DrawOnto(dst, dst.BoundsBox());
        benchmark::DoNotOptimize(dst.Pixels());
    }
    state.SetItemsProcessed(state.iterations() * qint64(size) * size);
    SetMaxTransferThreads(1);
}

void qtScaled(benchmark::State &state, Qt::TransformationMode mode, QImage::Format format)
{
    const int size = int(state.range(0));
    const QImage &image = sourceImage(format);
    for (auto _ : state) {
        QImage scaled = image.scaled(size, size, Qt::IgnoreAspectRatio, mode);
        benchmark::DoNotOptimize(scaled.constBits());
    }
    state.SetItemsProcessed(state.iterations() * qint64(size) * size);
}

void Raster32_Nearest(benchmark::State &s) { drawScaled(s, sfNearest); }
void Raster32_Linear(benchmark::State &s) { drawScaled(s, sfLinear); }
void Raster32_Lanczos(benchmark::State &s) { drawScaled(s, sfLanczos); }
// Split over every core, as Qt does (opt-in here).
void Raster32_Nearest_AllCores(benchmark::State &s) { drawScaled(s, sfNearest, 0); }
void Raster32_Linear_AllCores(benchmark::State &s) { drawScaled(s, sfLinear, 0); }
void Qt_Fast(benchmark::State &s) { qtScaled(s, Qt::FastTransformation, QImage::Format_ARGB32); }
void Qt_Smooth(benchmark::State &s) { qtScaled(s, Qt::SmoothTransformation, QImage::Format_ARGB32); }
// Qt's smooth path works on premultiplied pixels; this leaves out its
// conversion.
void Qt_SmoothPremultiplied(benchmark::State &s)
{
    qtScaled(s, Qt::SmoothTransformation, QImage::Format_ARGB32_Premultiplied);
}

} // namespace

#define SIZES Arg(2048)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()
BENCHMARK(Raster32_Nearest)->SIZES;
BENCHMARK(Qt_Fast)->SIZES;
BENCHMARK(Raster32_Linear)->SIZES;
BENCHMARK(Qt_Smooth)->SIZES;
BENCHMARK(Qt_SmoothPremultiplied)->SIZES;
BENCHMARK(Raster32_Lanczos)->SIZES;
BENCHMARK(Raster32_Nearest_AllCores)->SIZES;
BENCHMARK(Raster32_Linear_AllCores)->SIZES;

BENCHMARK_MAIN();
