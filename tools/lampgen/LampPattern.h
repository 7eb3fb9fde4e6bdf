#pragma once

#include "raster32/TBitmap32.h"

#include <array>

namespace lampgen {

// The answer lamp: 11 × 13 pixels, a disc of fill colour F ringed in black
// (K) on white (W), every pixel opaque.
inline constexpr int LampWidth = 11;
inline constexpr int LampHeight = 13;
inline constexpr std::array<const char *, LampHeight> LampRows = {
    "WWWWKKKWWWW",
    "WWKKFFFKKWW",
    "WKFFFFFFFKW",
    "WKFFFFFFFKW",
    "WKFFFFFFFKW",
    "KFFFFFFFFFK",
    "KFFFFFFFFFK",
    "KFFFFFFFFFK",
    "WKFFFFFFFKW",
    "WKFFFFFFFKW",
    "WKFFFFFFFKW",
    "WWKKFFFKKWW",
    "WWWWKKKWWWW",
};

inline constexpr raster32::TColor32 LampWhite = 0xFFFFFFFFu;
inline constexpr raster32::TColor32 LampBlack = 0xFF000000u;
// Fill colours: no answer yet (light blue), right (green), wrong (red).
inline constexpr raster32::TColor32 LampOff = 0xFF0080FFu;
inline constexpr raster32::TColor32 LampGreen = 0xFF00FF00u;
inline constexpr raster32::TColor32 LampRed = 0xFFFF0000u;

inline raster32::TColor32 lampPixel(int x, int y, raster32::TColor32 fill)
{
    switch (LampRows[size_t(y)][x]) {
    case 'W': return LampWhite;
    case 'K': return LampBlack;
    default: return fill;
    }
}

inline void paintLamp(raster32::TBitmap32 &bitmap, raster32::TColor32 fill)
{
    bitmap.SetDimensions(LampWidth, LampHeight);
    for (int y = 0; y < LampHeight; ++y)
        for (int x = 0; x < LampWidth; ++x)
            bitmap.SetPixel(x, y, lampPixel(x, y, fill));
    bitmap.NotifyChange();
}

} // namespace lampgen
