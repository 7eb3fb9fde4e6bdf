#pragma once

// System metrics of the fixed classic scheme, by the classic SM_* indexes.
// Sizes are those of the classic light desktop at 96 dpi; the screen size
// comes from the primary screen.

namespace platform {

enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,    // width of a vertical scroll bar
    SM_CYHSCROLL = 3,    // height of a horizontal scroll bar
    SM_CYCAPTION = 4,    // caption bar height
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,   // dialog frame width
    SM_CYDLGFRAME = 8,
    SM_CYVTHUMB = 9,
    SM_CXHTHUMB = 10,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CYMENU = 15,
    SM_CYVSCROLL = 20,
    SM_CXHSCROLL = 21,
    SM_CXSIZE = 30,
    SM_CYSIZE = 31,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXEDGE = 45,
    SM_CYEDGE = 46,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50,
    SM_CYSMCAPTION = 51, // small (tool window) caption bar height
    SM_CXSMSIZE = 52,
    SM_CYSMSIZE = 53,
    SM_CXFIXEDFRAME = SM_CXDLGFRAME,
    SM_CYFIXEDFRAME = SM_CYDLGFRAME,
};

// The metric's value; 0 for an unknown index.
int GetSystemMetrics(int index);

} // namespace platform
