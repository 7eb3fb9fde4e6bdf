#include "TFontConfigPreload.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace platform {

TFontConfigPreload::TFontConfigPreload()
{
    // Without a thread Qt reads the configuration itself, as it would anyway.
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
    }
}

TFontConfigPreload::~TFontConfigPreload()
{
    wait();
}

void TFontConfigPreload::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace platform
