#include "GallerySheet.h"

#include "GalleryEventLog.h"

#include "coolctrls/TCoolPanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace gallery {

GallerySheet::GallerySheet(coolctrls::TCoolImages *images, int columns, QWidget *parent)
    : QWidget(parent)
    , m_images(images)
    , m_columns(qMax(1, columns))
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QWidget *GallerySheet::addCell(const QString &caption, QSize size, Backdrop backdrop)
{
    auto *cell = new QWidget(this);
    auto *column = new QVBoxLayout(cell);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);

    QWidget *host = nullptr;
    if (backdrop == Backdrop::Wallpaper) {
        auto *panel = new coolctrls::TCoolPanel(cell);
        panel->setBevelOuter(coolctrls::bvNone);
        panel->setCoolImages(m_images);
        panel->setIdWallpaper(0);
        host = panel;
    } else {
        host = new QWidget(cell);
    }
    host->setFixedSize(size);
    column->addWidget(host, 0, Qt::AlignLeft);

    auto *text = new QLabel(caption, cell);
    text->setWordWrap(true);
    text->setFixedWidth(qMax(size.width(), 150));
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    column->addWidget(text, 0, Qt::AlignLeft);
    column->addStretch(1);

    auto *grid = static_cast<QGridLayout *>(layout());
    grid->addWidget(cell, m_count / m_columns, m_count % m_columns, Qt::AlignLeft | Qt::AlignTop);
    ++m_count;
    return host;
}

GalleryEventLog *GallerySheet::addEventLog()
{
    auto *log = new GalleryEventLog(this);
    auto *grid = static_cast<QGridLayout *>(layout());
    const int row = (m_count + m_columns - 1) / m_columns;
    grid->addWidget(log, row, 0, 1, m_columns);
    log->watchAll(this);
    return log;
}

} // namespace gallery
