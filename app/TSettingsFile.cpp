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
    bool ok = false;
    // QString::toInt takes an optional sign and decimal digits only, and
    // fails on overflow of 32 bits.
    int value = text.trimmed().toInt(&ok, 10);
    if (!ok || text.trimmed().isEmpty())
        throw platform::EConvertError(QString("'%1' is not a valid integer value").arg(text));
    return value;
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
    if (!platform::profile::WritePrivateProfileString(section, key, value, m_fileName))
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
