#include "TGlyphList.h"

#include "platform/canvas/TBitmap.h"

namespace coolctrls {

TGlyphList::TGlyphList(int width, int height)
    : platform::TImageList(width, height)
{
}

bool TGlyphList::isUsed(int index) const
{
    return index >= 0 && size_t(index) < m_used.size() && m_used[size_t(index)];
}

int TGlyphList::AllocateIndex()
{
    for (size_t i = 0; i < m_used.size(); ++i) {
        if (!m_used[i]) {
            m_used[i] = true;
            return int(i);
        }
    }
    // No free slot: a blank image makes one.
    platform::TBitmap blank(Width(), Height());
    platform::TImageList::AddMasked(blank, platform::clNone);
    m_used.push_back(true);
    return int(m_used.size()) - 1;
}

int TGlyphList::AddMasked(const platform::TBitmap &image, platform::TColor maskColor)
{
    const int index = AllocateIndex();
    ReplaceMasked(index, image, maskColor);
    ++m_count;
    return index;
}

void TGlyphList::Delete(int index)
{
    if (!isUsed(index))
        return;
    --m_count;
    m_used[size_t(index)] = false;
}

} // namespace coolctrls
