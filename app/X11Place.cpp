#include "app/X11Place.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <xcb/xcb.h>

namespace tolm::app {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t frameExtentsAtom(xcb_connection_t* connection)
{
    static xcb_atom_t atom = XCB_ATOM_NONE;
    if (atom == XCB_ATOM_NONE) {
        const char* name = "_NET_FRAME_EXTENTS";
        const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 1, std::uint16_t(std::strlen(name)), name), nullptr));
        if (reply)
            atom = reply->atom;
    }
    return atom;
}

// The frame as the window manager announces it; a manager that does not
// is asked through Qt, which then walks the window's parents.
QMargins frameOf(xcb_connection_t* connection, xcb_window_t window, const QWidget* widget)
{
    if (const xcb_atom_t atom = frameExtentsAtom(connection); atom != XCB_ATOM_NONE) {
        const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, atom, XCB_ATOM_CARDINAL, 0, 4), nullptr));
        if (reply && reply->type == XCB_ATOM_CARDINAL && reply->format == 32 && reply->value_len == 4) {
            const auto* extents = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
            // Left, right, top, bottom.
            return QMargins(int(extents[0]), int(extents[2]), int(extents[1]), int(extents[3]));
        }
    }
    const QWindow* handle = widget->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// A request to the window manager about `window`, as the window-manager
// hints standard has clients send them: to the root window.
void askManager(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window, xcb_atom_t type,
    std::initializer_list<std::uint32_t> data)
{
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::copy(data.begin(), data.end(), event.data.data32);
    xcb_send_event(connection, 0, root,
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&event));
}

} // namespace

std::optional<X11Place> x11Place(const QWidget* widget)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !widget->internalWinId())
        return std::nullopt;
    xcb_connection_t* connection = x11->connection();
    const auto window = xcb_window_t(widget->internalWinId());
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry)
        return std::nullopt;
    const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, geometry->root, 0, 0), nullptr));
    if (!origin)
        return std::nullopt;
    return X11Place { QPoint(origin->dst_x, origin->dst_y), frameOf(connection, window, widget) };
}

bool x11MoveFrame(const QWidget* widget, const QPoint& frameTopLeft)
{
    const std::optional<X11Place> place = x11Place(widget);
    if (!place)
        return false;
    xcb_connection_t* connection
        = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const auto window = xcb_window_t(widget->internalWinId());
    // A window manager reads a requested position by the window's gravity:
    // static gravity names the client area's corner, the others (Qt's
    // choice for a window placed by its frame) the frame's.
    constexpr std::uint32_t kWinGravityFlag = 1 << 9;
    constexpr std::uint32_t kGravityField = 17;
    bool staticGravity = false;
    const Reply<xcb_get_property_reply_t> hints(xcb_get_property_reply(connection,
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 0, 18),
        nullptr));
    if (hints && hints->format == 32 && hints->value_len > kGravityField) {
        const auto* fields = static_cast<const std::uint32_t*>(xcb_get_property_value(hints.get()));
        staticGravity = (fields[0] & kWinGravityFlag) && fields[kGravityField] == XCB_GRAVITY_STATIC;
    }
    QPoint at = frameTopLeft;
    if (staticGravity)
        at += QPoint(place->frame.left(), place->frame.top());
    const std::uint32_t values[] = { std::uint32_t(at.x()), std::uint32_t(at.y()) };
    xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
    xcb_flush(connection);
    return true;
}

bool x11SetOnEveryDesktop(const QWidget* widget, bool every)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !widget->internalWinId())
        return false;
    xcb_connection_t* connection = x11->connection();
    const auto window = xcb_window_t(widget->internalWinId());
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry)
        return false;
    const xcb_window_t root = geometry->root;
    const xcb_atom_t desktopAtom = atomNamed(connection, "_NET_WM_DESKTOP");
    // Every workspace is desktop 0xFFFFFFFF; coming back, the one in view.
    std::uint32_t desktop = 0xFFFFFFFF;
    if (!every) {
        desktop = 0;
        const Reply<xcb_get_property_reply_t> current(xcb_get_property_reply(connection,
            xcb_get_property(
                connection, 0, root, atomNamed(connection, "_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL, 0, 1),
            nullptr));
        if (current && current->format == 32 && current->value_len == 1)
            desktop = *static_cast<const std::uint32_t*>(xcb_get_property_value(current.get()));
    }
    // A window not yet mapped says where it wants to be; a managed one asks.
    const Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr));
    if (attributes && attributes->map_state == XCB_MAP_STATE_UNMAPPED)
        xcb_change_property(
            connection, XCB_PROP_MODE_REPLACE, window, desktopAtom, XCB_ATOM_CARDINAL, 32, 1, &desktop);
    constexpr std::uint32_t kFromApplication = 1;
    askManager(connection, root, window, desktopAtom, { desktop, kFromApplication, 0, 0, 0 });
    constexpr std::uint32_t kRemove = 0, kAdd = 1;
    askManager(connection, root, window, atomNamed(connection, "_NET_WM_STATE"),
        { every ? kAdd : kRemove, atomNamed(connection, "_NET_WM_STATE_STICKY"), 0, kFromApplication, 0 });
    xcb_flush(connection);
    return true;
}

} // namespace tolm::app
