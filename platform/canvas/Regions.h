#pragma once

// Region helpers in the classic terms. Regions are QRegion values; rectangles
// are (left, top, right, bottom) with exclusive right and bottom.

#include "platform/canvas/GdiTypes.h"

#include <QRect>
#include <QRegion>

namespace platform {

inline QRegion CreateRectRgn(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return QRegion();
    return QRegion(left, top, right - left, bottom - top);
}
inline QRegion CreateRectRgnIndirect(const QRect &r) { return r.isValid() ? QRegion(r) : QRegion(); }
// The ellipse inscribed in the rectangle.
inline QRegion CreateEllipticRgn(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return QRegion();
    return QRegion(left, top, right - left, bottom - top, QRegion::Ellipse);
}

inline TRegionKind regionKind(const QRegion &r)
{
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// dest := a combined with b (RGN_DIFF: a without b; RGN_COPY: a).
inline TRegionKind CombineRgn(QRegion &dest, const QRegion &a, const QRegion &b, TRegionCombine mode)
{
    switch (mode) {
    case RGN_AND: dest = a.intersected(b); break;
    case RGN_OR: dest = a.united(b); break;
    case RGN_XOR: dest = a.xored(b); break;
    case RGN_DIFF: dest = a.subtracted(b); break;
    case RGN_COPY: dest = a; break;
    default: return RGN_ERROR;
    }
    return regionKind(dest);
}

inline void OffsetRgn(QRegion &r, int dx, int dy) { r.translate(dx, dy); }

} // namespace platform
