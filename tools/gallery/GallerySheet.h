#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

namespace coolctrls {
class TCoolImages;
}

namespace gallery {

class GalleryEventLog;

// A page body: a grid of labelled cells, `columns` to a row. Each cell is a
// host area of a given size for the control (placed at fixed positions, as
// the skinned controls are designed) with the property values that make the
// look written under it.
class GallerySheet : public QWidget
{
    Q_OBJECT

public:
    enum class Backdrop {
        Plain,      // the button face colour
        Wallpaper,  // a panel showing the store's wallpaper 0 (tiled)
    };

    GallerySheet(coolctrls::TCoolImages *images, int columns, QWidget *parent = nullptr);

    // Adds a cell and answers the widget to create the sample control in (a
    // wallpapered panel for Backdrop::Wallpaper, so a sample at transparency
    // level 0 shows that panel's wallpaper and one nested a level deeper can
    // reach it with level 1).
    QWidget *addCell(const QString &caption, QSize size, Backdrop backdrop = Backdrop::Plain);
    // Adds a log of the events of every control on the sheet, across the
    // whole width below the cells made so far (so it is added last).
    GalleryEventLog *addEventLog();

private:
    coolctrls::TCoolImages *m_images;
    int m_columns;
    int m_count = 0;
};

} // namespace gallery
