// coolbuttons: three skinned buttons on a skinned panel; each plays an
// interval through the MIDI generator, and a label names it.
//   coolbuttons          the window
//   coolbuttons --check  builds the window, paints it once off screen and
//                        exits with 0 when the controls painted themselves
#include "coolctrls/TCoolBtn.h"
#include "coolctrls/TCoolLabel.h"
#include "coolctrls/TCoolPanel.h"
#include "midigen/TMidiGen.h"
#include "platform/Application.h"

#include <QImage>

#include <cstdio>
#include <set>

int main(int argc, char **argv)
{
    platform::Application application(argc, argv);

    coolctrls::TCoolPanel window;
    window.setWindowTitle("Cool buttons");
    window.setCaption(QString());
    window.resize(300, 110);

    coolctrls::TCoolLabel heard(&window);
    heard.setGeometry(12, 64, 276, 24);
    heard.setFontHeight(-16);
    heard.setFontBold(true);
    heard.setTransparent(true);
    heard.setCaption("Click a button to hear an interval");

    TMidiGen midiGen(&window);
    midiGen.setDuration(100);

    struct Interval { const char *name; int semitones; };
    const Interval intervals[] = {{"Third", 4}, {"Fifth", 7}, {"Octave", 12}};
    int left = 12;
    for (const Interval &interval : intervals) {
        auto *button = new coolctrls::TCoolBtn(&window);
        button->setGeometry(left, 16, 84, 28);
        button->setCaption(interval.name);
        button->OnClick = [&midiGen, &heard, interval](QObject *) {
            heard.setCaption(QString("%1: %2 semitones").arg(interval.name).arg(interval.semitones));
            midiGen.PlayString(QString("N60,100;N%1,100").arg(60 + interval.semitones));
        };
        left += 96;
    }

    if (application.arguments().contains("--check")) {
        const QImage image = window.grab().toImage();
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        std::printf("coolbuttons: %dx%d window, %zu colours\n", image.width(), image.height(), colours.size());
        return colours.size() >= 4 ? 0 : 1;
    }
    window.show();
    return application.exec();
}
