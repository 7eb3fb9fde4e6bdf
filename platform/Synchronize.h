#pragma once

#include <functional>

namespace platform {

// Runs fn on the GUI thread and returns when it has run. Called on the GUI
// thread it runs fn at once. An exception thrown by fn is re-thrown in the
// calling thread. The GUI thread runs pending calls whenever it dispatches
// messages (processMessages, waitForMessages, the event loop), and a GUI
// thread that waits for a worker must keep calling checkSynchronize() so a
// worker blocked here can finish.
void synchronize(const std::function<void()> &fn);

// Hands fn to the GUI thread and returns at once: for a thread that waits
// for fn's end in a sleep of its own (fn tells it), rather than blocked in
// synchronize(). Called on the GUI thread, or when no application object
// exists, it runs fn at once. An exception from fn is reported by the
// program's error routine on the GUI thread.
void post(std::function<void()> fn);

// Runs every call handed over so far. Must be called on the GUI thread;
// returns whether anything ran.
bool checkSynchronize();

// Whether the caller is the GUI thread (the thread of the application object,
// or any thread when no application object exists).
bool isGuiThread();

} // namespace platform
