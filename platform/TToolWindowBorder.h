#pragma once

#include <QObject>

#include <cstdint>
#include <optional>

class QWidget;

namespace platform {

// The border of a tool window on a program's main window: a thin caption
// with only a close button, and no resizing (the window's minimum and
// maximum size are the same).
//
// Qt's hints give the title and the close button. On X11 the window
// manager is also asked, through the window's properties, for the frame of
// a utility window (_NET_WM_WINDOW_TYPE_UTILITY, with NORMAL as the
// fallback for managers that do not know it) with a title and border only
// (_MOTIF_WM_HINTS: decorations title and border, functions move and close).
// Qt's own Qt::Tool type is not used, because it makes the window transient
// for the program's hidden leader window, which task bars leave out, and
// keeps closing it from ending the program: this stays the program's main
// window, shown in the task bar under the application's title.
//
// The properties are set again whenever the window is shown or gets a new
// native window, after Qt has set its own.
class TToolWindowBorder : public QObject
{
public:
    static void apply(QWidget *window);

    // The X atoms of the hints' names.
    struct Atoms
    {
        uint32_t utility, normal, windowType, motifHints;
    };

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TToolWindowBorder(QWidget *window);
    void setWindowManagerHints();

    QWidget *m_window;
    std::optional<Atoms> m_atoms;   // asked for at the first hints
};

} // namespace platform
