#pragma once

#include <QObject>
#include <QRect>
#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace raster32 {
Q_NAMESPACE

// A pixel: AARRGGBB, alpha in the top byte. In memory (little-endian) the
// bytes are blue, green, red, alpha, which is exactly QImage::Format_ARGB32.
using TColor32 = std::uint32_t;
using PColor32 = TColor32 *;
using TArrayOfColor32 = std::vector<TColor32>;

inline constexpr TColor32 Color32(int r, int g, int b, int a = 255)
{
    return (TColor32(a & 0xFF) << 24) | (TColor32(r & 0xFF) << 16) | (TColor32(g & 0xFF) << 8)
        | TColor32(b & 0xFF);
}
inline constexpr int AlphaComponent(TColor32 c) { return int(c >> 24); }
inline constexpr int RedComponent(TColor32 c) { return int((c >> 16) & 0xFF); }
inline constexpr int GreenComponent(TColor32 c) { return int((c >> 8) & 0xFF); }
inline constexpr int BlueComponent(TColor32 c) { return int(c & 0xFF); }

// Turns a platform colour (0x00BBGGRR, or 0x80000000 + index for a system
// colour) into an opaque TColor32. System colours are looked up in the
// application's current palette.
TColor32 ToColor32(std::uint32_t platformColor);

// How a bitmap's pixels combine with the destination when it is drawn.
enum TDrawMode { dmOpaque, dmBlend, dmCustom };
Q_ENUM_NS(TDrawMode)
// Blend flavour of dmBlend.
enum TCombineMode { cmBlend, cmMerge };
Q_ENUM_NS(TCombineMode)
// Sampling used when drawing scaled.
enum TStretchFilter { sfNearest, sfDraft, sfLinear, sfCosine, sfSpline, sfLanczos, sfMitchell };
Q_ENUM_NS(TStretchFilter)

// Placement of the bitmap in an image view.
enum TBitmapAlign { baTopLeft, baCenter, baTile, baCustom };
Q_ENUM_NS(TBitmapAlign)
// Size of the bitmap on screen in an image view.
enum TScaleMode { smNormal, smStretch, smScale, smResize };
Q_ENUM_NS(TScaleMode)

// Per-pixel callback of dmCustom: F the source colour, B the destination
// colour (changed in place), M the master alpha.
using TPixelCombineEvent = std::function<void(TColor32 F, TColor32 &B, TColor32 M)>;

// A rectangle with exclusive right and bottom edges: (0, 0, 2, 2) holds
// four pixels. QRect's inclusive right()/bottom() would invite off-by-one
// slips in the pixel loops.
struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool operator==(const TRect &) const = default;

    constexpr TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    // The common part; an empty result is (0, 0, 0, 0).
    constexpr TRect Intersect(const TRect &o) const
    {
        TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
                std::min(Bottom, o.Bottom)};
        return r.IsEmpty() ? TRect{} : r;
    }
    constexpr bool Contains(const TRect &o) const
    {
        return o.Left >= Left && o.Top >= Top && o.Right <= Right && o.Bottom <= Bottom;
    }
    QRect toQRect() const { return QRect(Left, Top, Width(), Height()); }
    static TRect fromQRect(const QRect &r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
};

} // namespace raster32
