#include "monitor/games/WindowSource.h"

#include "monitor/games/ActiveWindowWatcher.h"
#include "monitor/games/DesktopBusWatcher.h"
#include "monitor/games/WlrToplevelWatcher.h"

#include <cstdlib>

namespace vantrel {

// A Wayland desktop's own windows are seen only through its compositor or
// shell; the X display (XWayland there) sees the X11 ones.
std::unique_ptr<WindowSource> WindowSource::open(const std::string& programFolder,
                                                 std::string& said) {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    std::string whyNot;
    if (wayland && *wayland) {
        std::string notWlr;
        if (auto wlr = WlrToplevelWatcher::open(notWlr)) {
            said = std::string("the window list of the wlroots compositor on ") + wayland;
            return wlr;
        }
        if (auto desktop = DesktopBusWatcher::open(programFolder, whyNot)) {
            said = desktop->desktop() == DesktopBusWatcher::Desktop::KWin
                       ? "KWin's reports over the session bus"
                       : std::string("GNOME Shell's reports over the session bus (its "
                                     "extension vantrel-follow-games@example.vantrel_gaming, "
                                     "or -43@ for GNOME 43 and 44, must be enabled)");
            return desktop;
        }
        whyNot = notWlr + "; " + whyNot + "; ";
    }
    std::string notX11;
    if (auto x11 = ActiveWindowWatcher::open(notX11)) {
        said = std::string("the X display ") + std::getenv("DISPLAY") +
               (wayland && *wayland ? " (X11 windows only, through XWayland)" : "");
        return x11;
    }
    said = whyNot + notX11;
    return nullptr;
}

} // namespace vantrel
