#include "MessageLoop.h"

#include "GuiWaker.h"
#include "Synchronize.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace platform {

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
