#pragma once

// How many pixels a stored or encoded picture may claim. Picture formats
// compress (JPEG, run-length BMP), so a header can announce far more pixels
// than the file holds; every reader of such data checks the announced size
// against this rule before it allocates:
//
//   pixels <= ScreenPixels + PixelsPerByte * bytes of the encoded data
//
// A screen's worth (2560 x 1600) is always allowed, and 256 more pixels for
// every byte. The best a real encoder does on a flat area is a few bits per
// 8 x 8 block, so real pictures pass, while a file of a few bytes cannot make
// the program allocate much more than a screen's worth.

#include <QByteArray>
#include <QImage>

namespace platform {

constexpr qint64 ScreenPixels = qint64(2560) * 1600;
constexpr qint64 PixelsPerByte = 256;

constexpr qint64 maxPixelsFor(qint64 encodedBytes)
{
    return ScreenPixels + PixelsPerByte * encodedBytes;
}

// Decodes an encoded image through Qt's readers (format as Qt names it, or
// nullptr to let Qt guess). The size in the header is checked against
// maxPixelsFor(data.size()) before any pixel memory is allocated. Throws
// platform::Exception "Bitmap image is not valid" for data that is not a
// readable image, and one that names the sizes for an image too large.
QImage decodeImage(const QByteArray &data, const char *format = nullptr);

} // namespace platform
