#include "WavRender.h"

#include "platform/Exception.h"
#include "platform/midi/OfflineRender.h"

bool renderWav(const std::vector<uint8_t> &buffer, const QString &path, QString *error)
{
    try {
        // The generator's streams run at 50 ticks per quarter note.
        platform::midi::renderStreamToWav(buffer.data(), buffer.size(), 50, path);
        return true;
    } catch (const platform::Exception &e) {
        *error = e.message();
    } catch (const std::exception &e) {
        *error = QString::fromUtf8(e.what());
    }
    return false;
}
