#include "monitor/games/WlrToplevelWatcher.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <wayland-client.h>

namespace vantrel {

// A toplevel as the last "done" left it, and what came since.
struct WlrToplevelWatcher::Toplevel {
    WlrToplevelWatcher* owner;
    zwlr_foreign_toplevel_handle_v1* handle;
    std::string appId;
    bool activated = false;
    std::string pendingAppId;
    bool pendingActivated = false;

    Toplevel(WlrToplevelWatcher* o, zwlr_foreign_toplevel_handle_v1* h) : owner(o), handle(h) {}
    ~Toplevel() { zwlr_foreign_toplevel_handle_v1_destroy(handle); }
};

struct WlrToplevelWatcher::Events {
    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version) {
        auto* watcher = static_cast<WlrToplevelWatcher*>(data);
        if (watcher->m_manager ||
            std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) != 0)
            return;
        watcher->m_manager = static_cast<zwlr_foreign_toplevel_manager_v1*>(wl_registry_bind(
            registry, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min(version, 3u)));
        zwlr_foreign_toplevel_manager_v1_add_listener(watcher->m_manager, &kManager, watcher);
    }
    static void globalRemove(void*, wl_registry*, uint32_t) {}

    static void toplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                         zwlr_foreign_toplevel_handle_v1* handle) {
        auto* watcher = static_cast<WlrToplevelWatcher*>(data);
        auto& added = watcher->m_toplevels.emplace_back(new Toplevel(watcher, handle));
        zwlr_foreign_toplevel_handle_v1_add_listener(handle, &kToplevel, added.get());
    }
    // The compositor is done with the list: nothing more will come.
    static void finished(void* data, zwlr_foreign_toplevel_manager_v1* manager) {
        auto* watcher = static_cast<WlrToplevelWatcher*>(data);
        zwlr_foreign_toplevel_manager_v1_destroy(manager);
        watcher->m_manager = nullptr;
        watcher->m_gone = true;
    }

    static void title(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
    static void appId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId) {
        static_cast<Toplevel*>(data)->pendingAppId = appId;
    }
    static void output(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
    static void state(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
        const auto* begin = static_cast<const uint32_t*>(states->data);
        const auto* end = begin + states->size / sizeof(uint32_t);
        static_cast<Toplevel*>(data)->pendingActivated =
            std::find(begin, end, ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED) != end;
    }
    static void done(void* data, zwlr_foreign_toplevel_handle_v1*) {
        auto* toplevel = static_cast<Toplevel*>(data);
        toplevel->appId = toplevel->pendingAppId;
        toplevel->activated = toplevel->pendingActivated;
    }
    static void closed(void* data, zwlr_foreign_toplevel_handle_v1*) {
        auto* toplevel = static_cast<Toplevel*>(data);
        std::erase_if(toplevel->owner->m_toplevels,
                      [&](const auto& each) { return each.get() == toplevel; });
    }
    static void parent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

    static constexpr wl_registry_listener kRegistry{global, globalRemove};
    static constexpr zwlr_foreign_toplevel_manager_v1_listener kManager{toplevel, finished};
    static constexpr zwlr_foreign_toplevel_handle_v1_listener kToplevel{
        title, appId, output, output, state, done, closed, parent};
};

std::unique_ptr<WlrToplevelWatcher> WlrToplevelWatcher::open(std::string& whyNot) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name) {
        whyNot = "WAYLAND_DISPLAY is not set";
        return nullptr;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        whyNot = std::string("cannot connect to the Wayland display ") + name;
        return nullptr;
    }
    std::unique_ptr<WlrToplevelWatcher> watcher(new WlrToplevelWatcher(display));
    // The globals, then the toplevels the list starts with.
    if (wl_display_roundtrip(display) < 0 || !watcher->m_manager ||
        wl_display_roundtrip(display) < 0) {
        whyNot = std::string("the Wayland compositor of ") + name +
                 " offers no list of windows (zwlr_foreign_toplevel_manager_v1)";
        return nullptr;
    }
    return watcher;
}

WlrToplevelWatcher::WlrToplevelWatcher(wl_display* display) : m_display(display) {
    m_registry = wl_display_get_registry(display);
    wl_registry_add_listener(m_registry, &Events::kRegistry, this);
}

WlrToplevelWatcher::~WlrToplevelWatcher() {
    m_toplevels.clear();
    if (m_manager) {
        zwlr_foreign_toplevel_manager_v1_stop(m_manager);
        zwlr_foreign_toplevel_manager_v1_destroy(m_manager);
    }
    wl_registry_destroy(m_registry);
    wl_display_flush(m_display);
    wl_display_disconnect(m_display);
}

int WlrToplevelWatcher::fd() const {
    return m_gone ? -1 : wl_display_get_fd(m_display);
}

// Reads what the compositor sent without waiting for more.
void WlrToplevelWatcher::dispatch() {
    while (wl_display_prepare_read(m_display) != 0)
        wl_display_dispatch_pending(m_display);
    pollfd readable{wl_display_get_fd(m_display), POLLIN, 0};
    if (::poll(&readable, 1, 0) == 1)
        wl_display_read_events(m_display);
    else
        wl_display_cancel_read(m_display);
    wl_display_dispatch_pending(m_display);
    wl_display_flush(m_display);
    if (wl_display_get_error(m_display) != 0)
        m_gone = true;
}

std::optional<ActiveWindow> WlrToplevelWatcher::readChanges() {
    if (!m_gone)
        dispatch();
    const ActiveWindow active = m_gone ? ActiveWindow() : activeWindow();
    if (m_reported == active)
        return std::nullopt;
    m_reported = active;
    return active;
}

ActiveWindow WlrToplevelWatcher::activeWindow() const {
    ActiveWindow window;
    const auto active = std::ranges::find_if(m_toplevels, &Toplevel::activated);
    if (active != m_toplevels.end() && !(*active)->appId.empty())
        window.classes = {(*active)->appId};
    return window;
}

} // namespace vantrel
