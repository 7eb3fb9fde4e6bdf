#include "TGlyphCache.h"

#include "TGlyphList.h"

#include <algorithm>

namespace coolctrls {

namespace {
std::unique_ptr<TGlyphCache> g_cache;
}

TGlyphCache::TGlyphCache() = default;
TGlyphCache::~TGlyphCache() = default;

TGlyphList *TGlyphCache::GetList(int width, int height)
{
    for (auto it = m_lists.rbegin(); it != m_lists.rend(); ++it)
        if ((*it)->Width() == width && (*it)->Height() == height)
            return it->get();
    m_lists.push_back(std::make_unique<TGlyphList>(width, height));
    return m_lists.back().get();
}

void TGlyphCache::ReturnList(TGlyphList *list)
{
    if (!list || list->Count() != 0)
        return;
    auto it = std::find_if(m_lists.begin(), m_lists.end(), [list](const auto &p) { return p.get() == list; });
    if (it != m_lists.end())
        m_lists.erase(it);
}

TGlyphCache &TGlyphCache::instance()
{
    if (!g_cache)
        g_cache = std::make_unique<TGlyphCache>();
    return *g_cache;
}

TGlyphCache *TGlyphCache::existing()
{
    return g_cache.get();
}

void TGlyphCache::releaseIfEmpty()
{
    if (g_cache && g_cache->Empty())
        g_cache.reset();
}

} // namespace coolctrls
