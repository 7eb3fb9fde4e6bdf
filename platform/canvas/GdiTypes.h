#pragma once

// Flag values and small types of the drawing surface, named as in the classic
// Windows graphics interface so that painting code reads like the classic
// controls it mirrors. Only what the skinned controls use is here.

#include <cstdint>

namespace platform {

// ---- DrawText formats -------------------------------------------------------
enum : unsigned {
    DT_TOP = 0x0000,
    DT_LEFT = 0x0000,
    DT_CENTER = 0x0001,
    DT_RIGHT = 0x0002,
    DT_VCENTER = 0x0004,      // only with DT_SINGLELINE
    DT_BOTTOM = 0x0008,       // only with DT_SINGLELINE
    DT_WORDBREAK = 0x0010,
    DT_SINGLELINE = 0x0020,
    DT_EXPANDTABS = 0x0040,
    DT_NOCLIP = 0x0100,
    DT_CALCRECT = 0x0400,     // measure only: updates right and bottom
    DT_NOPREFIX = 0x0800,     // "&" is an ordinary character
    DT_RTLREADING = 0x20000,
};

// ---- DrawEdge ---------------------------------------------------------------
enum : unsigned {
    BDR_RAISEDOUTER = 0x0001,
    BDR_SUNKENOUTER = 0x0002,
    BDR_RAISEDINNER = 0x0004,
    BDR_SUNKENINNER = 0x0008,
    BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER,
    BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
};
enum : unsigned {
    BF_LEFT = 0x0001,
    BF_TOP = 0x0002,
    BF_RIGHT = 0x0004,
    BF_BOTTOM = 0x0008,
    BF_TOPLEFT = BF_TOP | BF_LEFT,
    BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x0800,   // fill the inside with the button face colour
    BF_SOFT = 0x1000,
    BF_ADJUST = 0x2000,   // shrink the rectangle by the edge drawn
    BF_FLAT = 0x4000,
    BF_MONO = 0x8000,
};

// ---- DrawFrameControl (check boxes only) ----------------------------------
enum : unsigned {
    DFC_BUTTON = 4,
    DFCS_BUTTONCHECK = 0x0000,
    DFCS_BUTTON3STATE = 0x0008,
    DFCS_INACTIVE = 0x0100,
    DFCS_PUSHED = 0x0200,
    DFCS_CHECKED = 0x0400,
    DFCS_FLAT = 0x4000,
    DFCS_MONO = 0x8000,
};

// ---- Raster operations (ternary: pattern P = brush, S = source, D = dest) --
using TRop = std::uint32_t;
enum : TRop {
    BLACKNESS = 0x00000042,
    NOTSRCERASE = 0x001100A6,  // ~(S | D)
    NOTSRCCOPY = 0x00330008,   // ~S  (the inverting source copy)
    SRCERASE = 0x00440328,     // S & ~D
    DSTINVERT = 0x00550009,    // ~D
    PATINVERT = 0x005A0049,    // P ^ D
    SRCINVERT = 0x00660046,    // S ^ D
    SRCAND = 0x008800C6,       // S & D
    MERGEPAINT = 0x00BB0226,   // ~S | D
    MERGECOPY = 0x00C000CA,    // P & S
    SRCCOPY = 0x00CC0020,      // S
    SRCPAINT = 0x00EE0086,     // S | D
    PATCOPY = 0x00F00021,      // P
    PATPAINT = 0x00FB0A09,     // P | ~S | D
    WHITENESS = 0x00FF0062,
    // D ^ (S & (P ^ D)): where the source is white the brush colour goes
    // through, where it is black the destination stays. The mask blit of the
    // embossed disabled glyph.
    ROP_DSPDxax = 0x00E20746,
};
using TCopyMode = TRop;

// ---- Background modes -------------------------------------------------------
enum TBkMode : int { TRANSPARENT = 1, OPAQUE = 2 };

// ---- Region combination -----------------------------------------------------
enum TRegionCombine : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
// Kind of a region, as returned by the clip functions.
enum TRegionKind : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

// ---- Stretch modes ----------------------------------------------------------
enum TStretchMode : int { COLORONCOLOR = 3, HALFTONE = 4 };

// ---- Image list drawing -----------------------------------------------------
enum : unsigned {
    ILD_NORMAL = 0x0000,       // masked pixels take the background colour
    ILD_TRANSPARENT = 0x0001,  // masked pixels keep the destination
    ILD_MASK = 0x0010,         // the mask alone: black image, white background
    ILD_BLEND25 = 0x0002,
    ILD_BLEND50 = 0x0004,      // 50 % mix with the foreground colour
    ILD_BLEND = ILD_BLEND50,
};
// Colour arguments of image list drawing.
enum : std::uint32_t {
    CLR_NONE = 0xFFFFFFFFu,
    CLR_DEFAULT = 0xFF000000u,
};

} // namespace platform
