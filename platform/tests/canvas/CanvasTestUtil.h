#pragma once

#include "platform/canvas/TBitmap.h"

#include <QString>

namespace canvastest {

using namespace platform;

// A bitmap of w x h filled with color.
inline void prepare(TBitmap &bmp, int w, int h, TColor color = clWhite)
{
    bmp.SetSize(w, h);
    bmp.Canvas().FillRect(QRect(0, 0, w, h), color);
}

inline TColor rgb(TColor c) { return ColorToRGB(c); }

// The pixels of row y (x0..x1-1) as a string, one letter per pixel from the
// legend (colour -> letter), '?' for any other colour.
inline QString row(const TBitmap &bmp, int y, int x0, int x1,
                   std::initializer_list<std::pair<TColor, char>> legend)
{
    QString s;
    for (int x = x0; x < x1; ++x) {
        char c = '?';
        for (const auto &[color, letter] : legend)
            if (bmp.pixel(x, y) == ColorToRGB(color))
                c = letter;
        s += QLatin1Char(c);
    }
    return s;
}

inline QString column(const TBitmap &bmp, int x, int y0, int y1,
                      std::initializer_list<std::pair<TColor, char>> legend)
{
    QString s;
    for (int y = y0; y < y1; ++y) {
        char c = '?';
        for (const auto &[color, letter] : legend)
            if (bmp.pixel(x, y) == ColorToRGB(color))
                c = letter;
        s += QLatin1Char(c);
    }
    return s;
}

// Bounding box of pixels that differ from background.
inline QRect inkBounds(const TBitmap &bmp, TColor background = clWhite)
{
    QRect r;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            if (bmp.pixel(x, y) != ColorToRGB(background))
                r = r.united(QRect(x, y, 1, 1));
    return r;
}

inline int countColor(const TBitmap &bmp, const QRect &area, TColor color)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (bmp.pixel(x, y) == ColorToRGB(color))
                ++n;
    return n;
}

} // namespace canvastest
