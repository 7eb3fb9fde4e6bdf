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

static int fail(const char *what)
{
    std::fprintf(stderr, "failed: %s\n", what);
    return 1;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("probe.ini"));
    const QString section = QStringLiteral("S"), key = QStringLiteral("K");
    if (!platform::profile::WritePrivateProfileString(section, key, QStringLiteral("7"), file))
        return fail("profile write");
    if (platform::profile::GetPrivateProfileString(section, key, {}, file) != QStringLiteral("7"))
        return fail("profile read");

    int received = 0;
    platform::NotifyWindow window([&received](const platform::TMessage &) { ++received; });
    window.handle().post({1, 0, 0});
    platform::processMessages();
    if (received != 1)
        return fail("posted message delivered");

    QStringList errors;
    platform::setErrorReporter([&errors](const QString &message) { errors << message; });
    platform::TTimer timer;
    timer.setManual(true);
    timer.OnTimer = [](QObject *) { throw std::runtime_error("tick failed"); };
    timer.trigger();
    if (errors != QStringList{QStringLiteral("tick failed")})
        return fail("handler error reaches the error routine");
    return 0;
}
