#include "TBitmap32.h"

#include "Errors.h"
#include "Transfer32.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QIODevice>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QPicture>
#include <QPixmap>
#include <QtEndian>

#include <climits>
#include <cstring>
#include <new>

namespace raster32 {

namespace {

// System colour indices of the platform's colour values, mapped to the
// roles of the application palette.
QColor systemColor(int index)
{
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 1: case 12: return pal.color(QPalette::Dark);            // desktop, workspace
    case 2: case 13: return pal.color(QPalette::Highlight);       // active caption, highlight
    case 3: case 11: return pal.color(QPalette::Mid);             // inactive caption, border
    case 5: return pal.color(QPalette::Base);                     // window
    case 6: case 21: return pal.color(QPalette::Shadow);          // frame, dark shadow
    case 7: case 8: return pal.color(QPalette::Text);             // menu and window text
    case 9: case 14: return pal.color(QPalette::HighlightedText); // caption text
    case 16: return pal.color(QPalette::Dark);                    // button shadow
    case 17: return pal.color(QPalette::Disabled, QPalette::Text); // grey text
    case 18: return pal.color(QPalette::ButtonText);
    case 20: return pal.color(QPalette::Light);                   // button highlight
    case 22: return pal.color(QPalette::Midlight);
    case 23: return pal.color(QPalette::ToolTipText);
    case 24: return pal.color(QPalette::ToolTipBase);
    default: return pal.color(QPalette::Button);                  // button face and the rest
    }
}

constexpr TColor32 RgbMask = 0x00FFFFFFu;

} // namespace

TColor32 ToColor32(std::uint32_t platformColor)
{
    if (platformColor & 0x80000000u) {
        const QColor c = systemColor(int(platformColor & 0xFF));
        return Color32(c.red(), c.green(), c.blue());
    }
    return Color32(int(platformColor & 0xFF), int((platformColor >> 8) & 0xFF),
                   int((platformColor >> 16) & 0xFF));
}

TBitmap32::TBitmap32(QObject *parent)
    : TCustomMap(parent)
{
}

TBitmap32::~TBitmap32()
{
    // No events while going away: handlers may belong to an owner that is
    // being destroyed too.
    BeginUpdate();
    OnChange = nullptr;
    OnResize = nullptr;
    OnHandleChanged = nullptr;
    AcquireLock();
    m_canvas.reset();
    releaseHandles();
    ReleaseLock();
}

TColor32 TBitmap32::PixelS(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || !m_pixels)
        return m_outerColor;
    return Pixel(x, y);
}

QPaintDevice *TBitmap32::DeviceContext()
{
    return m_image.isNull() ? nullptr : &m_image;
}

QImage TBitmap32::OpaqueImage() const
{
    if (!m_pixels)
        return QImage();
    return QImage(reinterpret_cast<const uchar *>(m_pixels.get()), m_width, m_height,
                  qsizetype(m_width) * 4, QImage::Format_RGB32);
}

platform::TCanvas &TBitmap32::Canvas()
{
    if (!m_canvas) {
        m_canvas = std::make_unique<platform::TCanvas>(&m_image);
        m_canvas->OnChange = [this](platform::TCanvas *) { NotifyChange(); };
    }
    return *m_canvas;
}

void TBitmap32::ReleaseCanvas()
{
    endCanvasPainter();
}

// Only one painter can work on the pixels at a time: the canvas' painter
// ends before the bitmap draws on them itself or replaces them.
void TBitmap32::endCanvasPainter()
{
    if (m_canvas)
        m_canvas->releaseHandle();
}

void TBitmap32::setClipBox(const TRect &box)
{
    m_clipBox = box.Intersect(BoundsBox());
}

void TBitmap32::setDrawMode(TDrawMode value)
{
    if (value == m_drawMode)
        return;
    m_drawMode = value;
    NotifyChange();
}

void TBitmap32::setCombineMode(TCombineMode value)
{
    m_combineMode = value;
    NotifyChange();
}

void TBitmap32::setMasterAlpha(unsigned value)
{
    if (value == m_masterAlpha)
        return;
    m_masterAlpha = value;
    NotifyChange();
}

void TBitmap32::setStretchFilter(TStretchFilter value)
{
    if (value == m_stretchFilter)
        return;
    m_stretchFilter = value;
    NotifyChange();
}

bool TBitmap32::IsEmpty() const
{
    return !m_pixels || m_width == 0 || m_height == 0;
}

