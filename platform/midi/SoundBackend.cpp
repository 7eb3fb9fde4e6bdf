#include "SoundBackend.h"

#include <QFileInfo>

#include <dlfcn.h>
#include <mutex>

namespace platform::midi {

namespace {

struct LoadedBackend
{
    SoundBackendEntry entry = nullptr;
    QString error;
};

QString dlopenError()
{
    const char *reason = dlerror();
    return reason ? QString::fromLocal8Bit(reason) : QStringLiteral("unknown error");
}

LoadedBackend load()
{
    const QString fileName = QStringLiteral(TONVIK_SOUND_LIBRARY);
    QStringList candidates;
    // Beside this library: the build folder, or an installation to a prefix
    // of its own that the dynamic linker's search does not cover.
    Dl_info self{};
    if (dladdr(reinterpret_cast<const void *>(&loadSoundBackend), &self) && self.dli_fname)
        candidates << QFileInfo(QString::fromLocal8Bit(self.dli_fname)).absolutePath() + u'/' + fileName;
    candidates << fileName;

    LoadedBackend loaded;
    QStringList reasons;
    for (const QString &candidate : candidates) {
        if (candidate.contains(u'/') && !QFileInfo::exists(candidate))
            continue;
        void *handle = dlopen(QFile::encodeName(candidate).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            reasons << dlopenError();
            continue;
        }
        // Never closed: the devices made by the library live until the end.
        loaded.entry = reinterpret_cast<SoundBackendEntry>(dlsym(handle, SoundBackendEntryName));
        if (loaded.entry)
            return loaded;
        reasons << dlopenError();
    }
    loaded.error = QStringLiteral("The sound library %1 cannot be loaded: %2")
                       .arg(fileName, reasons.join(QStringLiteral("; ")));
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
