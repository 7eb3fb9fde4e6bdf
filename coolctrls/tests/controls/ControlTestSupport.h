#pragma once

// Helpers of the control tests: pictures for the image store and pixel
// searches in rendered controls.

#include "coolctrls/TCoolImages.h"
#include "coolctrls/TImageItem.h"
#include "coolctrls/TImages.h"
#include "coolctrls/TPicture.h"
#include "platform/TControl.h"
#include "platform/canvas/Colors.h"

#include <QBuffer>
#include <QEvent>
#include <QImage>
#include <QWidget>

namespace controltest {

// A wallpaper where every pixel differs from its neighbours: red = x,
// green = y (both mod 256), blue 0x40, so a pixel tells where in the
// picture it came from.
inline QImage patterned(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixelColor(x, y, QColor(x % 256, y % 256, 0x40));
    return img;
}

// Adds the picture to the store as a stored bitmap picture.
inline void addPicture(coolctrls::TCoolImages &store, const QImage &image)
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    QByteArray stored;
    stored.append(char(7)).append("TBitmap");
    const quint32 n = bmp.size();
    stored.append(reinterpret_cast<const char *>(&n), 4).append(bmp);
    coolctrls::TPicture picture;
    picture.loadFromStoredForm(stored);
    store.Images()->Add()->setPicture(&picture);
}

inline QColor sys(platform::TColor color) { return platform::ColorToQColor(color); }

// The bounding box of the pixels of one colour (empty when none).
inline QRect boundsOf(const QImage &img, const QColor &color)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == color)
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

inline QImage shot(QWidget &w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// A child control that counts the parent-colour-changed notifications it
// receives (and takes the parent's colour as the toolkit's controls do).
class ParentColorProbe : public QWidget, public platform::TControl
{
public:
    explicit ParentColorProbe(QWidget *parent) : QWidget(parent), TControl(this) {}
    int notified = 0;

protected:
    void ParentColorChanged() override
    {
        ++notified;
        TControl::ParentColorChanged();
    }
};

// Counts the events of one type that reach a widget.
class EventCounter : public QObject
{
public:
    EventCounter(QWidget *widget, QEvent::Type type) : m_type(type) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            ++count;
        return false;
    }

private:
    QEvent::Type m_type;
};

} // namespace controltest
