#include "WavRender.h"

bool renderWav(const std::vector<uint8_t> &, const QString &, QString *error)
{
    *error = QStringLiteral("offline rendering is not available");
    return false;
}
