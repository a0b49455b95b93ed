#include "native_window.h"

#include <QGuiApplication>
#include <QString>
#include <QWidget>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <string_view>

namespace tk {

namespace {

// Interns the named atoms with one round trip to the server for all of them; an atom that cannot be interned
// comes back as XCB_ATOM_NONE.
template <std::size_t N>
std::array<xcb_atom_t, N> atoms(xcb_connection_t *connection, const std::array<std::string_view, N> &names)
{
    std::array<xcb_intern_atom_cookie_t, N> cookies;
    for (std::size_t i = 0; i < N; ++i)
        cookies[i] = xcb_intern_atom(connection, 0, static_cast<uint16_t>(names[i].size()), names[i].data());
    std::array<xcb_atom_t, N> result;
    for (std::size_t i = 0; i < N; ++i) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
        result[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
    }
    return result;
}

} // namespace

void prepareNativeWindow(QWidget &window, const QString &caption, bool inTaskBar)
{
    if ((!caption.isEmpty() && inTaskBar) || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    // The window's properties are set before it is mapped, so the window manager never sees it otherwise.
    const WId id = window.winId();
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto xid = static_cast<xcb_window_t>(id);
    if (caption.isEmpty()) {
        const auto [name, iconName] = atoms<2>(connection, {"_NET_WM_NAME", "_NET_WM_ICON_NAME"});
        for (const xcb_atom_t property :
             {xcb_atom_t(XCB_ATOM_WM_NAME), name, xcb_atom_t(XCB_ATOM_WM_ICON_NAME), iconName}) {
            if (property != XCB_ATOM_NONE)
                xcb_delete_property(connection, xid, property);
        }
    }
    // Qt keeps the states it finds on a window that is not mapped yet and adds its own to them.
    if (!inTaskBar) {
        const auto [state, skipTaskBar] =
            atoms<2>(connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR"});
        if (state && skipTaskBar)
            xcb_change_property(connection, XCB_PROP_MODE_APPEND, xid, state, XCB_ATOM_ATOM, 32, 1,
                                &skipTaskBar);
    }
    xcb_flush(connection);
}

} // namespace tk
