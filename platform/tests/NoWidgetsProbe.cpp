// A program without widgets that uses the platform's non-visual services:
// profile file, hidden notification window with the message loop, timer,
// error routine. Built and checked by the Layering test, which fails when
// it (or anything it loads) needs Qt Widgets. Exits 0 when all work.
#include "platform/ErrorReport.h"
#include "platform/MessageLoop.h"
#include "platform/NotifyWindow.h"
#include "platform/TTimer.h"
#include "platform/profile/ProfileFile.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int failures = 0;
    auto expect = [&failures](bool ok, const char *what) {
        if (!ok) {
            std::fprintf(stderr, "failed: %s\n", what);
            ++failures;
        }
    };

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("probe.ini"));
    expect(platform::profile::WritePrivateProfileString(QStringLiteral("S"), QStringLiteral("K"),
                                                        QStringLiteral("7"), file),
           "profile write");
    expect(platform::profile::GetPrivateProfileString(QStringLiteral("S"), QStringLiteral("K"), {}, file)
               == QStringLiteral("7"),
           "profile read");

    int received = 0;
    platform::NotifyWindow window([&received](const platform::TMessage &) { ++received; });
    window.handle().post({1, 0, 0});
    platform::processMessages();
    expect(received == 1, "posted message delivered");

    QStringList errors;
    platform::setErrorReporter([&errors](const QString &message) { errors << message; });
    platform::TTimer timer;
    timer.setManual(true);
    timer.OnTimer = [](QObject *) { throw std::runtime_error("tick failed"); };
    timer.trigger();
    expect(errors == QStringList{QStringLiteral("tick failed")}, "handler error reaches the error routine");
    platform::setErrorReporter({});
    return failures == 0 ? 0 : 1;
}
