#pragma once

#include "platform/canvas/Colors.h"

#include <functional>

namespace platform {

enum class TPenStyle : int { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// How the pen combines with the destination.
enum class TPenMode : int { pmCopy, pmNot, pmXor, pmNotXor, pmBlack, pmWhite, pmNop };

// The pen sub-object of canvases and controls: colour, width in pixels, style
// and mode. Owners assign into it and hear about changes through OnChange.
class TPen
{
public:
    TPen() = default;
    TPen(const TPen &) = delete;
    TPen &operator=(const TPen &) = delete;

    void Assign(const TPen &source);

    TColor Color() const { return m_color; }
    void setColor(TColor value);
    int Width() const { return m_width; }
    // Values below 1 are taken as 1.
    void setWidth(int value);
    TPenStyle Style() const { return m_style; }
    void setStyle(TPenStyle value);
    TPenMode Mode() const { return m_mode; }
    void setMode(TPenMode value);

    bool operator==(const TPen &other) const;

    std::function<void(TPen *sender)> OnChange;
    unsigned changeCount() const { return m_changes; }

private:
    void changed();

    TColor m_color = clBlack;
    int m_width = 1;
    TPenStyle m_style = TPenStyle::psSolid;
    TPenMode m_mode = TPenMode::pmCopy;
    unsigned m_changes = 0;
};

} // namespace platform
