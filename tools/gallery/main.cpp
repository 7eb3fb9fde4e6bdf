// coolctrls-gallery: the skinned controls of the coolctrls library in their
// looks, one tab page per control kind.
//   coolctrls-gallery [--page NAME] [--screenshot FILE]
// --page opens that page first; --screenshot saves a picture of the page
// (the whole window) and quits.
#include "GalleryPage.h"

#include "coolctrls/TCoolImages.h"
#include "coolctrls/TImageItem.h"
#include "coolctrls/TImages.h"
#include "coolctrls/TPicture.h"
#include "platform/Application.h"
#include "platform/canvas/ColorScheme.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryFile>
#include <QTextStream>
#include <QTimer>

namespace {

// A 16 x 16 two-colour chequer, stored as a BMP picture, for looks that
// show tiling or stretching plainly.
QByteArray chequerBmp()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(0xE8, 0xE0, 0xC8));
    QPainter p(&image);
    p.fillRect(0, 0, 8, 8, QColor(0x9C, 0xB4, 0xD8));
    p.fillRect(8, 8, 8, 8, QColor(0x9C, 0xB4, 0xD8));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

void fillStore(coolctrls::TCoolImages &images)
{
    QFile file(":/gallery/wallpaper.pic");
    if (file.open(QIODevice::ReadOnly)) {
        coolctrls::TPicture wallpaper;
        wallpaper.loadFromStoredForm(file.readAll());
        images.Images()->Add()->setPicture(&wallpaper);
    }
    // Pictures load from files by suffix; the chequer goes through a
    // temporary .bmp file.
    QTemporaryFile bmp(QDir::tempPath() + "/gallery-XXXXXX.bmp");
    if (bmp.open() && bmp.write(chequerBmp()) > 0 && bmp.flush()) {
        coolctrls::TPicture chequer;
        chequer.loadFromFile(bmp.fileName());
        images.Images()->Add()->setPicture(&chequer);
    }
}

} // namespace

int main(int argc, char **argv)
{
    platform::Application application(argc, argv);
    application.setApplicationName("coolctrls-gallery");
    application.setApplicationDisplayName("coolctrls gallery");

    QCommandLineParser options;
    options.setApplicationDescription("The skinned controls of coolctrls in their looks.");
    options.addHelpOption();
    QCommandLineOption screenshot("screenshot", "Save a picture of the page to FILE and quit.", "FILE");
    QCommandLineOption page("page", "The page to show: a control kind in lower case.", "NAME");
    options.addOption(screenshot);
    options.addOption(page);
    options.process(application);

    platform::applyClassicLook();

    coolctrls::TCoolImages images;
    fillStore(images);
    const gallery::GalleryContext context{&images};

    QTabWidget window;
    window.setWindowTitle("coolctrls gallery");
    const std::vector<gallery::GalleryPageInfo> pages = gallery::galleryPages();
    int current = -1;
    for (const gallery::GalleryPageInfo &info : pages) {
        auto *scroll = new QScrollArea(&window);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(info.create(scroll, context));
        const int index = window.addTab(scroll, info.title);
        if (options.isSet(page) && info.name == options.value(page))
            current = index;
    }
    if (pages.empty())
        window.addTab(new QLabel("No pages are built in.", &window), "Gallery");
    if (options.isSet(page) && current < 0) {
        QStringList names;
        for (const gallery::GalleryPageInfo &info : pages)
            names << info.name;
        QTextStream(stderr) << "coolctrls-gallery: no page \"" << options.value(page)
                            << "\"; pages: " << names.join(", ") << "\n";
        return 2;
    }
    if (current >= 0)
        window.setCurrentIndex(current);
    window.resize(1000, 720);
    window.show();

    if (options.isSet(screenshot)) {
        // Let the first paints (and any timers of animated samples) run once.
        QTimer::singleShot(400, &window, [&] {
            if (!window.grab().save(options.value(screenshot))) {
                QTextStream(stderr) << "coolctrls-gallery: cannot write " << options.value(screenshot) << "\n";
                application.exit(1);
                return;
            }
            window.close();
        });
    }
    return application.exec();
}
