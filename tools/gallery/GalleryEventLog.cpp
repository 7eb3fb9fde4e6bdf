#include "GalleryEventLog.h"

#include "platform/TControlEvents.h"

#include <QFontDatabase>

#include <utility>

namespace gallery {

namespace {

// Chains a logging call before the handler a page may have set.
template<typename Handler, typename Log>
void chain(Handler &handler, Log log)
{
    handler = [previous = std::move(handler), log](auto &&...args) {
        log(args...);
        if (previous)
            previous(std::forward<decltype(args)>(args)...);
    };
}

QString kindOf(const QWidget *control)
{
    QString kind = QString::fromLatin1(control->metaObject()->className());
    kind = kind.mid(kind.lastIndexOf(':') + 1);
    if (kind.startsWith("TCool"))
        kind = kind.mid(5);
    else if (kind.startsWith('T'))
        kind = kind.mid(1);
    return kind;
}

} // namespace

GalleryEventLog::GalleryEventLog(QWidget *parent, int lines)
    : QPlainTextEdit(parent), m_maxLines(qMax(1, lines))
{
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setPlaceholderText("Events of the controls above: click, double-click, move the mouse, tab through them.");
    setFixedHeight(fontMetrics().lineSpacing() * m_maxLines + 2 * frameWidth() + 8);
}

void GalleryEventLog::watchAll(QWidget *root)
{
    const QList<QWidget *> children = root->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (child == this || !dynamic_cast<platform::TControlEvents *>(child))
            continue;
        const QString kind = kindOf(child);
        const int number = ++m_numbers[kind];
        watch(child, child->objectName().isEmpty() ? kind + QString::number(number) : child->objectName());
    }
}

void GalleryEventLog::watch(QWidget *control, const QString &name)
{
    auto *events = dynamic_cast<platform::TControlEvents *>(control);
    if (!events)
        return;
    auto logger = [this, name](const char *event) {
        return [this, name, event](auto &&...) { log(QString::fromLatin1(event), name); };
    };
    chain(events->OnClick, logger("OnClick"));
    chain(events->OnDblClick, logger("OnDblClick"));
    chain(events->OnEnter, logger("OnEnter"));
    chain(events->OnExit, logger("OnExit"));
    chain(events->OnMouseDown, [this, name](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        log(QString("OnMouseDown (%1, %2)").arg(x).arg(y), name);
    });
    chain(events->OnMouseUp, [this, name](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        log(QString("OnMouseUp (%1, %2)").arg(x).arg(y), name);
    });
    chain(events->OnMouseMove, [this, name](QObject *, Qt::KeyboardModifiers, int x, int y) {
        log(QString("OnMouseMove (%1, %2)").arg(x).arg(y), name);
    });
}

void GalleryEventLog::log(const QString &event, const QString &name)
{
    const QString line = event.section(' ', 0, 0) + ' ' + name + (event.contains(' ') ? ' ' + event.section(' ', 1) : QString());
    const QString movePrefix = "OnMouseMove " + name + ' ';
    if (line.startsWith(movePrefix) && !m_lines.isEmpty() && m_lines.last().startsWith(movePrefix))
        m_lines.last() = line;
    else
        m_lines.append(line);
    while (m_lines.size() > m_maxLines)
        m_lines.removeFirst();
    setPlainText(m_lines.join('\n'));
}

} // namespace gallery
