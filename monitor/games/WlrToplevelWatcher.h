#pragma once

#include "monitor/games/WindowSource.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct wl_display;
struct wl_registry;
struct zwlr_foreign_toplevel_manager_v1;

namespace vantrel {

// Follows the activated window of a wlroots compositor (sway, Hyprland, river,
// labwc, ...) through its list of toplevels, zwlr_foreign_toplevel_manager_v1,
// which names a window by its app_id; XWayland windows come with their class.
class WlrToplevelWatcher final : public WindowSource {
public:
    // Null, with a one-line reason, without a Wayland display or when its
    // compositor offers no such list.
    static std::unique_ptr<WlrToplevelWatcher> open(std::string& whyNot);
    ~WlrToplevelWatcher() override;
    WlrToplevelWatcher(const WlrToplevelWatcher&) = delete;
    WlrToplevelWatcher& operator=(const WlrToplevelWatcher&) = delete;

    int fd() const override;
    std::optional<ActiveWindow> readChanges() override;

private:
    struct Toplevel;
    // The compositor's events, which need the members.
    struct Events;
    friend struct Events;

    explicit WlrToplevelWatcher(wl_display* display);
    void dispatch();
    ActiveWindow activeWindow() const;

    wl_display* m_display;
    wl_registry* m_registry = nullptr;
    zwlr_foreign_toplevel_manager_v1* m_manager = nullptr;
    std::vector<std::unique_ptr<Toplevel>> m_toplevels;
    bool m_gone = false;
    std::optional<ActiveWindow> m_reported;
};

} // namespace vantrel
