#pragma once

// Small widgets and helpers shared by the coolctrls tests.

#include "coolctrls/TWallpaperGroup.h"
#include "platform/canvas/TBitmap.h"
#include "platform/canvas/TCanvas.h"

#include <QFile>
#include <QImage>
#include <QPaintEvent>
#include <QWidget>

#include <functional>

namespace testing_cool {

// A control with the wallpaper group: paints Transparent -> ancestor,
// else wallpaper, else its plain colour; counts its paints.
class WallpaperWidget : public QWidget
{
public:
    explicit WallpaperWidget(QWidget *parent = nullptr)
        : QWidget(parent), group(this) {}

    coolctrls::TWallpaperGroup group;
    platform::TColor plain = platform::clWhite;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        ++paints;
        platform::TCanvas canvas(this);
        if (!group.PaintBackground(canvas, rect()))
            canvas.FillRect(rect(), plain);
    }
};

// A widget painted by a function on a canvas.
class PaintedWidget : public QWidget
{
public:
    explicit PaintedWidget(QWidget *parent = nullptr) : QWidget(parent) {}
    std::function<void(platform::TCanvas &, QWidget *)> paint;

protected:
    void paintEvent(QPaintEvent *) override
    {
        platform::TCanvas canvas(this);
        if (paint)
            paint(canvas, this);
    }
};

inline QByteArray readSourceFile(const QString &relative)
{
    QFile f(QStringLiteral(TONVIK_SOURCE_DIR "/") + relative);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// A solid-colour bitmap with a distinct pixel pattern: colour depends on
// (x, y) so that misplaced copies are caught.
inline QImage patternImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 5) & 0xFF, ((x + y) * 3) & 0xFF));
    return img;
}

} // namespace testing_cool
