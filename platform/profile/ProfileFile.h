#pragma once

// Profile (INI) file access in the manner of the classic profile functions:
// sections in square brackets, "key=value" lines. Section and key names
// compare case-insensitively and ignore blanks around them. Lines the
// functions do not change (other sections and keys, comments, blank lines,
// line endings, bytes that are not valid UTF-8, NUL bytes) are kept byte for
// byte.
//
// LF, CRLF and a lone CR each end a line. A UTF-8 byte order mark at the
// start is skipped when reading and kept when writing. A section that occurs
// more than once reads as one: a key is taken from the first occurrence that
// holds it; a write replaces the key in the first occurrence of the section
// or adds it there, so a read after it sees the written value.
//
// Files the functions will not handle: anything that is not a regular file
// (folder, FIFO, device), a file larger than MaxProfileFileSize, a file that
// starts with a UTF-16 byte order mark. A read of them gives the default and
// a write fails, leaving them exactly as they are.
//
// Symbolic links: a read follows a link to the file it names; a write never
// does. A write to a name that is a link fails and changes nothing, neither
// the link nor the file it points to, wherever that is.

#include <QString>

namespace platform::profile {

// Longest value a read returns; longer values are cut there.
constexpr int MaxProfileValue = 2047;

// Largest file the functions read (16 MiB, far beyond any settings file):
// it is held whole in memory while it is read or rewritten. Larger files are
// neither read nor written.
constexpr qint64 MaxProfileFileSize = 16 * 1024 * 1024;

// The value of key in section of fileName, blanks around it removed; def when
// the file, the section or the key is missing or the file cannot be read.
QString GetPrivateProfileString(const QString &section, const QString &key,
                                const QString &def, const QString &fileName);

// Sets key in section of fileName to value, creating the file, the section or
// the key as needed; an existing key is replaced in place. The file is
// replaced atomically (temporary file in the same folder, synced, renamed;
// its permissions kept), so a crash or a full disk leaves either the old or
// the new content. When the content would not change, nothing is written.
// Returns false on any failure, leaving the file as it was: a file that is not
// writable (or has no write permission bit, also for root), cannot be read, is
// one of the files above or is reached through a symbolic link, and a folder
// where no file can be created.
bool WritePrivateProfileString(const QString &section, const QString &key,
                               const QString &value, const QString &fileName);

// Puts the writes made so far on disk. Writes are synced as they are made,
// so this only checks that the file is there; false when it is not.
bool FlushPrivateProfile(const QString &fileName);

// Whether name is an existing file (not a folder).
bool FileExists(const QString &name);

// How the functions see fileName: nothing there, a file they read, or
// something there that they do not read (see above; also a file without read
// permission and a link to nothing). A caller that found a file unreadable
// should not write it later: it would replace what it never saw.
enum class ProfileAccess { Missing, Readable, Unreadable };
ProfileAccess PrivateProfileAccess(const QString &fileName);

} // namespace platform::profile
