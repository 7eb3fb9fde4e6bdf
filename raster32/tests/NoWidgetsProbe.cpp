// A program without widgets that uses the 32-bit bitmaps: fills, copies and
// round-trips a bitmap through its stored form. Built and checked by the
// Layering test, which fails when it (or anything it loads) needs Qt
// Widgets. Exits 0 when all work.
#include "raster32/TBitmap32.h"
#include "raster32/TBitmap32List.h"

#include <QBuffer>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    int failures = 0;
    auto expect = [&failures](bool ok, const char *what) {
        if (!ok) {
            std::fprintf(stderr, "failed: %s\n", what);
            ++failures;
        }
    };

    raster32::TBitmap32 bitmap;
    bitmap.SetDimensions(8, 4);
    bitmap.FillAll(raster32::Color32(10, 200, 30));
    bitmap.FillBox(2, 1, 5, 3, raster32::Color32(255, 0, 0, 128));

    QBuffer stored;
    stored.open(QIODevice::ReadWrite);
    bitmap.WriteStored(stored);
    stored.seek(0);
    raster32::TBitmap32 copy;
    copy.ReadStored(stored);
    expect(copy.SameImage(&bitmap), "stored form round trip");

    raster32::TBitmap32List list;
    expect(list.Bitmaps() != nullptr, "bitmap list");
    return failures == 0 ? 0 : 1;
}
