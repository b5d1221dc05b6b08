#pragma once

#include "monitor/games/WindowSource.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace vantrel {

// Follows the X active window: _NET_ACTIVE_WINDOW on the root (the window
// manager's), that window's WM_CLASS and _NET_WM_PID, and the process's facts.
class ActiveWindowWatcher final : public WindowSource {
public:
    // Null, with a one-line reason, when there is no X display to watch.
    static std::unique_ptr<ActiveWindowWatcher> open(std::string& whyNot);
    ~ActiveWindowWatcher() override;
    ActiveWindowWatcher(const ActiveWindowWatcher&) = delete;
    ActiveWindowWatcher& operator=(const ActiveWindowWatcher&) = delete;

    int fd() const override;
    // A window without _NET_WM_PID, or another user's, comes with its classes
    // only; a destroyed one, or none, all empty.
    std::optional<ActiveWindow> readChanges() override;

private:
    ActiveWindowWatcher(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t activeAtom,
                        xcb_atom_t pidAtom);

    void take(const xcb_generic_event_t& event);
    ActiveWindow activeWindow();
    void watch(xcb_window_t window);
    std::optional<uint32_t> cardinal(xcb_window_t window, xcb_atom_t atom, xcb_atom_t type) const;
    std::vector<std::string> classes(xcb_window_t window) const;

    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    xcb_atom_t m_activeAtom;
    xcb_atom_t m_pidAtom;
    // The active window whose end, pid and class we watch.
    xcb_window_t m_window = XCB_WINDOW_NONE;
    bool m_stale = true;
    ActiveWindow m_active;
    std::optional<ActiveWindow> m_reported;
};

} // namespace vantrel
