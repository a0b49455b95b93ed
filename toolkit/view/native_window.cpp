#include "native_window.h"

#include "form_window.h"

#include <QApplication>
#include <QMargins>
#include <QString>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>
#include <qpa/qplatformwindow.h>

#include <wayland-client.h>
#include <xcb/xcb.h>
#include <xdg-shell-client-protocol.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string_view>

#include <poll.h>

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

xcb_connection_t *xcbConnection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Qt's own connection to the Wayland compositor; none on another window system.
wl_display *waylandDisplay()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return nullptr;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    const auto *wayland = qGuiApp->nativeInterface<QNativeInterface::QWaylandApplication>();
    return wayland ? wayland->display() : nullptr;
#else
    // Qt 6.4 names it only through its platform's private interface.
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    return native ? static_cast<wl_display *>(native->nativeResourceForIntegration("wl_display")) : nullptr;
#endif
}

struct FreeReply {
    void operator()(void *reply) const { free(reply); }
};
struct Disconnect {
    void operator()(xcb_connection_t *connection) const { xcb_disconnect(connection); }
};
using PropertyReply = std::unique_ptr<xcb_get_property_reply_t, FreeReply>;

PropertyReply property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type,
                       uint32_t length)
{
    return PropertyReply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, length), nullptr));
}

bool windowManagerSupports(xcb_connection_t *connection, xcb_window_t root, xcb_atom_t supported,
                           xcb_atom_t hint)
{
    const PropertyReply reply = property(connection, root, supported, XCB_ATOM_ATOM, 4096);
    if (!reply || reply->format != 32)
        return false;
    const auto *hints = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const auto *end = hints + reply->value_len;
    return std::find(hints, end, hint) != end;
}

// Asks the window manager for something about the window: a client message to the root window.
void askWindowManager(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t type,
                      const std::array<uint32_t, 5> &data = {})
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(connection, 0, xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
}

// Qt names a window's icon only by _NET_WM_ICON_NAME, which window managers that label the icons of minimized
// windows apart may not read: they read WM_ICON_NAME, else show "Untitled". Both carry the name.
void writeIconName(xcb_connection_t *connection, xcb_window_t window, const QString &name)
{
    static const auto [utf8, netIconName] = atoms<2>(connection, {"UTF8_STRING", "_NET_WM_ICON_NAME"});
    const QByteArray text = name.toUtf8();
    for (const xcb_atom_t property : {xcb_atom_t(XCB_ATOM_WM_ICON_NAME), netIconName}) {
        if (property != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE)
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, utf8, 8,
                                uint32_t(text.size()), text.constData());
    }
}

std::optional<QMargins> readFrameExtents(xcb_connection_t *connection, xcb_window_t window,
                                         xcb_atom_t extents)
{
    const PropertyReply reply = property(connection, window, extents, XCB_ATOM_CARDINAL, 4);
    if (!reply || reply->format != 32 || reply->value_len != 4)
        return std::nullopt;
    const auto *sides = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return QMargins(int(sides[0]), int(sides[2]), int(sides[1]), int(sides[3]));
}

QMargins lastFrame;

// Reads the window's frame extents once the window manager first writes them.
class FrameWatch final : public QObject, public QAbstractNativeEventFilter
{
public:
    FrameWatch(QWidget &window, std::function<void(QMargins)> framed)
        : QObject(&window), window_(static_cast<xcb_window_t>(window.winId())), framed_(std::move(framed))
    {
        extents_ = atoms<1>(xcbConnection(), {"_NET_FRAME_EXTENTS"})[0];
        qApp->installNativeEventFilter(this);
    }
    ~FrameWatch() override { qApp->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        const auto *event = static_cast<const xcb_property_notify_event_t *>(message);
        if (eventType != "xcb_generic_event_t" || (event->response_type & ~0x80) != XCB_PROPERTY_NOTIFY ||
            event->window != window_ || event->atom != extents_ || event->state != XCB_PROPERTY_NEW_VALUE)
            return false;
        if (const std::optional<QMargins> frame = readFrameExtents(xcbConnection(), window_, extents_)) {
            lastFrame = *frame;
            framed_(*frame);
            deleteLater();
        }
        return false;
    }

private:
    xcb_window_t window_;
    xcb_atom_t extents_;
    std::function<void(QMargins)> framed_;
};

} // namespace

