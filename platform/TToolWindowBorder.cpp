#include "TToolWindowBorder.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

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

// The atoms the hints use, asked for together: one round trip to the
// server instead of one per name.
TToolWindowBorder::Atoms internAtoms(xcb_connection_t *connection)
{
    static constexpr const char *names[] = {"_NET_WM_WINDOW_TYPE_UTILITY", "_NET_WM_WINDOW_TYPE_NORMAL",
                                            "_NET_WM_WINDOW_TYPE", "_MOTIF_WM_HINTS"};
    xcb_intern_atom_cookie_t cookies[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i)
        cookies[i] = xcb_intern_atom(connection, 0, uint16_t(std::strlen(names[i])), names[i]);
    uint32_t atoms[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
        atoms[i] = reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
        std::free(reply);
    }
    return {atoms[0], atoms[1], atoms[2], atoms[3]};
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
    // Atoms stay valid for the life of the server: asked for once.
    if (!m_atoms)
        m_atoms = internAtoms(connection);

    const xcb_atom_t types[] = {m_atoms->utility, m_atoms->normal};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, m_atoms->windowType, XCB_ATOM_ATOM, 32, 2,
                        types);

    const uint32_t motif[] = {MwmHintsFunctions | MwmHintsDecorations, MwmFuncMove | MwmFuncClose,
                              MwmDecorBorder | MwmDecorTitle, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, m_atoms->motifHints, m_atoms->motifHints, 32,
                        5, motif);
    xcb_flush(connection);
}

} // namespace platform
