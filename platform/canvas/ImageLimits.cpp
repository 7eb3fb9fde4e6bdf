#include "ImageLimits.h"

#include "platform/Exception.h"

#include <QBuffer>
#include <QImageReader>

namespace platform {

QImage decodeImage(const QByteArray &data, const char *format)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // Only the header is read here; formats that cannot tell their size
    // without decoding are refused rather than decoded blind.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        throw Exception(QStringLiteral("Bitmap image is not valid"));
    if (qint64(size.width()) * size.height() > maxPixelsFor(data.size()))
        throw Exception(QStringLiteral("Bitmap image size %1 x %2 too large for %3 bytes of data")
                            .arg(size.width())
                            .arg(size.height())
                            .arg(data.size()));
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.size() != size)
        throw Exception(QStringLiteral("Bitmap image is not valid"));
    return image;
}

} // namespace platform
