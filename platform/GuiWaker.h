#pragma once

#include <functional>
#include <memory>

namespace platform {

// Wakes the GUI thread from any thread and runs queued work there.
//
// Work crosses threads only through this object's own mutex-protected queue;
// the wake-up itself is an eventfd watched by a socket notifier on the GUI
// thread. No Qt event object is handed from one thread to another, which
// keeps the hand-over visible to ThreadSanitizer and cheap for the poster.
class GuiWaker
{
public:
    // The process-wide waker. Created on the GUI thread (by the application
    // object, or by the first component that needs it there); null until then.
    static GuiWaker *instance();
    // Creates the waker if the caller is the GUI thread and none exists yet.
    static GuiWaker *ensure();

    ~GuiWaker();

    // Queues fn to run on the GUI thread and wakes it. Thread-safe.
    void post(std::function<void()> fn);
    // Runs everything queued so far (GUI thread only). Returns whether
    // anything ran.
    bool drain();

private:
    GuiWaker();
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace platform
