#include "platform/canvas/TImageList.h"

#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QPainter>

namespace platform {

namespace {

QRgb opaqueRgb(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

} // namespace

TImageList::TImageList(int width, int height, QObject *owner)
    : QObject(owner), m_width(std::max(1, width)), m_height(std::max(1, height))
{
}

void TImageList::setBkColor(TColor value)
{
    if (value == m_bkColor)
        return;
    m_bkColor = value;
    Q_EMIT changed();
}

void TImageList::SetSize(int width, int height)
{
    width = std::max(1, width);
    height = std::max(1, height);
    if (width == m_width && height == m_height)
        return;
    m_width = width;
    m_height = height;
    Clear();
}

void TImageList::Clear()
{
    m_images.clear();
    Q_EMIT changed();
}

QImage TImageList::makeEntry(const QImage &src, int sx, const QImage *mask, std::optional<TColor> key) const
{
    QImage entry(m_width, m_height, QImage::Format_ARGB32);
    entry.fill(0);
    const QRgb k = key ? opaqueRgb(*key) & 0xFFFFFF : 0;
    for (int y = 0; y < m_height && y < src.height(); ++y) {
        const auto *sl = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        auto *el = reinterpret_cast<QRgb *>(entry.scanLine(y));
        for (int x = 0; x < m_width && sx + x < src.width(); ++x) {
            const QRgb p = sl[sx + x] | 0xFF000000;
            bool transparent = key && (p & 0xFFFFFF) == k;
            if (mask && x + sx < mask->width() && y < mask->height())
                transparent = (mask->pixel(sx + x, y) & 0xFFFFFF) == 0xFFFFFF;
            el[x] = transparent ? 0 : p;
        }
    }
    return entry;
}

int TImageList::AddMasked(const TBitmap &image, TColor maskColor)
{
    if (image.Empty())
        return -1;
    const QImage &src = image.image();
    std::optional<TColor> key;
    if (maskColor == clDefault)
        key = image.pixel(0, image.Height() - 1);
    else if (maskColor != clNone)
        key = maskColor;
    const int first = Count();
    const int n = std::max(1, image.Width() / m_width);
    for (int i = 0; i < n; ++i)
        m_images.push_back(makeEntry(src, i * m_width, nullptr, key));
    Q_EMIT changed();
    return first;
}

int TImageList::Add(const TBitmap &image, const TBitmap *mask)
{
    if (image.Empty())
        return -1;
    const QImage &src = image.image();
    const QImage maskImage = mask && !mask->Empty() ? mask->image() : QImage();
    const int first = Count();
    const int n = std::max(1, image.Width() / m_width);
    for (int i = 0; i < n; ++i)
        m_images.push_back(makeEntry(src, i * m_width, maskImage.isNull() ? nullptr : &maskImage, std::nullopt));
    Q_EMIT changed();
    return first;
}

bool TImageList::ReplaceMasked(int index, const TBitmap &image, TColor maskColor)
{
    if (index < 0 || index >= Count() || image.Empty())
        return false;
    std::optional<TColor> key;
    if (maskColor == clDefault)
        key = image.pixel(0, image.Height() - 1);
    else if (maskColor != clNone)
        key = maskColor;
    m_images[size_t(index)] = makeEntry(image.image(), 0, nullptr, key);
    Q_EMIT changed();
    return true;
}

bool TImageList::Delete(int index)
{
    if (index < 0 || index >= Count())
        return false;
    m_images.erase(m_images.begin() + index);
    Q_EMIT changed();
    return true;
}

QImage TImageList::image(int index) const
{
    if (index < 0 || index >= Count())
        return QImage();
    return m_images[size_t(index)];
}

bool TImageList::DrawEx(TCanvas &canvas, int index, int x, int y, std::uint32_t bkColor, std::uint32_t fgColor,
                        unsigned style) const
{
    if (index < 0 || index >= Count())
        return false;
    QPainter *p = canvas.painter();
    if (!p)
        return false;
    QImage img = m_images[size_t(index)];
    if (style & ILD_MASK) {
        for (int yy = 0; yy < img.height(); ++yy) {
            auto *line = reinterpret_cast<QRgb *>(img.scanLine(yy));
            for (int xx = 0; xx < img.width(); ++xx)
                line[xx] = qAlpha(line[xx]) ? 0xFF000000 : 0xFFFFFFFF;
        }
        p->drawImage(QPoint(x, y), img);
        canvas.Changed();
        return true;
    }
    if (!(style & ILD_TRANSPARENT) && bkColor != CLR_NONE && bkColor != clNone.value()) {
        const TColor bk = bkColor == CLR_DEFAULT ? m_bkColor : TColor(bkColor);
        if (bk != clNone)
            p->fillRect(QRect(x, y, m_width, m_height), QColor::fromRgb(opaqueRgb(bk)));
    }
    qreal opacity = 1.0;
    if (style & (ILD_BLEND50 | ILD_BLEND25)) {
        const int share = (style & ILD_BLEND50) ? 2 : 4;  // blend colour gets 1/share
        if (fgColor == CLR_NONE || fgColor == clNone.value()) {
            opacity = 1.0 - 1.0 / share;
        } else {
            const QRgb c = opaqueRgb(fgColor == CLR_DEFAULT ? clHighlight : TColor(fgColor));
            for (int yy = 0; yy < img.height(); ++yy) {
                auto *line = reinterpret_cast<QRgb *>(img.scanLine(yy));
                for (int xx = 0; xx < img.width(); ++xx) {
                    if (!qAlpha(line[xx]))
                        continue;
                    const QRgb px = line[xx];
                    line[xx] = qRgb((qRed(px) * (share - 1) + qRed(c)) / share,
                                    (qGreen(px) * (share - 1) + qGreen(c)) / share,
                                    (qBlue(px) * (share - 1) + qBlue(c)) / share);
                }
            }
        }
    }
    p->setOpacity(opacity);
    p->drawImage(QPoint(x, y), img);
    p->setOpacity(1.0);
    canvas.Changed();
    return true;
}

bool TImageList::Draw(TCanvas &canvas, int x, int y, int index, bool enabled) const
{
    return DrawEx(canvas, index, x, y, CLR_NONE, CLR_NONE, enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
}

bool TImageList::GetBitmap(int index, TBitmap &target, TColor background) const
{
    if (index < 0 || index >= Count())
        return false;
    target.SetSize(m_width, m_height);
    target.Canvas().FillRect(QRect(0, 0, m_width, m_height), background);
    DrawEx(target.Canvas(), index, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    target.Dormant();
    return true;
}

} // namespace platform
