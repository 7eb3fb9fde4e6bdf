#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace platform::testsupport {

// Collects what would have been shown in the standard error box while it
// lives; the test main installs one for the whole run so no dialog blocks.
class ErrorCapture
{
public:
    ErrorCapture();
    ~ErrorCapture();
    ErrorCapture(const ErrorCapture &) = delete;
    ErrorCapture &operator=(const ErrorCapture &) = delete;

    QStringList messages() const;
    void clear();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace platform::testsupport
