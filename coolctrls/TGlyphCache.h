#pragma once

#include <memory>
#include <vector>

namespace coolctrls {

class TGlyphList;

// The glyph image lists of the process, one per image size, shared by all
// glyph holders. The one cache (instance()) is made on first need and freed
// by the last holder that goes while it is empty. GUI thread only.
class TGlyphCache
{
public:
    TGlyphCache();
    ~TGlyphCache();
    TGlyphCache(const TGlyphCache &) = delete;
    TGlyphCache &operator=(const TGlyphCache &) = delete;

    // The list for that size: the latest matching one, else a new one.
    TGlyphList *GetList(int width, int height);
    // Frees the list when it has no used slot left.
    void ReturnList(TGlyphList *list);
    bool Empty() const { return m_lists.empty(); }
    int ListCount() const { return int(m_lists.size()); }

    // The process-wide cache, created when missing.
    static TGlyphCache &instance();
    // The process-wide cache when it exists, else nullptr.
    static TGlyphCache *existing();
    // Frees the process-wide cache when it exists and is empty.
    static void releaseIfEmpty();

private:
    std::vector<std::unique_ptr<TGlyphList>> m_lists;
};

} // namespace coolctrls
