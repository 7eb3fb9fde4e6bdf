#include "TToolWindowBorder.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// The Motif window manager hints: which fields count, the functions the
// window manager offers and the decorations it draws.
enum : uint32_t {
    MwmHintsFunctions = 1u << 0,
    MwmHintsDecorations = 1u << 1,
    MwmFuncMove = 1u << 2,
    MwmFuncClose = 1u << 5,
    MwmDecorBorder = 1u << 1,
    MwmDecorTitle = 1u << 3,
};

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

} // namespace

void TToolWindowBorder::apply(QWidget *window)
{
    // Closing a main window ends the program: setting the flags would not
    // change that for Qt::Window, but keep it explicit.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setAttribute(Qt::WA_QuitOnClose, true);
    auto *border = new TToolWindowBorder(window);
    window->installEventFilter(border);
    if (window->testAttribute(Qt::WA_WState_Created))
        border->setWindowManagerHints();
}

TToolWindowBorder::TToolWindowBorder(QWidget *window)
    : QObject(window), m_window(window)
{
}

bool TToolWindowBorder::eventFilter(QObject *watched, QEvent *event)
{
    // Show comes before the window is mapped, after Qt set its properties.
    if (watched == m_window && (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange))
        setWindowManagerHints();
    return false;
}

void TToolWindowBorder::setWindowManagerHints()
{
    // Only the xcb platform has windows on an X server (the offscreen one
    // may offer the interface without a connection).
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 && QGuiApplication::platformName() == QLatin1String("xcb")
        ? x11->connection() : nullptr;
    if (!connection || !m_window->testAttribute(Qt::WA_WState_Created))
        return; // another window system: Qt's hints are all there is
    const auto window = xcb_window_t(m_window->winId());

    const xcb_atom_t types[] = {atom(connection, "_NET_WM_WINDOW_TYPE_UTILITY"),
                                atom(connection, "_NET_WM_WINDOW_TYPE_NORMAL")};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom(connection, "_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, 2, types);

    const uint32_t motif[] = {MwmHintsFunctions | MwmHintsDecorations, MwmFuncMove | MwmFuncClose,
                              MwmDecorBorder | MwmDecorTitle, 0, 0};
    const xcb_atom_t motifHints = atom(connection, "_MOTIF_WM_HINTS");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, motifHints, motifHints, 32, 5, motif);
    xcb_flush(connection);
}

} // namespace platform
