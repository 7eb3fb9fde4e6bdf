#include "RealtimeThread.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QVariant>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform::midi {

namespace {

bool setFifo(int priority)
{
    sched_param param{};
    param.sched_priority = priority;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0;
}

// RealtimeKit grants real-time scheduling to the threads of a desktop
// session's programs; it requires a CPU-time limit for real-time threads,
// so one spinning thread cannot freeze the machine.
bool askRealtimeKit(int *priority, QString *why)
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SystemBus, QStringLiteral("tonvik-rtkit"));
    if (!bus.isConnected()) {
        *why = QStringLiteral("no system bus");
        return false;
    }
    QDBusInterface properties(QStringLiteral("org.freedesktop.RealtimeKit1"), QStringLiteral("/org/freedesktop/RealtimeKit1"),
                              QStringLiteral("org.freedesktop.DBus.Properties"), bus);
    const auto get = [&](const char *name) {
        QDBusReply<QVariant> reply = properties.call(QStringLiteral("Get"), QStringLiteral("org.freedesktop.RealtimeKit1"),
                                                     QString::fromLatin1(name));
        return reply.isValid() ? reply.value() : QVariant();
    };
    const QVariant maxPriority = get("MaxRealtimePriority");
    const QVariant maxRtTime = get("RTTimeUSecMax");
    if (!maxPriority.isValid() || !maxRtTime.isValid()) {
        *why = QStringLiteral("RealtimeKit not available");
        return false;
    }
    *priority = std::min(*priority, maxPriority.toInt());
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = rlim_t(maxRtTime.toLongLong());
    if (setrlimit(RLIMIT_RTTIME, &limit) != 0) {
        *why = QStringLiteral("RLIMIT_RTTIME: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    QDBusInterface kit(QStringLiteral("org.freedesktop.RealtimeKit1"), QStringLiteral("/org/freedesktop/RealtimeKit1"),
                       QStringLiteral("org.freedesktop.RealtimeKit1"), bus);
    const QDBusMessage reply = kit.call(QStringLiteral("MakeThreadRealtime"), qulonglong(syscall(SYS_gettid)),
                                        uint(*priority));
    if (reply.type() == QDBusMessage::ErrorMessage) {
        *why = reply.errorMessage();
        return false;
    }
    return true;
}

} // namespace

QString makeCurrentThreadRealtime(int priority)
{
    priority = std::clamp(priority, sched_get_priority_min(SCHED_FIFO), sched_get_priority_max(SCHED_FIFO));
    if (setFifo(priority))
        return QStringLiteral("SCHED_FIFO %1").arg(priority);
    QString why;
    if (askRealtimeKit(&priority, &why))
        return QStringLiteral("SCHED_FIFO %1 (RealtimeKit)").arg(priority);
    return QStringLiteral("SCHED_OTHER (%1)").arg(why);
}

} // namespace platform::midi
