#include "ErrorCapture.h"

#include "platform/ErrorReport.h"

#include <memory>
#include <mutex>

namespace platform::testsupport {

struct ErrorCapture::State
{
    mutable std::mutex mutex;
    QStringList messages;
    ErrorReporter previous;
};

ErrorCapture::ErrorCapture()
    : m_state(std::make_unique<State>())
{
    State *state = m_state.get();
    m_state->previous = setErrorReporter([state](const QString &message) {
        std::lock_guard lock(state->mutex);
        state->messages << message;
    });
}

ErrorCapture::~ErrorCapture()
{
    setErrorReporter(std::move(m_state->previous));
}

QStringList ErrorCapture::messages() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->messages;
}

void ErrorCapture::clear()
{
    std::lock_guard lock(m_state->mutex);
    m_state->messages.clear();
}

} // namespace platform::testsupport
