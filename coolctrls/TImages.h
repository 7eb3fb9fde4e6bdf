#pragma once

#include <memory>
#include <vector>

namespace coolctrls {

class TCoolImages;
class TImageItem;

// The ordered pictures of an image store. Controls refer to items by their
// 0-based index, so the order matters. Items are owned here.
class TImages
{
public:
    explicit TImages(TCoolImages *owner);
    ~TImages();
    TImages(const TImages &) = delete;
    TImages &operator=(const TImages &) = delete;

    TCoolImages *Owner() const { return m_owner; }

    int Count() const { return int(m_items.size()); }
    // Throws platform::Exception for an index outside 0..Count-1.
    TImageItem *Items(int index) const;
    TImageItem *operator[](int index) const { return Items(index); }
    // nullptr for an index outside 0..Count-1.
    TImageItem *find(int index) const;
    int IndexOf(const TImageItem *item) const;

    // Appends an empty item. Adding does not run the store's Change.
    TImageItem *Add();
    // Removes an item; the item runs the store's Change once before it goes.
    void Delete(int index);
    void Clear();

private:
    TCoolImages *m_owner;
    std::vector<std::unique_ptr<TImageItem>> m_items;
};

} // namespace coolctrls
