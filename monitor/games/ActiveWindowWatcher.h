#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <xcb/xcb.h>

namespace vantrel {

// Follows the program of the X active window: _NET_ACTIVE_WINDOW on the root
// (the window manager's), that window's _NET_WM_PID, the process's executable.
// It never blocks: poll fd() and call readChanges() when it is readable.
class ActiveWindowWatcher final {
public:
    // Null, with a one-line reason, when there is no X display to watch.
    static std::unique_ptr<ActiveWindowWatcher> open(std::string& whyNot);
    ~ActiveWindowWatcher();
    ActiveWindowWatcher(const ActiveWindowWatcher&) = delete;
    ActiveWindowWatcher& operator=(const ActiveWindowWatcher&) = delete;

    // The connection to poll for reading; -1 once the display has gone, which
    // poll skips, so take it anew for each poll.
    int fd() const;
    // Handles what the display sent. Returns the active window's program when
    // it differs from the one last reported (the first call reports it in any
    // case): its executable's absolute path, or "" when there is no active
    // window, when it has no _NET_WM_PID or is another user's, when it was
    // destroyed, and once the display has gone.
    std::optional<std::string> readChanges();

private:
    ActiveWindowWatcher(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t activeAtom,
                        xcb_atom_t pidAtom);

    void take(const xcb_generic_event_t& event);
    std::string activeProgram();
    void watch(xcb_window_t window);
    std::optional<uint32_t> cardinal(xcb_window_t window, xcb_atom_t atom, xcb_atom_t type) const;

    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    xcb_atom_t m_activeAtom;
    xcb_atom_t m_pidAtom;
    // The active window whose end and pid we watch.
    xcb_window_t m_window = XCB_WINDOW_NONE;
    bool m_stale = true;
    std::string m_program;
    std::optional<std::string> m_reported;
};

} // namespace vantrel
