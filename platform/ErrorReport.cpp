#include "ErrorReport.h"

#include "Exception.h"

#include <QCoreApplication>
#include <mutex>
#include <cstdio>

namespace platform {

namespace {

struct Routes
{
    std::mutex mutex;
    ErrorReporter reporter;
    ErrorDisplay display;
};

Routes &routes()
{
    static Routes r;
    return r;
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

void showError(const QString &message, const QString &caption)
{
    ErrorReporter reporter;
    ErrorDisplay display;
    {
        std::lock_guard lock(routes().mutex);
        reporter = routes().reporter;
        display = routes().display;
    }
    // Called outside the lock: a display may run a modal loop, and a
    // handler running inside it may report an error of its own.
    if (reporter) {
        reporter(message);
        return;
    }
    const QString title = caption.isEmpty() ? QCoreApplication::applicationName() : caption;
    if (display) {
        display(title, message);
        return;
    }
    const QByteArray line = (title.isEmpty() ? message : title + QStringLiteral(": ") + message).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
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
    std::lock_guard lock(routes().mutex);
    ErrorReporter previous = std::move(routes().reporter);
    routes().reporter = std::move(reporter);
    return previous;
}

ErrorDisplay setErrorDisplay(ErrorDisplay display)
{
    std::lock_guard lock(routes().mutex);
    ErrorDisplay previous = std::move(routes().display);
    routes().display = std::move(display);
    return previous;
}

} // namespace platform
