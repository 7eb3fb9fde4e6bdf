#include "TTimer.h"

#include "ErrorReport.h"

namespace platform {

TTimer::TTimer(QObject *owner)
    : QObject(owner)
{
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TTimer::trigger);
    update();
}

void TTimer::setEnabled(bool value)
{
    if (m_enabled == value)
        return;
    m_enabled = value;
    update();
}

void TTimer::setInterval(int value)
{
    if (m_interval == value)
        return;
    m_interval = value;
    update();
}

void TTimer::setManual(bool manual)
{
    m_manual = manual;
    update();
}

void TTimer::update()
{
    m_timer.stop();
    if (m_enabled && m_interval > 0 && !m_manual)
        m_timer.start(m_interval);
}

void TTimer::trigger()
{
    if (!m_enabled || !OnTimer)
        return;
    // Same handling as any event handler: an exception is shown, ticks go on.
    guarded([this] { OnTimer(this); });
}

} // namespace platform
