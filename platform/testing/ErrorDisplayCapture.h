#pragma once

#include "platform/ErrorReport.h"

#include <QString>
#include <utility>
#include <vector>

namespace platform::testsupport {

// Records what reaches the error display (caption and text) while it lives:
// it takes the reporter away (errors then go to the display, as in a program
// where no test captures them) and installs itself as the display. Both are
// restored on destruction.
class ErrorDisplayCapture
{
public:
    ErrorDisplayCapture();
    ~ErrorDisplayCapture();
    ErrorDisplayCapture(const ErrorDisplayCapture &) = delete;
    ErrorDisplayCapture &operator=(const ErrorDisplayCapture &) = delete;

    // (caption, text) of each error shown, in order. GUI thread only.
    const std::vector<std::pair<QString, QString>> &shown() const { return m_shown; }

private:
    std::vector<std::pair<QString, QString>> m_shown;
    ErrorReporter m_previousReporter;
    ErrorDisplay m_previousDisplay;
};

} // namespace platform::testsupport
