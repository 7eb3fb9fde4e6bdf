#include "TCoolWallpaper.h"

#include "TImageItem.h"
#include "TImages.h"

#include <QPainter>

namespace coolctrls {

TCoolWallpaper::TCoolWallpaper(std::function<void()> changed)
    : m_changed(std::move(changed))
{
    m_link.OnChange = [this](QObject *) {
        if (m_changed)
            m_changed();
    };
}

TCoolWallpaper::~TCoolWallpaper()
{
    // A destroyed store has already cleared the link's Sender.
    if (m_link.Sender())
        m_link.Sender()->UnRegisterChanges(&m_link);
}

void TCoolWallpaper::setCoolImages(TCoolImages *store)
{
    if (m_link.Sender())
        m_link.Sender()->UnRegisterChanges(&m_link);
    m_store = store;
    if (store)
        store->RegisterChanges(&m_link);
    if (m_changed)
        m_changed();
}

void TCoolWallpaper::setIdWallpaper(int value)
{
    if (m_id == value)
        return;
    m_id = value;
    if (m_changed)
        m_changed();
}

void TCoolWallpaper::setStretched(bool value)
{
    if (m_stretched == value)
        return;
    m_stretched = value;
    if (m_changed)
        m_changed();
}

void TCoolWallpaper::setWallpaper(const QImage &image)
{
    m_own = image;
    if (m_changed)
        m_changed();
}

const QImage *TCoolWallpaper::resolve() const
{
    if (m_store && m_id >= 0) {
        if (const TImageItem *item = m_store->Images()->find(m_id); item && !item->Bitmap().isNull()
            && item->Bitmap().width() > 0 && item->Bitmap().height() > 0)
            return &item->Bitmap();
    }
    if (!m_own.isNull() && m_own.width() > 0 && m_own.height() > 0)
        return &m_own;
    return nullptr;
}

bool TCoolWallpaper::PaintWallpaper(QPainter &painter, const QRect &rect) const
{
    const QImage *bitmap = resolve();
    if (!bitmap)
        return false;
    Draw(painter, *bitmap, rect, m_stretched);
    return true;
}

void TCoolWallpaper::Draw(QPainter &painter, const QImage &bitmap, const QRect &rect, bool stretched)
{
    if (bitmap.isNull() || rect.isEmpty())
        return;
    if (stretched) {
        painter.drawImage(rect, bitmap);
        return;
    }
    for (int y = rect.top(); y <= rect.bottom(); y += bitmap.height()) {
        for (int x = rect.left(); x <= rect.right(); x += bitmap.width()) {
            const int w = qMin(bitmap.width(), rect.right() + 1 - x);
            const int h = qMin(bitmap.height(), rect.bottom() + 1 - y);
            painter.drawImage(QPoint(x, y), bitmap, QRect(0, 0, w, h));
        }
    }
}

} // namespace coolctrls
