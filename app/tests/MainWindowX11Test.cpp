// The real program's main window as the X11 window manager sees it: its
// properties read from an Xvfb server the test starts, as `xprop` shows
// them. The window asks for a tool-window frame (a utility window with a
// title and border, move and close only) and stays the program's main
// window (not transient, not left out of the task bar).
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace {

const char WindowTitle[] = "Tonvik - Intervals (DEMO)";

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using XReply = std::unique_ptr<T, FreeDeleter>;

class X11Connection
{
public:
    explicit X11Connection(const QByteArray &display) : m_c(xcb_connect(display.constData(), nullptr)) {}
    ~X11Connection() { xcb_disconnect(m_c); }
    bool ok() const { return xcb_connection_has_error(m_c) == 0; }

    xcb_atom_t atom(const char *name) const
    {
        XReply<xcb_intern_atom_reply_t> r(
            xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, uint16_t(std::strlen(name)), name), nullptr));
        return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    QByteArray atomName(xcb_atom_t a) const
    {
        XReply<xcb_get_atom_name_reply_t> r(xcb_get_atom_name_reply(m_c, xcb_get_atom_name(m_c, a), nullptr));
        return r ? QByteArray(xcb_get_atom_name_name(r.get()), xcb_get_atom_name_name_length(r.get())) : QByteArray();
    }
    // The 32-bit values of a property; nothing when the window lacks it.
    std::optional<std::vector<uint32_t>> property(xcb_window_t w, const char *name) const
    {
        XReply<xcb_get_property_reply_t> r(
            xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, w, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
                                   nullptr));
        if (!r || r->type == XCB_ATOM_NONE)
            return std::nullopt;
        const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(r.get()));
        if (r->format != 32)
            return std::vector<uint32_t>{};
        return std::vector<uint32_t>(values, values + xcb_get_property_value_length(r.get()) / 4);
    }
    QByteArray text(xcb_window_t w, const char *name) const
    {
        XReply<xcb_get_property_reply_t> r(
            xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, w, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                   nullptr));
        return r ? QByteArray(static_cast<const char *>(xcb_get_property_value(r.get())),
                              xcb_get_property_value_length(r.get()))
                 : QByteArray();
    }
    // A mapped top-level window with the given title, or 0.
    xcb_window_t findMapped(const QByteArray &title) const
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        XReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(m_c, xcb_query_tree(m_c, root), nullptr));
        if (!tree)
            return 0;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            XReply<xcb_get_window_attributes_reply_t> attr(xcb_get_window_attributes_reply(
                m_c, xcb_get_window_attributes(m_c, children[i]), nullptr));
            if (attr && attr->map_state == XCB_MAP_STATE_VIEWABLE && text(children[i], "WM_NAME") == title)
                return children[i];
        }
        return 0;
    }

private:
    xcb_connection_t *m_c;
};

// An Xvfb server of its own on a free display.
class VirtualScreen
{
public:
    VirtualScreen()
    {
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (xvfb.isEmpty())
            return;
        // -displayfd: Xvfb picks a free display and writes its number when
        // it accepts connections.
        m_server.start(xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        if (!m_server.waitForStarted(10000))
            return;
        QByteArray number;
        while (!number.endsWith('\n') && m_server.waitForReadyRead(20000))
            number += m_server.readAllStandardOutput();
        if (number.trimmed().isEmpty())
            return;
        m_display = ":" + number.trimmed();
    }
    ~VirtualScreen()
    {
        m_server.terminate();
        if (!m_server.waitForFinished(10000))
            m_server.kill();
    }
    QByteArray display() const { return m_display; }

private:
    QProcess m_server;
    QByteArray m_display;
};

} // namespace

TEST(MainWindowX11, ToolWindowBorderAndStillTheMainWindow)
{
    VirtualScreen screen;
    if (QStandardPaths::findExecutable("Xvfb").isEmpty())
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    ASSERT_FALSE(screen.display().isEmpty()) << "Xvfb did not start";

    QTemporaryDir workDir; // the program writes its settings file here
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", screen.display());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("TONVIK_MIDI_OUT", "none");
    env.insert("XDG_RUNTIME_DIR", workDir.path());
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(workDir.path());
    program.start(QStringLiteral(TONVIK_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(10000));

    X11Connection x(screen.display());
    ASSERT_TRUE(x.ok());
    xcb_window_t window = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (window = x.findMapped(WindowTitle)) != 0; }, 30000))
        << program.readAllStandardError().toStdString();
    if (window) {
        const auto type = x.property(window, "_NET_WM_WINDOW_TYPE");
        ASSERT_TRUE(type.has_value());
        std::vector<QByteArray> typeNames;
        for (uint32_t a : *type)
            typeNames.push_back(x.atomName(a));
        EXPECT_EQ(typeNames, (std::vector<QByteArray>{"_NET_WM_WINDOW_TYPE_UTILITY", "_NET_WM_WINDOW_TYPE_NORMAL"}));

        // Flags: functions and decorations; functions: move, close;
        // decorations: border, title (no resize handles, menu, minimize or
        // maximize).
        EXPECT_EQ(x.property(window, "_MOTIF_WM_HINTS"), (std::vector<uint32_t>{0x3, 0x24, 0x0A, 0, 0}));

        // The main window: not transient for another, not left out of the
        // task bar, the application's title as its class.
        EXPECT_FALSE(x.property(window, "WM_TRANSIENT_FOR").has_value());
        if (const auto state = x.property(window, "_NET_WM_STATE")) {
            for (uint32_t a : *state)
                EXPECT_NE(x.atomName(a), "_NET_WM_STATE_SKIP_TASKBAR");
        }
        EXPECT_TRUE(x.text(window, "WM_CLASS").contains(WindowTitle));

        // Not resizable: WM_NORMAL_HINTS minimum (fields 5, 6) = maximum (7, 8).
        const auto hints = x.property(window, "WM_NORMAL_HINTS");
        ASSERT_TRUE(hints && hints->size() >= 9);
        EXPECT_EQ((*hints)[5], 617u);
        EXPECT_EQ((*hints)[6], 341u);
        EXPECT_EQ((*hints)[7], 617u);
        EXPECT_EQ((*hints)[8], 341u);
    }
    program.terminate();
    if (!program.waitForFinished(10000))
        program.kill();
}
