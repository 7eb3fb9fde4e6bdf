#pragma once

#include "raster32/TBitmap32.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>

#include <cstdint>

namespace raster32::testing {

// A deterministic, non-uniform test pattern.
inline void fillPattern(TBitmap32 &b, int w, int h, std::uint32_t seed = 1)
{
    b.SetDimensions(w, h);
    std::uint32_t s = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s = s * 1664525u + 1013904223u;
            b.SetPixel(x, y, 0xFF000000u | (s >> 8));
        }
}

// A smooth opaque gradient, for comparisons with other smooth scalers.
inline void fillGradient(TBitmap32 &b, int w, int h)
{
    b.SetDimensions(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, Color32(x * 255 / std::max(w - 1, 1), y * 255 / std::max(h - 1, 1),
                                     (x + y) * 255 / std::max(w + h - 2, 1)));
}

// A stream that can only be read forward and does not know its length.
class SequentialStream : public QIODevice
{
public:
    explicit SequentialStream(QByteArray data) : m_data(std::move(data)) { open(ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *out, qint64 max) override
    {
        const qint64 n = std::min(max, qint64(m_data.size()) - m_pos);
        std::memcpy(out, m_data.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

} // namespace raster32::testing
