// A program without widgets that uses the 32-bit bitmaps: fills, copies and
// round-trips a bitmap through its stored form. Built and checked by the
// Layering test, which fails when it (or anything it loads) needs Qt
// Widgets. Exits 0 when all work.
#include "raster32/TBitmap32.h"
#include "raster32/TBitmap32List.h"

#include <QBuffer>
#include <QGuiApplication>
#include <cstdio>

static int fail(const char *what)
{
    std::fprintf(stderr, "failed: %s\n", what);
    return 1;
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);

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
    if (!copy.SameImage(&bitmap))
        return fail("stored form round trip");

    raster32::TBitmap32List list;
    if (!list.Bitmaps())
        return fail("bitmap list");
    return 0;
}
