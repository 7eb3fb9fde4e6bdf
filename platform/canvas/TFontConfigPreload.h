#pragma once

#include <thread>

namespace platform {

// Reads the system's font configuration (fontconfig's configuration files
// and its font caches) on a thread of its own. Qt reads it on the GUI thread
// the first time it lists the installed fonts, before anything can be
// measured or painted; most of that time goes into parsing the
// configuration's XML files. Started at the top of main, the reading runs on
// the other core beside the application object's set-up (the platform
// plugin, the connection to the display), and Qt later finds the
// configuration made. wait() belongs before the first use of fonts: a use
// while the thread still reads is correct (fontconfig keeps the first
// configuration made) but reads it twice.
class TFontConfigPreload
{
public:
    TFontConfigPreload();
    // Waits for the thread.
    ~TFontConfigPreload();
    TFontConfigPreload(const TFontConfigPreload &) = delete;
    TFontConfigPreload &operator=(const TFontConfigPreload &) = delete;

    // Returns once the configuration is read; at once on later calls.
    void wait();

private:
    std::thread m_thread;
};

} // namespace platform
