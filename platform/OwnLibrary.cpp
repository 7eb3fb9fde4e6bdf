#include "OwnLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <dlfcn.h>

namespace platform {

namespace {

QString dlopenError()
{
    const char *reason = dlerror();
    return reason ? QString::fromLocal8Bit(reason) : QStringLiteral("unknown error");
}

} // namespace

void *loadOwnLibrary(const QString &fileName, const char *entryName, QString *error)
{
    QStringList candidates;
    Dl_info self{};
    if (dladdr(reinterpret_cast<const void *>(&loadOwnLibrary), &self) && self.dli_fname)
        candidates << QFileInfo(QString::fromLocal8Bit(self.dli_fname)).absolutePath() + u'/' + fileName;
    candidates << fileName;

    QStringList reasons;
    for (const QString &candidate : candidates) {
        if (candidate.contains(u'/') && !QFileInfo::exists(candidate))
            continue;
        void *handle = dlopen(QFile::encodeName(candidate).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            reasons << dlopenError();
            continue;
        }
        // Never closed (see the header).
        if (void *entry = dlsym(handle, entryName)) {
            if (error)
                error->clear();
            return entry;
        }
        reasons << dlopenError();
    }
    if (error)
        *error = reasons.join(QStringLiteral("; "));
    return nullptr;
}

} // namespace platform
