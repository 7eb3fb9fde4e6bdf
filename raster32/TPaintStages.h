#pragma once

#include <cstdint>
#include <vector>

namespace raster32 {

// Stage kinds of an image view's painting.
enum TPaintStageKind : int {
    StageCustom = 1,          // raise OnPaintStage
    StageClearBuffer = 2,     // fill the whole buffer with the colour
    StageClearBackground = 3, // fill what the bitmap leaves uncovered
    StageDrawBitmap = 4,      // draw the bitmap
    StageDrawLayers = 5,      // draw the layers whose options share a bit with Parameter
    StageControlFrame = 6,    // dotted frame around the control
    StageBitmapFrame = 7,     // dotted frame around the bitmap
};

struct TPaintStage
{
    bool DesignTime = false;
    bool RunTime = false;
    int StageKind = 0;
    std::uint32_t Parameter = 0;
};

// The ordered list of paint stages.
class TPaintStages
{
public:
    int Count() const { return int(m_items.size()); }
    TPaintStage &operator[](int index) { return m_items.at(size_t(index)); }
    const TPaintStage &operator[](int index) const { return m_items.at(size_t(index)); }
    TPaintStage &Add()
    {
        m_items.emplace_back();
        return m_items.back();
    }
    TPaintStage &Insert(int index)
    {
        return *m_items.emplace(m_items.begin() + index);
    }
    void Delete(int index) { m_items.erase(m_items.begin() + index); }
    void Clear() { m_items.clear(); }

private:
    std::vector<TPaintStage> m_items;
};

} // namespace raster32
