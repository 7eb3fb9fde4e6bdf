#pragma once

#include "platform/canvas/TImageList.h"

#include <vector>

namespace coolctrls {

// An image list of one image size whose slots are handed out to glyph
// holders: a bit set of used slots and a count of them. A freed slot keeps
// its image until it is reused, so the list never shrinks while it lives.
class TGlyphList : public platform::TImageList
{
public:
    TGlyphList(int width, int height);

    // Adds image (mask from maskColor, clDefault = the bottom-left pixel) in
    // the lowest free slot, appending a slot when none is free.
    int AddMasked(const platform::TBitmap &image, platform::TColor maskColor);
    // Frees a used slot; an unused or invalid index is ignored.
    void Delete(int index);

    // Number of used slots.
    int Count() const { return m_count; }
    bool isUsed(int index) const;

private:
    int AllocateIndex();

    std::vector<bool> m_used;
    int m_count = 0;
};

} // namespace coolctrls
