#pragma once

namespace platform {

// Dispatches everything queued for the GUI thread and returns at once.
void processMessages();

// Sleeps until at least one message arrives for the GUI thread (or timeoutMs
// passes), then dispatches what is queued. For wait loops that must not spin.
void waitForMessages(int timeoutMs);

} // namespace platform
