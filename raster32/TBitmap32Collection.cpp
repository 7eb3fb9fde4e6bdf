#include "TBitmap32Collection.h"

#include "Errors.h"

#include <algorithm>

namespace raster32 {

namespace {

[[noreturn]] void indexError(int index)
{
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

} // namespace

TBitmap32Collection::TBitmap32Collection(QObject *owner)
    : QObject(owner)
{
}

TBitmap32Collection::~TBitmap32Collection() = default;

TBitmap32Item *TBitmap32Collection::Items(int index) const
{
    if (index < 0 || index >= Count())
        indexError(index);
    return m_items[size_t(index)];
}

TBitmap32Item *TBitmap32Collection::Add()
{
    return Insert(Count());
}

TBitmap32Item *TBitmap32Collection::Insert(int index)
{
    if (index < 0 || index > Count())
        indexError(index);
    auto *item = new TBitmap32Item(this);
    m_items.insert(m_items.begin() + index, item);
    return item;
}

void TBitmap32Collection::Delete(int index)
{
    TBitmap32Item *item = Items(index);
    m_items.erase(m_items.begin() + index);
    delete item;
}

void TBitmap32Collection::Clear()
{
    std::vector<TBitmap32Item *> items;
    items.swap(m_items);
    for (TBitmap32Item *item : items)
        delete item;
}

int TBitmap32Collection::IndexOf(const TBitmap32Item *item) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), item);
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

} // namespace raster32
