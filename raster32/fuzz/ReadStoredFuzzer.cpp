// libFuzzer target: ReadStored on arbitrary bytes, from a random-access
// buffer and from a sequential stream. Any outcome but a clean bitmap or
// the stream-read error is a finding. Build and run: see docs/fuzzing.md.
#include "platform/canvas/ImageLimits.h"
#include "raster32/Errors.h"
#include "raster32/TBitmap32.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

class Sequential : public QIODevice
{
public:
    Sequential(const uint8_t *data, size_t size) : m_data(data), m_size(size) { open(ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *out, qint64 max) override
    {
        const qint64 n = std::min<qint64>(max, qint64(m_size - m_pos));
        std::memcpy(out, m_data + m_pos, size_t(n));
        m_pos += size_t(n);
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

void check(raster32::TBitmap32 &bitmap, QIODevice &stream, size_t size)
{
    bitmap.SetDimensions(2, 3);
    bitmap.FillAll(0x12345678u);
    try {
        bitmap.ReadStored(stream);
    } catch (const raster32::EStreamError &) {
        // Refused: the bitmap must be untouched.
        if (bitmap.Width() != 2 || bitmap.Height() != 3 || bitmap.Pixel(1, 2) != 0x12345678u)
            std::abort();
        return;
    }
    // Accepted: the header and exactly its pixels fit in the data.
    const qint64 pixels = qint64(bitmap.Width()) * bitmap.Height() * 4;
    if (bitmap.Width() < 0 || bitmap.Height() < 0 || 8 + pixels > qint64(size))
        std::abort();
    // The rule every stored picture keeps; raw pixels keep it by far.
    if (qint64(bitmap.Width()) * bitmap.Height() > platform::maxPixelsFor(qint64(size)))
        std::abort();
    if (!bitmap.IsEmpty()) {
        volatile uint32_t sum = 0;
        for (qint64 i = 0; i < qint64(bitmap.Width()) * bitmap.Height(); ++i)
            sum = sum + bitmap.Pixels()[i];
        // Writing it back reproduces the consumed bytes.
        const QByteArray out = bitmap.StoredData();
        if (out.size() != 8 + pixels)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    raster32::TBitmap32 bitmap;
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    check(bitmap, buffer, size);
    Sequential sequential(data, size);
    check(bitmap, sequential, size);
    return 0;
}