void TBitmap32::releaseHandles()
{
    endCanvasPainter();
    m_image = QImage();
    m_pixels.reset();
    m_width = 0;
    m_height = 0;
    m_clipBox = TRect{};
}

void TBitmap32::ChangeDimensions(int newWidth, int newHeight)
{
    releaseHandles();
    auto finish = [&] {
        // The canvas draws on the new pixels (its device is m_image).
        if (m_canvas)
            m_canvas->setDevice(&m_image);
        NotifyHandleChanged();
    };
    if (newWidth > 0 && newHeight > 0) {
        // Pixel indices are 32-bit signed; larger sizes are refused.
        const qint64 count = qint64(newWidth) * newHeight;
        TColor32 *memory = count <= INT_MAX / 4 ? new (std::nothrow) TColor32[size_t(count)] : nullptr;
        if (!memory) {
            finish();
            throw EBitmapError(QStringLiteral("Can't allocate the DIB handle"));
        }
        m_pixels.reset(memory);
        m_image = QImage(reinterpret_cast<uchar *>(memory), newWidth, newHeight, qsizetype(newWidth) * 4,
                         QImage::Format_ARGB32);
        if (m_image.isNull()) {
            m_pixels.reset();
            finish();
            throw EBitmapError(QStringLiteral("Can't create compatible DC"));
        }
    }
    // A size with one zero dimension is kept, without pixel memory.
    m_width = newWidth;
    m_height = newHeight;
    m_clipBox = BoundsBox();
    finish();
}

void TBitmap32::NotifyHandleChanged()
{
    if (OnHandleChanged)
        OnHandleChanged(this);
}

void TBitmap32::FillAll(TColor32 color)
{
    if (IsEmpty())
        return;
    std::fill_n(m_pixels.get(), size_t(m_width) * size_t(m_height), color);
    NotifyChange();
}

void TBitmap32::SetAllAlpha(int alpha)
{
    const TColor32 a = TColor32(alpha & 0xFF) << 24;
    TColor32 *p = m_pixels.get();
    for (size_t i = 0, n = IsEmpty() ? 0 : size_t(m_width) * size_t(m_height); i < n; ++i)
        p[i] = (p[i] & RgbMask) | a;
    NotifyChange();
}

void TBitmap32::FillBox(int x1, int y1, int x2, int y2, TColor32 color)
{
    for (int y = y1; y < y2; ++y)
        std::fill(PixelAddress(x1, y), PixelAddress(x2, y), color);
    NotifyChange();
}

void TBitmap32::FillBoxClipped(int x1, int y1, int x2, int y2, TColor32 color)
{
    if (x1 >= x2 || y1 >= y2)
        return;
    const TRect box = TRect{x1, y1, x2, y2}.Intersect(m_clipBox);
    if (box.IsEmpty())
        return;
    FillBox(box.Left, box.Top, box.Right, box.Bottom, color);
}

// --- copying in -------------------------------------------------------------

void TBitmap32::CopyFrom(const TBitmap32 *source)
{
    Changing([&] {
        if (!source) {
            SetDimensions(0, 0);
        } else if (source != this) {
            SetDimensions(source->Width(), source->Height());
            if (!IsEmpty()) {
                std::memcpy(m_pixels.get(), source->Pixels(), size_t(m_width) * size_t(m_height) * 4);
                m_drawMode = source->m_drawMode;
                m_masterAlpha = source->m_masterAlpha;
                m_outerColor = source->m_outerColor;
                m_stretchFilter = source->m_stretchFilter;
            }
        }
    });
}

void TBitmap32::copyImageRows(const QImage &argb)
{
    SetDimensions(argb.width(), argb.height());
    for (int y = 0; y < m_height; ++y)
        std::memcpy(RowAddress(y), argb.constScanLine(y), size_t(m_width) * 4);
}

void TBitmap32::CopyFrom(const QImage &image)
{
    Changing([&] {
        // A bitmap without alpha channel becomes opaque: RGB32 stores FF there.
        copyImageRows(image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                     : QImage::Format_RGB32));
    });
}

void TBitmap32::CopyFrom(const QImage &image, QRgb transparentColor)
{
    Changing([&] {
        CopyFrom(image);
        const TColor32 key = transparentColor & RgbMask;
        TColor32 *p = m_pixels.get();
        for (size_t i = 0, n = IsEmpty() ? 0 : size_t(m_width) * size_t(m_height); i < n; ++i)
            if ((p[i] & RgbMask) == key)
                p[i] &= RgbMask;
    });
}

