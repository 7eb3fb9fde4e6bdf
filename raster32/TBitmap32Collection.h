#pragma once

#include "TBitmap32Item.h"

#include <QObject>

#include <vector>

namespace raster32 {

// The ordered items of a bitmap list. Items are children of the collection.
class TBitmap32Collection : public QObject
{
    Q_OBJECT
public:
    explicit TBitmap32Collection(QObject *owner = nullptr);
    ~TBitmap32Collection() override;

    int Count() const { return int(m_items.size()); }
    // "List index out of bounds (%d)" outside 0..Count - 1.
    TBitmap32Item *Items(int index) const;
    TBitmap32Item *Add();
    TBitmap32Item *Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TBitmap32Item *item) const;
    // The owner (the bitmap list).
    QObject *Owner() const { return parent(); }

private:
    std::vector<TBitmap32Item *> m_items; // owned as QObject children
};

} // namespace raster32
