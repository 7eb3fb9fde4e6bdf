// Program entry of Tonvik - Intervals.
#include "platform/canvas/ColorScheme.h"
#include "platform/canvas/TFontConfigPreload.h"
#include "TfMain.h"

#include "platform/Application.h"
#include "platform/midi/MidiOut.h"

#include <QCommandLineParser>
#include <QTabWidget>
#include <QTimer>

int main(int argc, char **argv)
{
    // The window's steady updates are small strips (the credits line, 40
    // a second). Through X shared memory each of them costs a round trip to
    // the server before the next paint may touch the strip (two more thread
    // wake-ups a tick); sent in the request they cost a copy of a few
    // kilobytes and no wait. Set before the connection to the X server opens;
    // a value the user set stays.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    // The font configuration is read on the other core while the
    // application object connects to the display; the classic look's fonts
    // are the first to need it. Started after the environment is set:
    // fontconfig reads it on that thread.
    platform::TFontConfigPreload fontConfig;
    platform::Application application(argc, argv);
    application.setApplicationName("Tonvik - Intervals (DEMO)");
    application.setApplicationDisplayName("Tonvik - Intervals (DEMO)");
    application.setDesktopFileName("tonvik-intervals");

    // --screenshot FILE: shows the window, saves a picture of it and quits
    // (for documentation). The program takes no other arguments and ignores
    // whatever else it is given: it always opens its window, never stops at
    // an unknown option.
    QCommandLineParser options;
    QCommandLineOption screenshot("screenshot", "Save a picture of the window to FILE and quit.", "FILE");
    QCommandLineOption page("page", "Page to show first with --screenshot (0 or 1).", "INDEX", "0");
    options.addOption(screenshot);
    options.addOption(page);
    options.parse(application.arguments());

    fontConfig.wait();
    platform::applyClassicLook();
    app::TfMain fMain;
    fMain.show();
    // Load the synthesizer's SoundFont in the background once the window is
    // up, so the first question does not wait for it.
    QTimer::singleShot(0, &fMain, [] { platform::midi::midiOutPreload(); });

    if (options.isSet(screenshot)) {
        QTimer::singleShot(300, &fMain, [&] {
            fMain.PageControl()->setCurrentIndex(options.value(page).toInt());
            QTimer::singleShot(300, &fMain, [&] {
                fMain.grab().save(options.value(screenshot));
                fMain.close();
            });
        });
    }
    return application.exec();
}