void prepareNativeWindow(QWidget &window, const QString &caption, bool inTaskBar)
{
    xcb_connection_t *connection = xcbConnection();
    if (!connection)
        return;
    // The window's properties are set before it is mapped, so the window manager never sees it otherwise.
    const auto xid = static_cast<xcb_window_t>(window.winId());
    if (caption.isEmpty()) {
        const auto [name, iconName] = atoms<2>(connection, {"_NET_WM_NAME", "_NET_WM_ICON_NAME"});
        for (const xcb_atom_t property :
             {xcb_atom_t(XCB_ATOM_WM_NAME), name, xcb_atom_t(XCB_ATOM_WM_ICON_NAME), iconName}) {
            if (property != XCB_ATOM_NONE)
                xcb_delete_property(connection, xid, property);
        }
    } else {
        writeIconName(connection, xid, caption);
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

bool windowSystemFramesWindows()
{
    static const bool frames = [] {
        wl_display *display = waylandDisplay();
        if (!display)
            return true;
        // Qt's connection answers in one round trip, where a new one would cost the compositor a client. The
        // question and its answers go on a queue of their own, which Qt neither reads nor is disturbed by.
        wl_event_queue *queue = wl_display_create_queue(display);
        auto *wrapper = static_cast<wl_display *>(wl_proxy_create_wrapper(display));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(wrapper), queue);
        bool offered = false;
        static const wl_registry_listener listener = {
            [](void *found, wl_registry *, uint32_t, const char *interface, uint32_t) {
                if (std::string_view(interface) == "zxdg_decoration_manager_v1")
                    *static_cast<bool *>(found) = true;
            },
            [](void *, wl_registry *, uint32_t) {}};
        wl_registry *registry = wl_display_get_registry(wrapper);
        wl_registry_add_listener(registry, &listener, &offered);
        wl_display_roundtrip_queue(display, queue);
        wl_registry_destroy(registry);
        wl_proxy_wrapper_destroy(wrapper);
        wl_event_queue_destroy(queue);
        return offered;
    }();
    return frames;
}

void showWindowMenu(QWidget &window, QPoint position)
{
    QWindow *handle = window.windowHandle();
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")) || !handle ||
        !handle->handle() || !native)
        return;
    auto *toplevel = static_cast<xdg_toplevel *>(native->nativeResourceForWindow("xdg_toplevel", handle));
    auto *seat = static_cast<wl_seat *>(native->nativeResourceForIntegration("wl_seat"));
    // The compositor opens the menu only for the serial of the press that asks for it. Qt hands out the last
    // serial it received: the press's, unless the release came in before the press was handled (a click of
    // a few milliseconds), as for Qt's own start of a move.
    const auto serial = uint32_t(reinterpret_cast<quintptr>(native->nativeResourceForIntegration("serial")));
    if (!toplevel || !seat)
        return;
    // The compositor counts in the surface's own units, which Qt's scale factor, if set, divides.
    const QPointF surface =
        QPointF(position) * handle->devicePixelRatio() / handle->handle()->devicePixelRatio();
    xdg_toplevel_show_window_menu(toplevel, seat, serial, qRound(surface.x()), qRound(surface.y()));
}

void setIconName(QWidget &window, const QString &name)
{
    xcb_connection_t *connection = xcbConnection();
    if (!connection || !window.internalWinId())
        return;
    writeIconName(connection, static_cast<xcb_window_t>(window.internalWinId()), name);
    xcb_flush(connection);
}

std::optional<QMargins> frameExtents(QWidget &window)
{
    xcb_connection_t *connection = xcbConnection();
    if (!connection)
        return {};
    const auto xid = static_cast<xcb_window_t>(window.winId());
    const auto [supported, request, extents] =
        atoms<3>(connection, {"_NET_SUPPORTED", "_NET_REQUEST_FRAME_EXTENTS", "_NET_FRAME_EXTENTS"});
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // That round trip also leaves the window created on the server before another connection names it.
    if (!windowManagerSupports(connection, root, supported, request))
        return {};
    // Qt's connection hands its events to Qt alone, so the answer is awaited on a connection of its own,
    // which watches the window's properties from before the question to the answer.
    const std::unique_ptr<xcb_connection_t, Disconnect> watcher(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(watcher.get()))
        return {};
    const uint32_t propertyChanges = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(watcher.get(), xid, XCB_CW_EVENT_MASK, &propertyChanges);
    askWindowManager(watcher.get(), xid, request);
    // A window manager that never answers may still tell once the window is mapped.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point giveUp = Clock::now() + std::chrono::milliseconds(200);
    for (;;) {
        while (
            const std::unique_ptr<xcb_generic_event_t, FreeReply> event{xcb_poll_for_event(watcher.get())}) {
            const auto *change = reinterpret_cast<const xcb_property_notify_event_t *>(event.get());
            if ((event->response_type & ~0x80) == XCB_PROPERTY_NOTIFY && change->window == xid &&
                change->atom == extents) {
                return readFrameExtents(watcher.get(), xid, extents);
            }
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(giveUp - Clock::now()).count();
        if (left <= 0 || xcb_connection_has_error(watcher.get()))
            return {};
        pollfd readable{xcb_get_file_descriptor(watcher.get()), POLLIN, 0};
        poll(&readable, 1, int(left));
    }
}

QMargins lastFrameExtents()
{
    return lastFrame;
}

void whenFramed(QWidget &window, std::function<void(QMargins)> framed)
{
    if (xcbConnection())
        new FrameWatch(window, std::move(framed));
}

void showInTaskBar(QWidget &window, bool shown)
{
    xcb_connection_t *connection = xcbConnection();
    if (!connection || !window.internalWinId())
        return;
    const auto [state, skipTaskBar] = atoms<2>(connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR"});
    if (!state || !skipTaskBar)
        return;
    // Once the window is managed, its states change by asking the window manager: remove (0) or add (1)
    // the state, asked by an application (1).
    askWindowManager(connection, static_cast<xcb_window_t>(window.internalWinId()), state,
                     {shown ? 0u : 1u, skipTaskBar, 0, 1, 0});
}
DestroyedWindowWatch::DestroyedWindowWatch()
{
    if (xcbConnection())
        qApp->installNativeEventFilter(this);
}

bool DestroyedWindowWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & ~0x80) != XCB_DESTROY_NOTIFY)
        return false;
    // The form unloads at once, so that input that came after the destruction finds it gone.
    const auto *destroyed = static_cast<const xcb_destroy_notify_event_t *>(message);
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        FormWindow *window = FormWindow::of(widget);
        if (window && window->internalWinId() == destroyed->window) {
            window->nativeWindowDestroyed();
            break;
        }
    }
    return false;
}

// Qt 6.4's Wayland platform asks the compositor to activate the focus window whenever the focus moves
// inside it, a click on a button included, and sends the activation only once the compositor has answered
// with a token: a window that minimized itself meanwhile, as at Start, comes straight back. The program's
// focus moves only inside a window that is already active, so the windows do without it.
void keepFocusMovesFromActivating()
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        QObject::disconnect(qGuiApp, &QGuiApplication::focusObjectChanged, qGuiApp, nullptr);
}

} // namespace tk
