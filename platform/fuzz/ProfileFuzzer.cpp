// libFuzzer target for the profile functions. Each input is a settings file
// and a request: one key is read with a default, then one key is written.
// A finding is a crash, a sanitizer report or a broken promise of the
// functions:
// - a refused write leaves the file byte for byte as it was;
// - an accepted write reads back as written, leaves every other key's value
//   as it was, and changes no byte outside the one line it replaces (only
//   new lines and line endings are added).
//
// Input layout: byte 0 picks the section and the keys, byte 1 is the length
// of the value to write, the value bytes follow, the rest is the file.
// Names are taken from the file's own "[...]" and "...=" lines, so that the
// writes hit existing sections and keys as often as new ones.
//
// The file lives in one folder per process (below TMPDIR), rewritten by every
// input, so a long run leaves one small file behind, not one per input.
#include "platform/profile/ProfileFile.h"

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

using namespace platform::profile;

const QString kDefaultSection = QStringLiteral("Tonvik - Intervals (DEMO)");

// The work folder, made on first use and removed at a normal exit.
struct WorkFile
{
    QByteArray folder;
    QString path;

    WorkFile()
    {
        folder = QFile::encodeName(QDir::tempPath()) + "/tonvik-profile-fuzz-XXXXXX";
        if (!mkdtemp(folder.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        path = QFile::decodeName(folder) + QStringLiteral("/melbrook.ini");
    }
    ~WorkFile()
    {
        QDir(QFile::decodeName(folder)).removeRecursively();
    }
};

WorkFile &workFile()
{
    static WorkFile file;
    return file;
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

QByteArray get(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

// The names the file's lines offer: section names and key names, as raw
// text between the brackets and before the first '='.
void namesIn(const QByteArray &file, QList<QByteArray> *sections, QList<QByteArray> *keys)
{
    qsizetype start = 0;
    while (start <= file.size()) {
        qsizetype end = start;
        while (end < file.size() && file[end] != '\n' && file[end] != '\r')
            ++end;
        const QByteArray line = file.mid(start, end - start);
        const qsizetype open = line.indexOf('['), close = line.indexOf(']');
        if (open >= 0 && close > open)
            sections->append(line.mid(open + 1, close - open - 1));
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            keys->append(line.left(eq));
        start = end + 1;
    }
}

QString pick(const QList<QByteArray> &names, int index, const QString &fallback)
{
    if (names.isEmpty() || index == 0)
        return fallback;
    return QString::fromUtf8(names[(index - 1) % names.size()]);
}

bool same(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// True when `after` is `before` with at most one line's text replaced and
// complete lines added: the bytes that differ in `before` hold no line end.
bool onlyOneLineChanged(const QByteArray &before, const QByteArray &after)
{
    qsizetype prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix
           && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const QByteArray gone = before.mid(prefix, before.size() - prefix - suffix);
    return !gone.contains('\n') && !gone.contains('\r');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int selector = data[0];
    const size_t valueSize = std::min<size_t>(data[1], size - 2);
    const QString value = QString::fromUtf8(reinterpret_cast<const char *>(data + 2), qsizetype(valueSize));
    const QByteArray before(reinterpret_cast<const char *>(data + 2 + valueSize), qsizetype(size - 2 - valueSize));

    QList<QByteArray> sections, keys;
    namesIn(before, &sections, &keys);
    const QString section = pick(sections, selector & 0x03, kDefaultSection);
    const QString key = pick(keys, (selector >> 2) & 0x07, QStringLiteral("Level"));
    const QString otherSection = pick(sections, (selector >> 5) & 0x01, kDefaultSection);
    const QString otherKey = pick(keys, (selector >> 6) & 0x03, QStringLiteral("Score 1"));

    const QString &path = workFile().path;
    put(path, before);

    const QString def = QStringLiteral("\x01 default");
    GetPrivateProfileString(section, key, def, path);
    const QString otherBefore = GetPrivateProfileString(otherSection, otherKey, def, path);

    const bool written = WritePrivateProfileString(section, key, value, path);
    const QByteArray after = get(path);
    if (!written) {
        if (after != before)
            std::abort();
        return 0;
    }
    if (!onlyOneLineChanged(before, after))
        std::abort();
    if (GetPrivateProfileString(section, key, def, path) != value.trimmed().left(MaxProfileValue))
        std::abort();
    const bool sameKey = same(section, otherSection) && same(key, otherKey);
    if (!sameKey && GetPrivateProfileString(otherSection, otherKey, def, path) != otherBefore)
        std::abort();
    return 0;
}
