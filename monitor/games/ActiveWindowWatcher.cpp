#include "monitor/games/ActiveWindowWatcher.h"

#include <cstdlib>
#include <cstring>

namespace vantrel {

namespace {

template <typename T> struct FreeDeleter {
    void operator()(T* p) const { std::free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter<T>>;

xcb_atom_t atomReply(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie) {
    const XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_intern_atom_cookie_t internAtom(xcb_connection_t* connection, std::string_view name) {
    return xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data());
}

} // namespace

std::unique_ptr<ActiveWindowWatcher> ActiveWindowWatcher::open(std::string& whyNot) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        whyNot = "DISPLAY is not set: no X display to follow the active window on";
        return nullptr;
    }
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        whyNot = std::string("cannot open the X display ") + display;
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int n = 0; n < screenNumber && screens.rem > 0; ++n)
        xcb_screen_next(&screens);
    if (screens.rem <= 0) {
        xcb_disconnect(connection);
        whyNot = std::string("the X display ") + display + " has no such screen";
        return nullptr;
    }
    const xcb_window_t root = screens.data->root;

    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_intern_atom_cookie_t active = internAtom(connection, "_NET_ACTIVE_WINDOW");
    const xcb_intern_atom_cookie_t pid = internAtom(connection, "_NET_WM_PID");
    return std::unique_ptr<ActiveWindowWatcher>(new ActiveWindowWatcher(
        connection, root, atomReply(connection, active), atomReply(connection, pid)));
}

ActiveWindowWatcher::ActiveWindowWatcher(xcb_connection_t* connection, xcb_window_t root,
                                         xcb_atom_t activeAtom, xcb_atom_t pidAtom)
    : m_connection(connection), m_root(root), m_activeAtom(activeAtom), m_pidAtom(pidAtom) {}

ActiveWindowWatcher::~ActiveWindowWatcher() {
    xcb_disconnect(m_connection);
}

int ActiveWindowWatcher::fd() const {
    return xcb_connection_has_error(m_connection) ? -1 : xcb_get_file_descriptor(m_connection);
}

std::optional<ActiveWindow> ActiveWindowWatcher::readChanges() {
    // The property reads queue the events that came meanwhile, which would
    // wake no poll: drain again until nothing is left.
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            take(*event);
            std::free(event);
        }
        if (xcb_connection_has_error(m_connection)) {
            m_active = {};
            break;
        }
        if (!m_stale)
            break;
        m_stale = false;
        m_active = activeWindow();
    }
    if (m_reported == m_active)
        return std::nullopt;
    m_reported = m_active;
    return m_active;
}

void ActiveWindowWatcher::take(const xcb_generic_event_t& event) {
    // Errors of the requests on windows that have gone end up here too.
    switch (event.response_type & 0x7f) {
    case XCB_PROPERTY_NOTIFY: {
        const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if ((notify.window == m_root && notify.atom == m_activeAtom) ||
            (notify.window == m_window &&
             (notify.atom == m_pidAtom || notify.atom == XCB_ATOM_WM_CLASS)))
            m_stale = true;
        break;
    }
    case XCB_DESTROY_NOTIFY:
        if (reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window == m_window) {
            m_window = XCB_WINDOW_NONE;
            m_stale = true;
        }
        break;
    }
}

ActiveWindow ActiveWindowWatcher::activeWindow() {
    xcb_window_t window = cardinal(m_root, m_activeAtom, XCB_ATOM_WINDOW).value_or(XCB_WINDOW_NONE);
    // The desktop itself is no program; watching the root as a window would
    // also drop our watch of its properties.
    if (window == m_root)
        window = XCB_WINDOW_NONE;
    watch(window);
    if (window == XCB_WINDOW_NONE)
        return {};
    // A class match needs no pid: Wine and many games set none.
    const std::optional<uint32_t> pid = cardinal(window, m_pidAtom, XCB_ATOM_CARDINAL);
    return ActiveWindow::ofProcess(pid ? static_cast<pid_t>(*pid) : 0, classes(window));
}

// The window's events are asked for before its pid is read, so that an end
// in between still comes as an event (or the read fails).
void ActiveWindowWatcher::watch(xcb_window_t window) {
    if (window == m_window)
        return;
    if (m_window != XCB_WINDOW_NONE) {
        const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
        xcb_change_window_attributes(m_connection, m_window, XCB_CW_EVENT_MASK, &none);
    }
    if (window != XCB_WINDOW_NONE) {
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
    }
    m_window = window;
}

std::optional<uint32_t> ActiveWindowWatcher::cardinal(xcb_window_t window, xcb_atom_t atom,
                                                      xcb_atom_t type) const {
    xcb_generic_error_t* error = nullptr;
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, atom, type, 0, 1), &error));
    std::free(error);
    if (!reply || reply->type != type || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    return *static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
}

// WM_CLASS: the instance and the class, each ended by a NUL.
std::vector<std::string> ActiveWindowWatcher::classes(xcb_window_t window) const {
    xcb_generic_error_t* error = nullptr;
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256),
        &error));
    std::free(error);
    std::vector<std::string> names;
    if (!reply || reply->type != XCB_ATOM_STRING || reply->format != 8)
        return names;
    const auto* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const size_t length = static_cast<size_t>(xcb_get_property_value_length(reply.get()));
    for (size_t start = 0; start < length;) {
        const size_t end = start + ::strnlen(text + start, length - start);
        if (end > start)
            names.emplace_back(text + start, end - start);
        start = end + 1;
    }
    return names;
}

} // namespace vantrel
