#pragma once

#include <QString>

namespace app {

// A settings file of the INI kind, read and written through the platform's
// profile functions. Reads fall back to a default; a failing write raises
// platform::Exception "Unable to write to <file name>".
//
// A file that is there when the object is created but cannot be read (no
// read permission, too large, not a regular file) is never written by it:
// a write would replace values it never saw with defaults. Its writes fail
// as above.
class TSettingsFile
{
public:
    explicit TSettingsFile(const QString &fileName);

    const QString &FileName() const { return m_fileName; }

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    // Raises platform::EConvertError when the value is not a decimal integer.
    int ReadInteger(const QString &section, const QString &key, const QString &def) const;
    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    // Puts the written values on disk; raises like WriteString.
    void UpdateFile();

private:
    QString m_fileName;
    bool m_unreadAtStart;
};

// The conversion of a text to a signed 32-bit decimal integer: blanks around
// it and a sign are accepted. Raises platform::EConvertError
// "'<text>' is not a valid integer value" otherwise.
int StrToInt(const QString &text);

} // namespace app
