#include "TCoolImages.h"

#include "TCoolChangeLink.h"
#include "TImageItem.h"

#include <algorithm>

namespace coolctrls {

TCoolImages::TCoolImages(QObject *owner)
    : QObject(owner)
    , m_images(this)
{
}

TCoolImages::~TCoolImages()
{
    // Last registered first, so every link's Sender is cleared before the
    // items go (their farewell Change then reaches nobody).
    while (!m_links.empty())
        UnRegisterChanges(m_links.back());
    m_images.Clear();
}

void TCoolImages::RegisterChanges(TCoolChangeLink *link)
{
    if (!link)
        return;
    link->m_sender = this;
    m_links.push_back(link);
}

void TCoolImages::UnRegisterChanges(TCoolChangeLink *link)
{
    auto it = std::find(m_links.begin(), m_links.end(), link);
    if (it == m_links.end())
        return;
    m_links.erase(it);
    // A link registered twice stays registered through its second entry.
    if (std::find(m_links.begin(), m_links.end(), link) == m_links.end())
        link->m_sender = nullptr;
}

void TCoolImages::Change()
{
    // A handler may unregister or destroy links (a control deleting itself
    // or another control); only links still registered are called.
    const std::vector<TCoolChangeLink *> snapshot = m_links;
    for (TCoolChangeLink *link : snapshot) {
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end())
            link->Change();
    }
}

} // namespace coolctrls
