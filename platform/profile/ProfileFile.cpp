#include "ProfileFile.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::profile {

namespace {

// The file is scanned in place: lines are ranges of its bytes, nothing is
// copied per line, so memory stays at the file's size whatever its shape
// (millions of empty lines, one line of megabytes).
struct LineRef
{
    qsizetype begin = 0;  // text [begin, end)
    qsizetype end = 0;
    qsizetype next = 0;   // line ending [end, next)
};

bool hasUtf8Bom(QByteArrayView data)
{
    return data.startsWith("\xEF\xBB\xBF");
}

bool hasUtf16Bom(QByteArrayView data)
{
    return data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF");
}

// LF, CRLF and a lone CR each end a line, so a file written with any of
// them (or a mix) reads as lines.
class LineScanner
{
public:
    explicit LineScanner(QByteArrayView data) : m_data(data), m_pos(hasUtf8Bom(data) ? 3 : 0) {}

    bool next(LineRef *line)
    {
        const qsizetype size = m_data.size();
        if (m_pos >= size)
            return false;
        qsizetype end = m_pos;
        while (end < size && m_data[end] != '\n' && m_data[end] != '\r')
            ++end;
        qsizetype next = end;
        if (end < size)
            next = m_data[end] == '\r' && end + 1 < size && m_data[end + 1] == '\n' ? end + 2 : end + 1;
        *line = {m_pos, end, next};
        m_pos = next;
        return true;
    }

    QByteArrayView text(const LineRef &line) const { return m_data.sliced(line.begin, line.end - line.begin); }

private:
    QByteArrayView m_data;
    qsizetype m_pos;
};

// The ending of the file's first line: what new lines are written with.
QByteArray firstLineEnding(QByteArrayView data)
{
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] == '\n')
            return "\n";
        if (data[i] == '\r')
            return i + 1 < data.size() && data[i + 1] == '\n' ? "\r\n" : "\r";
    }
    return "\n";
}

// A name's or value's text. Only the file's own leading byte-order mark is
// skipped (by the line scanner); one inside a line is text, kept so that a
// value written with it reads back the same.
QString decoded(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return QString(utf8(bytes)).trimmed();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line, or a null string for other lines.
QString sectionName(QByteArrayView text)
{
    const QByteArrayView t = text.trimmed();
    if (!t.startsWith('['))
        return {};
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return {};
    QString name = decoded(t.sliced(1, close - 1));
    return name.isNull() ? QString("") : name;
}

// Splits a "key=value" line; false for comments and lines that hold no key.
bool keyValue(QByteArrayView text, QString *key, QString *value)
{
    if (text.trimmed().startsWith(';'))
        return false;
    const qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return false;
    *key = decoded(text.first(eq));
    if (value)
        *value = decoded(text.sliced(eq + 1));
    return !key->isEmpty();
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }
    // Closes now, reporting the error a deferred write may only show here.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

enum class Load { Missing, Loaded, Refused };

// Reads fileName whole if it is a regular file the functions handle.
// O_NONBLOCK keeps the open from waiting on a FIFO put there meanwhile; the
// read stops one byte past the size limit, so a file that grows or claims
// less than it holds is refused without being read to its end.
Load loadFile(const QByteArray &path, bool followLink, QByteArray *data, struct stat *info = nullptr)
{
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLink ? 0 : O_NOFOLLOW);
    FileDescriptor fd(::open(path.constData(), flags));
    if (fd.get() < 0)
        return errno == ENOENT ? Load::Missing : Load::Refused;
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > MaxProfileFileSize)
        return Load::Refused;
    if (info)
        *info = st;
    data->clear();
    data->reserve(qsizetype(st.st_size) + 1);
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Load::Refused;
        if (n == 0)
            break;
        data->append(chunk, n);
        if (data->size() > MaxProfileFileSize)
            return Load::Refused;
    }
    return hasUtf16Bom(*data) ? Load::Refused : Load::Loaded;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Makes the rename of a finished save durable as well.
void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Replaces fileName by a file holding content: a new file in the same folder
// (created with mode 0666 less the umask, or given the old file's owner and
// permissions), synced, then renamed over the name. rename() replaces the
// name itself and never writes through a link put there meanwhile; QSaveFile
// is not used because it resolves a link and replaces the file it points to.
bool replaceFile(const QString &fileName, const QByteArray &content, const struct stat *old)
{
    const QFileInfo info(fileName);
    const QByteArray folder = QFile::encodeName(info.path());
    const QByteArray prefix = folder + "/." + QFile::encodeName(info.fileName()) + '.';
    QByteArray temp;
    int created = -1;
    for (int attempt = 0; attempt < 100 && created < 0; ++attempt) {
        temp = prefix + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        created = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (created < 0 && errno != EEXIST)
            return false;
    }
    if (created < 0)
        return false;
    FileDescriptor fd(created);
    bool ok = true;
    if (old) {
        // Best effort for the owner (only root may give a file away); the
        // permissions are kept, set after the owner since chown clears
        // set-id bits.
        if (old->st_uid != ::geteuid() || old->st_gid != ::getegid())
            (void)!::fchown(fd.get(), old->st_uid, old->st_gid);
        ok = ::fchmod(fd.get(), old->st_mode & 07777) == 0;
    }
    ok = ok && writeAll(fd.get(), content) && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    ok = ok && ::rename(temp.constData(), QFile::encodeName(fileName).constData()) == 0;
    if (!ok) {
        ::unlink(temp.constData());
        return false;
    }
    syncFolder(folder);
    return true;
}

