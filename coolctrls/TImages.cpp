#include "TImages.h"

#include "TImageItem.h"
#include "platform/Exception.h"

#include <QString>

namespace coolctrls {

TImages::TImages(TCoolImages *owner)
    : m_owner(owner)
{
}

TImages::~TImages()
{
    Clear();
}

TImageItem *TImages::Items(int index) const
{
    if (TImageItem *item = find(index))
        return item;
    throw platform::Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}

TImageItem *TImages::find(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_items[size_t(index)].get();
}

int TImages::IndexOf(const TImageItem *item) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == item)
            return int(i);
    return -1;
}

TImageItem *TImages::Add()
{
    m_items.push_back(std::make_unique<TImageItem>(this));
    return m_items.back().get();
}

void TImages::Delete(int index)
{
    Items(index); // range check
    // Taken out first so that the Change it runs on its way out sees the
    // collection without it.
    std::unique_ptr<TImageItem> item = std::move(m_items[size_t(index)]);
    m_items.erase(m_items.begin() + index);
    item.reset();
}

void TImages::Clear()
{
    while (!m_items.empty())
        Delete(Count() - 1);
}

} // namespace coolctrls
