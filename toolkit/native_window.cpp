#include "native_window.h"

#include <QGuiApplication>
#include <QString>
#include <QWidget>

#include <xcb/xcb.h>

#include <string_view>

namespace tk
{

namespace
{

xcb_atom_t atom(xcb_connection_t *connection, std::string_view name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data());
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

} // namespace

void prepareNativeWindow(QWidget &window, const QString &caption, bool inTaskBar)
{
    const WId id = window.winId();
    if (!caption.isEmpty() && inTaskBar)
        return;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto xid = static_cast<xcb_window_t>(id);
    if (caption.isEmpty()) {
        for (const std::string_view name : {"WM_NAME", "_NET_WM_NAME", "WM_ICON_NAME", "_NET_WM_ICON_NAME"}) {
            if (const xcb_atom_t property = atom(connection, name))
                xcb_delete_property(connection, xid, property);
        }
    }
    // Qt keeps the states it finds on a window that is not mapped yet and adds its own to them.
    if (!inTaskBar) {
        const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
        const xcb_atom_t skipTaskBar = atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
        if (state && skipTaskBar)
            xcb_change_property(connection, XCB_PROP_MODE_APPEND, xid, state, XCB_ATOM_ATOM, 32, 1,
                                &skipTaskBar);
    }
    xcb_flush(connection);
}

} // namespace tk
