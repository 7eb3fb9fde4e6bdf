#pragma once

#include <functional>

class QObject;

namespace platform {

// Method-pointer style event: the handler receives the component that raised it.
using TNotifyEvent = std::function<void(QObject *sender)>;

} // namespace platform
