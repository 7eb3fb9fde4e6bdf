#include "TFormLoading.h"

namespace coolctrls {

namespace {

thread_local TFormLoading *innermost = nullptr;

} // namespace

TFormLoading::TFormLoading()
    : m_outer(innermost)
{
    innermost = this;
}

TFormLoading::~TFormLoading()
{
    // Closed first: an adjust that sets more properties runs at once now.
    innermost = m_outer;
    const auto pending = std::exchange(m_pending, {});
    for (const auto &[control, adjust] : pending)
        if (control)
            adjust();
}

TFormLoading *TFormLoading::current()
{
    return innermost;
}

void TFormLoading::defer(QWidget *control, std::function<void()> adjust)
{
    for (auto &entry : m_pending) {
        if (entry.first == control) {
            entry.second = std::move(adjust);
            return;
        }
    }
    m_pending.append({QPointer<QWidget>(control), std::move(adjust)});
}

} // namespace coolctrls
