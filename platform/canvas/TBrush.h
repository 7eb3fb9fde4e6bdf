#pragma once

#include "platform/canvas/Colors.h"

#include <functional>

namespace platform {

// bsSolid fills; bsClear fills nothing (and makes text backgrounds
// transparent, see TCanvas).
enum class TBrushStyle : int { bsSolid, bsClear };

// The brush sub-object of canvases: colour and style.
class TBrush
{
public:
    TBrush() = default;
    TBrush(const TBrush &) = delete;
    TBrush &operator=(const TBrush &) = delete;

    void Assign(const TBrush &source);

    TColor Color() const { return m_color; }
    // Setting a colour makes a clear brush solid again, as classically.
    void setColor(TColor value);
    TBrushStyle Style() const { return m_style; }
    void setStyle(TBrushStyle value);

    bool operator==(const TBrush &other) const;

    std::function<void(TBrush *sender)> OnChange;
    unsigned changeCount() const { return m_changes; }

private:
    void changed();

    TColor m_color = clWhite;
    TBrushStyle m_style = TBrushStyle::bsSolid;
    unsigned m_changes = 0;
};

} // namespace platform
