#include "TSettingsFile.h"

#include "platform/Exception.h"
#include "platform/profile/ProfileFile.h"

namespace app {

namespace {

[[noreturn]] void unableToWrite(const QString &fileName)
{
    throw platform::Exception(QString("Unable to write to %1").arg(fileName));
}

} // namespace

int StrToInt(const QString &text)
{
    // An optional sign and decimal digits only. The characters are checked
    // here because QString::toInt stops at a NUL character and would read
    // "6<NUL>0" as 6; it still does the conversion and fails on overflow of
    // 32 bits.
    const QString t = text.trimmed();
    bool ok = !t.isEmpty();
    for (qsizetype i = 0; ok && i < t.size(); ++i) {
        const QChar c = t[i];
        ok = (c >= u'0' && c <= u'9') || (i == 0 && t.size() > 1 && (c == u'+' || c == u'-'));
    }
    const int value = ok ? t.toInt(&ok, 10) : 0;
    if (!ok)
        throw platform::EConvertError(QString("'%1' is not a valid integer value").arg(text));
    return value;
}

TSettingsFile::TSettingsFile(const QString &fileName)
    : m_fileName(fileName)
    , m_unreadAtStart(platform::profile::PrivateProfileAccess(fileName)
                      == platform::profile::ProfileAccess::Unreadable)
{
}

QString TSettingsFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    return platform::profile::GetPrivateProfileString(section, key, def, m_fileName);
}

int TSettingsFile::ReadInteger(const QString &section, const QString &key, const QString &def) const
{
    return StrToInt(ReadString(section, key, def));
}

void TSettingsFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    if (m_unreadAtStart || !platform::profile::WritePrivateProfileString(section, key, value, m_fileName))
        unableToWrite(m_fileName);
}

void TSettingsFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TSettingsFile::UpdateFile()
{
    if (!platform::profile::FlushPrivateProfile(m_fileName))
        unableToWrite(m_fileName);
}

} // namespace app
