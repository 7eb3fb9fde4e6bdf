#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

// Base of the exceptions the system raises. Carries the message the user sees
// in the standard error box.
class Exception : public std::runtime_error
{
public:
    explicit Exception(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const noexcept { return m_message; }

private:
    QString m_message;
};

// A text that cannot be converted to the number or value asked for.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

} // namespace platform
