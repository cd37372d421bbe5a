#include "platform/desktop/TopLevelX11.h"

#ifdef VTRM_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#endif

namespace platform::desktop::x11 {

#ifdef VTRM_HAVE_XCB

namespace {

struct Display {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;

    Display() {
        if (!std::getenv("DISPLAY")) return;
        int screenNumber = 0;
        connection = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(connection)) {
            xcb_disconnect(connection);
            connection = nullptr;
            return;
        }
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int i = 0; i < screenNumber && it.rem; ++i)
            xcb_screen_next(&it);
        if (it.rem) root = it.data->root;
    }
    ~Display() {
        if (connection) xcb_disconnect(connection);
    }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;
    bool Open() const { return connection && root; }

    // Waits until the server has handled every request sent so far.
    void Sync() const {
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }

    xcb_atom_t Atom(const char* name) const {
        const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(
            connection, 0, static_cast<uint16_t>(std::char_traits<char>::length(name)), name);
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }

    // The property's bytes, empty when the window has none of that type.
    std::string Property(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) const {
        const xcb_get_property_cookie_t cookie =
            xcb_get_property(connection, 0, window, property, type, 0, 1u << 16);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection, cookie, nullptr), &std::free);
        if (!reply || reply->type == XCB_ATOM_NONE) return {};
        const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
        const int length = xcb_get_property_value_length(reply.get());
        return std::string(bytes, static_cast<size_t>(length));
    }

    std::vector<xcb_window_t> Windows(xcb_window_t window, xcb_atom_t property) const {
        const std::string bytes = Property(window, property, XCB_ATOM_WINDOW);
        std::vector<xcb_window_t> windows(bytes.size() / sizeof(xcb_window_t));
        // An empty list has no storage to copy to (memcpy must not be given null).
        if (!windows.empty())
            std::memcpy(windows.data(), bytes.data(), windows.size() * sizeof(xcb_window_t));
        return windows;
    }

    std::vector<xcb_window_t> Children(xcb_window_t window) const {
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> reply(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr),
            &std::free);
        if (!reply) return {};
        const xcb_window_t* children = xcb_query_tree_children(reply.get());
        return std::vector<xcb_window_t>(children,
                                         children + xcb_query_tree_children_length(reply.get()));
    }

    bool HasWindowManager() const {
        const std::vector<xcb_window_t> check = Windows(root, Atom("_NET_SUPPORTING_WM_CHECK"));
        return !check.empty() && check.front() != XCB_WINDOW_NONE;
    }
};

} // namespace

uint32_t FindTopLevelWindow(const std::string& title) {
    const Display display;
    if (!display.Open()) return 0;
    const xcb_atom_t netName = display.Atom("_NET_WM_NAME");
    const xcb_atom_t utf8 = display.Atom("UTF8_STRING");
    std::vector<xcb_window_t> candidates =
        display.Windows(display.root, display.Atom("_NET_CLIENT_LIST"));
    if (candidates.empty()) candidates = display.Children(display.root);
    for (xcb_window_t window : candidates) {
        std::string name = display.Property(window, netName, utf8);
        if (name.empty()) name = display.Property(window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY);
        if (name == title) return window;
    }
    return 0;
}

bool Restore(uint32_t window) {
    const Display display;
    if (!display.Open() || window == 0) return false;
    // A minimised window is unmapped (ICCCM): mapping it again restores it; a window
    // manager takes the map request as the wish to show it.
    xcb_map_window(display.connection, window);
    display.Sync();
    return true;
}

bool Activate(uint32_t window) {
    const Display display;
    if (!display.Open() || window == 0) return false;
    xcb_connection_t* c = display.connection;
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    if (display.HasWindowManager()) {
        // EWMH activation; source 2 (a pager) is honoured by focus-stealing prevention.
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = display.Atom("_NET_ACTIVE_WINDOW");
        event.data.data32[0] = 2;
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c, 0, display.root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
    } else {
        // Without a window manager nobody else gives the focus; a window that is not
        // viewable refuses it, which is only an error event.
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    }
    display.Sync();
    return true;
}

#else

uint32_t FindTopLevelWindow(const std::string&) {
    return 0;
}

bool Restore(uint32_t) {
    return false;
}

bool Activate(uint32_t) {
    return false;
}

#endif

} // namespace platform::desktop::x11
