#pragma once

#include "Raster32Types.h"

namespace raster32 {

// x / 255 rounded to nearest, exact for 0 <= x <= 255 * 255.
inline constexpr unsigned Div255(unsigned x)
{
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// cmBlend, "over" onto a background taken as opaque colour: with a = alpha
// of F (times M / 255), each colour channel is B + (F - B) * a / 255 and
// the alpha becomes a + Ba * (255 - a) / 255. No premultiplication.
inline TColor32 BlendRegEx(TColor32 F, TColor32 B, unsigned M)
{
    unsigned a = F >> 24;
    if (M < 255)
        a = Div255(a * M);
    if (a == 0)
        return B;
    if (a == 255)
        return F | 0xFF000000u;
    const unsigned na = 255 - a;
    const unsigned r = Div255(((F >> 16) & 0xFF) * a + ((B >> 16) & 0xFF) * na);
    const unsigned g = Div255(((F >> 8) & 0xFF) * a + ((B >> 8) & 0xFF) * na);
    const unsigned b = Div255((F & 0xFF) * a + (B & 0xFF) * na);
    const unsigned ra = a + Div255((B >> 24) * na);
    return (ra << 24) | (r << 16) | (g << 8) | b;
}
inline TColor32 BlendReg(TColor32 F, TColor32 B) { return BlendRegEx(F, B, 255); }

// cmMerge, the full non-premultiplied "over" that honours the background's
// alpha too: Ra = a + Ba (1 - a), C = (Fc a + Bc Ba (1 - a)) / Ra, with
// alphas as fractions of 255. A fully transparent result is 0.
inline TColor32 MergeRegEx(TColor32 F, TColor32 B, unsigned M)
{
    unsigned a = F >> 24;
    if (M < 255)
        a = Div255(a * M);
    const unsigned ba = B >> 24;
    if (a == 0)
        return B;
    if (a == 255)
        return F | 0xFF000000u;
    if (ba == 255)
        return BlendRegEx((F & 0x00FFFFFFu) | (a << 24), B, 255);
    const unsigned fw = a * 255;             // weight of F, scaled by 255²
    const unsigned bw = ba * (255 - a);      // weight of B
    const unsigned total = fw + bw;          // Ra scaled by 255
    auto channel = [&](int shift) {
        const unsigned fc = (F >> shift) & 0xFF;
        const unsigned bc = (B >> shift) & 0xFF;
        return (fc * fw + bc * bw + total / 2) / total;
    };
    const unsigned ra = Div255(total);
    return (ra << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}
inline TColor32 MergeReg(TColor32 F, TColor32 B) { return MergeRegEx(F, B, 255); }

// Row versions: dst[i] := op(src[i], dst[i]).
void BlendLine(const TColor32 *src, TColor32 *dst, int count, unsigned masterAlpha);
void MergeLine(const TColor32 *src, TColor32 *dst, int count, unsigned masterAlpha);

} // namespace raster32
