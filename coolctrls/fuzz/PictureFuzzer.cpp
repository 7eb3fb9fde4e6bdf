// libFuzzer target for pictures: the stored form of the image store's
// pictures, then rendering the graphic to pixels (JPEG through libjpeg, BMP
// through Qt). A finding is a crash, a sanitizer report, an error other than
// platform::Exception, or a broken promise:
// - a refused stored form leaves the picture as it was;
// - an accepted one writes back as the bytes it was read from;
// - a rendered image never has more pixels than the graphic's byte count
//   allows (platform::maxPixelsFor), nor does the JPEG header reader
//   report more.
#include "coolctrls/TJPEGImage.h"
#include "coolctrls/TPicture.h"
#include "platform/canvas/ImageLimits.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <cstdlib>

using coolctrls::TJPEGImage;
using coolctrls::TPicture;

namespace {

void checkPixels(const QSize &size, const QByteArray &graphic)
{
    if (qint64(size.width()) * size.height() > platform::maxPixelsFor(graphic.size()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray stored = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));

    // One picture per input on the stack: nothing outlives the input.
    TPicture picture;
    const QByteArray marker("\xFF\xD8 marker");
    picture.loadJpeg(marker);
    try {
        picture.loadFromStoredForm(stored);
    } catch (const platform::Exception &) {
        if (picture.graphicClassName() != QLatin1String(TJPEGImage::ClassName) || picture.graphicData() != marker)
            std::abort();
        return 0;
    }

    // The form read back: class name, byte count, the graphic; or one 0 byte.
    const QByteArray saved = picture.saveToStoredForm();
    if (picture.isEmpty() ? saved != QByteArray(1, '\0') : !stored.startsWith(saved))
        std::abort();

    try {
        if (picture.graphicClassName() == QLatin1String(TJPEGImage::ClassName))
            checkPixels(TJPEGImage::imageSize(picture.graphicData()), picture.graphicData());
    } catch (const platform::Exception &) {
    }
    try {
        const QImage image = picture.render();
        checkPixels(image.size(), picture.graphicData());
        if (!image.isNull() && image.format() != QImage::Format_RGB32)
            std::abort();
    } catch (const platform::Exception &) {
    }
    return 0;
}