void TBitmap32::CopyFrom(const QPixmap &pixmap)
{
    CopyFrom(pixmap.toImage());
}

void TBitmap32::fillTransparentTwice(QSize size, const std::function<void(QPainter &)> &draw)
{
    SetDimensions(size.width(), size.height());
    if (IsEmpty())
        return;
    // Drawn over white and over red: where both results agree the graphic
    // covered the pixel; elsewhere the background showed through.
    FillAll(0xFFFFFFFFu);
    endCanvasPainter();
    {
        QPainter p(&m_image);
        draw(p);
    }
    QImage scratch(m_width, m_height, QImage::Format_ARGB32);
    scratch.fill(QColor(255, 0, 0));
    {
        QPainter p(&scratch);
        draw(p);
    }
    for (int y = 0; y < m_height; ++y) {
        TColor32 *row = RowAddress(y);
        const auto *other = reinterpret_cast<const TColor32 *>(scratch.constScanLine(y));
        for (int x = 0; x < m_width; ++x)
            row[x] = (row[x] & RgbMask) == (other[x] & RgbMask) ? (row[x] | 0xFF000000u) : (row[x] & RgbMask);
    }
}

void TBitmap32::CopyFrom(const QIcon &icon, QSize size)
{
    if (!size.isValid()) {
        const QList<QSize> sizes = icon.availableSizes();
        size = QSize(32, 32);
        for (const QSize &s : sizes)
            if (s.width() * s.height() > size.width() * size.height())
                size = s;
        if (icon.isNull())
            size = QSize(0, 0);
    }
    Changing([&] {
        fillTransparentTwice(size, [&](QPainter &p) { icon.paint(&p, QRect(QPoint(0, 0), size)); });
    });
}

void TBitmap32::CopyFrom(const QPicture &picture)
{
    const QRect bounds = picture.boundingRect();
    Changing([&] {
        fillTransparentTwice(bounds.isValid() ? bounds.size() : QSize(0, 0),
                             [&](QPainter &p) { p.drawPicture(-bounds.topLeft(), picture); });
    });
}

void TBitmap32::CopyFrom(QSize size, const std::function<void(QPainter &)> &draw)
{
    Changing([&] {
        SetDimensions(size.width(), size.height());
        if (!IsEmpty()) {
            endCanvasPainter();
            {
                QPainter p(&m_image);
                draw(p);
            }
            SetAllAlpha(255);
        }
    });
}

void TBitmap32::CopyFrom(const QClipboard *clipboard)
{
    const QImage image = clipboard ? clipboard->image() : QImage();
    if (image.isNull())
        CopyFrom(static_cast<const TBitmap32 *>(nullptr));
    else
        CopyFrom(image);
}

void TBitmap32::CopyFrom(const QObject *source)
{
    if (!source)
        return CopyFrom(static_cast<const TBitmap32 *>(nullptr));
    if (auto *bitmap = qobject_cast<const TBitmap32 *>(source))
        return CopyFrom(bitmap);
    if (auto *clipboard = qobject_cast<const QClipboard *>(source))
        return CopyFrom(clipboard);
    BeginUpdate();
    EndUpdate();
    NotifyChange();
    throw platform::EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                                      .arg(QString::fromLatin1(source->metaObject()->className()),
                                           QStringLiteral("TBitmap32")));
}

// --- copying out ------------------------------------------------------------

void TBitmap32::CopyToPlatformBitmap(QImage &target) const
{
    if (IsEmpty()) {
        target = QImage();
        return;
    }
    target = QImage(m_width, m_height, QImage::Format_ARGB32);
    for (int y = 0; y < m_height; ++y)
        std::memcpy(target.scanLine(y), RowAddress(y), size_t(m_width) * 4);
}

void TBitmap32::CopyToPlatformBitmap(QPixmap &target) const
{
    QImage image;
    CopyToPlatformBitmap(image);
    target = QPixmap::fromImage(image);
}

void TBitmap32::DrawOnto(TBitmap32 &dst, const TRect &dstRect) const
{
    if (IsEmpty() || dst.IsEmpty())
        return;
    TTransferMode mode;
    mode.DrawMode = m_drawMode;
    mode.CombineMode = m_combineMode;
    mode.MasterAlpha = m_masterAlpha;
    mode.OnPixelCombine = OnPixelCombine;
    TransferScaled(&dst, dstRect, dst.ClipBox(), *this, BoundsBox(), m_stretchFilter, mode);
    dst.NotifyChange();
}

