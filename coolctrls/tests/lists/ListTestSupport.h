#pragma once

// Helpers shared by the list box and combo box tests.

#include "platform/canvas/Colors.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QWidget>

namespace liststest {

inline QImage render(QWidget *w)
{
    QImage image(w->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    w->render(&image);
    return image;
}

inline platform::TColor at(const QImage &image, int x, int y)
{
    return platform::QColorToColor(image.pixelColor(x, y));
}

inline platform::TColor rgb(platform::TColor c)
{
    return platform::ColorToRGB(c);
}

// Leftmost column in the row band [top, bottom) holding a pixel of colour c;
// -1 when none.
inline int leftmost(const QImage &image, platform::TColor c, int top, int bottom, int from = 0)
{
    for (int x = from; x < image.width(); ++x)
        for (int y = top; y < bottom; ++y)
            if (at(image, x, y) == rgb(c))
                return x;
    return -1;
}

inline bool contains(const QImage &image, platform::TColor c, const QRect &r)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (at(image, x, y) == rgb(c))
                return true;
    return false;
}

inline bool showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Shows control's window active with the focus on a sibling of its own,
// then moves the mouse over control (a hover without the focus). The
// sibling is a child of the window.
inline QWidget *hoverWithoutFocus(QWidget &control)
{
    QWidget *window = control.window();
    auto *other = new QWidget(window);
    other->setFocusPolicy(Qt::StrongFocus);
    if (!showActive(*window))
        return nullptr;
    other->setFocus();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&control, &enter);
    QApplication::processEvents();
    return other;
}

inline void touch(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
}

} // namespace liststest
