#include "DesignerIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace designer {

namespace {

const QColor Face(0xC0, 0xC0, 0xC0);
const QColor Light(Qt::white);
const QColor Shadow(0x80, 0x80, 0x80);
const QColor Dark(Qt::black);
const QColor Caption(0x00, 0x00, 0x80);

// Icons are drawn on a 24 x 24 grid, at 24 and 48 pixels.
QIcon drawn(const std::function<void(QPainter &)> &draw)
{
    QIcon icon;
    for (int size : {24, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.scale(size / 24.0, size / 24.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// A raised (or sunken) box: light top and left, shadow bottom and right.
void bevel(QPainter &p, const QRect &r, bool raised)
{
    p.fillRect(r, Face);
    p.setPen(raised ? Light : Shadow);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(raised ? Shadow : Light);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void field(QPainter &p, const QRect &r)
{
    p.fillRect(r, Qt::white);
    p.setPen(Shadow);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(Light);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void textLines(QPainter &p, int left, int top, int right, int count, int step)
{
    p.setPen(Dark);
    for (int i = 0; i < count; ++i)
        p.drawLine(left, top + i * step, right - (i % 2) * 4, top + i * step);
}

} // namespace

QIcon PanelIcon()
{
    return drawn([](QPainter &p) {
        bevel(p, QRect(1, 4, 22, 16), true);
        bevel(p, QRect(4, 7, 16, 10), false);
    });
}

QIcon GroupBoxIcon()
{
    return drawn([](QPainter &p) {
        p.setPen(Shadow);
        p.drawRect(2, 6, 19, 15);
        p.setPen(Light);
        p.drawRect(3, 7, 19, 15);
        p.fillRect(5, 3, 10, 7, Face);
        textLines(p, 6, 6, 14, 1, 0);
    });
}

QIcon LabelIcon()
{
    return drawn([](QPainter &p) {
        QFont font = p.font();
        font.setPixelSize(17);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Shadow);
        p.drawText(QRect(3, 3, 21, 21), Qt::AlignCenter, QStringLiteral("A"));
        p.setPen(Caption);
        p.drawText(QRect(1, 1, 21, 21), Qt::AlignCenter, QStringLiteral("A"));
    });
}

QIcon ButtonIcon()
{
    return drawn([](QPainter &p) {
        p.setPen(Dark);
        p.drawRect(1, 6, 22, 12);
        bevel(p, QRect(2, 7, 20, 10), true);
        textLines(p, 7, 12, 17, 1, 0);
    });
}

QIcon ComboBoxIcon()
{
    return drawn([](QPainter &p) {
        field(p, QRect(1, 7, 22, 10));
        bevel(p, QRect(14, 8, 8, 8), true);
        p.setPen(Qt::NoPen);
        p.setBrush(Dark);
        p.drawPolygon(QPolygon({QPoint(16, 11), QPoint(20, 11), QPoint(18, 13)}));
        textLines(p, 3, 12, 11, 1, 0);
    });
}

QIcon ListBoxIcon()
{
    return drawn([](QPainter &p) {
        field(p, QRect(2, 2, 20, 20));
        p.fillRect(3, 8, 18, 5, Caption);
        textLines(p, 5, 5, 17, 1, 0);
        p.setPen(Qt::white);
        p.drawLine(5, 10, 15, 10);
        textLines(p, 5, 16, 17, 2, 3);
    });
}

QIcon MemoIcon()
{
    return drawn([](QPainter &p) {
        field(p, QRect(2, 2, 20, 20));
        p.fillRect(3, 3, 18, 4, Caption);
        textLines(p, 5, 10, 19, 4, 3);
    });
}

QIcon ScrollingTextIcon()
{
    return drawn([](QPainter &p) {
        bevel(p, QRect(1, 5, 22, 14), false);
        textLines(p, 4, 10, 20, 1, 0);
        p.setPen(QPen(Caption, 2));
        p.drawLine(6, 15, 18, 15);
        p.setPen(Qt::NoPen);
        p.setBrush(Caption);
        p.drawPolygon(QPolygon({QPoint(3, 15), QPoint(7, 12), QPoint(7, 18)}));
    });
}

QIcon Image32Icon()
{
    return drawn([](QPainter &p) {
        // A checkered (transparent) ground under the answer lamp.
        for (int y = 2; y < 22; y += 4)
            for (int x = 2; x < 22; x += 4)
                p.fillRect(x, y, 4, 4, ((x + y) / 4) % 2 ? Face : Qt::white);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Dark, 1.5));
        p.setBrush(QColor(0, 0xC0, 0));
        p.drawEllipse(QRectF(5.5, 4.5, 13, 15));
    });
}

QIcon MidiGenIcon()
{
    return drawn([](QPainter &p) {
        // An eighth note.
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Dark);
        p.drawEllipse(QRectF(4, 14.5, 8, 6));
        p.fillRect(QRectF(10.5, 3, 1.8, 15), Dark);
        QPainterPath flag;
        flag.moveTo(12, 3);
        flag.cubicTo(13, 7, 19, 8, 17, 14);
        flag.cubicTo(17, 10, 14, 9, 12, 8);
        flag.closeSubpath();
        p.drawPath(flag);
    });
}

} // namespace designer
