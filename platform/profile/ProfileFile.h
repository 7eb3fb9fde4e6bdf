#pragma once

// Profile (INI) file access in the manner of the classic profile functions:
// sections in square brackets, "key=value" lines. Section and key names
// compare case-insensitively and ignore blanks around them. Lines the
// functions do not change (other sections and keys, comments, blank lines,
// line endings) are kept byte for byte.

#include <QString>

namespace platform::profile {

// Longest value a read returns; longer values are cut there.
constexpr int MaxProfileValue = 2047;

// The value of key in section of fileName, blanks around it removed; def when
// the file, the section or the key is missing or the file cannot be read.
QString GetPrivateProfileString(const QString &section, const QString &key,
                                const QString &def, const QString &fileName);

// Sets key in section of fileName to value, creating the file, the section or
// the key as needed; an existing key is replaced in place. The file is
// replaced atomically (temporary file in the same folder, synced, renamed),
// so a crash or a full disk leaves either the old or the new content. A file
// that exists but is not writable is left untouched. Returns false on any
// failure.
bool WritePrivateProfileString(const QString &section, const QString &key,
                               const QString &value, const QString &fileName);

// Puts the writes made so far on disk. Writes are synced as they are made,
// so this only checks that the file is there; false when it is not.
bool FlushPrivateProfile(const QString &fileName);

// Whether name is an existing file (not a folder).
bool FileExists(const QString &name);

} // namespace platform::profile
