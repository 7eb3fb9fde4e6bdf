#include "ErrorDisplayCapture.h"

namespace platform::testsupport {

ErrorDisplayCapture::ErrorDisplayCapture()
    : m_previousReporter(setErrorReporter({}))
    , m_previousDisplay(setErrorDisplay([this](const QString &caption, const QString &message) {
        m_shown.emplace_back(caption, message);
    }))
{
}

ErrorDisplayCapture::~ErrorDisplayCapture()
{
    setErrorDisplay(std::move(m_previousDisplay));
    setErrorReporter(std::move(m_previousReporter));
}

} // namespace platform::testsupport
