#include "ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QList>

#include <fcntl.h>
#include <unistd.h>

namespace platform::profile {

namespace {

// One line of the file with its line ending kept apart, so that untouched
// lines are written back exactly as read.
struct Line
{
    QByteArray text;
    QByteArray ending;
};

// LF, CRLF and a lone CR each end a line, so a file written with any of
// them (or a mix) reads as lines.
QList<Line> splitLines(const QByteArray &data)
{
    QList<Line> lines;
    qsizetype start = 0;
    const qsizetype size = data.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        Line line;
        line.text = data.mid(start, end - start);
        qsizetype next = end;
        if (end < size) {
            next = data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? end + 2 : end + 1;
            line.ending = data.mid(end, next - end);
        }
        start = next;
        lines.append(line);
    }
    return lines;
}

QString decoded(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes).trimmed();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line, or a null string for other lines.
QString sectionName(const QByteArray &text)
{
    QByteArray t = text.trimmed();
    if (!t.startsWith('['))
        return {};
    qsizetype close = t.indexOf(']');
    if (close < 0)
        return {};
    QString name = decoded(t.mid(1, close - 1));
    return name.isNull() ? QString("") : name;
}

bool isComment(const QByteArray &text)
{
    QByteArray t = text.trimmed();
    return t.startsWith(';');
}

// Splits a "key=value" line; false for lines that hold no key.
bool keyValue(const QByteArray &text, QString *key, QString *value)
{
    if (isComment(text))
        return false;
    qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return false;
    *key = decoded(text.left(eq));
    if (value)
        *value = decoded(text.mid(eq + 1));
    return !key->isEmpty();
}

bool readAll(const QString &fileName, QByteArray *data)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *data = file.readAll();
    return file.error() == QFileDevice::NoError;
}

// Makes the rename of a finished save durable as well.
void syncFolder(const QString &fileName)
{
    QByteArray folder = QFile::encodeName(QFileInfo(fileName).absolutePath());
    int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool validName(const QString &name)
{
    return !name.trimmed().isEmpty() && !name.contains('\n') && !name.contains('\r');
}

} // namespace

QString GetPrivateProfileString(const QString &section, const QString &key,
                                const QString &def, const QString &fileName)
{
    QString result = def;
    QByteArray data;
    if (FileExists(fileName) && readAll(fileName, &data)) {
        const QString wantSection = section.trimmed();
        const QString wantKey = key.trimmed();
        bool inSection = false;
        for (const Line &line : splitLines(data)) {
            QString name = sectionName(line.text);
            if (!name.isNull()) {
                inSection = sameName(name, wantSection);
                continue;
            }
            QString k, v;
            if (inSection && keyValue(line.text, &k, &v) && sameName(k, wantKey)) {
                result = v;
                break;
            }
        }
    }
    return result.left(MaxProfileValue);
}

bool WritePrivateProfileString(const QString &section, const QString &key,
                               const QString &value, const QString &fileName)
{
    // Names or values that would break the line structure are refused rather
    // than written as something that reads back differently.
    if (!validName(section) || section.contains(']') || !validName(key) || key.contains('=')
        || key.trimmed().startsWith('[') || key.trimmed().startsWith(';')
        || value.contains('\n') || value.contains('\r'))
        return false;

    QFileInfo info(fileName);
    QByteArray data;
    if (info.exists()) {
        // A file without any write permission bit counts as read-only even
        // for a user (root) whom the system would let write it: the
        // replacement by rename would otherwise overwrite it.
        const auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if (!info.isFile() || !info.isWritable() || !(info.permissions() & writeBits)
            || !readAll(fileName, &data))
            return false;
    }

    QList<Line> lines = splitLines(data);
    QByteArray eol = "\n";
    for (const Line &line : lines) {
        if (!line.ending.isEmpty()) {
            eol = line.ending;
            break;
        }
    }
    const QByteArray newLine = key.trimmed().toUtf8() + '=' + value.trimmed().toUtf8();
    const QString wantSection = section.trimmed();
    const QString wantKey = key.trimmed();

    qsizetype sectionLine = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString name = sectionName(lines[i].text);
        if (!name.isNull() && sameName(name, wantSection)) {
            sectionLine = i;
            break;
        }
    }

    if (sectionLine < 0) {
        if (!lines.isEmpty() && lines.last().ending.isEmpty())
            lines.last().ending = eol;
        lines.append({'[' + wantSection.toUtf8() + ']', eol});
        lines.append({newLine, eol});
    } else {
        qsizetype keyLine = -1;
        qsizetype lastFilled = sectionLine;
        for (qsizetype i = sectionLine + 1; i < lines.size(); ++i) {
            if (!sectionName(lines[i].text).isNull())
                break;
            if (!lines[i].text.trimmed().isEmpty())
                lastFilled = i;
            QString k;
            if (keyValue(lines[i].text, &k, nullptr) && sameName(k, wantKey)) {
                keyLine = i;
                break;
            }
        }
        if (keyLine >= 0) {
            lines[keyLine].text = newLine;
        } else {
            if (lines[lastFilled].ending.isEmpty())
                lines[lastFilled].ending = eol;
            lines.insert(lastFilled + 1, {newLine, eol});
        }
    }

    QByteArray out;
    for (const Line &line : lines)
        out += line.text + line.ending;

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(out) != out.size()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    syncFolder(fileName);
    return true;
}

bool FlushPrivateProfile(const QString &fileName)
{
    return FileExists(fileName);
}

bool FileExists(const QString &name)
{
    QFileInfo info(name);
    return info.exists() && info.isFile();
}

} // namespace platform::profile
