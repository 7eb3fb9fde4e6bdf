// Full repaint of a 609 x 313 wallpapered area (the main window's panel)
// through the wallpaper group, side by side with a plain
// QPainter::drawTiledPixmap of the same area.

#include "coolctrls/TCoolImages.h"
#include "coolctrls/TImageItem.h"
#include "coolctrls/TJPEGImage.h"
#include "coolctrls/TWallpaperGroup.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

QByteArray wallpaperJpeg()
{
    QFile f(QStringLiteral(TONVIK_SOURCE_DIR "/resources/wallpaper.jpg"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void BM_WallpaperGroupRepaint(benchmark::State &state)
{
    coolctrls::TCoolImages store;
    store.Images()->Add()->Picture()->loadJpeg(wallpaperJpeg());
    QWidget control;
    control.resize(609, 313);
    coolctrls::TWallpaperGroup group(&control);
    group.setCoolImages(&store);
    group.setIdWallpaper(0);
    QImage target(609, 313, QImage::Format_RGB32);
    const long decodes = coolctrls::TJPEGImage::decodeCount();
    for (auto _ : state) {
        platform::TCanvas canvas(&target);
        benchmark::DoNotOptimize(group.PaintBackground(canvas, control.rect()));
        canvas.releaseHandle();
        benchmark::ClobberMemory();
    }
    if (coolctrls::TJPEGImage::decodeCount() != decodes)
        state.SkipWithError("painting decoded the JPEG");
    state.SetItemsProcessed(state.iterations() * 609 * 313);
}
BENCHMARK(BM_WallpaperGroupRepaint)->Unit(benchmark::kMicrosecond);

void BM_QPainterDrawTiledPixmap(benchmark::State &state)
{
    const QPixmap pixmap = QPixmap::fromImage(coolctrls::TJPEGImage::decode(wallpaperJpeg()));
    QImage target(609, 313, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawTiledPixmap(QRect(0, 0, 609, 313), pixmap);
        painter.end();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 609 * 313);
}
BENCHMARK(BM_QPainterDrawTiledPixmap)->Unit(benchmark::kMicrosecond);

void BM_JpegDecodeOnce(benchmark::State &state)
{
    const QByteArray jpeg = wallpaperJpeg();
    for (auto _ : state)
        benchmark::DoNotOptimize(coolctrls::TJPEGImage::decode(jpeg));
}
BENCHMARK(BM_JpegDecodeOnce)->Unit(benchmark::kMicrosecond);

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