void TBitmap32::CopyToDevice(QPainter &painter, int x, int y) const
{
    if (IsEmpty())
        return;
    painter.drawImage(QPoint(x, y), OpaqueImage());
}

void TBitmap32::CopyToDevice(QPaintDevice *device, int x, int y) const
{
    if (!device || IsEmpty())
        return;
    QPainter painter(device);
    CopyToDevice(painter, x, y);
}

bool TBitmap32::SameImage(const TBitmap32 *other) const
{
    if (!other)
        return false;
    if (IsEmpty() || other->IsEmpty())
        return IsEmpty() && other->IsEmpty();
    return metaObject() == other->metaObject() && m_width == other->m_width && m_height == other->m_height
        && std::memcmp(m_pixels.get(), other->m_pixels.get(), size_t(m_width) * size_t(m_height) * 4) == 0;
}

// --- stored form --------------------------------------------------------------

namespace {

// Largest pixel block read from a stream whose length is unknown (a pipe or
// socket): 256 MB, far above any image this program stores.
constexpr qint64 MaxSequentialPixelBytes = qint64(256) << 20;

[[noreturn]] void readError()
{
    throw EStreamError(QStringLiteral("Stream read error"));
}

qint32 readInt32(QIODevice &stream)
{
    unsigned char b[4];
    if (stream.read(reinterpret_cast<char *>(b), 4) != 4)
        readError();
    return qint32(quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24);
}

} // namespace

void TBitmap32::ReadStored(QIODevice &stream)
{
    // The header is checked against what the stream holds and the pixels
    // are read in full before the bitmap changes, so a corrupt or hostile
    // stream neither allocates beyond its own length nor leaves half an image.
    struct Notify
    {
        TBitmap32 *self;
        ~Notify() { self->NotifyChange(); }
    } notify{this};

    // A negative dimension counts as 0, as SetDimensions takes it; the
    // pixels that follow are then Width × Height of the clamped size.
    const qint32 width = std::max(readInt32(stream), 0);
    const qint32 height = std::max(readInt32(stream), 0);
    // Both are at most 2^31 - 1, so the count fits before it is checked.
    const qint64 count = qint64(width) * height;
    if (count > INT_MAX / 4)
        readError();
    const qint64 bytes = count * 4;
    const qint64 limit = stream.isSequential() ? MaxSequentialPixelBytes : stream.bytesAvailable();
    if (bytes > limit)
        readError();

    std::vector<char> data;
    if (stream.isSequential()) {
        // Grows with what actually arrives rather than with the header.
        constexpr qint64 Chunk = 1 << 16;
        qint64 have = 0;
        while (have < bytes) {
            const qint64 part = std::min(Chunk, bytes - have);
            data.resize(size_t(have + part));
            if (stream.read(data.data() + have, part) != part)
                readError();
            have += part;
        }
    } else {
        data.resize(size_t(bytes));
        if (bytes > 0 && stream.read(data.data(), bytes) != bytes)
            readError();
    }

    SetDimensions(width, height);
    if (!IsEmpty())
        std::memcpy(m_pixels.get(), data.data(), size_t(bytes));
}

void TBitmap32::WriteStored(QIODevice &stream) const
{
    auto put = [&](const char *p, qint64 n) {
        if (n > 0 && stream.write(p, n) != n)
            throw EStreamError(QStringLiteral("Stream write error"));
    };
    const qint32 size[2] = {qToLittleEndian(qint32(m_width)), qToLittleEndian(qint32(m_height))};
    put(reinterpret_cast<const char *>(size), sizeof size);
    if (!IsEmpty())
        put(reinterpret_cast<const char *>(m_pixels.get()), qint64(m_width) * m_height * 4);
}

QByteArray TBitmap32::StoredData() const
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    WriteStored(buffer);
    return data;
}

void TBitmap32::LoadStoredData(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    ReadStored(buffer);
}

bool TBitmap32::StoresData(const QObject *ancestor) const
{
    if (ancestor) {
        auto *other = qobject_cast<const TBitmap32 *>(ancestor);
        return !other || !SameImage(other);
    }
    return !IsEmpty();
}

} // namespace raster32
