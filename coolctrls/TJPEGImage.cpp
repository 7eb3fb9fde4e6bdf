#include "TJPEGImage.h"

#include <QtEndian>

#include <atomic>
#include <csetjmp>
#include <limits>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace coolctrls {

namespace {

std::atomic<long> g_decodeCount{0};

// libjpeg reports fatal errors through error_exit, which must not return.
// Control goes back to the setjmp point of the decoder instead of ending the
// process (libjpeg's default) or unwinding through C frames.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (level -1) are premature end of data and corrupt segments: the
// picture would be shown half grey, so they count as errors too. Trace
// messages (level >= 0) are ignored.
void emitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        errorExit(cinfo);
}

// Everything the decoder touches after setjmp lives here, behind a pointer
// that is set before setjmp, so nothing indeterminate is left after longjmp.
struct DecodeState
{
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    QImage image;
    bool created = false;

    ~DecodeState()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }
};

enum class Stage { Header, Full };

QImage run(const QByteArray &jpeg, Stage stage, QSize *size)
{
    if (jpeg.isEmpty())
        throw EJPEGError(QStringLiteral("JPEG error: empty picture data"));
    if (jpeg.size() > std::numeric_limits<long>::max() / 2)
        throw EJPEGError(QStringLiteral("JPEG error: picture data too large"));

    auto state = std::make_unique<DecodeState>();
    DecodeState *const s = state.get();
    s->cinfo.err = jpeg_std_error(&s->err.pub);
    s->err.pub.error_exit = errorExit;
    s->err.pub.emit_message = emitMessage;
    s->err.message[0] = '\0';

    if (setjmp(s->err.jump)) {
        // Only s (unchanged since before setjmp) is used here.
        throw EJPEGError(QStringLiteral("JPEG error: %1").arg(QString::fromLocal8Bit(s->err.message)));
    }

    jpeg_create_decompress(&s->cinfo);
    s->created = true;
    jpeg_mem_src(&s->cinfo, reinterpret_cast<const unsigned char *>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&s->cinfo, TRUE);

    if (s->cinfo.image_width == 0 || s->cinfo.image_height == 0
        || s->cinfo.image_width > unsigned(TJPEGImage::MaxDimension)
        || s->cinfo.image_height > unsigned(TJPEGImage::MaxDimension)) {
        throw EJPEGError(QStringLiteral("JPEG error: unsupported image size %1 x %2")
                             .arg(s->cinfo.image_width)
                             .arg(s->cinfo.image_height));
    }
    if (qint64(s->cinfo.image_width) * s->cinfo.image_height > TJPEGImage::maxPixelsFor(jpeg.size())) {
        throw EJPEGError(QStringLiteral("JPEG error: image size %1 x %2 too large for %3 bytes of data")
                             .arg(s->cinfo.image_width)
                             .arg(s->cinfo.image_height)
                             .arg(jpeg.size()));
    }
    if (size)
        *size = QSize(int(s->cinfo.image_width), int(s->cinfo.image_height));
    if (stage == Stage::Header)
        return {};

    switch (s->cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        break;
    default:
        throw EJPEGError(QStringLiteral("JPEG error: unsupported colour space"));
    }
    // libjpeg-turbo writes straight into the memory layout of Format_RGB32.
    s->cinfo.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&s->cinfo);

    s->image = QImage(int(s->cinfo.output_width), int(s->cinfo.output_height), QImage::Format_RGB32);
    if (s->image.isNull())
        throw EJPEGError(QStringLiteral("JPEG error: out of memory"));
    while (s->cinfo.output_scanline < s->cinfo.output_height) {
        JSAMPROW row = s->image.scanLine(int(s->cinfo.output_scanline));
        jpeg_read_scanlines(&s->cinfo, &row, 1);
    }
    jpeg_finish_decompress(&s->cinfo);
    ++g_decodeCount;
    return std::move(s->image);
}

} // namespace

QImage TJPEGImage::decode(const QByteArray &jpeg)
{
    return run(jpeg, Stage::Full, nullptr);
}

QSize TJPEGImage::imageSize(const QByteArray &jpeg)
{
    QSize size;
    run(jpeg, Stage::Header, &size);
    return size;
}

long TJPEGImage::decodeCount()
{
    return g_decodeCount.load();
}

QByteArray TJPEGImage::storedData() const
{
    QByteArray out(4, '\0');
    qToLittleEndian<quint32>(quint32(m_data.size()), out.data());
    out += m_data;
    return out;
}

qsizetype TJPEGImage::readStoredData(const char *stored, qsizetype size)
{
    if (size < 4)
        throw platform::Exception(QStringLiteral("Picture data is truncated: the JPEG byte count is missing"));
    const quint32 count = qFromLittleEndian<quint32>(stored);
    if (qsizetype(count) > size - 4)
        throw platform::Exception(QStringLiteral("Picture data is truncated: %1 JPEG bytes announced, %2 present")
                                      .arg(count)
                                      .arg(size - 4));
    m_data = QByteArray(stored + 4, qsizetype(count));
    return 4 + qsizetype(count);
}

} // namespace coolctrls
