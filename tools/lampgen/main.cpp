// Writes the three answer lamps in the bitmap's stored form:
//   lampgen OUTDIR  ->  OUTDIR/lamp-off.bmp32, lamp-green.bmp32, lamp-red.bmp32
#include "LampPattern.h"

#include "platform/Exception.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: lampgen OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "lampgen: cannot create %s\n", argv[1]);
        return 1;
    }
    const struct
    {
        const char *name;
        raster32::TColor32 fill;
    } lamps[] = {{"lamp-off.bmp32", lampgen::LampOff},
                 {"lamp-green.bmp32", lampgen::LampGreen},
                 {"lamp-red.bmp32", lampgen::LampRed}};
    for (const auto &lamp : lamps) {
        raster32::TBitmap32 bitmap;
        lampgen::paintLamp(bitmap, lamp.fill);
        QFile file(out.filePath(QString::fromLatin1(lamp.name)));
        try {
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                throw platform::Exception(file.errorString());
            bitmap.WriteStored(file);
        } catch (const platform::Exception &e) {
            std::fprintf(stderr, "lampgen: %s: %s\n", qPrintable(file.fileName()), qPrintable(e.message()));
            return 1;
        }
    }
    return 0;
}
