#include "platform/canvas/TBitmap.h"

#include "platform/Exception.h"
#include "platform/canvas/ImageLimits.h"

#include <QFile>
#include <QPainter>

namespace platform {

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height)
{
    SetSize(width, height);
}

TBitmap::~TBitmap()
{
    // The canvas ends its painter before the pixels go.
    m_canvas.reset();
}

TCanvas &TBitmap::Canvas()
{
    if (!m_canvas) {
        m_canvas = std::make_unique<TCanvas>(&m_image);
        m_canvas->m_bitmapOwner = this;
        m_canvas->OnChange = [this](TCanvas *) { changed(); };
    }
    return *m_canvas;
}

void TBitmap::Dormant()
{
    if (m_canvas)
        m_canvas->releaseHandle();
}

const QImage &TBitmap::image() const
{
    if (m_canvas)
        m_canvas->releaseHandle();
    return m_image;
}

TColor TBitmap::pixel(int x, int y) const
{
    const QImage &img = image();
    if (!img.rect().contains(x, y))
        return clNone;
    const QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

void TBitmap::changed()
{
    if (OnChange)
        OnChange(this);
}

void TBitmap::Assign(const TBitmap *source)
{
    if (source == this)
        return;
    Dormant();
    if (!source) {
        m_image = QImage();
        m_monochrome = false;
    } else {
        m_image = source->image().copy();
        m_monochrome = source->m_monochrome;
        m_transparent = source->m_transparent;
        m_transparentMode = source->m_transparentMode;
        m_transparentColor = source->m_transparentColor;
    }
    changed();
}

void TBitmap::Assign(const QImage &image)
{
    Dormant();
    if (image.isNull()) {
        m_image = QImage();
    } else if (image.hasAlphaChannel()) {
        // Transparent pixels land on black, as when such a picture is
        // rendered into a plain bitmap.
        m_image = QImage(image.size(), QImage::Format_RGB32);
        m_image.fill(Qt::black);
        QPainter p(&m_image);
        p.drawImage(0, 0, image);
    } else {
        m_image = image.convertToFormat(QImage::Format_RGB32);
    }
    m_monochrome = false;
    changed();
}

void TBitmap::LoadFromData(const QByteArray &data)
{
    Assign(decodeImage(data));
}

void TBitmap::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    LoadFromData(file.readAll());
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height())
        return;
    Dormant();
    if (width == 0 || height == 0) {
        m_image = QImage();
    } else {
        QImage next(width, height, QImage::Format_RGB32);
        next.fill(Qt::white);
        if (!m_image.isNull()) {
            QPainter p(&next);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, m_image);
        }
        m_image = next;
    }
    changed();
}

void TBitmap::setMonochrome(bool value)
{
    if (value == m_monochrome)
        return;
    Dormant();
    if (value && !m_image.isNull()) {
        const TColor bk = m_canvas ? ColorToRGB(m_canvas->Brush.Color()) : clWhite;
        const QRgb key = qRgb(GetRValue(bk), GetGValue(bk), GetBValue(bk)) & 0xFFFFFF;
        m_image.detach();
        for (int y = 0; y < m_image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
            for (int x = 0; x < m_image.width(); ++x)
                line[x] = (line[x] & 0xFFFFFF) == key ? 0xFFFFFFFF : 0xFF000000;
        }
    }
    m_monochrome = value;
    changed();
}

void TBitmap::setTransparent(bool value)
{
    if (value == m_transparent)
        return;
    m_transparent = value;
    changed();
}

TColor TBitmap::TransparentColor() const
{
    if (m_transparentMode == TTransparentMode::tmFixed)
        return m_transparentColor;
    if (Empty())
        return clDefault;
    return pixel(0, Height() - 1);
}

void TBitmap::setTransparentColor(TColor value)
{
    if (value == m_transparentColor && m_transparentMode == TTransparentMode::tmFixed)
        return;
    m_transparentColor = value;
    m_transparentMode = value == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    changed();
}

void TBitmap::setTransparentMode(TTransparentMode value)
{
    if (value == m_transparentMode)
        return;
    if (value == TTransparentMode::tmAuto)
        m_transparentColor = clDefault;
    else
        m_transparentColor = TransparentColor();
    m_transparentMode = value;
    changed();
}

} // namespace platform
