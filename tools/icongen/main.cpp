// icongen: writes the program icon in the sizes desktop menus and software
// centres look for, scaled down from the 128 x 128 window icon.
//   icongen SOURCE.png OUTPUT_FOLDER
// writes OUTPUT_FOLDER/NxN/tonvik-intervals.png for N = 16 .. 64 (the
// 128 x 128 icon is the source itself).
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: icongen SOURCE.png OUTPUT_FOLDER\n");
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "icongen: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int size : {16, 22, 24, 32, 48, 64}) {
        const QString folder = QStringLiteral("%1/%2x%2").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        QDir().mkpath(folder);
        // Halving step by step keeps the thin staff lines from vanishing,
        // which one smooth scale straight down to 16 pixels would do.
        QImage image = source;
        while (image.width() / 2 >= size)
            image = image.scaled(image.width() / 2, image.height() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (image.width() != size)
            image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QString file = folder + QStringLiteral("/tonvik-intervals.png");
        if (!image.convertToFormat(QImage::Format_RGB888).save(file)) {
            std::fprintf(stderr, "icongen: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
