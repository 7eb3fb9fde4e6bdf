#include "TCoolChangeLink.h"

#include "TCoolImages.h"

namespace coolctrls {

TCoolChangeLink::~TCoolChangeLink()
{
    if (m_sender)
        m_sender->UnRegisterChanges(this);
}

void TCoolChangeLink::Change()
{
    if (OnChange)
        OnChange(m_sender);
}

} // namespace coolctrls
