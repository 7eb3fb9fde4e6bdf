#include "Application.h"

#include "Exception.h"
#include "GuiWaker.h"
#include "Synchronize.h"

#include <QAbstractEventDispatcher>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <mutex>

namespace platform {

namespace {

std::mutex reporterMutex;
ErrorReporter &reporterSlot()
{
    static ErrorReporter reporter;
    return reporter;
}

QString messageOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception &e) {
        return e.message();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown exception");
    }
}

} // namespace

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    GuiWaker::ensure();
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showException(std::current_exception());
        return false;
    }
}

void showError(const QString &message)
{
    ErrorReporter reporter;
    {
        std::lock_guard lock(reporterMutex);
        reporter = reporterSlot();
    }
    if (reporter) {
        reporter(message);
        return;
    }
    const QString title = QCoreApplication::applicationName();
    QMessageBox::critical(QApplication::activeWindow(), title, message);
}

void showException(std::exception_ptr error)
{
    if (error)
        showError(messageOf(error));
}

void guarded(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (...) {
        showException(std::current_exception());
    }
}

ErrorReporter setErrorReporter(ErrorReporter reporter)
{
    std::lock_guard lock(reporterMutex);
    ErrorReporter previous = std::move(reporterSlot());
    reporterSlot() = std::move(reporter);
    return previous;
}

void processMessages()
{
    if (GuiWaker *waker = GuiWaker::instance())
        waker->drain();
    checkSynchronize();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void waitForMessages(int timeoutMs)
{
    // A single-shot timer bounds the sleep; WaitForMoreEvents blocks in the
    // event dispatcher (poll) until something arrives, so no core spins.
    QTimer bound;
    bound.setSingleShot(true);
    bound.start(timeoutMs < 0 ? 0 : timeoutMs);
    checkSynchronize();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    checkSynchronize();
}

} // namespace platform
