#pragma once

#include <QString>
#include <exception>
#include <functional>

namespace platform {

// The program's error routine. Everything that reports an error to the user
// (an exception escaping an event handler, a component's own message) calls
// showError; where the text ends up is decided in one place:
//   1. a reporter installed with setErrorReporter (tests capture errors so
//      no dialog blocks), else
//   2. the error display the GUI layer installed (the standard error box,
//      see platform::Application), else
//   3. standard error, for programs without windows.
// Safe to call from any catch block on the GUI thread.

// Shows message in the error display. The caption is the application's name
// unless one is given.
void showError(const QString &message, const QString &caption = QString());

// Shows the exception's text as above.
void showException(std::exception_ptr error);

// Runs fn; an exception escaping it is reported as above. For dispatch sites
// that do not pass through the application's event filter (std::function
// callbacks).
void guarded(const std::function<void()> &fn);

// Replaces the error display, e.g. by tests that observe reported errors
// without a blocking dialog. Returns the previous reporter; an empty one
// restores the error display.
using ErrorReporter = std::function<void(const QString &message)>;
ErrorReporter setErrorReporter(ErrorReporter reporter);

// How an error reaches the user when no reporter is installed. The GUI layer
// installs the standard error box; returns the previous display. An empty
// display means standard error.
using ErrorDisplay = std::function<void(const QString &caption, const QString &message)>;
ErrorDisplay setErrorDisplay(ErrorDisplay display);

} // namespace platform
