#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

namespace platform {

// The GUI application. Every event Qt delivers passes through notify(), so an
// exception that escapes an event handler ends up in the standard error box
// instead of unwinding through Qt's C frames; the program then goes on.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Shows the exception's text in the standard error box (or hands it to the
// installed reporter). Safe to call from any catch block on the GUI thread.
void showException(std::exception_ptr error);
void showError(const QString &message);

// Runs fn; an exception escaping it is reported as above. For dispatch sites
// that do not pass through QApplication::notify (std::function callbacks).
void guarded(const std::function<void()> &fn);

// Replaces the error box, e.g. by tests that observe reported errors without
// a blocking dialog. Returns the previous reporter; an empty one restores the
// message box.
using ErrorReporter = std::function<void(const QString &message)>;
ErrorReporter setErrorReporter(ErrorReporter reporter);

// Dispatches everything queued for the GUI thread and returns at once.
void processMessages();

// Sleeps until at least one message arrives for the GUI thread (or timeoutMs
// passes), then dispatches what is queued. For wait loops that must not spin.
void waitForMessages(int timeoutMs);

} // namespace platform
