#pragma once

#include "platform/Exception.h"
#include "platform/canvas/ImageLimits.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace coolctrls {

// A JPEG that cannot be decoded: corrupt, truncated, not a JPEG at all, or of
// a kind this decoder does not take (CMYK, absurd dimensions).
class EJPEGError : public platform::Exception
{
public:
    using Exception::Exception;
};

// A JPEG/JFIF picture held as its file bytes. Decoding is explicit (decode())
// so that the owner decides when it happens: the image store decodes once per
// change of the picture, never per paint.
class TJPEGImage
{
public:
    // Graphic class name used in the stored form of a picture.
    static constexpr const char *ClassName = "TJPEGImage";
    // Larger pictures are refused rather than allocated.
    static constexpr int MaxDimension = 16384;
    // Pixels a JPEG may claim: the rule every picture reader shares
    // (platform/canvas/ImageLimits.h), a screen's worth plus 256 per byte.
    static constexpr qint64 ScreenPixels = platform::ScreenPixels;
    static constexpr qint64 PixelsPerByte = platform::PixelsPerByte;
    static constexpr qint64 maxPixelsFor(qint64 fileBytes) { return platform::maxPixelsFor(fileBytes); }

    TJPEGImage() = default;
    explicit TJPEGImage(QByteArray jpeg) : m_data(std::move(jpeg)) {}

    const QByteArray &data() const { return m_data; }
    void setData(QByteArray jpeg) { m_data = std::move(jpeg); }
    bool isEmpty() const { return m_data.isEmpty(); }

    // The graphic's own stored data: a 32-bit little-endian byte count and
    // that many bytes of a JPEG file. readStoredData() answers how many bytes
    // of `stored` it consumed and throws platform::Exception when the count
    // runs past the end.
    QByteArray storedData() const;
    qsizetype readStoredData(const char *stored, qsizetype size);

    // Decodes through libjpeg into an RGB32 image. Every libjpeg error and
    // every warning (a truncated file is only a warning to libjpeg, which
    // would pad it with grey) becomes an EJPEGError.
    QImage decode() const { return decode(m_data); }
    static QImage decode(const QByteArray &jpeg);

    // Reads only the header; throws EJPEGError like decode().
    static QSize imageSize(const QByteArray &jpeg);

    // Number of full decodes run by this process; lets tests prove that
    // painting does not decode.
    static long decodeCount();

private:
    QByteArray m_data;
};

} // namespace coolctrls
