#include "SoundBackend.h"

#include "platform/OwnLibrary.h"

namespace platform::midi {

namespace {

struct LoadedBackend
{
    SoundBackendEntry entry = nullptr;
    QString error;
};

LoadedBackend load()
{
    const QString fileName = QStringLiteral(TONVIK_SOUND_LIBRARY);
    LoadedBackend loaded;
    QString reasons;
    loaded.entry = reinterpret_cast<SoundBackendEntry>(loadOwnLibrary(fileName, SoundBackendEntryName, &reasons));
    if (!loaded.entry)
        loaded.error = QStringLiteral("The sound library %1 cannot be loaded: %2").arg(fileName, reasons);
    return loaded;
}

} // namespace

SoundBackendEntry loadSoundBackend(QString *error)
{
    static const LoadedBackend backend = load();
    if (error)
        *error = backend.error;
    return backend.entry;
}

} // namespace platform::midi
