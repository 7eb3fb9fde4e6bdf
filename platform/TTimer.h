#pragma once

#include "Events.h"

#include <QObject>
#include <QTimer>

namespace platform {

// A message-based timer: while Enabled it raises OnTimer on the GUI thread
// every Interval milliseconds. Changing Enabled or Interval restarts the
// period. Interval 0 stops the ticks.
class TTimer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)
public:
    explicit TTimer(QObject *owner = nullptr);

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool value);
    int Interval() const { return m_interval; }
    void setInterval(int value);

    TNotifyEvent OnTimer;

    // Raises one tick now, as the clock would; does nothing while disabled.
    // Lets tests step time instead of waiting for it.
    void trigger();

    // Whether the real clock is running (Enabled, Interval > 0, not manual).
    bool isRunning() const { return m_timer.isActive(); }
    // Makes the real clock never start, so only trigger() ticks. For tests.
    void setManual(bool manual);

    // Restarts the period (or stops the clock) from the current settings.
    void update();

private:
    QTimer m_timer;
    bool m_enabled = true;
    bool m_manual = false;
    int m_interval = 1000;
};

} // namespace platform