bool validName(const QString &name)
{
    return !name.trimmed().isEmpty() && !name.contains('\n') && !name.contains('\r');
}

// data with its bytes [from, to) replaced by insert, built in one buffer so a
// rewrite holds the file no more than twice.
QByteArray spliced(const QByteArray &data, qsizetype from, qsizetype to, const QByteArray &insert)
{
    QByteArray out;
    out.reserve(data.size() - (to - from) + insert.size());
    out.append(QByteArrayView(data).first(from)).append(insert).append(QByteArrayView(data).sliced(to));
    return out;
}

// The file's content with key in section set to line (a whole "key=value").
QByteArray withKey(const QByteArray &data, const QString &section, const QString &key, const QByteArray &line)
{
    const QByteArray eol = firstLineEnding(data);
    LineScanner scanner(data);
    LineRef current;
    LineRef lastFilled;
    bool inSection = false;
    while (scanner.next(&current)) {
        const QByteArrayView text = scanner.text(current);
        const QString name = sectionName(text);
        if (!name.isNull()) {
            if (inSection)
                break;  // end of the section's first occurrence
            inSection = sameName(name, section);
            lastFilled = current;
            continue;
        }
        if (!inSection)
            continue;
        if (!text.trimmed().isEmpty())
            lastFilled = current;
        QString k;
        if (keyValue(text, &k, nullptr) && sameName(k, key))
            return spliced(data, current.begin, current.end, line);
    }

    if (inSection) {
        // After the section's last line that is not blank.
        if (lastFilled.next == lastFilled.end)  // the file's last line, unended
            return spliced(data, data.size(), data.size(), eol + line + eol);
        return spliced(data, lastFilled.next, lastFilled.next, line + eol);
    }
    const qsizetype contentStart = hasUtf8Bom(data) ? 3 : 0;
    const bool ended = data.size() <= contentStart || data.endsWith('\n') || data.endsWith('\r');
    return spliced(data, data.size(), data.size(),
                   (ended ? QByteArray() : eol) + '[' + section.toUtf8() + ']' + eol + line + eol);
}

} // namespace

QString GetPrivateProfileString(const QString &section, const QString &key,
                                const QString &def, const QString &fileName)
{
    QString result = def;
    QByteArray data;
    if (loadFile(QFile::encodeName(fileName), true, &data) == Load::Loaded) {
        const QString wantSection = section.trimmed();
        const QString wantKey = key.trimmed();
        bool inSection = false;
        LineScanner scanner(data);
        LineRef line;
        while (scanner.next(&line)) {
            const QByteArrayView text = scanner.text(line);
            const QString name = sectionName(text);
            if (!name.isNull()) {
                inSection = sameName(name, wantSection);
                continue;
            }
            QString k, v;
            if (inSection && keyValue(text, &k, &v) && sameName(k, wantKey)) {
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

    const QByteArray path = QFile::encodeName(fileName);
    struct stat st;
    QByteArray data;
    bool exists = ::lstat(path.constData(), &st) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists) {
        // A link (S_ISLNK) is no regular file here: it is never written
        // through. A file without any write permission bit counts as
        // read-only even for root, whom the system would let replace it. The
        // file read must be the one checked, not one swapped in since.
        const mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;
        struct stat opened;
        if (!S_ISREG(st.st_mode) || !(st.st_mode & writeBits)
            || ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0
            || loadFile(path, false, &data, &opened) != Load::Loaded
            || opened.st_dev != st.st_dev || opened.st_ino != st.st_ino)
            return false;
    }

    const QByteArray line = key.trimmed().toUtf8() + '=' + value.trimmed().toUtf8();
    const QByteArray content = withKey(data, section.trimmed(), key.trimmed(), line);
    if (exists && content == data)
        return true;
    return replaceFile(fileName, content, exists ? &st : nullptr);
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

ProfileAccess PrivateProfileAccess(const QString &fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return errno == ENOENT ? ProfileAccess::Missing : ProfileAccess::Unreadable;
    QByteArray data;
    return loadFile(path, true, &data) == Load::Loaded ? ProfileAccess::Readable : ProfileAccess::Unreadable;
}

} // namespace platform::profile
