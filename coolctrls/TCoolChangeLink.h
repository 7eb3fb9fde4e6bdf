#pragma once

#include "platform/Events.h"

namespace coolctrls {

class TCoolImages;

// A control's subscription to an image store. The control owns the link
// (by value or unique_ptr); the store only keeps a list of pointers to the
// links registered with it and clears Sender when it goes away, so a link
// never points at a destroyed store.
class TCoolChangeLink
{
public:
    TCoolChangeLink() = default;
    // Unregisters from the store it is registered with, if any.
    ~TCoolChangeLink();
    TCoolChangeLink(const TCoolChangeLink &) = delete;
    TCoolChangeLink &operator=(const TCoolChangeLink &) = delete;

    // The store the link is registered with; set and cleared by the store.
    TCoolImages *Sender() const { return m_sender; }

    // Called with the store as argument when the store's images change.
    platform::TNotifyEvent OnChange;

    // Called by the store: runs OnChange(Sender) when set.
    void Change();

private:
    friend class TCoolImages;
    TCoolImages *m_sender = nullptr;
};

} // namespace coolctrls
