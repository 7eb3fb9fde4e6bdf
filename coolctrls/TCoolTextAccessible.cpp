#include "TCoolTextAccessible.h"

#include <QFontMetrics>
#include <QWidget>

namespace coolctrls {

TCoolTextAccessible::TCoolTextAccessible(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

void *TCoolTextAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface && offersText())
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

void TCoolTextAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
}

QString TCoolTextAccessible::text(int startOffset, int endOffset) const
{
    const QString all = plainText();
    startOffset = qBound(0, startOffset, int(all.size()));
    endOffset = endOffset < 0 ? int(all.size()) : qBound(startOffset, endOffset, int(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

QRect TCoolTextAccessible::characterRect(int offset) const
{
    const QString all = plainText();
    if (offset < 0 || offset >= all.size())
        return {};
    const QFontMetrics metrics(widget()->font());
    // (lastIndexOf from -1 would search from the end.)
    const int lineStart = offset == 0 ? 0 : int(all.lastIndexOf('\n', offset - 1)) + 1;
    const int line = int(all.left(offset).count('\n'));
    const QPoint origin = textOrigin();
    const int x = origin.x() + metrics.horizontalAdvance(all.mid(lineStart, offset - lineStart));
    const int y = origin.y() + line * metrics.lineSpacing();
    const QRect local(x, y, metrics.horizontalAdvance(all.at(offset)), metrics.height());
    return QRect(widget()->mapToGlobal(local.topLeft()), local.size());
}

int TCoolTextAccessible::offsetAtPoint(const QPoint &point) const
{
    const int count = characterCount();
    for (int i = 0; i < count; ++i)
        if (characterRect(i).contains(point))
            return i;
    return -1;
}

QString TCoolTextAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    // One run of the same font over the whole text.
    *startOffset = 0;
    *endOffset = characterCount();
    if (offset < 0 || offset > *endOffset)
        *startOffset = *endOffset = -1;
    return {};
}

QString stripAccelerator(const QString &caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        // "&x" reads x and "&&" one "&"; a trailing "&" is shown as it is.
        if (caption.at(i) == '&' && i + 1 < caption.size())
            ++i;
        text += caption.at(i);
    }
    return text;
}

} // namespace coolctrls
